#pragma once

#include "base/ports/file_picker_port.h"
#include "base/ports/launcher_port.h"
#include "base/ports/prompt_port.h"
#include "editing/compressors/compressor_registry.h"
#include "mixer/dialogs/audio_settings_dialog.h"
#include "mixer/dialogs/output_options_dialog.h"
#include "mixer/launch/external_launches.h"
#include "mixer/media/media_adder.h"
#include "mixer/mix/mix_controller.h"
#include "mixer/output/encoder_settings_memory.h"
#include "mixer/preview/preview_controller.h"
#include "mixer/project/media_lists.h"
#include "mixer/project/mix_job.h"
#include "mixer/project/profile_loading.h"
#include "mixer/project/settings_store.h"
#include "mixer/window/main_window_start.h"
#include "mixer/window/project_commands.h"
#include "widgets/command_table.h"
#include "widgets/dialog_controls.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QPixmap>
#include <QTimer>

#include <memory>

class QAction;
class QLabel;
class QProgressBar;
class QTreeWidget;

namespace widgets {
class ImageButton;
class MultiLineLabel;
}  // namespace widgets

namespace mixer {

class ListContextMenus;

// The ports the main window and the logic it calls use; all outlive the window.
struct MainWindowPorts {
    base::PromptPort& prompt;
    base::FilePickerPort& filePicker;
    base::LauncherPort& launcher;
};

// Runs the output options dialog modally: the accepted options, or nothing on Cancel.
using OutputOptionsRunner = std::function<std::optional<AcceptedOutputOptions>(
    const OutputSettings& settings, OutputOptionsServices services, QWidget* owner)>;

inline constexpr const char* kStopConvertFirstMessage = "Please first stop Convert";
inline constexpr const char* kAboutMenuText = "&About Orvindel";
inline constexpr const char* kPlayMixCaption = "Play the mix";
inline constexpr const char* kPlayMixTooltip = "Play the output file with the desktop's player";

// Orvindel's one window: the two media lists, the command buttons and the status line. It
// owns the MixJob for the program's life and stays thin: every command of its table calls a
// logic class. The close request (close box, Exit, Enter, Escape) is refused while a mix runs.
// UI thread only.
class MainWindow : public QDialog {
    Q_OBJECT
  public:
    // `start` is what the application's start-up read and bound (orvindel_start_up.h); the
    // window reads no profile of its own. `store` is handed to the logic and dialogs that
    // write the profile at their moments; `compressors` lists the compressors of this machine
    // for the output options and project files. Both outlive the window.
    MainWindow(const MainWindowStart& start, SettingsStore& store, MainWindowPorts ports,
               const editing::CompressorRegistry& compressors, QWidget* parent = nullptr);
    ~MainWindow() override;

    const MixJob& job() const { return job_; }
    MixJob& job() { return job_; }
    MediaLists& mediaLists() { return mediaLists_; }
    const widgets::DialogControls& controls() const { return controls_; }
    const widgets::CommandTable& commands() const { return commands_; }
    // The compressor positions read at start-up, kept as stored.
    const StoredCompressorChoices& storedCompressorChoices() const { return compressorChoices_; }
    QAction& aboutAction() const { return *aboutAction_; }
    QAction& transitionsAction() const { return *transitionsAction_; }
    MixController& mixController() { return mix_; }
    ProjectCommands& projectCommands() { return projectCommands_; }
    MediaAdder& mediaAdder() { return mediaAdder_; }
    PreviewController& previewController() { return preview_; }
    // The progress bar and percentage shown beside the status line while a mix runs.
    QProgressBar& mixProgressBar() const { return *progressBar_; }
    QLabel& mixPercentageLabel() const { return *percentageLabel_; }
    // The time left and the speed of the running mix ("1:05 left, 3.2x real time").
    QLabel& mixEstimateLabel() const { return *estimateLabel_; }
    // Shown after a mix that completed; plays the output through the launcher port.
    widgets::ImageButton& playMixButton() const { return *playMixButton_; }
    const EncoderSettingsMemory& encoderSettings() const { return encoderSettings_; }

    // The modal dialogs the window opens; tests replace them with scripted ones.
    void setOutputOptionsRunner(OutputOptionsRunner runner);
    void setAudioSettingsRunner(AudioSettingsRunner runner);

    QString statusText() const;
    void setStatusText(const QString& text);
    // Shows "Output File: ...     Resolution: W*H" for the current output settings.
    void showOutputStatus();

    // The one-second progress timer of a running mix; each tick counts ElapsedSeconds and
    // shows it. The mix flow starts and stops it.
    QTimer& progressTimer() { return progressTimer_; }

  public slots:
    void onAddVideo();
    void onAddAudio();
    void onOptions();
    void onMix();
    // Preview button and Space in the lists; refused while a mix runs.
    void onPreview();
    void onHelp();
    void onExit();
    void onDeleteAll();
    // Removes the selected videos with the companion sounds that still follow them; asks
    // nothing (the removal can be undone).
    void onRemoveSelectedVideos();
    void onDeleteSelectedAudio();
    void onDeleteAllAudio();
    void onAudioProperties();
    // The transition dialog for the selected rows (the first item of the video list's menu).
    void onVideoTransition();
    // The transition defaults dialog over `owner` (the window's context menu, the output
    // options' "Transitions..."); what its OK accepts applies to videos added from then on.
    void onTransitionDefaults(QWidget* owner = nullptr);
    void onVideoListDoubleClicked();
    void onAudioListDoubleClicked();
    void onMicrophone();
    void onHomepage();
    void onAbout();
    void onProgressTick();
    void onMixStarted();
    void onMixEnded();

  protected:
    // Every way of closing (accept, reject, the close box through reject) ends here, so this
    // is where the close checks run.
    void done(int result) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void buildControls();
    void addAboutMenuItem();
    void addTransitionsMenuItem();
    void setUpListViews();
    void decorateButtons();
    // Hands the bound compressors, with the encoder settings chosen this run, to the mix.
    void handCompressorsToMix();
    void addProgressDisplay();
    void updateProgressDisplay();
    void wireCommands();
    bool closeChecksPass();

    QTreeWidget& videoList() const;
    QTreeWidget& audioList() const;
    widgets::MultiLineLabel& statusLine() const;

    SettingsStore& store_;
    MainWindowPorts ports_;
    MixJob job_;
    MediaLists mediaLists_;
    const editing::CompressorRegistry& compressorRegistry_;
    StoredCompressorChoices compressorChoices_;
    MixController mix_;
    PreviewController preview_;
    ExternalLaunches launches_;
    MediaAdder mediaAdder_;
    ProjectCommands projectCommands_;
    EncoderSettingsMemory encoderSettings_;
    CompressorBinding videoCompressor_;
    CompressorBinding audioCompressor_;
    OutputOptionsRunner outputOptionsRunner_;
    AudioSettingsRunner audioSettingsRunner_;
    widgets::DialogControls controls_;
    widgets::CommandTable commands_;
    QPixmap backgroundTile_;
    QAction* aboutAction_ = nullptr;
    QAction* transitionsAction_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
    QLabel* percentageLabel_ = nullptr;
    QLabel* estimateLabel_ = nullptr;
    widgets::ImageButton* playMixButton_ = nullptr;
    std::unique_ptr<ListContextMenus> listMenus_;
    QElapsedTimer mixClock_;  // wall time since the running mix started
    QTimer progressTimer_;
};

}  // namespace mixer
