#include "mixer/launch/external_launches.h"

#include "mixer/launch/about_dialog.h"
#include "mixer/launch/maker_pages.h"

#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QUrl>

#include <algorithm>
#include <string>

Q_LOGGING_CATEGORY(launchLog, "orvindel.launch")

namespace mixer {

namespace {

// A regular file that opens for reading. Anything else (a folder, a pipe that would block the
// window until someone writes to it, a device) is not something to play.
bool canBeRead(const QString& path) {
    if (!QFileInfo(path).isFile()) {
        return false;
    }
    QFile file(path);
    return file.open(QIODevice::ReadOnly);
}

QList<int> ascendingDistinct(QList<int> rows) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

// The file names of a list's entries, in row order.
template <typename Entry>
std::vector<std::string> fileNamesOf(const std::vector<Entry>& entries) {
    std::vector<std::string> names;
    names.reserve(entries.size());
    for (const Entry& entry : entries) {
        names.push_back(entry.FileName);
    }
    return names;
}

}  // namespace

ExternalLaunches::ExternalLaunches(base::LauncherPort& launcher, base::PromptPort& prompt,
                                   ProgramLocations locations)
    : launcher_(launcher), prompt_(prompt), locations_(std::move(locations)) {}

bool ExternalLaunches::startRecorder() {
    const QString program = recorderProgramPath(locations_);
    const bool started = launcher_.startProgram(program, {});
    if (!started) {
        qCWarning(launchLog) << "could not start the recorder" << program;
    }
    return started;
}

bool ExternalLaunches::openHelp() {
    const std::optional<QString> page = findHelpPage(locations_);
    if (!page) {
        qCWarning(launchLog) << "no help pages in" << helpFolderCandidates(locations_);
        return false;
    }
    const bool opened = launcher_.openWithDesktop(QUrl::fromLocalFile(*page));
    if (!opened) {
        qCWarning(launchLog) << "the desktop could not open" << *page;
    }
    return opened;
}

void ExternalLaunches::playSelectedVideos(const std::vector<VideoEntry>& videos,
                                          const QList<int>& selectedRows, QWidget* owner) {
    playFiles(fileNamesOf(videos), selectedRows, kSelectVideosText, owner);
}

void ExternalLaunches::playSelectedAudios(const std::vector<AudioEntry>& audios,
                                          const QList<int>& selectedRows, QWidget* owner) {
    playFiles(fileNamesOf(audios), selectedRows, kSelectAudioToPreviewText, owner);
}

void ExternalLaunches::playFiles(const std::vector<std::string>& fileNames,
                                 const QList<int>& selectedRows, const char* noSelectionText,
                                 QWidget* owner) {
    if (fileNames.empty()) {
        return;
    }
    const int count = static_cast<int>(fileNames.size());
    QList<int> rows = ascendingDistinct(selectedRows);
    rows.removeIf([count](int row) { return row < 0 || row >= count; });
    if (rows.isEmpty()) {
        prompt_.tell(QString::fromUtf8(noSelectionText), {}, base::PromptIcon::None, owner);
        return;
    }
    for (int row : rows) {
        const QString path = QString::fromStdString(fileNames[static_cast<std::size_t>(row)]);
        if (!canBeRead(path)) {
            prompt_.tell(path + QString::fromUtf8(kDoesNotExistSuffix), QStringLiteral("Error"),
                         base::PromptIcon::Error, nullptr);
            return;
        }
        if (!launcher_.openWithDesktop(QUrl::fromLocalFile(path))) {
            qCWarning(launchLog) << "the desktop could not play" << path;
        }
    }
}

void ExternalLaunches::playMixOutput(const std::string& outputName, QWidget* owner) {
    playFiles({outputName}, {0}, kSelectVideosText, owner);
}

bool ExternalLaunches::openHomePage() {
    return launcher_.openWithDesktop(QUrl(QString::fromUtf8(kMakerHomePageAddress)));
}

void ExternalLaunches::showAbout(QWidget* parent) {
    AboutDialog about(launcher_, prompt_, parent);
    about.exec();
}

}  // namespace mixer
