#include "recorder/window/capture_selection.h"

#include "base/ports/prompt_port.h"
#include "recorder/logic/input_line_rules.h"
#include "recorder/recording/recording_controller.h"
#include "recorder/window/recorder_dialogs.h"
#include "recorder/window/recorder_templates.h"

#include <QComboBox>
#include <QSlider>

namespace recorder {

using base::PromptButtons;
using base::PromptIcon;

CaptureSelection::CaptureSelection(const widgets::DialogControls& controls, CaptureValues& values,
                                   RecordingController& controller, base::PromptPort& prompt,
                                   HintPresenter& hint, QWidget* owner)
    : controls_(controls),
      values_(values),
      controller_(controller),
      prompt_(prompt),
      hint_(hint),
      owner_(owner) {}

QComboBox& CaptureSelection::deviceList() const {
    return controls_.get<QComboBox>(control::kDeviceList);
}
QComboBox& CaptureSelection::inputLineList() const {
    return controls_.get<QComboBox>(control::kInputLineList);
}
QSlider& CaptureSelection::volumeSlider() const {
    return controls_.get<QSlider>(control::kVolume);
}

int CaptureSelection::StartDevices() {
    capture::AudioServer* server = controller_.server();
    if (server == nullptr || !server->isConnected()) {
        return -1;
    }
    const int result = EnumerateDevices();
    if (result < 0) {
        return result;
    }
    if (result == 1) {
        prompt_.show(
            {QStringLiteral(
                 "There were no audio capture devices detected on this system.\r\n\r\nIf your "
                 "system has an audio capture device (sound card, video camera, etc.),\r\nthen "
                 "make sure that it is working properly and that the sound server\r\n(PulseAudio, "
                 "or PipeWire with its PulseAudio service) offers it as a capture source."
                 "\r\n\r\nThis program will now exit."),
             QStringLiteral("No audio capture hardware!"), PromptIcon::Error, PromptButtons::Ok,
             owner_});
        return -1;
    }
    // A remembered device beyond the list (unplugged since) opens the first device instead.
    const int index =
        values_.nSoundCaptureIndex < deviceList().count() ? values_.nSoundCaptureIndex : 0;
    deviceList().setCurrentIndex(index);
    OpenSelectedDevice();
    return 0;
}

int CaptureSelection::EnumerateDevices() {
    const std::vector<capture::CaptureDevice> devices = controller_.server()->listDevices();
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

void CaptureSelection::OpenSelectedDevice() {
    if (!controller_.openedDeviceName().empty()) {
        inputLineList().clear();
    }
    values_.nSoundCaptureIndex = deviceList().currentIndex();
    if (!controller_.openDevice(deviceList().currentData().toString().toStdString())) {
        // The device went between the list's refresh and the pick: a take in progress was
        // completed with the old graph, so the window returns to Ready and shows what is left.
        controller_.OnStop();
        refreshDeviceList();
        return;
    }
    if (FillInputLines() < 0) {
        return;
    }
    inputLineList().setCurrentIndex(values_.nCapturePinIndex);
    OnSelectLine();
}

int CaptureSelection::FillInputLines() {
    inputLineList().clear();
    const RecordingGraph* graph = controller_.graph();
    if (graph == nullptr || !graph->captureDevice()) {
        return -1;
    }
    QStringList names;
    for (const capture::InputLine& line : graph->captureDevice()->lines) {
        names << QString::fromStdString(line.description);
    }
    inputLineList().addItems(names);
    chooseInputLine(names, values_);
    return 0;
}

std::optional<capture::InputLine> CaptureSelection::GetPin(int lineIndex) const {
    const RecordingGraph* graph = controller_.graph();
    if (graph == nullptr || !graph->captureDevice()) {
        return std::nullopt;
    }
    const auto& lines = graph->captureDevice()->lines;
    if (lineIndex < 0 || lineIndex >= static_cast<int>(lines.size())) {
        return std::nullopt;
    }
    return lines[static_cast<std::size_t>(lineIndex)];
}

void CaptureSelection::OnSelectLine() {
    showHintUnlessOff();
    controller_.OnStop();
    ApplyLineSelection();
}

void CaptureSelection::ApplyLineSelection() {
    const int selected = inputLineList().currentIndex();
    values_.nCapturePinIndex = selected;
    const auto line = GetPin(selected);
    if (!line) {
        return;  // no line chosen: the slider keeps its position
    }
    capture::AudioServer& server = *controller_.server();
    const std::string device = controller_.openedDeviceName();
    static_cast<void>(
        server.setActiveLine(device, line->name));  // a gone device: its event follows
    const auto current = server.device(device);
    volumeSlider().setValue(sliderPositionFromLevel(current ? current->level : 0.0));
}

void CaptureSelection::ApplyVolume(double level) {
    const int selected = inputLineList().currentIndex();
    values_.nCapturePinIndex = selected;
    const auto line = GetPin(selected);
    if (!line) {
        return;
    }
    capture::AudioServer& server = *controller_.server();
    const std::string device = controller_.openedDeviceName();
    // A device that went meanwhile is reported by its removal event.
    static_cast<void>(server.setLevel(device, level));
    static_cast<void>(server.setActiveLine(device, line->name));
}

void CaptureSelection::onVolumeAction() {
    if (volumeSlider().isSliderDown()) {
        return;  // a drag writes once, when the thumb is released
    }
    // The action has moved the position already; the value follows after this signal.
    ApplyVolume(levelFromSliderPosition(volumeSlider().sliderPosition()));
}

void CaptureSelection::followDeviceLevel() {
    capture::AudioServer* server = controller_.server();
    const std::string opened = controller_.openedDeviceName();
    if (server == nullptr || opened.empty() || volumeSlider().isSliderDown()) {
        return;
    }
    if (const auto device = server->device(opened)) {
        // setValue triggers no slider action, so nothing is written back.
        volumeSlider().setValue(sliderPositionFromLevel(device->level));
    }
}

void CaptureSelection::refreshDeviceList() {
    capture::AudioServer* server = controller_.server();
    if (server == nullptr) {
        return;
    }
    const std::string opened = controller_.openedDeviceName();
    const std::vector<capture::CaptureDevice> devices = server->listDevices();
    deviceList().clear();
    int openedIndex = -1;
    for (const capture::CaptureDevice& device : devices) {
        if (device.name == opened) {
            openedIndex = deviceList().count();
        }
        deviceList().addItem(QString::fromStdString(device.description),
                             QString::fromStdString(device.name));
    }
    deviceList().setCurrentIndex(openedIndex);  // the program's change: opens nothing
    values_.nDeviceCount = static_cast<int>(devices.size());
    if (openedIndex >= 0) {
        values_.nSoundCaptureIndex = openedIndex;  // the same device at its new position
    }
    const bool choice = devices.size() > 1 || (openedIndex < 0 && !devices.empty());
    deviceList().setVisible(choice);
    controls_.get(control::kDeviceMarker).setVisible(choice);
}

void CaptureSelection::showDeviceRemoved() {
    inputLineList().clear();
    refreshDeviceList();  // the other devices stay, none selected: the user may choose one
}

void CaptureSelection::openReturnedDevice(const QString& deviceName) {
    refreshDeviceList();
    // The device of that name, wherever the list has put it now.
    const int index = deviceList().findData(deviceName);
    if (index >= 0) {
        deviceList().setCurrentIndex(index);
        OpenSelectedDevice();
    }
}

void CaptureSelection::showHintUnlessOff() {
    if (m_bHintOff) {
        return;
    }
    if (const auto checked = hint_.showHint(owner_)) {
        m_bHintOff = *checked;
    }
}

void CaptureSelection::emptyLists() {
    deviceList().clear();
    inputLineList().clear();
}

}  // namespace recorder
