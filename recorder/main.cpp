#include <QApplication>

#include <cstdio>
#include <optional>

#include "recorder/recorder_app.h"

int main(int argc, char** argv) {
    // Answered before any display is opened or another Ambrevo is asked: these work on a
    // console without a desktop.
    if (const std::optional<int> answered = recorder::answerCommandLine(argc, argv, stdout)) {
        return *answered;
    }
    QApplication application(argc, argv);  // takes Qt's own options out of argv
    if (argc > 1) {
        std::fprintf(stderr, "ambrevo: unknown argument %s (see ambrevo --help)\n", argv[1]);
        return 1;
    }
    recorder::RecorderApp recorderApp;
    return recorderApp.run();
}
