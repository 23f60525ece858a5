// Adds 150 short clips to the video list as a drop or a multi-file "Add video" does, inside a
// running event loop: the files are probed on worker threads behind the progress dialog while
// the window thread runs its events. Prints how long the window thread could not answer (the
// longest gap between ticks of a 5 ms timer) and the total time of the add. Goal: pause <= 100 ms,
// total <= 2 s. Last line: "add-files: <longest pause> ms".
#include "mixer/media/media_adder.h"
#include "mixer/project/media_lists.h"
#include "mixer/project/settings_store.h"
#include "widgets/ports/qt_file_picker.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr int kClipCount = 150;

class CountingPrompt final : public base::PromptPort {
  public:
    base::PromptAnswer show(const base::PromptRequest& request) override {
        std::fprintf(stderr, "unexpected message: %s\n", request.text.toUtf8().constData());
        return base::PromptAnswer::Ok;
    }
};

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTemporaryDir folder;
    const QString first = folder.filePath(QStringLiteral("clip-0.avi"));
    const std::string make =
        "ffmpeg -loglevel error -y -f lavfi -i testsrc=size=64x48:rate=25:duration=0.5 "
        "-f lavfi -i sine=frequency=440:duration=0.5 -c:v mpeg4 -c:a libmp3lame '" +
        first.toStdString() + "'";
    if (std::system(make.c_str()) != 0) {
        std::fprintf(stderr, "ffmpeg could not write the clip\n");
        return 1;
    }
    QStringList paths{first};
    for (int index = 1; index < kClipCount; ++index) {
        paths << folder.filePath(QStringLiteral("clip-%1.avi").arg(index));
        QFile::copy(first, paths.back());
    }

    mixer::MixJob job;
    mixer::MediaLists lists(job);
    widgets::QtFilePicker picker;
    CountingPrompt prompt;
    mixer::SettingsStore settings(QStringLiteral("KorvaneBench"), QStringLiteral("add-files"));
    mixer::MediaAdder adder(lists, picker, prompt, settings);

    QElapsedTimer sinceTick;
    qint64 longestPauseMs = 0;
    QTimer ticks;
    ticks.setInterval(5);
    QObject::connect(&ticks, &QTimer::timeout,
                     [&] { longestPauseMs = std::max(longestPauseMs, sinceTick.restart()); });
    qint64 totalMs = 0;
    int added = 0;
    QTimer::singleShot(50, [&] {
        QElapsedTimer total;
        total.start();
        added = adder.addVideoFiles(paths, 0);
        totalMs = total.elapsed();
        QTimer::singleShot(50, &application, &QApplication::quit);
    });
    sinceTick.start();
    ticks.start();
    application.exec();
    QSettings(QStringLiteral("KorvaneBench"), QStringLiteral("add-files")).clear();

    std::printf("clips added: %d of %d\n", added, kClipCount);
    std::printf("total time: %lld ms\n", static_cast<long long>(totalMs));
    std::printf("add-files: %lld ms\n", static_cast<long long>(longestPauseMs));
    return added == kClipCount ? 0 : 1;
}
