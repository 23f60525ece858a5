#include "mixer/media/media_probe.h"

#include "editing/probe/duration_probe.h"

namespace mixer {

ProbeForAdding probeForAdding(const QString& path) {
    const editing::DurationProbe probe = editing::probeDuration(path.toStdString());
    if (probe.succeeded()) {
        return {probe.durationRefTime, {}, probe.hasDecodableVideo, probe.hasDecodableAudio};
    }
    if (probe.stage == editing::ProbeStage::Open) {
        return {std::nullopt, QStringLiteral("Cannot open %1. You need to install appropriate "
                                             "decoders.\nOr the file is corrupt.")
                                  .arg(path)};
    }
    return {std::nullopt, QStringLiteral("Can not get the duration of the clip!")};
}

}  // namespace mixer
