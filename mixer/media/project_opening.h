#pragma once

#include "mixer/project/project_file.h"

#include <QString>
#include <QStringList>

namespace mixer {

// Fills in the durations of an opened project: each distinct file is checked for presence and
// probed once, the files spread over worker threads, so a long list of a few files opens
// quickly. Entries whose file is missing or cannot be read are left out; their paths are
// returned once each, in list order. Blocks the calling thread until every probe is done.
QStringList probeProjectFiles(ProjectContents& contents);

}  // namespace mixer
