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
#include <QSlider>
#include <QUrl>

#include "recorder/ambrevo_art.h"
#include "recorder/logic/input_line_rules.h"
#include "recorder/logic/recorder_settings.h"
#include "recorder/logic/recording_texts.h"
#include "recorder/window/recorder_dialogs.h"
#include "recorder/window/recorder_templates.h"
#include "widgets/background_tiling.h"
#include "widgets/dialog_builder.h"
#include "widgets/image_button.h"
#include "widgets/image_loading.h"
#include "widgets/ports/file_picker_port.h"
#include "widgets/ports/launcher_port.h"
#include "widgets/ports/prompt_port.h"

Q_LOGGING_CATEGORY(recorderLog, "ambrevo.recorder")

namespace recorder {
namespace {

namespace art = recorder::art;
using widgets::Notification;
using widgets::PromptButtons;
using widgets::PromptIcon;

const QString kDeviceMessageCaption = QStringLiteral("DirectShow Audio Capture Sample");

// A file counts as present when it can be opened for reading; anything else counts as absent.
bool fileCanBeRead(const QString& path) {
    if (path.isEmpty()) {
        return false;
    }
    QFile file(path);
    return file.open(QIODevice::ReadOnly);
}

// The help pages: installed beside the program's share folder, in a help folder beside the
// program, or (in the build tree) in the source tree.
QString helpIntroductionPage() {
    const QString applicationFolder = QCoreApplication::applicationDirPath();
    QStringList folders = {applicationFolder + QStringLiteral("/../share/ambrevo/help"),
                           applicationFolder + QStringLiteral("/../share/orvindel/help"),
                           applicationFolder + QStringLiteral("/help")};
#ifdef AMBREVO_SOURCE_HELP_FOLDER
    folders << QStringLiteral(AMBREVO_SOURCE_HELP_FOLDER);
#endif
    for (const QString& folder : folders) {
        const QString page = QDir(folder).absoluteFilePath(QStringLiteral("Introduction.htm"));
        if (QFileInfo::exists(page)) {
            return QDir::cleanPath(page);
        }
    }
    return QDir::cleanPath(folders.front() + QStringLiteral("/Introduction.htm"));
}

}  // namespace

RecorderWindow::RecorderWindow(CaptureValues& values, RecorderPorts ports, QWidget* parent)
    : QDialog(parent), values_(values), ports_(ports) {
    // Device events are queued by the server thread and handled here, in order.
    connect(this, &RecorderWindow::graphNotify, this, &RecorderWindow::OnGraphEvent,
            Qt::QueuedConnection);
    RecordTimer.setInterval(1000);
    connect(&RecordTimer, &QTimer::timeout, this, &RecorderWindow::OnRecordTimer);
    levelTimer_.setInterval(100);
    connect(&levelTimer_, &QTimer::timeout, this, &RecorderWindow::showInputLevel);

    // Initialisation, in this order.
    backgroundTile_ = widgets::loadBackgroundTile(art::kBackgroundTile, devicePixelRatioF());
    controls_ = widgets::buildDialog(recorderWindowTemplate(), *this);
    if (const auto icon = widgets::loadIconFile(art::kProgramIcon)) {
        setWindowIcon(icon->icon);
    }
    values_ = RecorderSettings::readCaptureValues();
    values_.nDeviceCount = 0;
    volumeSlider().setRange(0, kSliderMaximum);
    volumeSlider().setValue(kSliderMaximum);
    m_strOutput = RecorderSettings::readOutputFile();
    outputEdit().setText(m_strOutput);
    m_bHintOff = true;  // no hint during start-up

    ResetGraphMembers();
    int result = CreateGraph();
    if (result >= 0) {
        result = StartDevices();
    }
    if (result < 0) {
        emptyLists();
        ReleaseGraph();
        m_bStartUpFailed = true;
        QMetaObject::invokeMethod(
            this, [this] { done(QDialog::Rejected); }, Qt::QueuedConnection);
    }
    m_bHintOff = RecorderSettings::readHintOnlyOnce(0) != 0;
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
    wireCommands();
    levelTimer_.start();
}

RecorderWindow::~RecorderWindow() {
    finalRelease();
    m_server.reset();  // stops the server thread before the window's signals go
}

QComboBox& RecorderWindow::deviceList() const {
    return controls_.get<QComboBox>(control::kDeviceList);
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

void RecorderWindow::enableEveryRecordingButton() {
    for (const int id : {control::kRecord, control::kPause, control::kStop, control::kPlay}) {
        controls_.get(id).setEnabled(true);
    }
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
    }
}

void RecorderWindow::wireCommands() {
    commands_ = widgets::CommandTable{
        {control::kRecord, Notification::Clicked, [this] { OnRecord(); }},
        {control::kPause, Notification::Clicked, [this] { OnPause(); }},
        {control::kStop, Notification::Clicked, [this] { OnStop(); }},
        {control::kPlay, Notification::Clicked, [this] { OnPlay(); }},
        {control::kBrowse, Notification::Clicked, [this] { OnBrowse(); }},
        {control::kHomepage, Notification::Clicked, [this] { OnHomepage(); }},
        {control::kAbout, Notification::Clicked, [this] { OnAbout(); }},
        {control::kHelp, Notification::Clicked, [this] { OnHelp(); }},
        {control::kDeviceList, Notification::SelectionChanged, [this] { OpenSelectedDevice(); }},
        {control::kInputLineList, Notification::SelectionChanged, [this] { OnSelectLine(); }},
        {control::kVolume, Notification::SliderReleased,
         [this] { ApplyVolume(levelFromSliderPosition(volumeSlider().value())); }},
    };
    for (const QString& problem : commands_.wire(controls_)) {
        qCWarning(recorderLog) << "command table:" << problem;
    }
}

// ---- Graph life -------------------------------------------------------------------------

int RecorderWindow::CreateGraph() {
    if (!m_server) {
        std::string error;
        m_server = capture::AudioServer::connect("Ambrevo", error);
        if (!m_server) {
            qCWarning(recorderLog)
                << "Ambrevo cannot reach the sound server:" << QString::fromStdString(error);
            return -1;
        }
        m_server->setEventNotifier([this] { emit graphNotify(); });
    }
    m_pGB = std::make_unique<RecordingGraph>(*m_server);
    return 0;
}

void RecorderWindow::ReleaseGraph() {
    m_pGB.reset();
}

void RecorderWindow::ResetGraphMembers() {
    m_pGB.reset();
    m_bPaused = false;
    outputEdit().setText(m_strOutput);
}

void RecorderWindow::RemoveWriterFilters() {
    if (m_pGB) {
        m_pGB->removeWriter();
    }
}

int RecorderWindow::BuildRecordingChain() {
    if (!m_pGB) {
        return -1;  // no graph after a device removal: nothing is recorded, no message
    }
    if (!GetPin(0)) {
        return -1;  // no capture device opened
    }
    const QString target = recordingTargetPath(outputEdit().text());
    std::string error;
    if (!m_pGB->addWriter(QFile::encodeName(target).toStdString(), error)) {
        qCDebug(recorderLog) << "recording chain failed:" << QString::fromStdString(error);
        RemoveWriterFilters();  // the next Record starts from a clean graph
        return -1;
    }
    return 0;
}

// ---- Devices and input lines ------------------------------------------------------------

int RecorderWindow::StartDevices() {
    if (!m_server || !m_server->isConnected()) {
        return -1;
    }
    const int result = EnumerateDevices();
    if (result < 0) {
        return result;
    }
    if (result == 1) {
        ports_.prompt.show(
            {QStringLiteral(
                 "There were no audio capture devices detected on this system.\r\n\r\nIf your "
                 "system has an audio capture device (sound card, video camera, etc.),\r\nthen "
                 "make sure that it is working properly and that you are not running\r\nthis "
                 "program through a Windows XP Remote Desktop connection.\r\n\r\nThis program "
                 "will now exit."),
             QStringLiteral("No audio capture hardware!"), PromptIcon::Error, PromptButtons::Ok,
             this});
        return -1;
    }
    // A remembered device beyond the list (unplugged since) opens the first device instead.
    const int index =
        values_.nSoundCaptureIndex < deviceList().count() ? values_.nSoundCaptureIndex : 0;
    deviceList().setCurrentIndex(index);
    OpenSelectedDevice();
    return 0;
}

int RecorderWindow::EnumerateDevices() {
    const std::vector<capture::CaptureDevice> devices = m_server->listDevices();
    deviceList().clear();
    if (devices.empty()) {
        deviceList().addItem(QStringLiteral("<< No entries >>"));
        return 1;
    }
    for (const capture::CaptureDevice& device : devices) {
        // The entry keeps the device's own name, so two devices of one description stay apart.
        deviceList().addItem(QString::fromStdString(device.description),
                             QString::fromStdString(device.name));
    }
    values_.nDeviceCount = static_cast<int>(devices.size());
    deviceList().setVisible(values_.nDeviceCount > 1);
    return 0;
}

void RecorderWindow::OpenSelectedDevice() {
    if (m_pGB && m_pGB->captureDevice()) {
        inputLineList().clear();
        ReleaseGraph();
        CreateGraph();
    }
    values_.nSoundCaptureIndex = deviceList().currentIndex();
    const QString name = deviceList().currentData().toString();
    if (name.isEmpty() || !m_pGB || !m_server) {
        return;
    }
    const auto device = m_server->device(name.toStdString());
    if (!device) {
        return;
    }
    m_pGB->addCaptureDevice(*device);
    m_server->watchDevice(device->name);
    if (FillInputLines() < 0) {
        return;
    }
    const int line = values_.nCapturePinIndex;
    inputLineList().setCurrentIndex(line >= 0 && line < inputLineList().count() ? line : -1);
    OnSelectLine();
    refreshMutedWarning();
}

int RecorderWindow::FillInputLines() {
    inputLineList().clear();
    if (!m_pGB || !m_pGB->captureDevice()) {
        return -1;
    }
    QStringList names;
    for (const capture::InputLine& line : m_pGB->captureDevice()->lines) {
        names << QString::fromStdString(line.description);
    }
    inputLineList().addItems(names);
    searchMicrophoneLine(names, values_);
    return 0;
}

std::optional<capture::InputLine> RecorderWindow::GetPin(int lineIndex) const {
    if (!m_pGB || !m_pGB->captureDevice()) {
        return std::nullopt;
    }
    const auto& lines = m_pGB->captureDevice()->lines;
    if (lineIndex < 0 || lineIndex >= static_cast<int>(lines.size())) {
        return std::nullopt;
    }
    return lines[static_cast<std::size_t>(lineIndex)];
}

QString RecorderWindow::openedDeviceName() const {
    if (!m_pGB || !m_pGB->captureDevice()) {
        return {};
    }
    return QString::fromStdString(m_pGB->captureDevice()->name);
}

void RecorderWindow::OnSelectLine() {
    showHintUnlessOff();
    OnStop();
    ApplyLineSelection();
}

void RecorderWindow::ApplyLineSelection() {
    const int selected = inputLineList().currentIndex();
    values_.nCapturePinIndex = selected;
    const auto line = GetPin(selected);
    if (!line) {
        return;  // no line chosen: the slider keeps its position
    }
    const std::string device = openedDeviceName().toStdString();
    m_server->setActiveLine(device, line->name);
    const auto current = m_server->device(device);
    volumeSlider().setValue(sliderPositionFromLevel(current ? current->level : 0.0));
}

void RecorderWindow::ApplyVolume(double level) {
    const int selected = inputLineList().currentIndex();
    values_.nCapturePinIndex = selected;
    const auto line = GetPin(selected);
    if (!line) {
        return;
    }
    const std::string device = openedDeviceName().toStdString();
    m_server->setLevel(device, level);
    m_server->setActiveLine(device, line->name);
}

void RecorderWindow::showHintUnlessOff() {
    if (m_bHintOff) {
        return;
    }
    if (const auto checked = ports_.hint.showHint(this)) {
        m_bHintOff = *checked;
    }
}

void RecorderWindow::refreshMutedWarning() {
    const QString name = openedDeviceName();
    bool muted = false;
    if (!name.isEmpty() && m_server) {
        const auto device = m_server->device(name.toStdString());
        muted = device && device->muted;
    }
    controls_.get(control::kMutedWarning).setVisible(muted);
}

void RecorderWindow::showInputLevel() {
    const double level = m_pGB ? m_pGB->takePeakLevel() : 0.0;
    controls_.get<QProgressBar>(control::kLevelMeter).setValue(static_cast<int>(level * 100.0));
}

void RecorderWindow::emptyLists() {
    deviceList().clear();
    inputLineList().clear();
}

// ---- Recording states -------------------------------------------------------------------

void RecorderWindow::OnRecord() {
    if (m_bPaused) {
        std::string error;
        if (m_pGB && !m_pGB->run(error)) {
            // A device that went while paused: say so and end in Ready, rather than count
            // seconds of a recording that does not happen.
            reportStartFailure(error);
            QMetaObject::invokeMethod(this, &RecorderWindow::OnStop, Qt::QueuedConnection);
            return;
        }
        RecordTimer.start();
        m_bPaused = false;
        controls_.get(control::kRecord).setEnabled(false);
        return;
    }
    m_strOutput = outputEdit().text();
    // The question concerns the file that will really be written (the fallback name too).
    const QString target = recordingTargetPath(m_strOutput);
    if (fileCanBeRead(target)) {
        const auto answer = ports_.prompt.show(
            {QStringLiteral("%1 exists. Do you want to replace it?").arg(target),
             QStringLiteral("Warning"), PromptIcon::Warning, PromptButtons::YesNo, this});
        if (answer != widgets::PromptAnswer::Yes) {
            return;
        }
        QFile::remove(target);
    }
    if (BuildRecordingChain() < 0) {
        return;
    }
    bool runFailed = false;
    if (m_pGB) {
        std::string error;
        if (!m_pGB->run(error)) {
            reportStartFailure(error);
            runFailed = true;
        }
        setStatus(recordingStatusText(0));
        m_nElapsed = 0;
        RecordTimer.start();
    }
    m_bActive = true;
    controls_.get(control::kRecord).setEnabled(false);
    controls_.get(control::kPlay).setEnabled(false);
    controls_.get(control::kPause).setEnabled(true);
    if (runFailed) {
        QMetaObject::invokeMethod(this, &RecorderWindow::OnStop, Qt::QueuedConnection);
    }
}

void RecorderWindow::reportStartFailure(const std::string& error) {
    qCDebug(recorderLog) << "run failed:" << QString::fromStdString(error);
    ports_.prompt.show(
        {QStringLiteral("1. Your audio hardware may be used by other program. Please exit "
                        "other program.\n2. Or your audio hardware has unknown problem. "
                        "The program can not start recording."),
         QStringLiteral("Start Recording Error"), PromptIcon::None, PromptButtons::Ok, this});
}

void RecorderWindow::OnPause() {
    if (!m_bActive) {
        return;
    }
    if (m_pGB) {
        m_pGB->pause();
        m_bPaused = true;
        RecordTimer.stop();
        setStatus(pausedStatusText(m_nElapsed));
    }
    controls_.get(control::kRecord).setEnabled(true);
}

void RecorderWindow::OnStop() {
    if (!m_bActive) {
        return;
    }
    std::string writeError;
    if (m_pGB) {
        writeError = m_pGB->stopWhenReady();
        RecordTimer.stop();
        m_nElapsed = 0;
    }
    RemoveWriterFilters();
    m_bPaused = false;
    m_bActive = false;
    enableEveryRecordingButton();
    setStatus(readyStatusText());
    if (!writeError.empty()) {
        reportIncompleteTake(writeError);
    }
}

void RecorderWindow::reportIncompleteTake(const std::string& writeError) {
    ports_.prompt.show({QStringLiteral("The recording could not be written completely:\n") +
                            QString::fromStdString(writeError),
                        QStringLiteral("Error"), PromptIcon::Error, PromptButtons::Ok, this});
}

void RecorderWindow::OnRecordTimer() {
    ++m_nElapsed;
    setStatus(recordingStatusText(m_nElapsed));
}

// ---- Playback, files, pages -------------------------------------------------------------

void RecorderWindow::OnPlay() {
    const QString file = outputEdit().text();
    if (fileCanBeRead(file)) {
        // The desktop's player for WAV files; the name travels as one URL, never through a
        // shell, so blanks and quotes in it are harmless.
        ports_.launcher.openWithDesktop(QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()));
        return;
    }
    ports_.prompt.show({file + QStringLiteral(" does not exist!"), QStringLiteral("Error"),
                        PromptIcon::None, PromptButtons::Ok, nullptr});
}

