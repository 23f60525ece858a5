#include "recorder/logic/input_line_rules.h"

#include <cmath>

namespace recorder {

void searchMicrophoneLine(const QStringList& lineNames, CaptureValues& values) {
    if (values.nSearchFlag == 0) {
        for (int index = 0; index < lineNames.size(); ++index) {
            if (lineNames[index].toLower().contains(QStringLiteral("microphone"))) {
                values.nCapturePinIndex = index;
                break;
            }
        }
    }
    values.nSearchFlag = 1;
}

void chooseInputLine(const QStringList& lineNames, CaptureValues& values) {
    if (values.nCapturePinIndex < 0 || values.nCapturePinIndex >= lineNames.size()) {
        values.nCapturePinIndex = 0;
        values.nSearchFlag = 0;
    }
    searchMicrophoneLine(lineNames, values);
}

double levelFromSliderPosition(int position) {
    return position * 0.005;
}

int sliderPositionFromLevel(double level) {
    return static_cast<int>(std::trunc(level * kSliderMaximum));
}

}  // namespace recorder
