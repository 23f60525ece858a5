#pragma once

namespace recorder {

// Ambrevo's application object: makes the desktop ports and the capture values of the run,
// runs the main window modally and returns when it ends. Holds nothing else.
class RecorderApp {
  public:
    // The program's exit code: 0 whichever way the window ended.
    int run();
};

}  // namespace recorder
