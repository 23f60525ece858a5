#pragma once

#include <QString>

namespace mixer {

// The folder of `path` as the add dialogs remember it: the path cut after its last '/', the
// '/' kept ("/home/ann/clips/a.avi" -> "/home/ann/clips/", "/a.avi" -> "/"); a path without a
// '/' gives the empty text (the dialog then starts where it likes).
QString folderOfPath(const QString& path);

// The longest path the system accepts, in bytes of UTF-8, terminating zero included. A path
// this long or longer is refused, never cut.
inline constexpr int kMaxPathBytes = 4096;

bool pathFitsTheSystem(const QString& path);

}  // namespace mixer
