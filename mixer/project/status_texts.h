#pragma once

#include "mixer/project/mix_job.h"

#include <QString>

namespace mixer {

// The texts of the main window's status line.

// "Output File: %s     Resolution: %d*%d" (five blanks before "Resolution"): after start-up
// and after the output options were accepted.
QString outputStatusText(const OutputSettings& output);

// "Please wait... Used Time: %02d:%02d:%02d": each second while a mix runs.
QString progressStatusText(int elapsedSeconds);

// "Done. Output File: %s     Resolution: %d*%d": when a mix ended or was stopped.
QString doneStatusText(const OutputSettings& output);

}  // namespace mixer
