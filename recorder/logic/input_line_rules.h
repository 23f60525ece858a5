#pragma once

#include <QString>
#include <QStringList>

#include "recorder/logic/capture_values.h"

namespace recorder {

inline constexpr int kSliderMaximum = 200;

// The first-use microphone search over the input lines of the device being opened, in list
// order. Only while `values.nSearchFlag` is 0: the first line whose name contains
// "microphone" (compared lower-cased) becomes `nCapturePinIndex`. Afterwards the flag is 1
// whether or not a line matched, so the search never runs again and the remembered line is used
// as it is, also for another device.
void searchMicrophoneLine(const QStringList& lineNames, CaptureValues& values);

// The line to open on a device with `lineNames`: the remembered `nCapturePinIndex` when that
// line exists; otherwise (a remembered line beyond this device's lines) the microphone search
// decides as on first use, and without a "microphone" line the first line is chosen. Runs
// searchMicrophoneLine on first use either way.
void chooseInputLine(const QStringList& lineNames, CaptureValues& values);

// Slider 0..200 <-> the line's level 0.0..1.0: level = position * 0.005; position = level * 200
// truncated toward zero.
double levelFromSliderPosition(int position);
int sliderPositionFromLevel(double level);

}  // namespace recorder
