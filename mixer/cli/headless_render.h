#pragma once

#include "mixer/cli/command_line.h"

namespace mixer {

class SettingsStore;

// Exit statuses of the command line.
inline constexpr int kExitDone = 0;
inline constexpr int kExitBadInput = 1;
inline constexpr int kExitRenderFailed = 2;
inline constexpr int kExitInterrupted = 130;  // SIGINT
inline constexpr int kExitTerminated = 143;   // SIGTERM

// Renders what `line` names (a project, or media files added as the add buttons add them)
// with no window and no display: builds the time line as Mix does, checks every source first
// (a missing or unreadable one is named on stderr and nothing is written), writes progress to
// stderr, and stops as the Stop button does on SIGINT or SIGTERM. Output settings come from
// `store`, then the project, then the command line. Returns the exit status. Needs no
// QCoreApplication; call from the main thread.
int runHeadlessRender(const CommandLine& line, const SettingsStore& store);

}  // namespace mixer
