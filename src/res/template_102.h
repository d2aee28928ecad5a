#pragma once

#include "framework/dialog_template.h"

#include <array>

// The main dialog's template: every control of all six editions at once; the edition layout
// shows and hides them, so several controls share a place.
namespace kfg::res {

inline constexpr int kMainDialogId = 102;

// Command buttons. 1 is the dialog's OK command; Escape sends the cancel command (2), which
// has no control.
inline constexpr int kIdExit = framework::IDOK;
inline constexpr int kIdStart = 1001;
inline constexpr int kIdReload = 1002; // "Telvio.ini": reads the viewer's settings again
inline constexpr int kIdDefaults = 1003;
inline constexpr int kIdSaveConfiguration = 1004;
inline constexpr int kIdShowConfiguration = 1005;
inline constexpr int kIdPictureDefaults = 1069;
inline constexpr int kIdDeleteConfiguration = 1115;
inline constexpr int kIdAudioDecoder = 1167;
inline constexpr int kIdHelp = 1164; // hidden, does nothing

// Group boxes with an id (the language switch renames them).
inline constexpr int kIdHardwareBox = 1092;
inline constexpr int kIdMemoryBox = 1093;
inline constexpr int kIdDecodingBox = 1097;
inline constexpr int kIdConfigurationsBox = 1153;
inline constexpr int kIdVideoBox = 1157;
inline constexpr int kIdPictureBox = 1158;

// "Dekodierung".
inline constexpr int kIdTestLines = 1038;
inline constexpr int kIdTestLinesSpin = 1039;
inline constexpr int kIdTestLinesLabel = 1078;
inline constexpr int kIdIndexFileList = 1040;
inline constexpr int kIdIndexFileLabel = 1166;
inline constexpr int kIdBorderHeight = 1042;
inline constexpr int kIdBorderHeightSpin = 1043;
inline constexpr int kIdBorderHeightLabel = 1079;
inline constexpr int kIdAspect4To3 = 1044;
inline constexpr int kIdAspect16To9 = 1045;
inline constexpr int kIdAspect20To9 = 1046;
inline constexpr int kIdPalPlus = 1102;
inline constexpr int kIdBlackLines = 1103;
inline constexpr int kIdBlankingInterval = 1104;
inline constexpr int kIdFirstLine = 1106;
inline constexpr int kIdFirstLineLabel = 1109;
inline constexpr int kIdLastLine = 1107;
inline constexpr int kIdLastLineLabel = 1110;
inline constexpr int kIdForeground = 1161;
inline constexpr int kIdAutoBorder = 1162;
inline constexpr int kIdProportional = 1163;
inline constexpr int kIdTurbo = 1094;

// "Hardware".
inline constexpr int kIdTunerList = 1070;
inline constexpr int kIdInterpolationList = 1118;
inline constexpr int kIdCardList3x = 1071;
inline constexpr int kIdCardList283 = 1099;
inline constexpr int kIdCardListErazor = 1116;
inline constexpr int kIdPllInit = 1016;
inline constexpr int kIdBt8xxOptimisation = 1101;
inline constexpr int kIdErazorLineIn = 1120; // the viewer's "Line-In" key

// "Video".
inline constexpr int kIdDisplayMode3x = 1012;
inline constexpr int kIdDisplayMode283 = 1100;
inline constexpr int kIdDisplayModeErazor = 1117;
inline constexpr int kIdHighPriority = 1013;
inline constexpr int kIdStatus = 1014;
inline constexpr int kIdStatistics = 1105;
inline constexpr int kIdSecam = 1015;
inline constexpr int kIdLogFile = 1017;

// "Bildoptionen".
inline constexpr int kIdBrightness = 1047;
inline constexpr int kIdBrightnessSpin = 1048;
inline constexpr int kIdBrightnessLabel = 1080;
inline constexpr int kIdColour = 1049;
inline constexpr int kIdColourSpin = 1050;
inline constexpr int kIdColourLabel = 1081;
inline constexpr int kIdContrast = 1051;
inline constexpr int kIdContrastSpin = 1052;
inline constexpr int kIdContrastLabel = 1082;

// "Audio".
inline constexpr int kIdLoudness = 1129;
inline constexpr int kIdSpatial = 1128;
inline constexpr int kIdAcceleration = 1159;
inline constexpr int kIdAccelerationLabel = 1160;
inline constexpr int kIdSoundInit = 1067;
inline constexpr int kIdSoundLineIn = 1068; // the manager's own "LineIn" key, not the viewer's

// Created hidden and never shown; they still take part in exchanges and commands.
inline constexpr int kIdLineInMute = 1059;
inline constexpr int kIdLanguageToggle = 1084;
inline constexpr int kIdVolume = 1095;
inline constexpr int kIdVolumeSpin = 1096;
inline constexpr int kIdVolumeLabel = 1098;
inline constexpr int kIdReapplyLayout = 1112;
inline constexpr int kIdSoundReturn = 1127;

// The lower box and the configurations.
inline constexpr int kIdVersionLabel = 1121;
inline constexpr int kIdConfigurationField = 1114;

// The memory fields of "Programme", slot n -> id. The ids are not in slot order past slot 9.
inline constexpr int kIdMemorySlot0 = 1018;
inline constexpr int kIdMemorySlot1 = 1020;
inline constexpr int kIdMemorySlot2 = 1022;
inline constexpr int kIdMemorySlot3 = 1024;
inline constexpr int kIdMemorySlot4 = 1026;
inline constexpr int kIdMemorySlot5 = 1028;
inline constexpr int kIdMemorySlot6 = 1030;
inline constexpr int kIdMemorySlot7 = 1032;
inline constexpr int kIdMemorySlot8 = 1034;
inline constexpr int kIdMemorySlot9 = 1036;
inline constexpr int kIdMemorySlot10 = 1019;
inline constexpr int kIdMemorySlot11 = 1021;
inline constexpr int kIdMemorySlot12 = 1023;
inline constexpr int kIdMemorySlot13 = 1025;
inline constexpr int kIdMemorySlot14 = 1027;
inline constexpr int kIdMemorySlot15 = 1029;
inline constexpr int kIdMemorySlot16 = 1031;
inline constexpr int kIdMemorySlot17 = 1033;
inline constexpr int kIdMemorySlot18 = 1035;
inline constexpr int kIdMemorySlot19 = 1037;
inline constexpr int kIdMemorySlot20 = 1041;
inline constexpr int kIdMemorySlot21 = 1054;
inline constexpr int kIdMemorySlot22 = 1056;
inline constexpr int kIdMemorySlot23 = 1058;
inline constexpr int kIdMemorySlot24 = 1083;
inline constexpr int kIdMemorySlot25 = 1061;
inline constexpr int kIdMemorySlot26 = 1063;
inline constexpr int kIdMemorySlot27 = 1065;
inline constexpr int kIdMemorySlot28 = 1072;
inline constexpr int kIdMemorySlot29 = 1074;
inline constexpr int kIdMemorySlot30 = 1053;
inline constexpr int kIdMemorySlot31 = 1055;
inline constexpr int kIdMemorySlot32 = 1057;
inline constexpr int kIdMemorySlot33 = 1060;
inline constexpr int kIdMemorySlot34 = 1077;
inline constexpr int kIdMemorySlot35 = 1062;
inline constexpr int kIdMemorySlot36 = 1064;
inline constexpr int kIdMemorySlot37 = 1066;
inline constexpr int kIdMemorySlot38 = 1073;
inline constexpr int kIdMemorySlot39 = 1075;

inline constexpr int kMemorySlotCount = 40;
inline constexpr std::array<int, kMemorySlotCount> kMemorySlotIds = {
    kIdMemorySlot0,  kIdMemorySlot1,  kIdMemorySlot2,  kIdMemorySlot3,  kIdMemorySlot4,
    kIdMemorySlot5,  kIdMemorySlot6,  kIdMemorySlot7,  kIdMemorySlot8,  kIdMemorySlot9,
    kIdMemorySlot10, kIdMemorySlot11, kIdMemorySlot12, kIdMemorySlot13, kIdMemorySlot14,
    kIdMemorySlot15, kIdMemorySlot16, kIdMemorySlot17, kIdMemorySlot18, kIdMemorySlot19,
    kIdMemorySlot20, kIdMemorySlot21, kIdMemorySlot22, kIdMemorySlot23, kIdMemorySlot24,
    kIdMemorySlot25, kIdMemorySlot26, kIdMemorySlot27, kIdMemorySlot28, kIdMemorySlot29,
    kIdMemorySlot30, kIdMemorySlot31, kIdMemorySlot32, kIdMemorySlot33, kIdMemorySlot34,
    kIdMemorySlot35, kIdMemorySlot36, kIdMemorySlot37, kIdMemorySlot38, kIdMemorySlot39,
};

// Icon resources ("/icons/<n>.svg").
inline constexpr int kIconWindow = 128;
inline constexpr int kIconStart = 129;
inline constexpr int kIconSave = 151;
inline constexpr int kIconShow = 152;
inline constexpr int kIconDelete = 157;

// The template: 432 x 226 dialog units, German captions, title "KFG" until loading sets the
// real one. The control order is the tab order; the first control, "Anzeigen", gets the
// initial focus. The table lives for the whole program.
const framework::DialogTemplate& MainDialogTemplate();

} // namespace kfg::res
