#pragma once

#include "editing/core/ref_time.h"

#include <QString>

#include <optional>

namespace mixer {

using editing::RefTime;

// The probe of a video being added: its length, or the one text that tells why there is none
// ("Cannot open ..." when the file cannot be opened, "Can not get the duration of the clip!"
// when it opens but its length cannot be learned).
struct ProbeForAdding {
    std::optional<RefTime> duration;
    QString failureText;
    bool hasPicture = false;  // a decodable video stream (cover art is none)
    bool hasSound = false;    // a decodable audio stream
};
ProbeForAdding probeForAdding(const QString& path);

}  // namespace mixer
