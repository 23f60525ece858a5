#pragma once

#include <QDialog>
#include <QPixmap>
#include <QString>
#include <QTimer>

#include <optional>

#include "recorder/logic/capture_values.h"
#include "recorder/logic/recorder_start_values.h"
#include "recorder/recording/recording_controller.h"
#include "recorder/window/captioned_prompt.h"
#include "recorder/window/capture_selection.h"
#include "widgets/command_table.h"
#include "widgets/dialog_controls.h"

class QComboBox;
class QLineEdit;
class QSlider;

namespace base {
class FilePickerPort;
class LauncherPort;
class PromptPort;
}  // namespace base

namespace recorder {

class HintPresenter;

// Everything the window shows or starts outside itself; all must outlive the window.
struct RecorderPorts {
    base::PromptPort& prompt;
    base::FilePickerPort& filePicker;
    base::LauncherPort& launcher;
    HintPresenter& hint;
};

// Ambrevo's main window (template 102): devices and input lines, the level slider, Record /
// Pause / Stop with the elapsed-time status line, the output file with Browse and Play, Help,
// Homepage and About. The recording states, the graph and the device events belong to its
// RecordingController, the device and line lists with the slider to its CaptureSelection; the
// window builds the controls, wires them and turns the controller's signals into buttons and
// texts.
//
// Lifetime: initialisation runs in the constructor over the values the application's start-up
// read; when the server or every capture device is missing it ends the window as soon as the
// event loop runs (startUpFailed()). A close request runs the shut-down sequence and reports the
// values to keep (closeRequested); Enter and Esc end the window without either. The window reads
// and writes no profile.
class RecorderWindow : public QDialog {
    Q_OBJECT
  public:
    // `start` outlives the window, which changes its capture values as devices and lines are
    // chosen.
    RecorderWindow(RecorderStartValues& start, RecorderPorts ports, QWidget* parent = nullptr);
    ~RecorderWindow() override;

    bool startUpFailed() const { return m_bStartUpFailed; }
    const widgets::DialogControls& controls() const { return controls_; }
    const widgets::CommandTable& commands() const { return commands_; }

    RecordingController& controller() { return controller_; }
    bool isActive() const { return controller_.isActive(); }
    bool isPaused() const { return controller_.isPaused(); }
    int elapsedSeconds() const { return controller_.elapsedSeconds(); }
    const QString& outputFile() const { return m_strOutput; }
    bool hintOff() const { return selection_.m_bHintOff; }
    QString statusText() const;
    RecordingGraph* graph() const { return controller_.graph(); }

    // Handlers of the command table, public so that tests can run them as the table does.
    void OnRecord();
    void OnPlay();
    void OnBrowse();
    void OnHelp();
    void OnHomepage();
    void OnAbout();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  public slots:
    void done(int result) override;

  signals:
    // A name chosen with Browse, already shown in the output field.
    void outputFileChosen(const QString& path);
    // A close request ended a running take and released the devices; `values` and `outputFile`
    // are what the next run starts with.
    void closeRequested(const recorder::CaptureValues& values, const QString& outputFile);

  private:
    void refreshMutedWarning();
    void showInputLevel();
    void showTimeLeft(const QString& text);
    void ResetGraphMembers();
    void finalRelease();
    void setUpButtons();
    // Names the controls without a caption and ties the captions to their controls.
    void tieLabels();
    // Places the window where showing it would, before anything is shown over it.
    void placeAsShown();
    // Gives the status line room for its text clear of its frame, at every scale.
    void fitStatusLine();
    void wireCommands();
    void connectController();
    void setStatus(const QString& text);
    // Record, Pause, Stop and Play as the state's row of the state table says.
    void showState(RecordingState state);
    void onDeviceRemoved();
    void onDeviceReturned(const QString& deviceName);

    QComboBox& inputLineList() const;
    QSlider& volumeSlider() const;
    QLineEdit& outputEdit() const;

    CaptureValues& values_;
    RecorderPorts ports_;
    CaptionedPrompt prompt_;  // ports_.prompt with the program's caption; before its users
    widgets::DialogControls controls_;
    widgets::CommandTable commands_;
    QPixmap backgroundTile_;
    QTimer levelTimer_;
    RecordingController controller_;
    CaptureSelection selection_;
    QString m_strOutput;
    bool m_bStartUpFailed = false;
    bool m_bReleased = false;
};

}  // namespace recorder
