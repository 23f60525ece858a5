#pragma once

namespace mixer::main_window {

// Control identifiers of the main window; tests find the controls by these.
inline constexpr int kExitButton = 1;
inline constexpr int kMixButton = 1000;
inline constexpr int kOptionsButton = 1003;
inline constexpr int kAddVideoButton = 1006;
inline constexpr int kAddAudioButton = 1007;
inline constexpr int kVideoList = 1008;
inline constexpr int kAudioList = 1009;
inline constexpr int kStatusLine = 1021;
inline constexpr int kDeleteAllButton = 1030;
inline constexpr int kDeleteSelectedAudioButton = 1038;
inline constexpr int kDeleteAllAudioButton = 1039;
inline constexpr int kAboutButton = 1042;
inline constexpr int kHomepageButton = 1047;
inline constexpr int kAudioPropertiesButton = 1061;
inline constexpr int kVideoListLabel = 1066;
inline constexpr int kAudioListLabel = 1067;
inline constexpr int kMicrophoneButton = 1068;
inline constexpr int kHelpButton = 57670;
// Added by us: the Preview command, after Exit on the tool row.
inline constexpr int kPreviewButton = 1070;
// Added by us: removes the selected videos (and their following companion sounds).
inline constexpr int kRemoveVideosButton = 1071;

}  // namespace mixer::main_window
