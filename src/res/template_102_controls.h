#pragma once

// The controls of template 102 as a constant, so that the main dialog's tables can check at
// compile time that every id they name is a control of the right kind.

#include "framework/dialog_template.h"
#include "res/template_102.h"

#include <array>

namespace kfg::res {
namespace template_102 {

using framework::ControlTemplate;
using framework::kNoId;
using enum framework::ControlKind;
using enum framework::Style;

// Rectangles are dialog units. Where the template gave only a position, the size fits the
// longer of the German and Spanish captions. A spin occupies the right end of its field's
// rectangle, as a right-aligned up-down control does; the field's text area ends where the
// spin begins. Combo box heights include the dropped-down list. Fields, the index-file list and
// the configuration field name their label (or group box) in `buddy` for their accessible
// name; the lists below "Hardware" and "Video", two to a group box, are named each by what it
// chooses (dialogs/main/language_captions.cpp).
// clang-format off
inline constexpr auto kMainControls = std::to_array<ControlTemplate>({
    // First in tab order, so it takes the initial focus.
    {kIdShowConfiguration, PushButton, "Anzeigen", {365, 90, 30, 25}, kNone, 0, kIconShow},

    // "Dekodierung". Controls at the same place belong to different editions.
    {kIdDecodingBox, GroupBox, "Dekodierung", {5, 5, 85, 115}, kNone, 0, 0},
    {kIdTestLines, Edit, "", {10, 20, 25, 12}, kNone, kIdTestLinesLabel, 0},
    {kIdTestLinesSpin, Spin, "Spin1", {26, 20, 9, 12}, kSpinWraps, kIdTestLines, 0},
    {kIdTestLinesLabel, Edit, "", {37, 24, 50, 12}, kReadOnly, 0, 0},
    {kIdIndexFileList, ComboBox, "", {10, 40, 25, 50}, kNone, kIdIndexFileLabel, 0},
    {kIdIndexFileLabel, Label, "IDX-Files", {37, 42, 50, 10}, kNone, 0, 0},
    {kIdPalPlus, CheckBox, "PALplus", {10, 55, 65, 10}, kNone, 0, 0},
    {kIdBorderHeight, Edit, "", {10, 60, 25, 12}, kNone, kIdBorderHeightLabel, 0},
    {kIdBorderHeightSpin, Spin, "Spin2", {26, 60, 9, 12}, kSpinWraps, kIdBorderHeight, 0},
    {kIdForeground, CheckBox, "Vordergrund", {15, 60, 70, 10}, kNone, 0, 0},
    {kIdBorderHeightLabel, Edit, "", {38, 62, 49, 12}, kReadOnly, 0, 0},
    {kIdBlackLines, CheckBox, "Schwarze Zeilen", {10, 65, 75, 10}, kNone, 0, 0},
    {kIdBlankingInterval, CheckBox, "Austastlücke", {10, 75, 75, 10}, kNone, 0, 0},
    {kIdAutoBorder, CheckBox, "Randautomatik", {15, 75, 70, 10}, kNone, 0, 0},
    {kIdAspect4To3, PushButton, "4:3", {10, 81, 20, 10}, kNone, 0, 0},
    {kIdAspect16To9, PushButton, "16:9", {35, 81, 20, 10}, kNone, 0, 0},
    {kIdAspect20To9, PushButton, "20:9", {60, 81, 20, 10}, kNone, 0, 0},
    {kIdFirstLine, Edit, "", {10, 85, 20, 12}, kNone, kIdFirstLineLabel, 0},
    {kIdFirstLineLabel, Label, "Erste Zeile", {33, 87, 52, 10}, kNone, 0, 0},
    {kIdProportional, CheckBox, "Proportional", {15, 90, 70, 10}, kNone, 0, 0},
    {kIdLastLine, Edit, "", {10, 100, 20, 12}, kNone, kIdLastLineLabel, 0},
    {kIdLastLineLabel, Label, "Letzte Zeile", {33, 102, 51, 10}, kNone, 0, 0},
    {kIdTurbo, CheckBox, "Turbo", {15, 105, 35, 10}, kHidden, 0, 0},

    // "Hardware": one tuner-or-interpolation list, one card list, one check box per edition.
    {kIdHardwareBox, GroupBox, "Hardware", {95, 5, 85, 75}, kNone, 0, 0},
    {kIdTunerList, ComboBox, "", {100, 20, 75, 70}, kNone, 0, 0},
    {kIdInterpolationList, ComboBox, "", {100, 20, 75, 45}, kSorted | kEditable, 0, 0},
    {kIdCardList3x, ComboBox, "", {100, 40, 75, 129}, kNone, 0, 0},
    {kIdCardList283, ComboBox, "", {100, 40, 75, 85}, kNone, 0, 0},
    {kIdCardListErazor, ComboBox, "", {100, 40, 75, 30}, kSorted | kEditable, 0, 0},
    {kIdPllInit, CheckBox, "PLL initialisieren", {100, 60, 75, 10}, kNone, 0, 0},
    {kIdBt8xxOptimisation, CheckBox, "Bt8xx", {100, 60, 33, 10}, kNone, 0, 0},
    {kIdErazorLineIn, CheckBox, "Line-In aktivieren", {100, 60, 75, 10}, kNone, 0, 0},

    // The credit box: disabled, only a picture.
    {kNoId, GroupBox, "KFG", {120, 85, 40, 35}, kDisabled, 0, 0},
    {kNoId, Picture, "", {130, 95, 20, 20}, kNone, 0, kIconWindow},

    // "Programme": slots 0-9, 10-19, 20-29, 30-39 in four columns, each field after its
    // number. Rows are 10 units apart and fields 12 high, so neighbouring fields share their
    // border rows like a grid.
    {kIdMemoryBox, GroupBox, "Programme", {185, 5, 175, 115}, kNone, 0, 0},
    {kNoId, Label, "0", {190, 16, 9, 10}, kNone, 0, 0},
    {kIdMemorySlot0, Edit, "", {200, 15, 26, 12}, kDigitsOnly, 0, 0},
    {kNoId, Label, "1", {190, 26, 9, 10}, kNone, 0, 0},
    {kIdMemorySlot1, Edit, "", {200, 25, 26, 12}, kDigitsOnly, 0, 0},
    {kNoId, Label, "2", {190, 36, 9, 10}, kNone, 0, 0},
    {kIdMemorySlot2, Edit, "", {200, 35, 26, 12}, kDigitsOnly, 0, 0},
    {kNoId, Label, "3", {190, 46, 9, 10}, kNone, 0, 0},
    {kIdMemorySlot3, Edit, "", {200, 45, 26, 12}, kDigitsOnly, 0, 0},
    {kNoId, Label, "4", {190, 56, 9, 10}, kNone, 0, 0},
    {kIdMemorySlot4, Edit, "", {200, 55, 26, 12}, kDigitsOnly, 0, 0},
    {kNoId, Label, "5", {190, 66, 9, 10}, kNone, 0, 0},
    {kIdMemorySlot5, Edit, "", {200, 65, 26, 12}, kDigitsOnly, 0, 0},
    {kNoId, Label, "6", {190, 76, 9, 10}, kNone, 0, 0},
    {kIdMemorySlot6, Edit, "", {200, 75, 26, 12}, kDigitsOnly, 0, 0},
    {kNoId, Label, "7", {190, 86, 9, 10}, kNone, 0, 0},
    {kIdMemorySlot7, Edit, "", {200, 85, 26, 12}, kDigitsOnly, 0, 0},
    {kNoId, Label, "8", {190, 96, 9, 10}, kNone, 0, 0},
    {kIdMemorySlot8, Edit, "", {200, 95, 26, 12}, kDigitsOnly, 0, 0},
    {kNoId, Label, "9", {190, 106, 9, 10}, kNone, 0, 0},
    {kIdMemorySlot9, Edit, "", {200, 105, 26, 12}, kDigitsOnly, 0, 0},
    {kNoId, Label, "10", {231, 16, 12, 10}, kNone, 0, 0},
    {kIdMemorySlot10, Edit, "", {244, 15, 25, 12}, kDigitsOnly, 0, 0},
    {kNoId, Label, "11", {231, 26, 12, 10}, kNone, 0, 0},
    {kIdMemorySlot11, Edit, "", {244, 25, 25, 12}, kDigitsOnly, 0, 0},
    {kNoId, Label, "12", {231, 36, 12, 10}, kNone, 0, 0},
    {kIdMemorySlot12, Edit, "", {244, 35, 25, 12}, kDigitsOnly, 0, 0},
    {kNoId, Label, "13", {231, 46, 12, 10}, kNone, 0, 0},
    {kIdMemorySlot13, Edit, "", {244, 45, 25, 12}, kDigitsOnly, 0, 0},
    {kNoId, Label, "14", {231, 56, 12, 10}, kNone, 0, 0},
    {kIdMemorySlot14, Edit, "", {244, 55, 25, 12}, kDigitsOnly, 0, 0},
    {kNoId, Label, "15", {231, 66, 12, 10}, kNone, 0, 0},
    {kIdMemorySlot15, Edit, "", {244, 65, 25, 12}, kDigitsOnly, 0, 0},
    {kNoId, Label, "16", {231, 76, 12, 10}, kNone, 0, 0},
    {kIdMemorySlot16, Edit, "", {244, 75, 25, 12}, kDigitsOnly, 0, 0},
    {kNoId, Label, "17", {231, 86, 12, 10}, kNone, 0, 0},
    {kIdMemorySlot17, Edit, "", {244, 85, 25, 12}, kDigitsOnly, 0, 0},
    {kNoId, Label, "18", {231, 96, 12, 10}, kNone, 0, 0},
    {kIdMemorySlot18, Edit, "", {244, 95, 25, 12}, kDigitsOnly, 0, 0},
    {kNoId, Label, "19", {231, 106, 12, 10}, kNone, 0, 0},
    {kIdMemorySlot19, Edit, "", {244, 105, 25, 12}, kDigitsOnly, 0, 0},
    {kNoId, Label, "20", {275, 16, 9, 10}, kNone, 0, 0},
    {kIdMemorySlot20, Edit, "", {285, 15, 26, 12}, kDigitsOnly, 0, 0},
    {kNoId, Label, "21", {275, 26, 9, 10}, kNone, 0, 0},
    {kIdMemorySlot21, Edit, "", {285, 25, 26, 12}, kDigitsOnly, 0, 0},
    {kNoId, Label, "22", {275, 36, 9, 10}, kNone, 0, 0},
    {kIdMemorySlot22, Edit, "", {285, 35, 26, 12}, kDigitsOnly, 0, 0},
    {kNoId, Label, "23", {275, 46, 9, 10}, kNone, 0, 0},
    {kIdMemorySlot23, Edit, "", {285, 45, 26, 12}, kDigitsOnly, 0, 0},
    {kNoId, Label, "24", {275, 56, 9, 10}, kNone, 0, 0},
    {kIdMemorySlot24, Edit, "", {285, 55, 26, 12}, kDigitsOnly, 0, 0},
    {kNoId, Label, "25", {275, 66, 9, 10}, kNone, 0, 0},
    {kIdMemorySlot25, Edit, "", {285, 65, 26, 12}, kDigitsOnly, 0, 0},
    {kNoId, Label, "26", {275, 76, 9, 10}, kNone, 0, 0},
    {kIdMemorySlot26, Edit, "", {285, 75, 26, 12}, kDigitsOnly, 0, 0},
    {kNoId, Label, "27", {275, 86, 9, 10}, kNone, 0, 0},
    {kIdMemorySlot27, Edit, "", {285, 85, 26, 12}, kDigitsOnly, 0, 0},
    {kNoId, Label, "28", {275, 96, 9, 10}, kNone, 0, 0},
    {kIdMemorySlot28, Edit, "", {285, 95, 26, 12}, kDigitsOnly, 0, 0},
    {kNoId, Label, "29", {275, 106, 9, 10}, kNone, 0, 0},
    {kIdMemorySlot29, Edit, "", {285, 105, 26, 12}, kDigitsOnly, 0, 0},
    {kNoId, Label, "30", {317, 16, 11, 10}, kNone, 0, 0},
    {kIdMemorySlot30, Edit, "", {329, 15, 26, 12}, kDigitsOnly, 0, 0},
    {kNoId, Label, "31", {317, 26, 11, 10}, kNone, 0, 0},
    {kIdMemorySlot31, Edit, "", {329, 25, 26, 12}, kDigitsOnly, 0, 0},
    {kNoId, Label, "32", {317, 36, 11, 10}, kNone, 0, 0},
    {kIdMemorySlot32, Edit, "", {329, 35, 26, 12}, kDigitsOnly, 0, 0},
    {kNoId, Label, "33", {317, 46, 11, 10}, kNone, 0, 0},
    {kIdMemorySlot33, Edit, "", {329, 45, 26, 12}, kDigitsOnly, 0, 0},
    {kNoId, Label, "34", {317, 56, 11, 10}, kNone, 0, 0},
    {kIdMemorySlot34, Edit, "", {329, 55, 26, 12}, kDigitsOnly, 0, 0},
    {kNoId, Label, "35", {317, 66, 11, 10}, kNone, 0, 0},
    {kIdMemorySlot35, Edit, "", {329, 65, 26, 12}, kDigitsOnly, 0, 0},
    {kNoId, Label, "36", {317, 76, 11, 10}, kNone, 0, 0},
    {kIdMemorySlot36, Edit, "", {329, 75, 26, 12}, kDigitsOnly, 0, 0},
    {kNoId, Label, "37", {317, 86, 11, 10}, kNone, 0, 0},
    {kIdMemorySlot37, Edit, "", {329, 85, 26, 12}, kDigitsOnly, 0, 0},
    {kNoId, Label, "38", {317, 96, 11, 10}, kNone, 0, 0},
    {kIdMemorySlot38, Edit, "", {329, 95, 26, 12}, kDigitsOnly, 0, 0},
    {kNoId, Label, "39", {317, 106, 11, 10}, kNone, 0, 0},
    {kIdMemorySlot39, Edit, "", {329, 105, 26, 12}, kDigitsOnly, 0, 0},

    {kIdConfigurationsBox, GroupBox, "Konfigurationen", {365, 5, 60, 80}, kNone, 0, 0},
    {kIdConfigurationField, ComboBox, "", {371, 15, 50, 70}, kSimpleCombo, kIdConfigurationsBox, 0},

    // "Video": one display-mode list per edition family.
    {kIdVideoBox, GroupBox, "Video", {5, 125, 85, 95}, kNone, 0, 0},
    {kIdDisplayMode3x, ComboBox, "", {10, 140, 75, 75}, kNone, 0, 0},
    {kIdDisplayMode283, ComboBox, "", {10, 140, 75, 75}, kNone, 0, 0},
    {kIdDisplayModeErazor, ComboBox, "", {10, 140, 75, 75}, kSorted | kEditable, 0, 0},
    {kIdHighPriority, CheckBox, "HohePriorität", {10, 160, 69, 10}, kNone, 0, 0},
    {kIdStatus, CheckBox, "Status", {10, 175, 59, 10}, kNone, 0, 0},
    {kIdStatistics, CheckBox, "Statistik", {10, 175, 59, 10}, kNone, 0, 0},
    {kIdSecam, CheckBox, "SECAM", {10, 190, 38, 10}, kNone, 0, 0},
    {kIdLogFile, CheckBox, "LOG-File", {10, 205, 58, 10}, kNone, 0, 0},

    // "Bildoptionen": each field after the read-only field that names it.
    {kIdPictureBox, GroupBox, "Bildoptionen", {95, 125, 86, 95}, kNone, 0, 0},
    {kIdBrightnessLabel, Edit, "", {100, 142, 33, 12}, kReadOnly, 0, 0},
    {kIdBrightness, Edit, "", {135, 140, 29, 12}, kNone, kIdBrightnessLabel, 0},
    {kIdBrightnessSpin, Spin, "Spin3", {155, 140, 9, 12}, kSpinWraps, kIdBrightness, 0},
    {kIdColourLabel, Edit, "", {100, 162, 33, 12}, kReadOnly, 0, 0},
    {kIdColour, Edit, "", {135, 160, 30, 12}, kNone, kIdColourLabel, 0},
    {kIdColourSpin, Spin, "Spin4", {156, 160, 9, 12}, kSpinWraps, kIdColour, 0},
    {kIdContrastLabel, Edit, "", {100, 182, 33, 12}, kReadOnly, 0, 0},
    {kIdContrast, Edit, "", {135, 180, 29, 12}, kNone, kIdContrastLabel, 0},
    {kIdContrastSpin, Spin, "Spin5", {155, 180, 9, 12}, kSpinWraps, kIdContrast, 0},
    {kIdPictureDefaults, PushButton, "Bilddefault", {115, 200, 61, 15}, kNone, 0, 0},

    // "Audio". "Acceleration" and its field lie over "Loudness" (other editions); the hidden
    // controls never show, so they may overlap visible ones.
    {kNoId, GroupBox, "Audio", {185, 125, 90, 95}, kNone, 0, 0},
    {kIdLoudness, CheckBox, "Loudness", {195, 140, 45, 10}, kNone, 0, 0},
    {kIdAccelerationLabel, Label, "Acceleration", {195, 140, 43, 10}, kNone, 0, 0},
    {kIdAcceleration, Edit, "", {240, 140, 15, 10}, kNone, kIdAccelerationLabel, 0},
    {kIdSpatial, CheckBox, "Spartial", {195, 155, 45, 10}, kNone, 0, 0},
    {kIdReapplyLayout, RadioButton, "2.83", {245, 155, 20, 12}, kHidden | kPushLike, 0, 0},
    {kIdSoundInit, CheckBox, "Sound initialisieren", {195, 170, 75, 15}, kMultiLine, 0, 0},
    {kIdVolumeLabel, Edit, "", {195, 170, 45, 12}, kHidden | kReadOnly, 0, 0},
    {kIdVolume, Edit, "", {242, 170, 25, 12}, kHidden, kIdVolumeLabel, 0},
    {kIdVolumeSpin, Spin, "", {258, 170, 9, 12}, kHidden, kIdVolume, 0},
    {kIdLineInMute, CheckBox, "MUTE", {195, 185, 33, 10}, kHidden, 0, 0},
    {kIdSoundReturn, CheckBox, "Return", {232, 185, 37, 10}, kHidden, 0, 0},
    {kIdSoundLineIn, CheckBox, "Line-In aktivieren", {195, 190, 75, 15}, kMultiLine, 0, 0},
    {kIdLanguageToggle, CheckBox, "versión Española", {195, 200, 70, 12}, kHidden | kPushLike,
     0, 0},

    // The lower box: viewer edition, reload, defaults, credit.
    {kNoId, GroupBox, "", {280, 125, 80, 95}, kNone, 0, 0},
    {kNoId, Label, "Telvio", {285, 135, 25, 10}, kNone, 0, 0},
    {kIdVersionLabel, Label, "", {315, 135, 43, 10}, kNone, 0, 0},
    {kIdReload, PushButton, "Telvio.ini", {290, 145, 60, 15}, kNone, 0, 0},
    {kIdDefaults, PushButton, " Defaultwerte", {290, 165, 60, 20}, kMultiLine, 0, 0},
    {kNoId, Label, "versión Española", {285, 190, 70, 10}, kCentered, 0, 0},
    {kIdHelp, PushButton, "Hilfe", {305, 202, 30, 12}, kHidden, 0, 0},

    // The command column; its captions give way to the icons where there is one.
    {kIdSaveConfiguration, PushButton, "Speichern", {395, 90, 30, 25}, kDefaultButton, 0,
     kIconSave},
    {kIdDeleteConfiguration, PushButton, "Löschen", {375, 120, 40, 27}, kNone, 0, kIconDelete},
    {kIdStart, PushButton, "Button2", {365, 155, 60, 25}, kNone, 0, kIconStart},
    {kIdAudioDecoder, PushButton, "Audiodecoder", {365, 185, 60, 15}, kNone, 0, 0},
    {kIdExit, PushButton, "Beenden", {365, 205, 60, 15}, kDefaultButton, 0, 0},
});
// clang-format on

} // namespace template_102

inline constexpr const auto& kMainControls = template_102::kMainControls;

// The control with `id` in template 102; null when there is none.
constexpr const framework::ControlTemplate* FindMainControl(int id) {
    for (const framework::ControlTemplate& control : kMainControls) {
        if (control.id == id) {
            return &control;
        }
    }
    return nullptr;
}

// Whether template 102 has control `id` of kind `kind`.
constexpr bool IsMainControl(int id, framework::ControlKind kind) {
    const framework::ControlTemplate* control = FindMainControl(id);
    return control != nullptr && control->kind == kind;
}

} // namespace kfg::res
