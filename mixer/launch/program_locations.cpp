#include "mixer/launch/program_locations.h"

#include "widgets/help_pages.h"

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
    return widgets::helpFolderCandidates(locations.applicationFolder,
                                         locations.sourceTreeHelpFolder);
}

std::optional<QString> findHelpPage(const ProgramLocations& locations, const QString& pageName) {
    return widgets::findHelpPage(locations.applicationFolder, locations.sourceTreeHelpFolder,
                                 pageName);
}

}  // namespace mixer
