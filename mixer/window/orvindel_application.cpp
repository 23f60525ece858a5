#include "mixer/window/orvindel_application.h"

#include "mixer/cli/command_line.h"
#include "mixer/window/main_window.h"
#include "mixer/window/orvindel_start_up.h"

#include <QFileInfo>
#include <QTimer>

#include <memory>

namespace mixer {

namespace {

void openCommandLineFiles(MainWindow& window, const QStringList& files) {
    for (const QString& file : files) {
        if (isProjectFileName(file)) {
            window.projectCommands().open(file);
        } else if (isSoundFileName(file)) {
            window.mediaAdder().addAudioFiles({QFileInfo(file).absoluteFilePath()});
        } else {
            window.mediaAdder().addVideoFile(QFileInfo(file).absoluteFilePath());
        }
    }
}

}  // namespace

OrvindelApplication::OrvindelApplication()
    : compressors_(editing::CompressorRegistry::discover()) {}

int OrvindelApplication::run(const QStringList& files) {
    const std::unique_ptr<MainWindow> window =
        startMainWindow(store_, MainWindowPorts{prompt_, filePicker_, launcher_}, compressors_);
    // Once the window shows, so every message has its owner on the screen.
    QTimer::singleShot(0, window.get(), [&window = *window, files] {
        window.projectCommands().offerRecovery();
        openCommandLineFiles(window, files);
    });
    window->exec();
    return 0;
}

}  // namespace mixer
