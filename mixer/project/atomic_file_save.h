#pragma once

#include <QByteArray>
#include <QString>

namespace mixer {

// Writes `bytes` to `path` so that the file is either the old one or the whole new one: the
// bytes go into a temporary file beside the target, which is flushed to the disk and renamed
// over the target. On failure (read-only folder, full disk, ...) the temporary file is removed,
// the old file is untouched and the result names why. Any thread.
struct FileSaveResult {
    bool saved = false;
    QString problem;  // the system's reason, empty when saved
};
FileSaveResult saveFileWhole(const QString& path, const QByteArray& bytes);

}  // namespace mixer
