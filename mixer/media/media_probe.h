#pragma once

#include "editing/core/ref_time.h"
#include "widgets/ports/prompt_port.h"

#include <QString>

#include <optional>

class QWidget;

namespace mixer {

using editing::RefTime;

// The probe used when a video is added: a file that cannot be opened as media is told
// ("Cannot open <path>. You need to install appropriate decoders.\nOr the file is corrupt.",
// caption "Error"); a file that opens but whose length cannot be learned fails without a
// message. Nothing on failure, the length otherwise.
std::optional<RefTime> probeDurationReporting(const QString& path, widgets::PromptPort& prompt,
                                              QWidget* owner = nullptr);

// The probe used when sound files are added: never shows anything. The length, or -1 when the
// file cannot be opened or its length cannot be learned.
RefTime probeDurationSilently(const QString& path);

}  // namespace mixer
