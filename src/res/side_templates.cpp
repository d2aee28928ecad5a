#include "res/side_templates.h"

#include "platform/no_repeats.h"

#include <cstdint>
#include <string_view>

namespace kfg::res {
namespace {

constexpr int kDisplayModeDialogId = 161;
constexpr int kAudioDecoderDialogId = 176;

using framework::ControlKind;
using framework::ControlTemplate;
using framework::DialogTemplate;
using namespace framework; // style flags, IDOK and IDCANCEL

// Display modes: the text on top, the window and YUY2 modes on the left, the RGB modes on the
// right, the button below. Boxes are sized for the longest caption, "720*576 YUY2 ++".
constexpr int kLeft = 12;
constexpr int kRight = 122;
constexpr int kTop = 38;
constexpr int kRow = 11;
// The box of display-mode key `key`, at row `row` of its column.
constexpr ControlTemplate ModeBox(int key, std::string_view caption, int x, int row,
                                  std::uint32_t styles = kNone) {
    return {kDisplayModeBoxIds[static_cast<std::size_t>(key)],
            ControlKind::CheckBox,
            caption,
            {x, kTop + row * kRow, 100, 10},
            styles};
}

constexpr auto kDisplayModeControls = std::to_array<ControlTemplate>({
    {kIdDisplayModeText,
     ControlKind::Label,
     "Bitte in die Directory von Telvio kopieren.\nTelvio starten und die angezeigten "
     "Auflösungen auswählen.",
     {7, 6, 218, 28},
     kCentered | kMultiLine},
    ModeBox(0, "Im Fenster", kLeft, 0, kGroupStart),
    ModeBox(1, "Im Fenster +", kLeft, 1),
    ModeBox(2, "Im Fenster ++", kLeft, 2),
    ModeBox(3, "400*300 YUY2", kLeft, 3),
    ModeBox(4, "640*480 YUY2", kLeft, 4),
    ModeBox(5, "720*576 YUY2", kLeft, 5),
    ModeBox(6, "720*576 YUY2 +", kLeft, 6),
    ModeBox(7, "720*576 YUY2 ++", kLeft, 7),
    ModeBox(8, "800*600 YUY2", kLeft, 8),
    ModeBox(9, "800*600 YUY2 +", kLeft, 9),
    ModeBox(10, "800*600 YUY2 ++", kLeft, 10),
    ModeBox(11, "400*300 RGB", kRight, 0),
    ModeBox(12, "512*384 RGB", kRight, 1),
    ModeBox(13, "640*400 RGB", kRight, 2),
    ModeBox(14, "640*480 RGB", kRight, 3),
    ModeBox(15, "720*576 RGB", kRight, 4),
    ModeBox(16, "720*576 RGB +", kRight, 5),
    ModeBox(17, "720*576 RGB ++", kRight, 6),
    ModeBox(18, "800*600 RGB", kRight, 7),
    ModeBox(19, "800*600 RGB +", kRight, 8),
    ModeBox(20, "800*600 RGB ++", kRight, 9),
    {kIdSaveAndClose,
     ControlKind::PushButton,
     "Speichern und Schließen",
     {61, 164, 110, 15},
     kDefaultButton | kGroupStart},
});

constexpr auto kLanguageControls = std::to_array<ControlTemplate>({
    {kIdGerman, ControlKind::RadioButton, "Deutsch", {12, 12, 84, 10}, kGroupStart},
    {kIdSpanish, ControlKind::RadioButton, "versión Española", {12, 28, 84, 20}, kMultiLine},
    {IDOK, ControlKind::PushButton, "OK", {108, 10, 40, 38}, kDefaultButton | kGroupStart, 0, 128},
});

constexpr auto kAudioDecoderControls = std::to_array<ControlTemplate>({
    {kIdNoDecoder, ControlKind::RadioButton, "Kein Audiodecoder", {12, 10, 100, 10}, kGroupStart},
    {kIdTonalix, ControlKind::RadioButton, "Tonalix", {12, 24, 100, 10}},
    {kIdSonora, ControlKind::RadioButton, "Sonora", {12, 38, 100, 10}},
    {kIdStartDecoderAutomatically,
     ControlKind::CheckBox,
     "Decoder automatisch starten",
     {12, 56, 104, 20},
     kMultiLine | kGroupStart},
    {IDOK, ControlKind::PushButton, "OK", {124, 10, 44, 14}, kDefaultButton | kGroupStart},
    {IDCANCEL, ControlKind::PushButton, "Cancelar ", {124, 28, 44, 14}},
});

// Ids are unique within a template.
template <std::size_t N>
constexpr bool IdsUnique(const std::array<ControlTemplate, N>& controls) {
    return platform::NoRepeats(
        controls, [](const ControlTemplate& a, const ControlTemplate& b) { return a.id == b.id; });
}
static_assert(IdsUnique(kDisplayModeControls) && IdsUnique(kLanguageControls) &&
              IdsUnique(kAudioDecoderControls));
// One box per display-mode key, each key once.
static_assert(kDisplayModeControls.size() == kDisplayModeBoxIds.size() + 2);

constexpr DialogTemplate kDisplayMode{kDisplayModeDialogId, "Nur für Telvio ab 3.01", 232, 186,
                                      kDisplayModeControls};
constexpr DialogTemplate kLanguage{
    kLanguageDialogId, "KFG - Sprachauswahl", 160, 60, kLanguageControls, false};
constexpr DialogTemplate kAudioDecoder{kAudioDecoderDialogId, "Audiodecoder", 180, 84,
                                       kAudioDecoderControls, false};

} // namespace

const DialogTemplate& DisplayModeDialogTemplate() {
    return kDisplayMode;
}
const DialogTemplate& LanguageDialogTemplate() {
    return kLanguage;
}
const DialogTemplate& AudioDecoderDialogTemplate() {
    return kAudioDecoder;
}

} // namespace kfg::res
