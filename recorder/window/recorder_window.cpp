#include "recorder/window/recorder_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QMenu>
#include <QPainter>
#include <QPalette>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QUrl>

#include <algorithm>

#include "base/ports/file_picker_port.h"
#include "base/ports/launcher_port.h"
#include "base/ports/prompt_port.h"
#include "base/text/chosen_file_names.h"
#include "recorder/ambrevo_art.h"
#include "recorder/logic/input_line_rules.h"
#include "recorder/logic/recording_texts.h"
#include "recorder/recorder_log.h"
#include "recorder/window/recorder_dialogs.h"
#include "recorder/window/recorder_templates.h"
#include "widgets/background_tiling.h"
#include "widgets/dialog_builder.h"
#include "widgets/help_pages.h"
#include "widgets/image_button.h"
#include "widgets/image_loading.h"

namespace recorder {
namespace {

namespace art = recorder::art;
using base::PromptButtons;
using base::PromptIcon;
using widgets::Notification;

// The introduction page where the help is (widgets/help_pages.h); when no folder holds it, the
// installed place, so the desktop's answer names what is missing.
QString helpIntroductionPage() {
    const QString applicationFolder = QCoreApplication::applicationDirPath();
#ifdef AMBREVO_SOURCE_HELP_FOLDER
    const QString sourceTreeHelpFolder = QStringLiteral(AMBREVO_SOURCE_HELP_FOLDER);
#else
    const QString sourceTreeHelpFolder;
#endif
    const QString pageName = QString::fromUtf8(widgets::kHelpIntroductionPage);
    return widgets::findHelpPage(applicationFolder, sourceTreeHelpFolder, pageName)
        .value_or(widgets::helpFolderCandidates(applicationFolder, sourceTreeHelpFolder).front() +
                  QLatin1Char('/') + pageName);
}

}  // namespace

RecorderWindow::RecorderWindow(RecorderStartValues& start, RecorderPorts ports, QWidget* parent)
    : QDialog(parent),
      values_(start.capture),
      ports_(ports),
      prompt_(ports.prompt),
      controller_(prompt_, this),
      selection_(controls_, values_, controller_, prompt_, ports.hint, this) {
    connectController();
    levelTimer_.setInterval(100);
    connect(&levelTimer_, &QTimer::timeout, this, &RecorderWindow::showInputLevel);

    // Initialisation, in this order.
    backgroundTile_ = widgets::loadBackgroundTile(art::kBackgroundTile, devicePixelRatioF());
    controls_ = widgets::buildDialog(recorderWindowTemplate(), *this);
    if (const auto icon = widgets::loadIconFile(art::kProgramIcon)) {
        setWindowIcon(icon->icon);
    }
    volumeSlider().setRange(0, kSliderMaximum);
    volumeSlider().setValue(kSliderMaximum);
    m_strOutput = start.outputFile;
    outputEdit().setText(m_strOutput);
    selection_.m_bHintOff = true;  // no hint during start-up

    ResetGraphMembers();
    int result = 0;
    if (const capture::CaptureResult connected = controller_.CreateGraph(); connected.failed()) {
        placeAsShown();
        prompt_.show({QStringLiteral("Ambrevo cannot reach the sound server:\n%1\n\nMake "
                                     "sure that PulseAudio (or PipeWire with its PulseAudio "
                                     "service) runs for your user, then start Ambrevo "
                                     "again.\n\nThis program will now exit.")
                          .arg(QString::fromStdString(connected.text())),
                      QString::fromLatin1(kRecorderCaption), PromptIcon::Error, PromptButtons::Ok,
                      this});
        result = -1;
    }
    if (result >= 0) {
        result = selection_.StartDevices();
    }
    if (result < 0) {
        selection_.emptyLists();
        controller_.ReleaseGraph();
        m_bStartUpFailed = true;
        QMetaObject::invokeMethod(
            this, [this] { done(QDialog::Rejected); }, Qt::QueuedConnection);
    }
    selection_.m_bHintOff = start.hintOff;
    if (values_.nDeviceCount <= 1) {
        controls_.get(control::kDeviceMarker).hide();
    }
    setUpButtons();
    auto& mutedWarning = controls_.get(control::kMutedWarning);
    QPalette warningPalette = mutedWarning.palette();
    warningPalette.setColor(QPalette::WindowText, QColor(200, 0, 0));
    mutedWarning.setPalette(warningPalette);
    if (values_.nSearchFlag == 1) {
        inputLineList().hide();
        controls_.get(control::kLineMarker).hide();
    }
    fitStatusLine();
    wireCommands();
    levelTimer_.start();
}

void RecorderWindow::fitStatusLine() {
    // A line of the font fills the template's status line exactly, so descenders touch the
    // sunken frame, and at fractional scales the frame's rounded bottom line covers them. The
    // line gets a pixel of air above and below its text (growing downwards, where the window
    // has room) and keeps the text in its middle.
    constexpr int kAirPx = 2;
    auto& status = controls_.get<QLabel>(control::kStatus);
    const int needed =
        status.fontMetrics().lineSpacing() + 2 * (status.frameWidth() + status.margin() + kAirPx);
    const int bottomRoom = height() - status.geometry().top() - kAirPx;
    status.resize(status.width(), std::min(std::max(status.height(), needed), bottomRoom));
    status.setAlignment((status.alignment() & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter);
}

RecorderWindow::~RecorderWindow() {
    finalRelease();
}

void RecorderWindow::placeAsShown() {
    // Until it is shown the window sits at the screen's top-left corner, and a box it owns
    // opens over that place. Showing centres it on its screen; it is put there already (and
    // stays there when it is shown).
    if (QScreen* screen = this->screen(); screen != nullptr && !testAttribute(Qt::WA_Moved)) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

QComboBox& RecorderWindow::inputLineList() const {
    return controls_.get<QComboBox>(control::kInputLineList);
}
QSlider& RecorderWindow::volumeSlider() const {
    return controls_.get<QSlider>(control::kVolume);
}
QLineEdit& RecorderWindow::outputEdit() const {
    return controls_.get<QLineEdit>(control::kOutputFile);
}

QString RecorderWindow::statusText() const {
    return controls_.get<QLabel>(control::kStatus).text();
}

void RecorderWindow::setStatus(const QString& text) {
    controls_.get<QLabel>(control::kStatus).setText(text);
}

void RecorderWindow::setUpButtons() {
    struct IconButton {
        int id;
        const char* icon;
        const char* tooltip;
    };
    for (const IconButton& button :
         {IconButton{control::kRecord, art::kRecord, "Record audio"},
          IconButton{control::kPause, art::kPause, "Pause audio recording"},
          IconButton{control::kStop, art::kStop, "Stop audio recording"}}) {
        auto& imageButton = controls_.get<widgets::ImageButton>(button.id);
        imageButton.setIconFiles(QString::fromLatin1(button.icon));
        imageButton.setDrawTransparent();
        imageButton.setHoverCursor(QString::fromLatin1(art::kHoverCursor),
                                   art::kHoverCursorHotSpot);
        imageButton.setTooltipText(QString::fromLatin1(button.tooltip));
        imageButton.setAlignment(widgets::IconLeftOfCaption);
        imageButton.setFlatLook(false);
        imageButton.setDrawFlatFocus(true);
    }
    struct PlainButton {
        int id;
        const char* tooltip;
    };
    for (const PlainButton& button :
         {PlainButton{control::kBrowse, "Browse"},
          PlainButton{control::kPlay, "Play the wave file"},
          PlainButton{control::kHomepage, "Homepage"}, PlainButton{control::kAbout, "About"},
          PlainButton{control::kHelp, "Help"}}) {
        auto& imageButton = controls_.get<widgets::ImageButton>(button.id);
        imageButton.setDrawTransparent();
        imageButton.setHoverCursor(QString::fromLatin1(art::kHoverCursor),
                                   art::kHoverCursorHotSpot);
        imageButton.setTooltipText(QString::fromLatin1(button.tooltip));
        imageButton.setAlignment(widgets::IconAboveCaption);
        // Keyboard users see which button Space and Enter would press.
        imageButton.setDrawFlatFocus(true);
    }
    tieLabels();
}

void RecorderWindow::tieLabels() {
    // Screen readers on Linux announce a drop-down list by its value and find its name through
    // the label tied to it, so the two lists, which show no caption, get labels that are never
    // shown.
    for (const auto& [id, name] : {std::pair{control::kInputLineList, "Input line"},
                                   std::pair{control::kDeviceList, "Capture device"}}) {
        QWidget& list = controls_.get(id);
        list.setAccessibleName(QString::fromLatin1(name));
        auto* label = new QLabel(QString::fromLatin1(name), this);
        label->setObjectName(QStringLiteral("accessibleLabel%1").arg(id));
        label->hide();
        label->setBuddy(&list);
    }
    for (const auto& [captionId, widget] :
         {std::pair<int, QWidget*>{control::kVolumeCaption, &volumeSlider()},
          std::pair<int, QWidget*>{control::kOutputCaption, &outputEdit()}}) {
        auto& caption = controls_.get<QLabel>(captionId);
        caption.setWordWrap(false);  // one short line, as the template lays it out
        caption.setBuddy(widget);
    }
    controls_.get(control::kLevelMeter).setAccessibleName(QStringLiteral("Input level"));
}

void RecorderWindow::wireCommands() {
    commands_ = widgets::CommandTable{
        {control::kRecord, Notification::Clicked, [this] { OnRecord(); }},
        {control::kPause, Notification::Clicked, [this] { controller_.OnPause(); }},
        {control::kStop, Notification::Clicked, [this] { controller_.OnStop(); }},
        {control::kPlay, Notification::Clicked, [this] { OnPlay(); }},
        {control::kBrowse, Notification::Clicked, [this] { OnBrowse(); }},
        {control::kHomepage, Notification::Clicked, [this] { OnHomepage(); }},
        {control::kAbout, Notification::Clicked, [this] { OnAbout(); }},
        {control::kHelp, Notification::Clicked, [this] { OnHelp(); }},
        {control::kDeviceList, Notification::SelectionChanged,
         [this] { selection_.OpenSelectedDevice(); }},
        {control::kInputLineList, Notification::SelectionChanged,
         [this] { selection_.OnSelectLine(); }},
        {control::kVolume, Notification::SliderReleased,
         [this] { selection_.ApplyVolume(levelFromSliderPosition(volumeSlider().value())); }},
    };
    // Groove clicks, wheel steps and keys write the level too: a slider must never show a level
    // that is not applied. A dragged thumb writes once, at its release (above).
    connect(&volumeSlider(), &QAbstractSlider::actionTriggered, this,
            [this] { selection_.onVolumeAction(); });
    for (const QString& problem : commands_.wire(controls_)) {
        qCWarning(recorderLog) << "command table:" << problem;
    }
}

void RecorderWindow::ResetGraphMembers() {
    outputEdit().setText(m_strOutput);
}

void RecorderWindow::showState(RecordingState state) {
    const bool ready = state == RecordingState::Ready;
    controls_.get(control::kRecord).setEnabled(state != RecordingState::Recording);
    controls_.get(control::kPause).setEnabled(true);
    controls_.get(control::kStop).setEnabled(true);
    controls_.get(control::kPlay).setEnabled(ready);
}

void RecorderWindow::connectController() {
    connect(&controller_, &RecordingController::stateChanged, this, &RecorderWindow::showState);
    connect(&controller_, &RecordingController::statusChanged, this, &RecorderWindow::setStatus);
    connect(&controller_, &RecordingController::timeLeftChanged, this,
            &RecorderWindow::showTimeLeft);
    connect(&controller_, &RecordingController::deviceRemoved, this,
            &RecorderWindow::onDeviceRemoved);
    connect(&controller_, &RecordingController::deviceReturned, this,
            &RecorderWindow::onDeviceReturned);
    connect(&controller_, &RecordingController::deviceChanged, this, [this] {
        refreshMutedWarning();
        selection_.followDeviceLevel();
    });
    connect(&controller_, &RecordingController::soundServerLost, this,
            [this] { selection_.emptyLists(); });
    connect(&controller_, &RecordingController::soundServerReturned, this,
            [this](const QString& deviceName) { selection_.openReturnedDevice(deviceName); });
    connect(&controller_, &RecordingController::deviceListChanged, this,
            [this] { selection_.refreshDeviceList(); });
}

void RecorderWindow::showTimeLeft(const QString& text) {
    auto& label = controls_.get<QLabel>(control::kTimeLeft);
    label.setText(text);
    label.setVisible(!text.isEmpty());
}

void RecorderWindow::onDeviceRemoved() {
    selection_.showDeviceRemoved();
    ResetGraphMembers();
}

void RecorderWindow::onDeviceReturned(const QString& deviceName) {
    ResetGraphMembers();
    selection_.openReturnedDevice(deviceName);
}

void RecorderWindow::refreshMutedWarning() {
    const std::string name = controller_.openedDeviceName();
    bool muted = false;
    if (!name.empty()) {
        const auto device = controller_.server()->device(name);
        muted = device && device->muted;
    }
    controls_.get(control::kMutedWarning).setVisible(muted);
}

void RecorderWindow::showInputLevel() {
    RecordingGraph* graph = controller_.graph();
    const double level = graph != nullptr ? graph->takePeakLevel() : 0.0;
    controls_.get<QProgressBar>(control::kLevelMeter).setValue(static_cast<int>(level * 100.0));
}

void RecorderWindow::OnRecord() {
    if (!controller_.isPaused()) {
        m_strOutput = outputEdit().text();
    }
    controller_.OnRecord(m_strOutput);
}

// ---- Playback, files, pages -------------------------------------------------------------

void RecorderWindow::OnPlay() {
    const QString file = outputEdit().text();
    if (outputFileExists(file)) {
        // The desktop's player for WAV files; the name travels as one URL, never through a
        // shell, so blanks and quotes in it are harmless.
        ports_.launcher.openWithDesktop(QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()));
        return;
    }
    prompt_.show({file + QStringLiteral(" does not exist!"), QStringLiteral("Error"),
                  PromptIcon::None, PromptButtons::Ok, nullptr});
}

void RecorderWindow::OnBrowse() {
    // The dialog opens at the name the user sees (and Record would write), typed or chosen.
    const QString current = recordingTargetPath(outputEdit().text());
    base::SaveFileRequest request;
    request.title = QStringLiteral("Select Output");
    request.filters = outputFileFilters();
    request.selectedFilter = outputFileFilterFor(current);
    request.initialFolder = browseInitialFolder(current);
    request.initialName = base::saveDialogInitialName(current);
    request.owner = this;
    const auto chosen = ports_.filePicker.saveFile(request);
    if (!chosen) {
        return;
    }
    m_strOutput = outputNameForChosenFile(*chosen);
    outputEdit().setText(m_strOutput);
    emit outputFileChosen(m_strOutput);
}

void RecorderWindow::OnHelp() {
    ports_.launcher.openWithDesktop(QUrl::fromLocalFile(helpIntroductionPage()));
}

void RecorderWindow::OnHomepage() {
    ports_.launcher.openWithDesktop(QUrl(QString::fromLatin1(kMakerHomePageAddress)));
}

void RecorderWindow::OnAbout() {
    RecorderAboutDialog about(ports_.launcher, prompt_, this);
    about.exec();
}

// ---- Ending -----------------------------------------------------------------------------

void RecorderWindow::closeEvent(QCloseEvent* event) {
    controller_.stopBeforeClose();  // completes a running take, then releases the graph
    selection_.emptyLists();
    m_strOutput = outputEdit().text();
    emit closeRequested(values_, m_strOutput);
    QDialog::closeEvent(event);
}

void RecorderWindow::keyPressEvent(QKeyEvent* event) {
    // Enter and Esc end the window without the shut-down sequence and without saving settings.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && event->modifiers() == Qt::NoModifier &&
        qobject_cast<QAbstractButton*>(focusWidget()) == nullptr) {
        m_strOutput = outputEdit().text();
        accept();
        return;
    }
    QDialog::keyPressEvent(event);  // Esc: reject
}

void RecorderWindow::done(int result) {
    finalRelease();
    QDialog::done(result);
}

void RecorderWindow::finalRelease() {
    if (m_bReleased) {
        return;
    }
    m_bReleased = true;
    levelTimer_.stop();
    selection_.emptyLists();
    controller_.RemoveWriterFilters();
    controller_.ReleaseGraph();
}

void RecorderWindow::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    widgets::tileBackground(painter, backgroundTile_, rect());
    QDialog::paintEvent(event);
}

void RecorderWindow::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.addAction(QStringLiteral("&About Ambrevo"), this, &RecorderWindow::OnAbout);
    menu.exec(event->globalPos());
}

}  // namespace recorder
