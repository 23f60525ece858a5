// Opens a project of 1,000 video clips (and their 1,000 companion sound entries) made from 10
// distinct files in the main window, until the window's lists are filled and usable, every file
// checked for presence and length. Prints each run and, last, "project-open: <median ms> ms".
#include "editing/compressors/compressor_registry.h"
#include "mixer/project/atomic_file_save.h"
#include "mixer/project/project_file.h"
#include "mixer/window/main_window.h"
#include "mixer/window/orvindel_start_up.h"
#include "widgets/ports/desktop_launcher.h"
#include "widgets/ports/qt_file_picker.h"

#include <QApplication>
#include <QTreeWidget>

#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int kDistinctFiles = 10;
constexpr int kRuns = 5;

// Counts boxes instead of showing them; opening good input shows none.
class CountingPrompt final : public base::PromptPort {
  public:
    base::PromptAnswer show(const base::PromptRequest& request) override {
        std::fprintf(stderr, "unexpected message: %s\n", request.text.toUtf8().constData());
        return base::PromptAnswer::No;
    }
};

bool makeClip(const std::string& path, int index) {
    const std::string command =
        "ffmpeg -loglevel error -y -f lavfi -i testsrc=size=160x120:rate=25:duration=" +
        std::to_string(2 + index) + " -f lavfi -i sine=duration=" + std::to_string(2 + index) +
        " -c:v mpeg4 -c:a pcm_s16le '" + path + "'";
    return std::system(command.c_str()) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("orvindel-project-open-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder / "config");
    setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
    setenv("XDG_STATE_HOME", (folder / "state").c_str(), 1);
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication application(argc, argv);

    mixer::ProjectContents contents;
    for (int index = 0; index < mixer::kMaxListEntries; ++index) {
        const std::string clip =
            (folder / ("clip-" + std::to_string(index % kDistinctFiles) + ".avi")).string();
        if (index < kDistinctFiles && !makeClip(clip, index)) {
            std::fprintf(stderr, "cannot make %s\n", clip.c_str());
            return 1;
        }
        contents.videos.push_back({clip, 0, index % 47, 10'000'000});
        contents.audios.push_back({clip});
    }
    const QString project = QString::fromStdString((folder / "large.orvindel").string());
    if (!mixer::saveFileWhole(
             project, mixer::projectFileText(contents, QString::fromStdString(folder.string())))
             .saved) {
        return 1;
    }

    const editing::CompressorRegistry compressors = editing::CompressorRegistry::discover();
    mixer::SettingsStore store;
    CountingPrompt prompt;
    widgets::QtFilePicker picker;
    widgets::DesktopLauncher launcher;
    std::vector<double> runsMs;
    for (int run = 0; run < kRuns; ++run) {
        mixer::MainWindow window(mixer::readMainWindowStart(compressors, store), store,
                                 mixer::MainWindowPorts{prompt, picker, launcher}, compressors);
        window.show();
        QApplication::processEvents();
        const auto began = std::chrono::steady_clock::now();
        const bool opened = window.projectCommands().open(project);
        QApplication::processEvents();
        const double elapsedMs =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - began)
                .count();
        if (!opened || window.job().videos.size() != contents.videos.size()) {
            std::fprintf(stderr, "the project did not open whole\n");
            return 1;
        }
        std::printf("run %d: %.0f ms\n", run + 1, elapsedMs);
        runsMs.push_back(elapsedMs);
    }
    std::filesystem::remove_all(folder);
    std::sort(runsMs.begin(), runsMs.end());
    std::printf("project-open: %.0f ms\n", runsMs[runsMs.size() / 2]);
    return 0;
}
