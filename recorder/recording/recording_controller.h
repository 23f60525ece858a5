#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>
#include <string>

#include "base/ports/prompt_port.h"
#include "capture/audio_server.h"
#include "capture/capture_result.h"
#include "recorder/graph/recording_graph.h"

class QWidget;

namespace base {
class PromptPort;
}  // namespace base

namespace recorder {

enum class RecordingState { Ready, Recording, Paused };

// Caption of the device notices and of the no-server message: the program's own name.
inline constexpr const char* kRecorderCaption = "Ambrevo";
inline constexpr const char* kDeviceRemovedText = "The selected input device was removed!";
inline constexpr const char* kDeviceReturnedText = "The audio input device has been reattached!";

// A file counts as present when it can be opened for reading; anything else counts as absent.
bool outputFileExists(const QString& path);

// Ambrevo's recording logic, without a window: the sound-server connection and the graph
// (RecordingGraph), the states Ready / Recording / Paused with the Record, Pause and Stop rules,
// the elapsed count of RecordTimer, and the device events (removal, return, changes, a take
// that cannot be written). What the user must hear of goes through the prompt port; what the
// window shows is announced by the signals below.
//
// States: Ready (m_bActive 0), Recording (m_bActive 1, m_bPaused 0), Paused (both 1). Pause
// and Stop in Ready change nothing, not even the status.
//
// Threading: the window's thread only, except graphNotify(), which the server thread emits
// (connect it queued to OnGraphEvent; the constructor does). The prompt port and the owner
// window outlive this object; destroying it completes a take still being written.
class RecordingController : public QObject {
    Q_OBJECT
  public:
    RecordingController(base::PromptPort& prompt, QWidget* owner = nullptr);
    ~RecordingController() override;

    // ---- The graph and the server connection --------------------------------------------
    // Connects to the sound server when there is no connection (the first call, or after the
    // server was lost) and makes a fresh, empty graph. Fails with NoServer.
    capture::CaptureResult CreateGraph();
    // Drops the graph (a take still being written is completed); the connection stays.
    void ReleaseGraph();
    // Drops the current take's writer (completing its file); the opened device stays.
    void RemoveWriterFilters();
    RecordingGraph* graph() const { return m_pGB.get(); }
    capture::AudioServer* server() const { return server_.get(); }
    // The opened device's server name; empty when none is open.
    std::string openedDeviceName() const;

    // Opens `deviceName` as the graph's capture device: an opened device goes with its graph
    // (its take is completed) and a fresh graph is made when there is none (after a removal).
    // Device events concern this device from now on. False when the device is not there.
    [[nodiscard]] bool openDevice(const std::string& deviceName);

    // ---- Recording states ----------------------------------------------------------------
    // Record: resumes a paused take; otherwise asks before replacing an existing output file
    // (the edit box text `outputText`, or ~/record.wav when it is empty), builds the recording
    // chain and runs it. Every failure says what went wrong and what to do.
    void OnRecord(const QString& outputText);
    void OnPause();
    void OnStop();
    // One RecordTimer tick: one more second recorded.
    void OnRecordTimer();
    // The close request's stop: the take is completed (and a failed write reported) and the
    // graph released, without the Ready transition; the window ends next.
    void stopBeforeClose();

    RecordingState state() const;
    bool isActive() const { return m_bActive; }
    bool isPaused() const { return m_bPaused; }
    int elapsedSeconds() const { return m_nElapsed; }
    const QTimer& recordTimer() const { return RecordTimer; }

    // ---- Device events -------------------------------------------------------------------
    // Drains the server's device events, in order.
    void OnGraphEvent();
    // True from the loss of the sound server until a connection to it works again.
    bool serverLost() const { return reconnectTimer_.isActive(); }
    // While the server is lost: one attempt to connect again (the reconnect timer's tick).
    void tryReconnect();

  signals:
    // Emitted on the sound server's thread whenever an event is queued.
    void graphNotify();
    // The recording state changed (the window enables its buttons by it).
    void stateChanged(recorder::RecordingState state);
    void statusChanged(const QString& text);
    // Free space on the output's disk as recording time, "45 min left"; empty when there is an
    // hour or more (or nothing is being recorded).
    void timeLeftChanged(const QString& text);
    // The opened device went away: its take is completed, its graph released next.
    void deviceRemoved(const QString& deviceName);
    // The removed device is back and a fresh graph is ready: the window lists the devices again
    // and opens this one.
    void deviceReturned(const QString& deviceName);
    // A device was opened, or the opened device's volume, mute state or active line changed.
    void deviceChanged();
    // A capture device appeared or went: the device list is to be read again.
    void deviceListChanged();
    // The sound server went away: its take is completed, graph and connection are gone; the
    // lists are to be emptied. Reconnection attempts run from now on.
    void soundServerLost();
    // The server answers again and a fresh graph is ready: the window lists the devices again
    // and opens `deviceName` (the device open when the server went; empty for none).
    void soundServerReturned(const QString& deviceName);

  private:
    capture::CaptureResult BuildRecordingChain(const QString& target);
    void startRecordTimer();
    void showTimeLeft();
    void reportChainFailure(const capture::CaptureResult& result);
    void reportStartFailure(const capture::CaptureResult& result);
    void reportIncompleteTake(const capture::CaptureResult& result);
    // Beeps and shows a device notice (removed or reattached) in place of one still open.
    void showDeviceNotice(const QString& text, base::PromptIcon icon);
    void postStop();
    void onServerLost(const std::string& deviceName);

    base::PromptPort& prompt_;
    QWidget* owner_;
    std::unique_ptr<capture::AudioServer> server_;  // from the first CreateGraph on
    std::unique_ptr<RecordingGraph> m_pGB;
    QTimer RecordTimer;
    bool m_bPaused = false;
    int m_nElapsed = 0;
    bool m_bActive = false;
    // The server name of the opened device that was removed, until it returns or the user opens
    // a device; empty otherwise. Kept in memory only (the settings keep their list position).
    std::string removedDeviceName_;
    // Runs while the server is lost: each tick tries to connect once. A missing server refuses
    // a connection at once, so a tick never holds the window up for long.
    QTimer reconnectTimer_;
    std::string lostServerDeviceName_;  // the device open when the server went
};

}  // namespace recorder
