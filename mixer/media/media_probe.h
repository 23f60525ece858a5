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
};
ProbeForAdding probeForAdding(const QString& path);

// The probe used when sound files are added: never shows anything. The length, or -1 when the
// file cannot be opened or its length cannot be learned.
RefTime probeDurationSilently(const QString& path);

}  // namespace mixer
