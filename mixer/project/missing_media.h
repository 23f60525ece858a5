#pragma once

#include "mixer/project/project_file.h"

#include <QString>
#include <QStringList>

#include <map>
#include <string>

namespace mixer {

// The distinct files named by the lists of `contents` that are not there (no file at the path),
// once each in list order: the videos first, then the audios.
QStringList missingProjectFiles(const ProjectContents& contents);

// For each name of `fileNames`, a file of exactly that name in `folder` or any folder below it:
// the least deep one, and among equally deep ones the first by path. Links to folders are not
// followed, so the search always ends. Names not found are absent from the result.
std::map<QString, QString> findFilesByName(const QString& folder, const QStringList& fileNames);

// What becomes of the missing files of a project being opened: each is either found again
// under a new path or still missing. A folder search looks only for the files still missing,
// so a file found once is never looked for or asked about again. One owner, no threads.
class MissingMedia {
  public:
    explicit MissingMedia(QStringList missingPaths);

    // The paths still missing, in the order they were first listed.
    const QStringList& stillMissing() const { return stillMissing_; }
    // Looks for the still missing files in `folder` (and below it) by file name; every file
    // found there is taken. Returns how many were found.
    int lookIn(const QString& folder);
    // The entries of `contents` whose file was found point at the found file; the others keep
    // their paths (the probe leaves them out).
    void applyTo(ProjectContents& contents) const;

  private:
    QStringList stillMissing_;
    std::map<std::string, std::string> found_;  // old path -> found path, UTF-8
};

}  // namespace mixer
