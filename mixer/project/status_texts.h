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

// "Done. Output File: %s     Resolution: %d*%d": when a mix completed the whole file.
QString doneStatusText(const OutputSettings& output);

// "Stopped at m:ss. Output File: %s     Resolution: %d*%d": when the user stopped a mix; the
// file plays up to `writtenSeconds`.
QString stoppedStatusText(int writtenSeconds, const OutputSettings& output);

// "Failed: <reason>": when writing the file failed (`reason`: the first line of the message).
QString failedStatusText(const QString& reason);

}  // namespace mixer
