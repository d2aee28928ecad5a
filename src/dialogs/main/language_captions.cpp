#include "dialogs/main/language_captions.h"

#include "platform/no_repeats.h"
#include "res/template_102.h"
#include "res/template_102_controls.h"

#include <array>
#include <string_view>

namespace kfg::dialogs {
namespace {

using framework::ControlKind;
using namespace res;

constexpr auto kSpanish = std::to_array<CaptionRow>({
    {kIdHighPriority, "Prioridad alta"},
    {kIdStatus, "Información       "},
    {kIdStatistics, "Información       "},
    {kIdTestLinesLabel, "Líneas de test"},
    {kIdColourLabel, "Color  "},
    {kIdBrightnessLabel, "Brillo "},
    {kIdContrastLabel, "Contraste"},
    {kIdPllInit, "Inicializar el PLL"},
    {kIdBorderHeightLabel, "Tamaño Bandas    "},
    {kIdExit, "Salir  "},
    {kIdHardwareBox, "Tarjeta "},
    {kIdMemoryBox, "Memorias"},
    {kIdDecodingBox, "Decoder "},
    {kIdVolumeLabel, "Volume"},
    {kIdShowConfiguration, "Mostrar"},
    {kIdSaveConfiguration, "Grabar "},
    {kIdDefaults, "    R E S E T    "},
    {kIdSoundInit, "Inicializar sonido"},
    {kIdSoundLineIn, "Activar Line-In"},
    {kIdSpatial, "Spacial"},
    {kIdPictureDefaults, "Por defecto"},
    {kIdConfigurationsBox, "Configuración"},
    {kIdVideoBox, "Vídeo"},
    {kIdPictureBox, "Imagen"},
    {kIdAccelerationLabel, "Aceleración "},
    {kIdFirstLineLabel, "Primera  línea"},
    {kIdLastLineLabel, "Ultima línea  "},
    {kIdForeground, "1er. Plano"},
    {kIdProportional, "Proporcional "},
    {kIdAutoBorder, "AutoFormato"},
    {kIdLogFile, "Archivo Log"},
    {kIdIndexFileLabel, "Ficheros IDX    "},
    {kIdAudioDecoder, "Audio-Decoder "},
    {kIdBlackLines, "Manejar bandas negras  "},
    {kIdBlankingInterval, "Acceso directo a  memoria vídeo"},
});

// The label fields are read-only edits with an empty template text.
constexpr auto kGermanLabels = std::to_array<CaptionRow>({
    {kIdTestLinesLabel, "Testzeilen"},
    {kIdColourLabel, "Farbe"},
    {kIdBrightnessLabel, "Helligkeit"},
    {kIdContrastLabel, "Kontrast"},
    {kIdBorderHeightLabel, "Randhöhe"},
    {kIdVolumeLabel, "Lautstärke"},
});

constexpr auto kIconButtons = std::to_array<ControlName>({
    {kIdStart, "Start", "Iniciar"},
    {kIdSaveConfiguration, "Speichern", "Grabar"},
    {kIdShowConfiguration, "Anzeigen", "Mostrar"},
    {kIdDeleteConfiguration, "Löschen", "Borrar"},
});

// The group box above them names two lists at once ("Hardware", "Video"); a screen reader
// says these names with the entry shown. Lists of other editions share a name: an edition
// shows one of them.
constexpr auto kLists = std::to_array<ControlName>({
    {kIdTunerList, "Tuner", "Sintonizador"},
    {kIdInterpolationList, "Interpolation", "Interpolación"},
    {kIdCardList3x, "TV-Karte", "Tarjeta de TV"},
    {kIdCardList283, "TV-Karte", "Tarjeta de TV"},
    {kIdCardListErazor, "TV-Karte", "Tarjeta de TV"},
    {kIdDisplayMode3x, "Anzeigemodus", "Modo de pantalla"},
    {kIdDisplayMode283, "Anzeigemodus", "Modo de pantalla"},
    {kIdDisplayModeErazor, "Anzeigemodus", "Modo de pantalla"},
});

constexpr bool Filled(const char* text) {
    return text != nullptr && !std::string_view(text).empty();
}

// Each table names a control once, with a text to show.
template <class Row, std::size_t N>
constexpr bool Distinct(const std::array<Row, N>& rows) {
    return platform::NoRepeats(rows, [](const Row& a, const Row& b) { return a.id == b.id; });
}

constexpr bool CaptionsHold() {
    for (const CaptionRow& row : kSpanish) {
        if (FindMainControl(row.id) == nullptr || !Filled(row.text)) {
            return false;
        }
    }
    for (const CaptionRow& row : kGermanLabels) {
        const framework::ControlTemplate* field = FindMainControl(row.id);
        if (field == nullptr || field->kind != ControlKind::Edit ||
            (field->styles & framework::kReadOnly) == 0 || !Filled(row.text)) {
            return false;
        }
    }
    for (const ControlName& row : kIconButtons) {
        const framework::ControlTemplate* button = FindMainControl(row.id);
        if (button == nullptr || button->icon == 0 || !Filled(row.german) || !Filled(row.spanish)) {
            return false;
        }
    }
    for (const ControlName& row : kLists) {
        if (!IsMainControl(row.id, ControlKind::ComboBox) || !Filled(row.german) ||
            !Filled(row.spanish)) {
            return false;
        }
    }
    return Distinct(kSpanish) && Distinct(kGermanLabels) && Distinct(kIconButtons) &&
           Distinct(kLists);
}
static_assert(CaptionsHold(), "a caption row names a missing control, a control twice, or no text");

// Every list of the window has a name: its label's (buddy) or one of its own.
constexpr bool EveryListNamed() {
    for (const framework::ControlTemplate& control : kMainControls) {
        bool named = control.kind != ControlKind::ComboBox || control.buddy != 0;
        for (const ControlName& row : kLists) {
            named = named || row.id == control.id;
        }
        if (!named) {
            return false;
        }
    }
    return true;
}
static_assert(EveryListNamed(), "a list has neither a label nor a name of its own");

} // namespace

std::span<const CaptionRow> SpanishCaptions() {
    return kSpanish;
}
std::span<const CaptionRow> GermanLabelTexts() {
    return kGermanLabels;
}
std::span<const ControlName> IconButtonNames() {
    return kIconButtons;
}
std::span<const ControlName> ListNames() {
    return kLists;
}

} // namespace kfg::dialogs
