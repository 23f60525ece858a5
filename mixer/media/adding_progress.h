#pragma once

#include "mixer/media/media_probe.h"
#include "mixer/media/probe_batch.h"

#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

class QWidget;

namespace mixer {

inline constexpr const char* kAddingProgressTitle = "Adding files";
inline constexpr const char* kAddingProgressObjectName = "addingProgress";

// Probes `paths` on worker threads (ProbeBatch) while the window thread keeps running its
// events, and shows a small non-modal progress dialog over `owner` with the files probed so far
// and a Cancel button: at once for several files, after a moment for one (a slow network file).
// Returns the probes in the order of `paths` when all are done; nothing when the user pressed
// Cancel, or called `cancelRunning`, which is set for as long as the call runs (and cleared
// before it returns). Window thread only; returns only when done or cancelled, so the caller's
// flow reads as before, but other events (timers, painting, the window's own controls) run
// meanwhile.
std::optional<std::vector<ProbeForAdding>> probeWithProgress(const QStringList& paths,
                                                             const ProbeBatch::Probe& probe,
                                                             QWidget* owner,
                                                             std::function<void()>& cancelRunning);

}  // namespace mixer
