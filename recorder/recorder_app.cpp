#include "recorder/recorder_app.h"

#include <QCoreApplication>

#include "recorder/logic/capture_values.h"
#include "recorder/window/recorder_dialogs.h"
#include "recorder/window/recorder_window.h"
#include "widgets/ports/desktop_launcher.h"
#include "widgets/ports/qt_file_picker.h"
#include "widgets/ports/qt_prompt.h"

namespace recorder {

int RecorderApp::run() {
    // The profile lives under organisation "Korvane", application "ambrevo".
    QCoreApplication::setOrganizationName(QStringLiteral("Korvane"));
    QCoreApplication::setApplicationName(QStringLiteral("ambrevo"));
    widgets::QtPrompt prompt;
    widgets::QtFilePicker filePicker;
    widgets::DesktopLauncher launcher;
    ModalHintPresenter hint;
    CaptureValues values;
    RecorderWindow window(values, RecorderPorts{prompt, filePicker, launcher, hint});
    window.exec();
    return 0;
}

}  // namespace recorder
