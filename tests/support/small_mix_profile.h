#pragma once

// For Qt tests of Orvindel's window: a fresh stored profile for small, quick mixes.

#include <QSettings>
#include <QString>

#include <string>

namespace test_support {

// Clears Orvindel's stored profile and stores an output of `width` x `height` at 25 frames per
// second written to `outputPath`, with every new clip's transition set to "None".
inline void storeSmallMixProfile(const std::string& outputPath, int width, int height) {
    QSettings profile("Korvane", "orvindel");
    profile.clear();
    profile.setValue("Settings/OutputName", QString::fromStdString(outputPath));
    profile.setValue("Settings/OutputWidth", width);
    profile.setValue("Settings/OutputHigh", height);
    profile.setValue("Settings/OutputFrameRateIndex", 2);  // 25 frames per second
    profile.setValue("TransitionSettings/TransitionType", 2);
    profile.setValue("TransitionSettings/TransitionName", 0);  // "None"
    profile.sync();
}

}  // namespace test_support
