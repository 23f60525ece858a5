#pragma once

#include <QDialog>
#include <QPixmap>
#include <QString>
#include <QTimer>

#include <memory>
#include <optional>
#include <string>

#include "capture/audio_server.h"
#include "recorder/graph/recording_graph.h"
#include "recorder/logic/capture_values.h"
#include "widgets/command_table.h"
#include "widgets/dialog_controls.h"

class QComboBox;
class QLineEdit;
class QSlider;

namespace widgets {
class FilePickerPort;
class LauncherPort;
class PromptPort;
}  // namespace widgets

namespace recorder {

class HintPresenter;

// Everything the window shows or starts outside itself; all must outlive the window.
struct RecorderPorts {
    widgets::PromptPort& prompt;
    widgets::FilePickerPort& filePicker;
    widgets::LauncherPort& launcher;
    HintPresenter& hint;
};

// Ambrevo's main window (template 102): devices and input lines, the level slider, Record /
// Pause / Stop with the elapsed-time status line, the output file with Browse and Play, Help,
// Homepage and About. Device events of the sound server reach it as the queued signal
// graphNotify(), which OnGraphEvent drains on the window's thread.
//
// Lifetime: initialisation runs in the constructor; when the server or every capture device is
// missing it ends the window as soon as the event loop runs (startUpFailed()). A close request
// runs the shut-down sequence and saves the settings; Enter and Esc end the window without it.
class RecorderWindow : public QDialog {
    Q_OBJECT
  public:
    RecorderWindow(CaptureValues& values, RecorderPorts ports, QWidget* parent = nullptr);
    ~RecorderWindow() override;

    bool startUpFailed() const { return m_bStartUpFailed; }
    const widgets::DialogControls& controls() const { return controls_; }
    const widgets::CommandTable& commands() const { return commands_; }

    bool isActive() const { return m_bActive; }
    bool isPaused() const { return m_bPaused; }
    int elapsedSeconds() const { return m_nElapsed; }
    const QString& outputFile() const { return m_strOutput; }
    bool hintOff() const { return m_bHintOff; }
    QString statusText() const;
    RecordingGraph* graph() const { return m_pGB.get(); }

    // Handlers of the command table, public so that tests can run them as the table does.
    void OnRecord();
    void OnPause();
    void OnStop();
    void OnPlay();
    void OnBrowse();
    void OnHelp();
    void OnHomepage();
    void OnAbout();
    void OnRecordTimer();
    void OnGraphEvent();
    void OpenSelectedDevice();
    void OnSelectLine();
    void ApplyVolume(double level);

  signals:
    // Emitted on the sound server's thread when a device event is queued; connected queued.
    void graphNotify();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  public slots:
    void done(int result) override;

  private:
    int StartDevices();
    int EnumerateDevices();
    int FillInputLines();
    std::optional<capture::InputLine> GetPin(int lineIndex) const;
    void ApplyLineSelection();
    int CreateGraph();
    void ReleaseGraph();
    void ResetGraphMembers();
    int BuildRecordingChain();
    void RemoveWriterFilters();

    void showHintUnlessOff();
    void emptyLists();
    void finalRelease();
    void setUpButtons();
    void wireCommands();
    void setStatus(const QString& text);
    // The Ready state: Record, Pause, Stop and Play all enabled.
    void enableEveryRecordingButton();
    // The graph would not run (a busy or vanished device): the "Start Recording Error" box.
    void reportStartFailure(const std::string& error);
    // A take that is not what the user heard (a full disk ...) is said so, at Stop and at a
    // close request, rather than ending quietly.
    void reportIncompleteTake(const std::string& writeError);
    void refreshMutedWarning();
    void showInputLevel();
    QString openedDeviceName() const;

    QComboBox& deviceList() const;
    QComboBox& inputLineList() const;
    QSlider& volumeSlider() const;
    QLineEdit& outputEdit() const;

    CaptureValues& values_;
    RecorderPorts ports_;
    widgets::DialogControls controls_;
    widgets::CommandTable commands_;
    QPixmap backgroundTile_;
    QTimer RecordTimer;
    QTimer levelTimer_;

    std::unique_ptr<capture::AudioServer> m_server;  // lives from the first CreateGraph to destroy
    std::unique_ptr<RecordingGraph> m_pGB;
    QString m_strOutput;
    bool m_bPaused = false;
    int m_nElapsed = 0;
    bool m_bActive = false;
    bool m_bHintOff = false;
    bool m_bStartUpFailed = false;
    bool m_bReleased = false;
};

}  // namespace recorder
