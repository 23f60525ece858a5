#include "recorder/recording/recording_controller.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QStorageInfo>

#include <algorithm>
#include <chrono>

#include "base/ports/prompt_port.h"
#include "base/text/chosen_file_names.h"
#include "recorder/logic/recording_texts.h"
#include "recorder/recorder_log.h"

Q_LOGGING_CATEGORY(recorderLog, "ambrevo.recorder")

namespace recorder {
namespace {

using base::PromptButtons;
using base::PromptIcon;
using capture::CaptureError;
using capture::CaptureResult;

constexpr int kReconnectIntervalMs = 1000;
// A server that accepts the connection but does not answer keeps a reconnection tick no longer
// than this.
constexpr std::chrono::milliseconds kReconnectAnswerLimit{1500};

QString describe(const CaptureResult& result) {
    return QString::fromStdString(result.text());
}

}  // namespace

bool outputFileExists(const QString& path) {
    if (path.isEmpty()) {
        return false;
    }
    QFile file(path);
    return file.open(QIODevice::ReadOnly);
}

RecordingController::RecordingController(base::PromptPort& prompt, QWidget* owner)
    : prompt_(prompt), owner_(owner) {
    // Device events are queued by the server thread and handled here, in order.
    connect(this, &RecordingController::graphNotify, this, &RecordingController::OnGraphEvent,
            Qt::QueuedConnection);
    RecordTimer.setInterval(1000);
    connect(&RecordTimer, &QTimer::timeout, this, &RecordingController::OnRecordTimer);
    reconnectTimer_.setInterval(kReconnectIntervalMs);
    connect(&reconnectTimer_, &QTimer::timeout, this, &RecordingController::tryReconnect);
}

RecordingController::~RecordingController() {
    RecordTimer.stop();
    m_pGB.reset();
    server_.reset();  // stops the server thread before this object's signals go
}

// ---- Graph life ---------------------------------------------------------------------------

CaptureResult RecordingController::CreateGraph() {
    if (!server_) {
        CaptureResult connected;
        server_ = capture::AudioServer::connect("Ambrevo", connected);
        if (!server_) {
            qCWarning(recorderLog)
                << "Ambrevo cannot reach the sound server:" << describe(connected);
            return connected;
        }
        server_->setEventNotifier([this] { emit graphNotify(); });
        reconnectTimer_.stop();
    }
    m_pGB = std::make_unique<RecordingGraph>(*server_);
    return CaptureResult::success();
}

void RecordingController::ReleaseGraph() {
    m_pGB.reset();
}

void RecordingController::RemoveWriterFilters() {
    if (m_pGB) {
        m_pGB->removeWriter();
    }
}

std::string RecordingController::openedDeviceName() const {
    return m_pGB && m_pGB->captureDevice() ? m_pGB->captureDevice()->name : std::string();
}

bool RecordingController::openDevice(const std::string& deviceName) {
    if (m_pGB && m_pGB->captureDevice()) {
        // The whole graph is replaced; a take in progress is completed with it.
        ReleaseGraph();
        static_cast<void>(CreateGraph());  // the connection exists: this cannot fail
    }
    if (deviceName.empty() || (!m_pGB && CreateGraph().failed())) {
        return false;
    }
    const auto device = server_->device(deviceName);
    if (!device) {
        return false;
    }
    m_pGB->addCaptureDevice(*device);
    server_->watchDevice(device->name);
    removedDeviceName_.clear();  // the user's choice: a removed device's return opens nothing
    emit deviceChanged();        // a new device: its mute state is shown
    return true;
}

CaptureResult RecordingController::BuildRecordingChain(const QString& target) {
    if (!server_) {
        return CaptureResult::failure(
            CaptureError::NoServer,
            "the sound server was lost. Ambrevo connects to it again as soon as it runs.");
    }
    if (!m_pGB || !m_pGB->captureDevice()) {
        // No graph after a device removal, or no device opened.
        return CaptureResult::failure(CaptureError::DeviceGone, "no capture device is open");
    }
    const CaptureResult added = m_pGB->addWriter(QFile::encodeName(target).toStdString());
    if (added.failed()) {
        RemoveWriterFilters();  // the next Record starts from a clean graph
    }
    return added;
}

// ---- Recording states ---------------------------------------------------------------------

RecordingState RecordingController::state() const {
    if (!m_bActive) {
        return RecordingState::Ready;
    }
    return m_bPaused ? RecordingState::Paused : RecordingState::Recording;
}

void RecordingController::OnRecord(const QString& outputText) {
    if (m_bPaused) {
        if (m_pGB) {
            if (const CaptureResult resumed = m_pGB->run(); resumed.failed()) {
                // A device that went while paused: say so and end in Ready, rather than count
                // seconds of a recording that does not happen.
                reportStartFailure(resumed);
                postStop();
                return;
            }
        }
        startRecordTimer();
        m_bPaused = false;
        emit stateChanged(state());
        return;
    }
    // The question concerns the file that will really be written (the fallback name too).
    const QString target = recordingTargetPath(outputText);
    // A typed pattern ("*.wav") is a filter, not a name: writing it would make a file nobody
    // can find again with the same pattern.
    if (base::fileNameHasWildcard(target)) {
        prompt_.tell(base::wildcardNameRefusalText(target), QString::fromLatin1(kRecorderCaption),
                     PromptIcon::Warning, owner_);
        return;
    }
    if (outputFileExists(target)) {
        const auto answer = prompt_.show(
            {QStringLiteral("%1 exists. Do you want to replace it?").arg(target),
             QStringLiteral("Warning"), PromptIcon::Warning, PromptButtons::YesNo, owner_});
        if (answer != base::PromptAnswer::Yes) {
            return;
        }
        QFile::remove(target);
    }
    if (const CaptureResult chain = BuildRecordingChain(target); chain.failed()) {
        reportChainFailure(chain);
        return;
    }
    bool runFailed = false;
    if (m_pGB) {
        if (const CaptureResult started = m_pGB->run(); started.failed()) {
            reportStartFailure(started);
            runFailed = true;
        }
        emit statusChanged(recordingStatusText(0));
        m_nElapsed = 0;
        startRecordTimer();
    }
    m_bActive = true;
    emit stateChanged(state());
    if (runFailed) {
        postStop();
    }
}

void RecordingController::OnPause() {
    if (!m_bActive) {
        return;
    }
    if (m_pGB) {
        m_pGB->pause();
        m_bPaused = true;
        RecordTimer.stop();
        emit statusChanged(pausedStatusText(m_nElapsed));
    }
    emit stateChanged(state());
}

void RecordingController::OnStop() {
    if (!m_bActive) {
        return;
    }
    CaptureResult take;
    if (m_pGB) {
        take = m_pGB->stopWhenReady();
        RecordTimer.stop();
        m_nElapsed = 0;
    }
    RemoveWriterFilters();
    m_bPaused = false;
    m_bActive = false;
    emit stateChanged(state());
    emit statusChanged(readyStatusText());
    emit timeLeftChanged({});
    if (take.failed()) {
        reportIncompleteTake(take);
    }
}

void RecordingController::OnRecordTimer() {
    ++m_nElapsed;
    emit statusChanged(recordingStatusText(m_nElapsed));
    showTimeLeft();
}

void RecordingController::stopBeforeClose() {
    CaptureResult take;
    if (m_pGB) {
        take = m_pGB->stopWhenReady();  // a running recording ends with a complete file
    }
    RecordTimer.stop();
    if (take.failed()) {
        reportIncompleteTake(take);
    }
    RemoveWriterFilters();
    ReleaseGraph();
}

void RecordingController::startRecordTimer() {
    RecordTimer.start();
    showTimeLeft();
}

void RecordingController::showTimeLeft() {
    const capture::RecordingSession* take = m_pGB ? m_pGB->writer() : nullptr;
    if (take == nullptr || take->format().bytesPerSecond() <= 0) {
        return;
    }
    const QString path = QFile::decodeName(take->path().c_str());
    QStorageInfo disk(QFileInfo(path).absolutePath());
    if (!disk.isValid()) {
        return;
    }
    // Compressed formats fill the disk more slowly than the capture's PCM rate.
    emit timeLeftChanged(timeLeftNotice(
        recordingSecondsLeft(static_cast<std::uint64_t>(std::max<qint64>(disk.bytesAvailable(), 0)),
                             path, take->format())));
}

void RecordingController::postStop() {
    QMetaObject::invokeMethod(this, &RecordingController::OnStop, Qt::QueuedConnection);
}

// ---- Messages -----------------------------------------------------------------------------

void RecordingController::reportChainFailure(const CaptureResult& result) {
    qCDebug(recorderLog) << "recording chain failed:" << describe(result);
    QString text;
    switch (result.code()) {
        case CaptureError::DeviceGone:
            text = QStringLiteral(
                "No recording was started: no input device is open.\n\nConnect the device, or "
                "choose another one in the device list, then press Record again.");
            break;
        case CaptureError::FileNotCreated:
            text = QStringLiteral(
                       "No recording was started: the output file cannot be "
                       "created.\n%1\n\nChoose an output file with Browse, in a "
                       "folder that exists and that you may write to, with a name "
                       "that is not too long.")
                       .arg(describe(result));
            break;
        default:
            text = QStringLiteral("No recording was started:\n%1").arg(describe(result));
            break;
    }
    prompt_.show({text, QStringLiteral("Error"), PromptIcon::Error, PromptButtons::Ok, owner_});
}

void RecordingController::reportStartFailure(const CaptureResult& result) {
    qCDebug(recorderLog) << "run failed:" << describe(result);
    prompt_.show({QStringLiteral("1. Your audio hardware may be used by other program. Please exit "
                                 "other program.\n2. Or your audio hardware has unknown problem. "
                                 "The program can not start recording."),
                  QStringLiteral("Start Recording Error"), PromptIcon::None, PromptButtons::Ok,
                  owner_});
}

void RecordingController::reportIncompleteTake(const CaptureResult& result) {
    qCDebug(recorderLog) << "take incomplete:" << describe(result);
    QString text =
        QStringLiteral("The recording could not be written completely:\n") + describe(result);
    if (result.code() == CaptureError::DiskFull) {
        text += QStringLiteral(
            "\n\nThe disk is full. What was recorded until then is saved and plays; free some "
            "space, or choose an output file on another disk.");
    }
    prompt_.show({text, QStringLiteral("Error"), PromptIcon::Error, PromptButtons::Ok, owner_});
}

// ---- Device events ------------------------------------------------------------------------

void RecordingController::showDeviceNotice(const QString& text, PromptIcon icon) {
    // Events keep arriving while a notice is open (its box runs a modal loop), so a quick unplug
    // and replug would stack "removed" under "reattached". Only the newest state stays on
    // screen: an older device notice still open over the owner (the desktop prompt's boxes are
    // children of their owner) is closed first; its loop ends once the newer box has been
    // answered.
    if (owner_ != nullptr) {
        for (QMessageBox* box : owner_->findChildren<QMessageBox*>()) {
            const QString shown = box->text();
            if (box->isVisible() && (shown == QLatin1String(kDeviceRemovedText) ||
                                     shown == QLatin1String(kDeviceReturnedText))) {
                box->done(QMessageBox::Ok);
            }
        }
    }
    QApplication::beep();
    prompt_.show({text, QString::fromLatin1(kRecorderCaption), icon, PromptButtons::Ok, owner_});
}

void RecordingController::OnGraphEvent() {
    if (!server_) {
        return;
    }
    while (const auto event = server_->takeEvent()) {
        const QString name = QString::fromStdString(event->deviceName);
        switch (event->kind) {
            case capture::DeviceEventKind::Removed:
                OnStop();  // a recording in progress is stopped and its file completed
                emit deviceRemoved(name);
                RemoveWriterFilters();
                ReleaseGraph();
                m_bPaused = false;
                removedDeviceName_ = event->deviceName;
                showDeviceNotice(QString::fromLatin1(kDeviceRemovedText), PromptIcon::Warning);
                break;
            case capture::DeviceEventKind::Returned:
                // Only the device that was removed, and only while the user has not opened
                // another one since.
                if (removedDeviceName_.empty() || event->deviceName != removedDeviceName_) {
                    break;
                }
                m_bPaused = false;
                if (CreateGraph().succeeded()) {
                    emit deviceReturned(name);
                }
                showDeviceNotice(QString::fromLatin1(kDeviceReturnedText), PromptIcon::Information);
                break;
            case capture::DeviceEventKind::Changed:
                emit deviceChanged();
                break;
            case capture::DeviceEventKind::ListChanged:
                emit deviceListChanged();
                break;
            case capture::DeviceEventKind::RecordingFailed:
                OnStop();  // at once: the file keeps what was written and says so
                break;
            case capture::DeviceEventKind::ServerLost:
                onServerLost(event->deviceName);
                return;  // the connection is gone, and its remaining events with it
        }
    }
}

void RecordingController::onServerLost(const std::string& deviceName) {
    OnStop();  // a recording in progress is stopped and its file completed
    const std::string opened = openedDeviceName();
    lostServerDeviceName_ = !opened.empty() ? opened : deviceName;
    RemoveWriterFilters();
    ReleaseGraph();
    m_bPaused = false;
    removedDeviceName_.clear();
    // The broken connection goes now; the next one is made by tryReconnect (or by the user's
    // pick of a device, through CreateGraph).
    server_->setEventNotifier(nullptr);
    server_.reset();
    reconnectTimer_.start();
    emit soundServerLost();
    emit deviceChanged();
    QApplication::beep();
    prompt_.show({QStringLiteral("The sound server was lost! What was recorded until then is "
                                 "saved.\n\nAmbrevo connects to the sound server again as soon "
                                 "as it runs, and opens the same input device."),
                  QString::fromLatin1(kRecorderCaption), PromptIcon::Warning, PromptButtons::Ok,
                  owner_});
}

void RecordingController::tryReconnect() {
    if (server_) {
        reconnectTimer_.stop();
        return;
    }
    CaptureResult connected;
    auto server = capture::AudioServer::connect("Ambrevo", connected, kReconnectAnswerLimit);
    if (!server) {
        return;  // the next tick tries again
    }
    server_ = std::move(server);
    server_->setEventNotifier([this] { emit graphNotify(); });
    reconnectTimer_.stop();
    m_pGB = std::make_unique<RecordingGraph>(*server_);
    if (!lostServerDeviceName_.empty()) {
        // A device that comes after its server (its module still loading) is opened when it
        // arrives, as a removed device's return is; opening it now clears this again.
        server_->watchDevice(lostServerDeviceName_);
        removedDeviceName_ = lostServerDeviceName_;
    }
    emit soundServerReturned(QString::fromStdString(lostServerDeviceName_));
}

}  // namespace recorder
