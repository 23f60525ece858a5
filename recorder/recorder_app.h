#pragma once

#include <cstdio>
#include <optional>

namespace recorder {

// Answers --help and --version on `out` (exit code 0) without any display; nullopt when the
// command line asks for the window.
std::optional<int> answerCommandLine(int argc, char** argv, std::FILE* out);

// Ambrevo's application object: makes the desktop ports, reads the profile into the values the
// window starts with, runs the main window modally, writes what the window reports
// (recorder/app/recorder_start_up.h) and returns when it ends. Holds nothing else. A start while
// the user's Ambrevo already runs raises that one's window and ends at once.
class RecorderApp {
  public:
    // The program's exit code: 0 whichever way the window ended.
    int run();
};

}  // namespace recorder
