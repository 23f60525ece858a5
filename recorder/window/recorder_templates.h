#pragma once

#include "widgets/dialog_template.h"

namespace recorder {

// Control ids of the main window (template 102).
namespace control {
inline constexpr int kPlay = 1001;
inline constexpr int kPause = 1002;
inline constexpr int kStop = 1003;
inline constexpr int kRecord = 1004;
inline constexpr int kOutputFile = 1008;
inline constexpr int kDeviceList = 1009;
inline constexpr int kInputLineList = 1011;
inline constexpr int kStatus = 1035;
inline constexpr int kVolume = 1038;
inline constexpr int kBrowse = 1039;
inline constexpr int kDeviceMarker = 1040;
inline constexpr int kHomepage = 1046;
inline constexpr int kAbout = 1047;
inline constexpr int kHelp = 1048;
inline constexpr int kLineMarker = 1051;
inline constexpr int kVolumeCaption = 1052;
inline constexpr int kVolumeMax = 1053;
inline constexpr int kOutputCaption = 1054;
// Additions of this program: the live input level under the slider and the muted warning.
inline constexpr int kLevelMeter = 2001;
inline constexpr int kMutedWarning = 2002;
// While recording with less than an hour of free space on the output's disk: "45 min left".
inline constexpr int kTimeLeft = 2004;

// About box (template 100) and input hint (template 144).
inline constexpr int kOk = 1;
inline constexpr int kAboutIcon = 2101;
inline constexpr int kHomePageLink = 1049;
inline constexpr int kSupportLink = 1050;
inline constexpr int kHintCheckBox = 1055;
inline constexpr int kHintFirstText = 2102;
inline constexpr int kHintSecondText = 2103;
}  // namespace control

widgets::DialogTemplate recorderWindowTemplate();
widgets::DialogTemplate recorderAboutTemplate();
widgets::DialogTemplate inputHintTemplate();

inline constexpr const char* kMakerHomePageAddress = "https://www.korvane.example/ambrevo";
inline constexpr const char* kMakerContactPageAddress = "https://www.korvane.example/contact";

}  // namespace recorder
