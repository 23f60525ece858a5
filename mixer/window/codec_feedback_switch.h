#pragma once

#include <QString>

namespace mixer {

enum class CodecFeedbackOutcome {
    Switched,      // the value existed and its first byte is now 1
    ValueMissing,  // nothing was written
    ValueTooLong,  // longer than 260 bytes: left as it is
};

// Turns off the feedback prompt of an installed MPEG-4 codec: when the codec's settings
// (QSettings of `organisation` / `application`) hold "Disable feedback", its first byte
// becomes 1 and the value is written back with its own type and length: an integer keeps its
// higher bytes (0 -> 1, 0x0200 -> 0x0201), a text or byte value gets the byte 1 in front of
// its second byte. An empty value stays empty. Nothing is created when the value is absent.
CodecFeedbackOutcome switchOffCodecFeedback(const QString& organisation = "DivXNetworks",
                                            const QString& application = "DivX4Windows");

}  // namespace mixer
