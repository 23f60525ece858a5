#pragma once

#include "widgets/help_pages.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace mixer {

// Where Orvindel finds the programs and pages it opens. Installed, both programs lie in
// <prefix>/bin and the help in <prefix>/share/orvindel/help; in the build tree the recorder
// is built in its own folder and the help is read from the source tree, whose places are
// compiled in (empty when unknown).
struct ProgramLocations {
    QString applicationFolder;        // folder of Orvindel's own program file
    QString buildTreeRecorderFolder;  // where the build puts ambrevo
    QString sourceTreeHelpFolder;     // resources/help of the source tree

    // The locations of the running program (QCoreApplication::applicationDirPath()).
    static ProgramLocations ofRunningProgram();
};

inline constexpr const char* kRecorderProgramName = "ambrevo";

// The recorder program: "ambrevo" beside Orvindel when it is there (installed tree), else the
// build tree's one when that exists, else the path beside Orvindel (whose start then fails).
QString recorderProgramPath(const ProgramLocations& locations);

// Folders searched for the help pages (widgets/help_pages.h) from these locations.
QStringList helpFolderCandidates(const ProgramLocations& locations);

// Absolute, cleaned path of help page `pageName` in the first candidate folder that holds it.
std::optional<QString> findHelpPage(
    const ProgramLocations& locations,
    const QString& pageName = QString::fromUtf8(widgets::kHelpIntroductionPage));

}  // namespace mixer
