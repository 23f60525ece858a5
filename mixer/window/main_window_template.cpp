#include "mixer/window/main_window_template.h"

#include "mixer/orvindel_art.h"
#include "mixer/window/main_window_controls.h"

namespace mixer::main_window {

using widgets::ControlKind;
using widgets::ControlStyleFlag;
using widgets::ControlTemplate;

widgets::DialogTemplate mainWindowTemplate() {
    widgets::DialogTemplate window;
    window.title = QStringLiteral("Orvindel");
    window.width = 408;  // 351, widened for the Preview button
    window.height = 199;
    window.font = {QStringLiteral("MS Sans Serif"), 8};
    window.controls = {
        {kAddVideoButton, ControlKind::ImageButton, "Add video", 9, 5, 46, 32},
        {kAddAudioButton, ControlKind::ImageButton, "Add audio", 66, 5, 46, 32},
        {kOptionsButton, ControlKind::ImageButton, "Options", 123, 5, 46, 32},
        {kMixButton, ControlKind::ImageButton, "Mix", 180, 5, 46, 32},
        {kHelpButton, ControlKind::ImageButton, "&Help", 237, 5, 46, 32},
        // Exit is the default button: the Enter key presses it and so reaches the close checks.
        {kExitButton, ControlKind::ImageButton, "Exit", 294, 5, 46, 32,
         ControlStyleFlag::DefaultButton},
        {kPreviewButton, ControlKind::ImageButton, "Preview", 351, 5, 46, 32},
        {widgets::kNoControlId, ControlKind::GroupFrame, "", 7, 0, 394, 39},
        {kVideoListLabel, ControlKind::Label, "Video List:", 10, 40, 66, 10},
        {kVideoList, ControlKind::ListView, "", 7, 51, 306, 40},
        {kDeleteAllButton, ControlKind::ImageButton, "", 322, 59, 22, 14},
        {kRemoveVideosButton, ControlKind::ImageButton, "", 322, 75, 22, 14},
        {kAudioListLabel, ControlKind::Label, "Audio List:", 10, 94, 66, 10},
        {kAudioList, ControlKind::ListView, "", 7, 105, 306, 54},
        {kDeleteSelectedAudioButton, ControlKind::ImageButton, "", 322, 96, 22, 14},
        {kDeleteAllAudioButton, ControlKind::ImageButton, "", 322, 117, 22, 14},
        {kAudioPropertiesButton, ControlKind::ImageButton, "", 322, 138, 22, 14},
        {kMicrophoneButton, ControlKind::ImageButton, "Microphone", 7, 164, 50, 14},
        {kHomepageButton, ControlKind::ImageButton, "Homepage", 187, 163, 42, 16},
        {kAboutButton, ControlKind::ImageButton, "About", 273, 163, 42, 16},
        {kStatusLine, ControlKind::MultiLineLabel, "", 7, 182, 336, 10},
    };
    return window;
}

const std::vector<ButtonDecoration>& buttonDecorations() {
    static const std::vector<ButtonDecoration> decorations = {
        {kAddVideoButton, "Add video files to list", art::kAddMedia},
        {kAddAudioButton, "Add audio files to list", art::kAddMedia},
        {kOptionsButton, "Customize output options", art::kOptions},
        {kMixButton, "Mix audio to video", art::kMix},
        {kHelpButton, "Help", art::kHelp},
        {kExitButton, "Exit", art::kExit},
        {kPreviewButton, "Watch and hear the mix before writing it", art::kPreview},
        {kDeleteAllButton, "Delete all video and audio items", art::kDeleteAll},
        {kRemoveVideosButton, "Remove selected video items", art::kDeleteSelected},
        {kDeleteSelectedAudioButton, "Delete selected items", art::kDeleteSelected},
        {kDeleteAllAudioButton, "Delete all audio items", art::kDeleteAll},
        {kAudioPropertiesButton, "Change selected audio's properties", art::kProperties},
        {kMicrophoneButton, "Ambrevo", nullptr},
        {kHomepageButton, "Homepage", nullptr},
        {kAboutButton, "About", nullptr},
    };
    return decorations;
}

}  // namespace mixer::main_window
