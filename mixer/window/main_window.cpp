#include "mixer/window/main_window.h"

#include "mixer/dialogs/clip_transition_dialog.h"
#include "mixer/dialogs/transition_defaults_dialog.h"
#include "mixer/orvindel_art.h"
#include "mixer/output/compressor_choice.h"
#include "mixer/project/status_texts.h"
#include "mixer/project/transition_choice.h"
#include "mixer/window/codec_feedback_switch.h"
#include "mixer/window/context_request_watch.h"
#include "mixer/window/list_context_menus.h"
#include "mixer/window/list_drops.h"
#include "mixer/window/list_editing_keys.h"
#include "mixer/window/main_window_controls.h"
#include "mixer/window/main_window_template.h"
#include "mixer/window/main_window_template_growth.h"
#include "mixer/window/media_list_views.h"
#include "mixer/window/mix_estimate.h"
#include "mixer/window/video_thumbnails.h"
#include "widgets/background_tiling.h"
#include "widgets/dialog_builder.h"
#include "widgets/image_button.h"
#include "widgets/image_loading.h"
#include "widgets/multi_line_label.h"

#include <QAction>
#include <QDebug>
#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QTreeWidget>

#include <utility>

namespace mixer {

using namespace main_window;
using widgets::Notification;

MainWindow::MainWindow(const MainWindowStart& start, SettingsStore& store, MainWindowPorts ports,
                       const editing::CompressorRegistry& compressors, QWidget* parent)
    : QDialog(parent),
      store_(store),
      ports_(ports),
      mediaLists_(job_),
      compressorRegistry_(compressors),
      compressorChoices_(start.compressorChoices),
      mix_(job_, ports.prompt, ports.filePicker, this),
      preview_(job_, ports.prompt, ports.filePicker, this),
      launches_(ports.launcher, ports.prompt, ProgramLocations::ofRunningProgram()),
      mediaAdder_(mediaLists_, ports.filePicker, ports.prompt, store, this),
      projectCommands_({job_, mediaLists_, store, ports.prompt, ports.filePicker, *this,
                        [this] { showOutputStatus(); }, &compressors,
                        [this](BoundCompressors bound) {
                            videoCompressor_ = std::move(bound.video);
                            audioCompressor_ = std::move(bound.audio);
                            handCompressorsToMix();
                        }}),
      videoCompressor_(start.compressors.video),
      audioCompressor_(start.compressors.audio),
      outputOptionsRunner_(runOutputOptionsDialog),
      audioSettingsRunner_(
          [&prompt = ports.prompt](const AudioSettingsValues& values, QWidget* owner) {
              return runAudioSettingsDialog(values, prompt, owner);
          }) {
    // Start-up order: background, controls and menu item, icon, codec switch, the bound
    // compressors handed to the mix, list views, transition defaults, random seed, output
    // settings with the first status text, button decorations.
    backgroundTile_ = widgets::loadBackgroundTile(art::kBackgroundTile, devicePixelRatioF());
    buildControls();
    projectCommands_.addActions();
    addTransitionsMenuItem();
    addAboutMenuItem();
    if (const auto icon = widgets::loadIconFile(art::kProgramIcon)) {
        setWindowIcon(icon->icon);
    }
    switchOffCodecFeedback();
    handCompressorsToMix();
    setUpListViews();
    job_.transitionDefaults = start.transitionDefaults;
    seedStandardRandomNumbers();
    job_.outputSettings = start.outputSettings;
    showOutputStatus();
    decorateButtons();

    addProgressDisplay();
    progressTimer_.setInterval(1000);
    connect(&progressTimer_, &QTimer::timeout, this, &MainWindow::onProgressTick);
    connect(&mediaLists_, &MediaLists::videoListChanged, this,
            [this] { refillVideoList(videoList(), job_.videos); });
    connect(&mediaLists_, &MediaLists::videoListChanged,
            new VideoThumbnails(videoList(), job_.videos, &videoList()),
            &VideoThumbnails::showInRows);
    connect(&mediaLists_, &MediaLists::audioListChanged, this,
            [this] { refillAudioList(audioList(), job_.audios); });
    connect(&mediaLists_, &MediaLists::audioRowChanged, this, [this](int row) {
        rewriteAudioRow(audioList(), row, job_.audios[static_cast<std::size_t>(row)]);
    });
    connect(&mix_, &MixController::mixStarted, this, &MainWindow::onMixStarted);
    connect(&mix_, &MixController::mixEnded, this, &MainWindow::onMixEnded);
    connect(&mix_, &MixController::missingFileLocated, &mediaLists_, &MediaLists::replaceFileName);
    connect(&preview_, &PreviewController::missingFileLocated, &mediaLists_,
            &MediaLists::replaceFileName);
    wireCommands();
    mix_.setProtectedFilesSource([this] {
        const QString& project = projectCommands_.projectPath();
        return project.isEmpty() ? std::vector<ProtectedFile>{}
                                 : std::vector<ProtectedFile>{
                                       {ProtectedFileKind::ProjectFile, project.toStdString()}};
    });
    listMenus_ = std::make_unique<ListContextMenus>(
        videoList(), audioList(), mediaLists_.undoStack(),
        ListMenuCommands{[this] { onVideoTransition(); }, [this] { onRemoveSelectedVideos(); },
                         [this] { onAudioProperties(); }, [this] { onDeleteSelectedAudio(); }});
    letWindowGrow(*this, videoList(), audioList(), store_);
}

MainWindow::~MainWindow() = default;

void MainWindow::handCompressorsToMix() {
    mix_.setCompressors({encoderSettings_.applyTo(videoCompressor_.compressor),
                         encoderSettings_.applyTo(audioCompressor_.compressor)});
}

void MainWindow::setOutputOptionsRunner(OutputOptionsRunner runner) {
    outputOptionsRunner_ = std::move(runner);
}

void MainWindow::setAudioSettingsRunner(AudioSettingsRunner runner) {
    audioSettingsRunner_ = std::move(runner);
}

void MainWindow::addProgressDisplay() {
    // Beside the status line's "Please wait..." text, visible only while a mix runs: the bar,
    // the percentage, then the time left and the speed.
    const widgets::DialogUnitConverter units = widgets::converterFor(mainWindowTemplate());
    progressBar_ = new QProgressBar(this);
    progressBar_->setObjectName(QStringLiteral("mixProgressBar"));
    progressBar_->setRange(0, 1000);
    progressBar_->setTextVisible(false);
    progressBar_->setAccessibleName(QStringLiteral("Mix progress"));
    progressBar_->setGeometry(units.toPixels(QRect(150, 182, 60, 9)));
    progressBar_->hide();
    percentageLabel_ = new QLabel(this);
    percentageLabel_->setObjectName(QStringLiteral("mixPercentage"));
    percentageLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    percentageLabel_->setGeometry(units.toPixels(QRect(211, 182, 22, 10)));
    percentageLabel_->hide();
    estimateLabel_ = new QLabel(this);
    estimateLabel_->setObjectName(QStringLiteral("mixEstimate"));
    estimateLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    estimateLabel_->setGeometry(units.toPixels(QRect(235, 182, 108, 10)));
    estimateLabel_->hide();
    for (QLabel* label : {percentageLabel_, estimateLabel_}) {
        label->setMinimumHeight(QFontMetrics(label->font()).lineSpacing());
    }
    statusLine().setLabelKind(widgets::LabelKind::StatusLine);

    // Offered after a mix that completed: plays the output with the desktop's player.
    playMixButton_ = new widgets::ImageButton(QString::fromUtf8(kPlayMixCaption), this);
    playMixButton_->setObjectName(QStringLiteral("playMix"));
    playMixButton_->setGeometry(units.toPixels(QRect(62, 163, 60, 16)));
    playMixButton_->setTooltipText(QString::fromUtf8(kPlayMixTooltip));
    playMixButton_->setHoverCursor(art::kHandCursor, art::kHandCursorHotSpot);
    playMixButton_->setDrawTransparent();
    playMixButton_->setDrawFlatFocus(true);
    playMixButton_->hide();
    connect(playMixButton_, &QPushButton::clicked, this,
            [this] { launches_.playMixOutput(job_.outputSettings.OutputName, this); });
}

void MainWindow::updateProgressDisplay() {
    const double fraction = mix_.progressFraction().value_or(0.0);
    progressBar_->setValue(static_cast<int>(fraction * 1000.0));
    percentageLabel_->setText(QStringLiteral("%1%").arg(static_cast<int>(fraction * 100.0)));
    const std::optional<MixController::Progress> progress = mix_.progress();
    estimateLabel_->setText(progress
                                ? mixEstimateText(progress->writtenRefTime,
                                                  progress->durationRefTime, mixClock_.elapsed())
                                : QString());
}

void MainWindow::buildControls() {
    controls_ =
        widgets::buildDialog(mainWindowTemplate(), *this, {&ports_.launcher, &ports_.prompt});
    // A dialog with caption, window menu and minimise box; the template gives its size, which
    // letWindowGrow then lets grow.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setSizeGripEnabled(false);
}

void MainWindow::addAboutMenuItem() {
    // Linux window managers own the window menu, so the item lives in the window's own
    // context menu, after a separator.
    const QString text = QString::fromUtf8(kAboutMenuText);
    if (text.isEmpty()) {
        return;
    }
    setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* separator = new QAction(this);
    separator->setSeparator(true);
    addAction(separator);
    aboutAction_ = new QAction(text, this);
    addAction(aboutAction_);
    connect(aboutAction_, &QAction::triggered, this, &MainWindow::onAbout);
}

void MainWindow::addTransitionsMenuItem() {
    setContextMenuPolicy(Qt::ActionsContextMenu);
    transitionsAction_ = new QAction(QString::fromUtf8(kTransitionsMenuText), this);
    addAction(transitionsAction_);
    connect(transitionsAction_, &QAction::triggered, this, [this] { onTransitionDefaults(); });
}

void MainWindow::setUpListViews() {
    setUpReportList(videoList(), kVideoListColumns);
    setUpReportList(audioList(), kAudioListColumns);
    for (QTreeWidget* list : {&videoList(), &audioList()}) {
        new QShortcut(
            QKeySequence(Qt::Key_Space), list, [this] { onPreview(); }, Qt::WidgetShortcut);
    }
    installListEditingKeys(*this, videoList(), audioList(), mediaLists_);
    acceptListDrops(videoList(), audioList(), mediaLists_, mediaAdder_);
}

void MainWindow::decorateButtons() {
    for (const ButtonDecoration& decoration : buttonDecorations()) {
        auto& button = controls_.get<widgets::ImageButton>(decoration.controlId);
        button.setTooltipText(QString::fromUtf8(decoration.tooltip));
        if (button.setHoverCursor(art::kHandCursor, art::kHandCursorHotSpot) !=
            widgets::ImageButton::kResultOk) {
            qWarning() << "hand cursor could not be loaded for control" << decoration.controlId;
        }
        if (decoration.iconPath != nullptr) {
            if (!button.setIconFiles(QString::fromUtf8(decoration.iconPath))) {
                qWarning() << "icon could not be loaded:" << decoration.iconPath;
            }
            if (!button.text().isEmpty()) {
                button.setAlignment(widgets::IconAboveCaption);
            }
        }
        button.setDrawTransparent();
        // Keyboard users see which button Space and Enter would press.
        button.setDrawFlatFocus(true);
    }
}

void MainWindow::wireCommands() {
    commands_ = widgets::CommandTable{
        {kAddVideoButton, Notification::Clicked, [this] { onAddVideo(); }},
        {kAddAudioButton, Notification::Clicked, [this] { onAddAudio(); }},
        {kOptionsButton, Notification::Clicked, [this] { onOptions(); }},
        {kMixButton, Notification::Clicked, [this] { onMix(); }},
        {kPreviewButton, Notification::Clicked, [this] { onPreview(); }},
        {kHelpButton, Notification::Clicked, [this] { onHelp(); }},
        {kExitButton, Notification::Clicked, [this] { onExit(); }},
        {kDeleteAllButton, Notification::Clicked, [this] { onDeleteAll(); }},
        {kRemoveVideosButton, Notification::Clicked, [this] { onRemoveSelectedVideos(); }},
        {kDeleteSelectedAudioButton, Notification::Clicked, [this] { onDeleteSelectedAudio(); }},
        {kDeleteAllAudioButton, Notification::Clicked, [this] { onDeleteAllAudio(); }},
        {kAudioPropertiesButton, Notification::Clicked, [this] { onAudioProperties(); }},
        {kAudioList, Notification::RightClicked,
         [this] {
             listMenus_->showAudioMenu(keyboardMenuPoint(audioList()), MenuRequestSource::Keyboard);
         }},
        {kVideoList, Notification::DoubleClicked, [this] { onVideoListDoubleClicked(); }},
        {kAudioList, Notification::DoubleClicked, [this] { onAudioListDoubleClicked(); }},
        {kMicrophoneButton, Notification::Clicked, [this] { onMicrophone(); }},
        {kHomepageButton, Notification::Clicked, [this] { onHomepage(); }},
        {kAboutButton, Notification::Clicked, [this] { onAbout(); }},
    };
    const QStringList unwired = commands_.wire(controls_);
    for (const QString& problem : unwired) {
        qWarning() << "main window command not wired:" << problem;
    }
}

QTreeWidget& MainWindow::videoList() const {
    return controls_.get<QTreeWidget>(kVideoList);
}

QTreeWidget& MainWindow::audioList() const {
    return controls_.get<QTreeWidget>(kAudioList);
}

widgets::MultiLineLabel& MainWindow::statusLine() const {
    return controls_.get<widgets::MultiLineLabel>(kStatusLine);
}

QString MainWindow::statusText() const {
    return statusLine().text();
}

void MainWindow::setStatusText(const QString& text) {
    statusLine().setText(text);
}

void MainWindow::showOutputStatus() {
    setStatusText(outputStatusText(job_.outputSettings));
}

void MainWindow::onAddVideo() {
    mediaAdder_.addVideo();
}

void MainWindow::onAddAudio() {
    mediaAdder_.addAudio();
}

void MainWindow::onOptions() {
    OutputOptionsServices services{compressorRegistry_, store_, encoderSettings_, ports_.filePicker,
                                   ports_.prompt};
    services.editTransitionDefaults = [this](QWidget* owner) { onTransitionDefaults(owner); };
    const std::optional<AcceptedOutputOptions> accepted =
        outputOptionsRunner_(job_.outputSettings, std::move(services), this);
    if (accepted) {
        job_.outputSettings = accepted->settings;
        projectCommands_.markChanged();
        videoCompressor_ = accepted->video;
        audioCompressor_ = accepted->audio;
        showOutputStatus();
        // The offer plays the mix just made; another output name is not that file.
        playMixButton_->hide();
    }
    // Encoder settings changed with "Settings" count even when the dialog was cancelled.
    handCompressorsToMix();
}

void MainWindow::onMix() {
    preview_.close();  // a mix never shares the machine with a preview
    mix_.onMixCommand();
}

void MainWindow::onPreview() {
    if (!closeChecksPass()) {
        return;  // "Please first stop Convert"
    }
    int firstSelectedVideo = -1;
    for (QTreeWidgetItem* item : videoList().selectedItems()) {
        const int row = videoList().indexOfTopLevelItem(item);
        if (firstSelectedVideo < 0 || row < firstSelectedVideo) {
            firstSelectedVideo = row;
        }
    }
    preview_.onPreviewCommand(firstSelectedVideo);
}

void MainWindow::onMixStarted() {
    controls_.get<QPushButton>(kMixButton).setText(QString::fromUtf8(kMixButtonStopCaption));
    mixClock_.start();
    playMixButton_->hide();
    updateProgressDisplay();
    progressBar_->show();
    percentageLabel_->show();
    estimateLabel_->show();
    progressTimer_.start();
}

void MainWindow::onMixEnded() {
    progressTimer_.stop();
    controls_.get<QPushButton>(kMixButton).setText(QString::fromUtf8(kMixButtonIdleCaption));
    progressBar_->hide();
    percentageLabel_->hide();
    estimateLabel_->hide();
    setStatusText(mix_.endStatusText());
    playMixButton_->setVisible(mix_.lastEnding() == MixController::Ending::Completed);
}

void MainWindow::onHelp() {
    launches_.openHelp();
}

void MainWindow::onExit() {
    close();
}

void MainWindow::onDeleteAll() {
    mediaLists_.deleteAll();
}

void MainWindow::onRemoveSelectedVideos() {
    static_cast<void>(mediaLists_.removeVideos(selectedRows(videoList())));
}

void MainWindow::onDeleteSelectedAudio() {
    if (mediaLists_.deleteSelectedAudio(selectedRows(audioList())) ==
        DeleteSelectionOutcome::NoSelection) {
        ports_.prompt.tell(QString::fromUtf8(kSelectAudioItemMessage), {}, base::PromptIcon::None,
                           this);
    }
}

void MainWindow::onDeleteAllAudio() {
    mediaLists_.deleteAllAudio();
}

void MainWindow::onAudioProperties() {
    const std::optional<EditedAudioEntry> edited = editSelectedAudioEntry(
        job_.audios, selectedRows(audioList()), ports_.prompt, this, audioSettingsRunner_);
    if (edited) {
        mediaLists_.replaceAudioEntry(edited->row, edited->entry);
    }
}

void MainWindow::onVideoTransition() {
    const std::optional<EditedVideoTransitions> edited =
        editSelectedVideoTransitions(job_.videos, selectedRows(videoList()),
                                     job_.outputSettings.ResizeMode, ports_.prompt, this);
    if (edited) {
        mediaLists_.setVideoTransitions(edited->rows, edited->values.effect,
                                        edited->values.duration);
    }
}

void MainWindow::onTransitionDefaults(QWidget* owner) {
    if (const std::optional<TransitionDefaults> accepted = runTransitionDefaultsDialog(
            job_.transitionDefaults, store_, ports_.prompt, owner != nullptr ? owner : this)) {
        job_.transitionDefaults = *accepted;
    }
}

namespace {
QList<int> asRowList(const std::vector<int>& rows) {
    return QList<int>(rows.begin(), rows.end());
}
}  // namespace

void MainWindow::onVideoListDoubleClicked() {
    launches_.playSelectedVideos(job_.videos, asRowList(selectedRows(videoList())), this);
}

void MainWindow::onAudioListDoubleClicked() {
    launches_.playSelectedAudios(job_.audios, asRowList(selectedRows(audioList())), this);
}

void MainWindow::onMicrophone() {
    launches_.startRecorder();
}

void MainWindow::onHomepage() {
    launches_.openHomePage();
}

void MainWindow::onAbout() {
    launches_.showAbout(this);
}

void MainWindow::onProgressTick() {
    ++job_.ElapsedSeconds;
    setStatusText(progressStatusText(job_.ElapsedSeconds));
    updateProgressDisplay();
}

bool MainWindow::closeChecksPass() {
    if (job_.Converting) {
        ports_.prompt.tell(QString::fromUtf8(kStopConvertFirstMessage), {}, base::PromptIcon::None,
                           this);
        return false;
    }
    return projectCommands_.closeAllowed();
}

void MainWindow::done(int result) {
    if (!closeChecksPass()) {
        return;
    }
    mediaAdder_.cancelAdding();
    preview_.close();
    projectCommands_.windowClosing();
    QDialog::done(result);
}

void MainWindow::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    widgets::tileBackground(painter, backgroundTile_, rect());
    QDialog::paintEvent(event);
}

}  // namespace mixer
