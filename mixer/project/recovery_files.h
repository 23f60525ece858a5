#pragma once

#include <QDateTime>
#include <QString>

#include <vector>

namespace mixer {

// The recovery files: the lists of a running Orvindel, written as a project file a few seconds
// after every change into the per-user state folder ($XDG_STATE_HOME/orvindel, else
// ~/.local/state/orvindel), one per running instance, named by its process id so two windows
// never take each other's file. A normal exit removes its file; a file whose process no longer
// runs was left by a run that did not end normally.

// The folder, created when missing; empty when it cannot be made.
QString recoveryFolder();

// This process's recovery file (in recoveryFolder()).
QString ownRecoveryFileName();

struct LeftRecoveryFile {
    QString fileName;
    QDateTime writtenAt;
};

// The recovery files of processes that no longer run, newest first.
std::vector<LeftRecoveryFile> findLeftRecoveryFiles();

}  // namespace mixer
