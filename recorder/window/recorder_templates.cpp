#include "recorder/window/recorder_templates.h"

#include <QProgressBar>

namespace recorder {

using widgets::ControlKind;
using widgets::ControlStyleFlag;
using widgets::ControlTemplate;
using widgets::DialogTemplate;

widgets::DialogTemplate recorderWindowTemplate() {
    using namespace control;
    DialogTemplate dialog;
    dialog.title = QStringLiteral("Ambrevo");
    dialog.width = 244;
    dialog.height = 156;
    dialog.font = {QStringLiteral("MS Shell Dlg"), 8};
    dialog.controls = {
        {kRecord, ControlKind::ImageButton, QStringLiteral("Record"), 7, 6, 68, 26},
        {kPause, ControlKind::ImageButton, QStringLiteral("Pause"), 87, 6, 68, 26},
        {kStop, ControlKind::ImageButton, QStringLiteral("Stop"), 167, 6, 68, 26},
        {kInputLineList, ControlKind::DropDownList, {}, 7, 37, 110, 97},
        {kDeviceList, ControlKind::DropDownList, {}, 130, 37, 106, 49},
        {kDeviceMarker, ControlKind::MultiLineLabel, {}, 234, 38, 8, 10},
        {kLineMarker, ControlKind::MultiLineLabel, {}, 235, 40, 8, 8},
        {kVolumeCaption, ControlKind::Label, QStringLiteral("Volume:"), 7, 58, 31, 8},
        {kVolume,
         ControlKind::Slider,
         {},
         39,
         55,
         174,
         15,
         ControlStyleFlag::NoTicks | ControlStyleFlag::BothWaysThumb},
        {kVolumeMax, ControlKind::MultiLineLabel, QStringLiteral("Max"), 218, 57, 16, 8},
        {kLevelMeter,
         ControlKind::Custom,
         {},
         39,
         71,
         174,
         4,
         ControlStyleFlag::NoTabStop,
         [](const ControlTemplate&, QWidget* parent) -> QWidget* {
             auto* meter = new QProgressBar(parent);
             meter->setRange(0, 100);
             meter->setValue(0);
             meter->setTextVisible(false);
             meter->setToolTip(QStringLiteral("Input level"));
             return meter;
         }},
        {kOutputCaption, ControlKind::Label, QStringLiteral("Output to:"), 7, 81, 32, 8,
         ControlStyleFlag::AlignCentre},
        {kMutedWarning, ControlKind::Label, QStringLiteral("The selected input is muted!"), 130, 81,
         105, 8, ControlStyleFlag::AlignRight | ControlStyleFlag::Hidden},
        {kTimeLeft, ControlKind::Label, {}, 42, 81, 86, 8, ControlStyleFlag::Hidden},
        {kOutputFile, ControlKind::LineEdit, {}, 7, 92, 152, 14, ControlStyleFlag::AutoScroll},
        {kBrowse, ControlKind::ImageButton, QStringLiteral("Browse"), 165, 92, 32, 14},
        {kPlay, ControlKind::ImageButton, QStringLiteral("Play"), 203, 92, 32, 14},
        {kHomepage, ControlKind::ImageButton, QStringLiteral("Homepage"), 8, 115, 48, 14},
        {kAbout, ControlKind::ImageButton, QStringLiteral("About"), 97, 115, 48, 14},
        {kHelp, ControlKind::ImageButton, QStringLiteral("Help"), 187, 115, 48, 14},
        {kStatus, ControlKind::SunkenLabel, QStringLiteral("Status : Ready"), 7, 136, 228, 10},
    };
    return dialog;
}

widgets::DialogTemplate recorderAboutTemplate() {
    using namespace control;
    DialogTemplate dialog;
    dialog.title = QStringLiteral("About Ambrevo");
    dialog.width = 212;
    dialog.height = 102;
    dialog.font = {QStringLiteral("MS Sans Serif"), 8};
    dialog.controls = {
        {kAboutIcon, ControlKind::IconPicture, {}, 11, 14, 24, 24},
        {widgets::kNoControlId, ControlKind::Label, QStringLiteral("Ambrevo Version 1.0"), 48, 14,
         150, 8},
        {widgets::kNoControlId, ControlKind::Label,
         QStringLiteral("Copyright (C) Korvane Software"), 48, 28, 150, 8},
        {kHomePageLink, ControlKind::HyperlinkLabel, QString::fromLatin1(kMakerHomePageAddress), 48,
         44, 150, 8},
        {kSupportLink, ControlKind::HyperlinkLabel, QStringLiteral("Support Email: Click here"), 48,
         58, 150, 8},
        {kOk, ControlKind::PushButton, QStringLiteral("OK"), 81, 78, 50, 14,
         ControlStyleFlag::DefaultButton},
    };
    return dialog;
}

widgets::DialogTemplate inputHintTemplate() {
    using namespace control;
    DialogTemplate dialog;
    dialog.title = QStringLiteral("How to select an input device");
    dialog.width = 237;
    dialog.height = 111;
    dialog.font = {QStringLiteral("MS Sans Serif"), 8};
    ControlTemplate first{kHintFirstText,
                          ControlKind::Label,
                          QStringLiteral("If you want to record sound from microphone, Please "
                                         "select an input device with \"Microphone\". And make "
                                         "sure the microphone is connected to the Microphone "
                                         "port of sound card."),
                          10,
                          8,
                          217,
                          34};
    ControlTemplate second{kHintSecondText,
                           ControlKind::Label,
                           QStringLiteral("(When the program launches at the first time, it "
                                          "will select the item as possible as it can. If not, "
                                          "please select it manually.)"),
                           10,
                           46,
                           217,
                           26};
    dialog.controls = {
        first,
        second,
        {kHintCheckBox, ControlKind::CheckBox,
         QStringLiteral("Do not show the message in the future"), 10, 76, 217, 10},
        {kOk, ControlKind::PushButton, QStringLiteral("OK"), 93, 91, 50, 14,
         ControlStyleFlag::DefaultButton},
    };
    return dialog;
}

}  // namespace recorder
