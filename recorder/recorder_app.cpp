#include "recorder/recorder_app.h"

#include <QCoreApplication>

#include <cstring>
#include <memory>

#include "recorder/app/recorder_start_up.h"
#include "recorder/instance/single_instance.h"
#include "recorder/logic/recorder_start_values.h"
#include "recorder/window/recorder_dialogs.h"
#include "recorder/window/recorder_window.h"
#include "widgets/ports/desktop_launcher.h"
#include "widgets/ports/qt_file_picker.h"
#include "widgets/ports/qt_prompt.h"

#ifndef AMBREVO_VERSION
#define AMBREVO_VERSION "unknown"
#endif

namespace recorder {

std::optional<int> answerCommandLine(int argc, char** argv, std::FILE* out) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(
                "Usage: ambrevo [--help] [--version]\n"
                "Records sound from a capture device of the sound server into a WAV "
                "file.\n\n"
                "  -h, --help   show this help and exit\n"
                "  --version    show the version and exit\n\n"
                "Only one Ambrevo runs per user: a second start brings the running "
                "window to the front.\n",
                out);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::fputs("ambrevo " AMBREVO_VERSION "\n", out);
            return 0;
        }
    }
    return std::nullopt;
}

int RecorderApp::run() {
    // The profile lives under organisation "Korvane", application "ambrevo".
    QCoreApplication::setOrganizationName(QStringLiteral("Korvane"));
    QCoreApplication::setApplicationName(QStringLiteral("ambrevo"));
    SingleInstance instance(SingleInstance::defaultSocketPath());
    if (instance.claim() == InstanceRole::Second) {
        return 0;  // the running Ambrevo shows its window instead
    }
    widgets::QtPrompt prompt;
    widgets::QtFilePicker filePicker;
    widgets::DesktopLauncher launcher;
    ModalHintPresenter hint;
    RecorderStartValues start;
    const std::unique_ptr<RecorderWindow> window =
        startRecorderWindow(start, RecorderPorts{prompt, filePicker, launcher, hint});
    instance.setRaiseHandler([&window = *window] {
        window.showNormal();
        window.raise();
        window.activateWindow();
    });
    window->exec();
    return 0;
}

}  // namespace recorder
