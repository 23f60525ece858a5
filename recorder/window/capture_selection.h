#pragma once

#include <QString>

#include <optional>

#include "capture/capture_device.h"
#include "recorder/logic/capture_values.h"
#include "widgets/dialog_controls.h"

class QComboBox;
class QSlider;
class QWidget;

namespace base {
class PromptPort;
}  // namespace base

namespace recorder {

class HintPresenter;
class RecordingController;

// The device list (1009), the input-line list (1011) and the volume slider (1038) of the main
// window, and the rules behind them: which device is opened and by which rule (remembered
// position at start-up, name on a return, the user's choice), which line (the microphone
// search), and the level the slider writes. The lists follow the devices the server offers.
//
// Everything here runs on the window's thread. The controls (looked up by id in `controls`),
// the values, the controller, the ports and `owner` outlive this object.
class CaptureSelection {
  public:
    CaptureSelection(const widgets::DialogControls& controls, CaptureValues& values,
                     RecordingController& controller, base::PromptPort& prompt, HintPresenter& hint,
                     QWidget* owner);

    // Lists the devices and opens the remembered one; negative (after its message when there is
    // no device at all) when the program cannot go on.
    [[nodiscard]] int StartDevices();
    // The device list's selection changed: opens the selected device and its line.
    void OpenSelectedDevice();
    // The input-line list's selection changed: the hint rule, Stop, the line's level.
    void OnSelectLine();
    // Writes `level` (0.0 - 1.0) to the chosen line of the opened device.
    void ApplyVolume(double level);
    // A user's slider action (groove click, wheel, key): writes the level it leads to; a drag
    // writes once, at its release (the command table's SliderReleased).
    void onVolumeAction();
    // Shows the opened device's level as the server has it now (another program may have
    // changed it), so that the next key step starts from there. Writes nothing; a thumb the
    // user holds is left alone.
    void followDeviceLevel();

    // Reads the device list again, keeping the opened device's entry selected (none when no
    // device is open); the list is shown while there is a choice to make.
    void refreshDeviceList();
    // After the opened device went: no lines, the other devices listed, none selected.
    void showDeviceRemoved();
    // The removed device `deviceName` is back: lists it again and opens it by its name.
    void openReturnedDevice(const QString& deviceName);
    void emptyLists();

    // The hint rule's switch: no hint while true (start-up sets it, the hint's check box too).
    bool m_bHintOff = false;

  private:
    [[nodiscard]] int EnumerateDevices();
    [[nodiscard]] int FillInputLines();
    std::optional<capture::InputLine> GetPin(int lineIndex) const;
    void ApplyLineSelection();
    void showHintUnlessOff();

    QComboBox& deviceList() const;
    QComboBox& inputLineList() const;
    QSlider& volumeSlider() const;

    const widgets::DialogControls& controls_;
    CaptureValues& values_;
    RecordingController& controller_;
    base::PromptPort& prompt_;
    HintPresenter& hint_;
    QWidget* owner_;
};

}  // namespace recorder
