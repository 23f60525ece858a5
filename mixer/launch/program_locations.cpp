#include "mixer/launch/program_locations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace mixer {

namespace {

#ifdef ORVINDEL_BUILD_RECORDER_FOLDER
constexpr const char* kCompiledRecorderFolder = ORVINDEL_BUILD_RECORDER_FOLDER;
#else
constexpr const char* kCompiledRecorderFolder = "";
#endif
#ifdef ORVINDEL_SOURCE_HELP_FOLDER
constexpr const char* kCompiledHelpFolder = ORVINDEL_SOURCE_HELP_FOLDER;
#else
constexpr const char* kCompiledHelpFolder = "";
#endif

bool isExecutableFile(const QString& path) {
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable();
}

QString joined(const QString& folder, const QString& name) {
    return QDir::cleanPath(folder + QLatin1Char('/') + name);
}

}  // namespace

ProgramLocations ProgramLocations::ofRunningProgram() {
    return {QCoreApplication::applicationDirPath(), QString::fromUtf8(kCompiledRecorderFolder),
            QString::fromUtf8(kCompiledHelpFolder)};
}

QString recorderProgramPath(const ProgramLocations& locations) {
    const QString name = QString::fromUtf8(kRecorderProgramName);
    const QString besideUs = joined(locations.applicationFolder, name);
    if (isExecutableFile(besideUs)) {
        return besideUs;
    }
    if (!locations.buildTreeRecorderFolder.isEmpty()) {
        const QString built = joined(locations.buildTreeRecorderFolder, name);
        if (isExecutableFile(built)) {
            return built;
        }
    }
    return besideUs;
}

QStringList helpFolderCandidates(const ProgramLocations& locations) {
    QStringList folders{
        joined(locations.applicationFolder, QStringLiteral("../share/orvindel/help")),
        joined(locations.applicationFolder, QStringLiteral("help")),
    };
    if (!locations.sourceTreeHelpFolder.isEmpty()) {
        folders.append(QDir::cleanPath(locations.sourceTreeHelpFolder));
    }
    return folders;
}

std::optional<QString> findHelpPage(const ProgramLocations& locations, const QString& pageName) {
    for (const QString& folder : helpFolderCandidates(locations)) {
        const QString page = joined(folder, pageName);
        if (QFileInfo(page).isFile()) {
            return QFileInfo(page).absoluteFilePath();
        }
    }
    return std::nullopt;
}

}  // namespace mixer
