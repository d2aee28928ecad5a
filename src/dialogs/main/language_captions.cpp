#include "dialogs/main/language_captions.h"

#include <array>

namespace kfg::dialogs {
namespace {

constexpr std::array<CaptionRow, 35> kSpanish{{
    {1013, "Prioridad alta"},
    {1014, "Información       "},
    {1105, "Información       "},
    {1078, "Líneas de test"},
    {1081, "Color  "},
    {1080, "Brillo "},
    {1082, "Contraste"},
    {1016, "Inicializar el PLL"},
    {1079, "Tamaño Bandas    "},
    {1, "Salir  "},
    {1092, "Tarjeta "},
    {1093, "Memorias"},
    {1097, "Decoder "},
    {1098, "Volume"},
    {1005, "Mostrar"},
    {1004, "Grabar "},
    {1003, "    R E S E T    "},
    {1067, "Inicializar sonido"},
    {1068, "Activar Line-In"},
    {1128, "Spacial"},
    {1069, "Por defecto"},
    {1153, "Configuración"},
    {1157, "Vídeo"},
    {1158, "Imagen"},
    {1160, "Aceleración "},
    {1109, "Primera  línea"},
    {1110, "Ultima línea  "},
    {1161, "1er. Plano"},
    {1163, "Proporcional "},
    {1162, "AutoFormato"},
    {1017, "Archivo Log"},
    {1166, "Ficheros IDX    "},
    {1167, "Audio-Decoder "},
    {1103, "Manejar bandas negras  "},
    {1104, "Acceso directo a  memoria vídeo"},
}};

constexpr std::array<CaptionRow, 6> kGermanLabels{{
    {1078, "Testzeilen"},
    {1081, "Farbe"},
    {1080, "Helligkeit"},
    {1082, "Kontrast"},
    {1079, "Randhöhe"},
    {1098, "Lautstärke"},
}};

constexpr std::array<CommandName, 4> kIconButtons{{
    {1001, "Start", "Iniciar"},
    {1004, "Speichern", "Grabar"},
    {1005, "Anzeigen", "Mostrar"},
    {1115, "Löschen", "Borrar"},
}};

} // namespace

std::span<const CaptionRow> SpanishCaptions() {
    return kSpanish;
}
std::span<const CaptionRow> GermanLabelTexts() {
    return kGermanLabels;
}
std::span<const CommandName> IconButtonNames() {
    return kIconButtons;
}

} // namespace kfg::dialogs
