#pragma once

#include "framework/dialog_template.h"

#include <array>

// The templates of the three side dialogs: display modes (161), language (175) and audio
// decoder (176). German captions, as the templates carry them.
namespace kfg::res {

inline constexpr int kIdDisplayModeText = 1156;
inline constexpr int kIdSaveAndClose = 1152;
// The box of display-mode key n ("0".."20"); the ids do not run in key order.
inline constexpr auto kDisplayModeBoxIds = std::to_array<int>({
    1131, 1132, 1133, 1134, 1135, 1136, 1137, 1138, 1139, 1140, 1143,
    1144, 1145, 1146, 1147, 1148, 1141, 1142, 1149, 1150, 1151,
});

inline constexpr int kLanguageDialogId = 175;
inline constexpr int kIdGerman = 1155;
inline constexpr int kIdSpanish = 1154;

inline constexpr int kIdNoDecoder = 1173;
inline constexpr int kIdTonalix = 1171;
inline constexpr int kIdSonora = 1170;
inline constexpr int kIdStartDecoderAutomatically = 1172;

const framework::DialogTemplate& DisplayModeDialogTemplate();
const framework::DialogTemplate& LanguageDialogTemplate();
const framework::DialogTemplate& AudioDecoderDialogTemplate();

} // namespace kfg::res