void RecorderWindow::OnBrowse() {
    widgets::SaveFileRequest request;
    request.title = QStringLiteral("Select Output");
    request.filters = {{QStringLiteral("Wav file"), QStringLiteral("*.wav")}};
    request.selectedFilter = 1;
    request.initialFolder = browseInitialFolder(m_strOutput);
    request.initialName = QStringLiteral("*.*");
    request.owner = this;
    const auto chosen = ports_.filePicker.saveFile(request);
    if (!chosen) {
        return;
    }
    m_strOutput = outputNameForChosenFile(*chosen);
    RecorderSettings::writeOutputFile(m_strOutput);
    outputEdit().setText(m_strOutput);
}

void RecorderWindow::OnHelp() {
    ports_.launcher.openWithDesktop(QUrl::fromLocalFile(helpIntroductionPage()));
}

void RecorderWindow::OnHomepage() {
    ports_.launcher.openWithDesktop(QUrl(QString::fromLatin1(kMakerHomePageAddress)));
}

void RecorderWindow::OnAbout() {
    RecorderAboutDialog about(ports_.launcher, ports_.prompt, this);
    about.exec();
}

// ---- Device events ----------------------------------------------------------------------

void RecorderWindow::OnGraphEvent() {
    if (!m_server) {
        return;
    }
    while (const auto event = m_server->takeEvent()) {
        switch (event->kind) {
            case capture::DeviceEventKind::Removed:
                OnStop();  // a recording in progress is stopped and its file completed
                emptyLists();
                RemoveWriterFilters();
                ReleaseGraph();
                ResetGraphMembers();
                QApplication::beep();
                ports_.prompt.show({QStringLiteral("The selected input device was removed!"),
                                    kDeviceMessageCaption, PromptIcon::Warning, PromptButtons::Ok,
                                    this});
                break;
            case capture::DeviceEventKind::Returned:
                ResetGraphMembers();
                if (CreateGraph() >= 0) {
                    StartDevices();
                }
                QApplication::beep();
                ports_.prompt.show({QStringLiteral("The audio input device has been reattached!"),
                                    kDeviceMessageCaption, PromptIcon::Information,
                                    PromptButtons::Ok, this});
                break;
            case capture::DeviceEventKind::Changed:
                refreshMutedWarning();
                break;
        }
    }
}

// ---- Ending -----------------------------------------------------------------------------

void RecorderWindow::closeEvent(QCloseEvent* event) {
    std::string writeError;
    if (m_pGB) {
        writeError = m_pGB->stopWhenReady();  // a running recording ends with a complete file
    }
    RecordTimer.stop();
    if (!writeError.empty()) {
        reportIncompleteTake(writeError);
    }
    emptyLists();
    RemoveWriterFilters();
    ReleaseGraph();
    RecorderSettings::writeCaptureValues(values_);
    m_strOutput = outputEdit().text();
    RecorderSettings::writeOutputFile(m_strOutput);
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
    RecordTimer.stop();
    levelTimer_.stop();
    emptyLists();
    RemoveWriterFilters();
    ReleaseGraph();
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
