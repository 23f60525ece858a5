#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace widgets {

// The help pages both programs open. Installed, they are in <prefix>/share/orvindel/help beside
// <prefix>/bin; a help folder beside the program serves a copied tree; in the build tree they
// are read from the source tree's resources/help, whose place the build compiles in.
inline constexpr const char* kHelpIntroductionPage = "Introduction.htm";

// Folders searched, in order: <applicationFolder>/../share/orvindel/help,
// <applicationFolder>/help, then sourceTreeHelpFolder when it is not empty.
QStringList helpFolderCandidates(const QString& applicationFolder,
                                 const QString& sourceTreeHelpFolder);

// Absolute, cleaned path of `pageName` in the first candidate folder that holds it.
std::optional<QString> findHelpPage(const QString& applicationFolder,
                                    const QString& sourceTreeHelpFolder, const QString& pageName);

}  // namespace widgets
