#include "mixer/window/project_commands.h"

#include "mixer/dialogs/missing_media_dialog.h"
#include "mixer/media/project_opening.h"
#include "mixer/output/container_compressors.h"
#include "mixer/output/project_compressors.h"
#include "mixer/project/atomic_file_save.h"
#include "mixer/project/missing_media.h"
#include "mixer/project/project_file.h"
#include "mixer/project/recovery_files.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeySequence>
#include <QLocale>
#include <QMenu>
#include <QWidget>

namespace mixer {

namespace {

// The recent projects, newest first, one path a line.
constexpr TextSetting kRecentProjects{"Projects", "Recent", ""};
constexpr const char* kStopConvertFirst = "Please first stop Convert";

QString absoluteFolderOf(const QString& path) {
    return QFileInfo(path).absoluteDir().absolutePath();
}

}  // namespace

ProjectCommands::ProjectCommands(Services services)
    : services_(std::move(services)), recovery_(services_.job, ownRecoveryFileName()) {
    connect(&services_.lists, &MediaLists::videoListChanged, this, &ProjectCommands::markChanged);
    connect(&services_.lists, &MediaLists::audioListChanged, this, &ProjectCommands::markChanged);
    connect(&services_.lists, &MediaLists::audioRowChanged, this, &ProjectCommands::markChanged);
}

void ProjectCommands::addActions() {
    QWidget& window = services_.window;
    plainTitle_ = window.windowTitle();
    const auto add = [&](const char* text, const QKeySequence& keys, auto slot) {
        auto* action = new QAction(QString::fromUtf8(text), &window);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        window.addAction(action);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    window.setContextMenuPolicy(Qt::ActionsContextMenu);
    openAction_ = add(kOpenProjectText, QKeySequence::Open, [this] { onOpen(); });
    saveAction_ = add(kSaveProjectText, QKeySequence::Save, [this] { save(); });
    saveAsAction_ = add(kSaveProjectAsText, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
                        [this] { saveAs(); });
    recentMenu_ = new QMenu(QString::fromUtf8(kRecentProjectsText), &window);
    connect(recentMenu_, &QMenu::aboutToShow, this, &ProjectCommands::fillRecentMenu);
    window.addAction(recentMenu_->menuAction());
    auto* separator = new QAction(&window);
    separator->setSeparator(true);
    window.addAction(separator);
}

bool ProjectCommands::refusedWhileConverting() {
    if (!services_.job.Converting) {
        return false;
    }
    services_.prompt.tell(QString::fromUtf8(kStopConvertFirst), {}, base::PromptIcon::None,
                          &services_.window);
    return true;
}

void ProjectCommands::onOpen() {
    if (refusedWhileConverting()) {
        return;
    }
    const QString folder = path_.isEmpty() ? QString() : absoluteFolderOf(path_);
    const std::optional<QStringList> chosen = services_.filePicker.openFiles(
        {QStringLiteral("Open project"),
         {{QString::fromUtf8(kProjectFilterName), QStringLiteral("*.orvindel")}},
         1,
         folder,
         base::FileSelection::One,
         &services_.window});
    if (chosen && !chosen->isEmpty()) {
        open(chosen->front());
    }
}

bool ProjectCommands::open(const QString& path) {
    if (refusedWhileConverting() || !closeAllowed()) {
        return false;
    }
    return load(path, OpenedAs::Project);
}

bool ProjectCommands::load(const QString& path, OpenedAs openedAs) {
    const QString absolutePath = QFileInfo(path).absoluteFilePath();
    QFile file(absolutePath);
    if (!file.open(QIODevice::ReadOnly)) {
        services_.prompt.tell(
            QStringLiteral("Cannot open the project %1:\n%2").arg(absolutePath, file.errorString()),
            QStringLiteral("Error"), base::PromptIcon::Error, &services_.window);
        return false;
    }
    ProjectReadContext context;
    context.projectFolder = absoluteFolderOf(absolutePath);
    context.currentOutput = services_.job.outputSettings;
    context.transitionDefaults = services_.job.transitionDefaults;
    if (const editing::CompressorRegistry* compressors = services_.compressors) {
        context.compressorNames = [compressors](CompressorStream stream,
                                                const std::string& outputName,
                                                const QString& name) {
            return compressorNameMeaning(*compressors, stream, outputName, name);
        };
    }
    ProjectReadResult read = readProjectText(file.readAll(), context);
    if (!read.contents) {
        services_.prompt.tell(
            QStringLiteral("Cannot open the project %1:\n%2").arg(absolutePath, read.problem),
            QStringLiteral("Error"), base::PromptIcon::Error, &services_.window);
        return false;
    }
    ProjectContents& contents = *read.contents;
    // Files that are not there are asked about once, before anything changes: found again in a
    // folder, left out, or the open is cancelled with the lists as they were.
    MissingMedia missing(missingProjectFiles(contents));
    if (!missing.stillMissing().isEmpty()) {
        if (runMissingMediaDialog(missing, services_.filePicker, context.projectFolder,
                                  &services_.window) == MissingMediaChoice::CancelOpen) {
            return false;
        }
        missing.applyTo(contents);
    }
    const QStringList leftOut = probeProjectFiles(contents);
    if (const QString problem = checkSpansWithinFiles(contents); !problem.isEmpty()) {
        services_.prompt.tell(
            QStringLiteral("Cannot open the project %1:\n%2").arg(absolutePath, problem),
            QStringLiteral("Error"), base::PromptIcon::Error, &services_.window);
        return false;
    }
    services_.lists.replaceAll(std::move(contents.videos), std::move(contents.audios));
    services_.job.outputSettings = contents.output;
    if (services_.compressors != nullptr && contents.compressorNames != ProjectCompressorNames{}) {
        BoundCompressors bound =
            rememberCompressorNames(*services_.compressors, services_.store,
                                    contents.output.OutputName, contents.compressorNames);
        if (services_.compressorsChosen) {
            services_.compressorsChosen(std::move(bound));
        }
    } else if (services_.compressors != nullptr && services_.compressorsChosen) {
        // A project that names no compressors mixes with the stored choices of its own
        // output's container (an MP4 project opened after an AVI one never gets the AVI's).
        services_.compressorsChosen(bindOutputCompressors(*services_.compressors, services_.store,
                                                          services_.job.outputSettings));
    }
    if (services_.outputChanged) {
        services_.outputChanged();
    }
    if (openedAs == OpenedAs::Project) {
        path_ = absolutePath;
        unsaved_ = false;
        rememberRecent(path_);
    } else {
        path_.clear();
    }
    showTitle();
    if (!leftOut.isEmpty()) {
        services_.prompt.tell(
            QStringLiteral("These files are missing or cannot be read and were left out:\n%1")
                .arg(leftOut.join(QLatin1Char('\n'))),
            QStringLiteral("Warning"), base::PromptIcon::Warning, &services_.window);
    }
    return true;
}

bool ProjectCommands::save() {
    if (path_.isEmpty()) {
        return saveAs();
    }
    return writeTo(path_);
}

bool ProjectCommands::saveAs() {
    const QString folder = path_.isEmpty() ? QString() : absoluteFolderOf(path_);
    const std::optional<QString> chosen = services_.filePicker.saveFile(
        {QStringLiteral("Save project"),
         {{QString::fromUtf8(kProjectFilterName), QStringLiteral("*.orvindel")}},
         1,
         folder,
         path_.isEmpty() ? QStringLiteral("project.orvindel") : QFileInfo(path_).fileName(),
         &services_.window,
         nullptr});
    if (!chosen || chosen->isEmpty()) {
        return false;
    }
    QString target = QFileInfo(*chosen).absoluteFilePath();
    if (QFileInfo(target).suffix().compare(QLatin1String(kProjectFileSuffix),
                                           Qt::CaseInsensitive) != 0) {
        target += QStringLiteral(".") + QLatin1String(kProjectFileSuffix);
    }
    return writeTo(target);
}

bool ProjectCommands::writeTo(const QString& path) {
    ProjectContents contents{services_.job.videos, services_.job.audios,
                             services_.job.outputSettings};
    if (services_.compressors != nullptr) {
        contents.compressorNames = storedCompressorNames(*services_.compressors, services_.store,
                                                         services_.job.outputSettings.OutputName);
    }
    const FileSaveResult result =
        saveFileWhole(path, projectFileText(contents, absoluteFolderOf(path)));
    if (!result.saved) {
        services_.prompt.tell(
            QStringLiteral("Cannot save the project %1:\n%2").arg(path, result.problem),
            QStringLiteral("Error"), base::PromptIcon::Error, &services_.window);
        return false;
    }
    path_ = path;
    unsaved_ = false;
    rememberRecent(path_);
    showTitle();
    return true;
}

bool ProjectCommands::closeAllowed() {
    if (path_.isEmpty() || !unsaved_) {
        return true;
    }
    const base::PromptAnswer answer = services_.prompt.show(
        {QStringLiteral("Save the changes to %1?").arg(QFileInfo(path_).fileName()),
         {},
         base::PromptIcon::Question,
         base::PromptButtons::SaveDiscardCancel,
         &services_.window});
    switch (answer) {
        case base::PromptAnswer::Yes:
            return save();
        case base::PromptAnswer::No:
            return true;
        default:
            return false;
    }
}

void ProjectCommands::windowClosing() {
    recovery_.discard();
}

void ProjectCommands::offerRecovery() {
    const std::vector<LeftRecoveryFile> left = findLeftRecoveryFiles();
    if (left.empty()) {
        return;
    }
    const LeftRecoveryFile& newest = left.front();
    const base::PromptAnswer answer = services_.prompt.show(
        {QStringLiteral("Orvindel did not end normally. Restore the lists it held at %1?")
             .arg(QLocale().toString(newest.writtenAt, QLocale::LongFormat)),
         {},
         base::PromptIcon::Question,
         base::PromptButtons::YesNo,
         &services_.window});
    if (answer == base::PromptAnswer::Yes) {
        load(newest.fileName, OpenedAs::RecoveredLists);
    }
    for (const LeftRecoveryFile& file : left) {
        QFile::remove(file.fileName);
    }
}

void ProjectCommands::markChanged() {
    recovery_.scheduleWrite();
    if (!unsaved_) {
        unsaved_ = true;
        showTitle();
    }
}

QStringList ProjectCommands::recentProjects() const {
    return services_.store.read(kRecentProjects).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void ProjectCommands::rememberRecent(const QString& path) {
    QStringList recent = recentProjects();
    recent.removeAll(path);
    recent.prepend(path);
    while (recent.size() > kRecentProjectCount) {
        recent.removeLast();
    }
    services_.store.write(kRecentProjects, recent.join(QLatin1Char('\n')));
}

void ProjectCommands::fillRecentMenu() {
    recentMenu_->clear();
    for (const QString& path : recentProjects()) {
        QAction* action = recentMenu_->addAction(path);
        connect(action, &QAction::triggered, this, [this, path] { open(path); });
    }
}

void ProjectCommands::showTitle() {
    if (path_.isEmpty()) {
        services_.window.setWindowTitle(plainTitle_);
        return;
    }
    const QString name = QFileInfo(path_).completeBaseName();
    services_.window.setWindowTitle(
        (unsaved_ ? QStringLiteral("*") : QString()) + name + QStringLiteral(" - ") +
        (plainTitle_.isEmpty() ? QStringLiteral("Orvindel") : plainTitle_));
}

}  // namespace mixer
