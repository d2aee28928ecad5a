#include "res/side_templates.h"

namespace kfg::res {
namespace {

using framework::ControlKind;
using framework::ControlTemplate;
using framework::DialogTemplate;
using namespace framework; // style flags

// Display modes: the text on top, the window and YUY2 modes on the left, the RGB modes on the
// right, the button below. Boxes are sized for the longest caption, "720*576 YUY2 ++".
constexpr int kLeft = 12;
constexpr int kRight = 122;
constexpr int kTop = 38;
constexpr int kRow = 11;
constexpr DlgRect Box(int x, int row) {
    return {x, kTop + row * kRow, 100, 10};
}

constexpr std::array<ControlTemplate, 23> kDisplayModeControls{{
    {1156,
     ControlKind::Label,
     "Bitte in die Directory von Telvio kopieren.\nTelvio starten und die angezeigten "
     "Auflösungen auswählen.",
     {7, 6, 218, 28},
     kCentered | kMultiLine},
    {1131, ControlKind::CheckBox, "Im Fenster", Box(kLeft, 0), kGroupStart},
    {1132, ControlKind::CheckBox, "Im Fenster +", Box(kLeft, 1)},
    {1133, ControlKind::CheckBox, "Im Fenster ++", Box(kLeft, 2)},
    {1134, ControlKind::CheckBox, "400*300 YUY2", Box(kLeft, 3)},
    {1135, ControlKind::CheckBox, "640*480 YUY2", Box(kLeft, 4)},
    {1136, ControlKind::CheckBox, "720*576 YUY2", Box(kLeft, 5)},
    {1137, ControlKind::CheckBox, "720*576 YUY2 +", Box(kLeft, 6)},
    {1138, ControlKind::CheckBox, "720*576 YUY2 ++", Box(kLeft, 7)},
    {1139, ControlKind::CheckBox, "800*600 YUY2", Box(kLeft, 8)},
    {1140, ControlKind::CheckBox, "800*600 YUY2 +", Box(kLeft, 9)},
    {1143, ControlKind::CheckBox, "800*600 YUY2 ++", Box(kLeft, 10)},
    {1144, ControlKind::CheckBox, "400*300 RGB", Box(kRight, 0)},
    {1145, ControlKind::CheckBox, "512*384 RGB", Box(kRight, 1)},
    {1146, ControlKind::CheckBox, "640*400 RGB", Box(kRight, 2)},
    {1147, ControlKind::CheckBox, "640*480 RGB", Box(kRight, 3)},
    {1148, ControlKind::CheckBox, "720*576 RGB", Box(kRight, 4)},
    {1141, ControlKind::CheckBox, "720*576 RGB +", Box(kRight, 5)},
    {1142, ControlKind::CheckBox, "720*576 RGB ++", Box(kRight, 6)},
    {1149, ControlKind::CheckBox, "800*600 RGB", Box(kRight, 7)},
    {1150, ControlKind::CheckBox, "800*600 RGB +", Box(kRight, 8)},
    {1151, ControlKind::CheckBox, "800*600 RGB ++", Box(kRight, 9)},
    {1152,
     ControlKind::PushButton,
     "Speichern und Schließen",
     {61, 164, 110, 15},
     kDefaultButton | kGroupStart},
}};

constexpr std::array<ControlTemplate, 3> kLanguageControls{{
    {1155, ControlKind::RadioButton, "Deutsch", {12, 12, 84, 10}, kGroupStart},
    {1154, ControlKind::RadioButton, "versión Española", {12, 28, 84, 20}, kMultiLine},
    {1, ControlKind::PushButton, "OK", {108, 10, 40, 38}, kDefaultButton | kGroupStart, 0, 128},
}};

constexpr std::array<ControlTemplate, 6> kAudioDecoderControls{{
    {1173, ControlKind::RadioButton, "Kein Audiodecoder", {12, 10, 100, 10}, kGroupStart},
    {1171, ControlKind::RadioButton, "Tonalix", {12, 24, 100, 10}},
    {1170, ControlKind::RadioButton, "Sonora", {12, 38, 100, 10}},
    {1172,
     ControlKind::CheckBox,
     "Decoder automatisch starten",
     {12, 56, 104, 20},
     kMultiLine | kGroupStart},
    {1, ControlKind::PushButton, "OK", {124, 10, 44, 14}, kDefaultButton | kGroupStart},
    {2, ControlKind::PushButton, "Cancelar ", {124, 28, 44, 14}},
}};

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
