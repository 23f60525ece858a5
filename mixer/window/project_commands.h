#pragma once

#include "base/ports/file_picker_port.h"
#include "base/ports/prompt_port.h"
#include "editing/compressors/compressor_registry.h"
#include "mixer/output/container_compressors.h"
#include "mixer/project/media_lists.h"
#include "mixer/project/mix_job.h"
#include "mixer/project/settings_store.h"
#include "mixer/window/recovery_writer.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class QAction;
class QMenu;
class QWidget;

namespace mixer {

inline constexpr const char* kOpenProjectText = "&Open project...";
inline constexpr const char* kSaveProjectText = "&Save project";
inline constexpr const char* kSaveProjectAsText = "Save project &as...";
inline constexpr const char* kRecentProjectsText = "&Recent projects";
inline constexpr const char* kProjectFilterName = "Orvindel Projects (*.orvindel)";
inline constexpr int kRecentProjectCount = 8;

// The project commands of the main window: open, save, save as and the recent projects, the
// window title (the project's name, "*" for unsaved changes) and the question on close. The
// MixJob, the lists, the ports and the store belong to the window and outlive this object.
// UI thread only.
class ProjectCommands : public QObject {
    Q_OBJECT
  public:
    struct Services {
        MixJob& job;
        MediaLists& lists;
        SettingsStore& store;
        base::PromptPort& prompt;
        base::FilePickerPort& filePicker;
        QWidget& window;
        // Shows the output settings after an open replaced them.
        std::function<void()> outputChanged;
        // The compressors projects name; null: names are neither written nor checked.
        const editing::CompressorRegistry* compressors = nullptr;
        // Takes the compressors bound after an open made the project's names the chosen ones.
        std::function<void(BoundCompressors)> compressorsChosen = {};
    };
    explicit ProjectCommands(Services services);

    // Adds Open (Ctrl+O), Save (Ctrl+S), Save as (Ctrl+Shift+S) and the recent projects to
    // the window's own actions (its context menu), before any added later. Called once the
    // window has its title, which the project's name is shown beside.
    void addActions();

    // Opens the project at `path` (after the unsaved-changes question). Files that are not
    // there are offered once in the missing-files dialog (look for them in a folder, leave them
    // out, or cancel). False when the project was not opened (refused or cancelled), in which
    // case the lists and the settings are as they were.
    bool open(const QString& path);
    enum class OpenedAs { Project, RecoveredLists };
    bool save();
    bool saveAs();
    // Whether the window may close: a project with a file and unsaved changes asks
    // Save / Discard / Cancel; anything else closes without a question.
    bool closeAllowed();
    // The lists or the output settings changed; the recovery file is written soon after.
    void markChanged();
    // The window closes normally: its recovery file is removed.
    void windowClosing();
    // At start-up: when a run that did not end normally left its lists, asks once whether to
    // restore them (saying when they were written) and restores or discards them as answered.
    // A damaged file is reported and discarded; nothing here stops the start.
    void offerRecovery();
    const RecoveryWriter& recoveryWriter() const { return recovery_; }

    const QString& projectPath() const { return path_; }
    bool hasUnsavedChanges() const { return unsaved_; }
    QStringList recentProjects() const;
    QAction& openAction() const { return *openAction_; }
    QAction& saveAction() const { return *saveAction_; }
    QAction& saveAsAction() const { return *saveAsAction_; }

  private:
    void onOpen();
    bool load(const QString& path, OpenedAs openedAs);
    bool refusedWhileConverting();
    bool writeTo(const QString& path);
    void rememberRecent(const QString& path);
    void fillRecentMenu();
    void showTitle();

    Services services_;
    QString path_;
    bool unsaved_ = false;
    QString plainTitle_;
    QAction* openAction_ = nullptr;
    QAction* saveAction_ = nullptr;
    QAction* saveAsAction_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    RecoveryWriter recovery_;
};

}  // namespace mixer
