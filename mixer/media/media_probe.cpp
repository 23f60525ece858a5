#include "mixer/media/media_probe.h"

#include "editing/probe/duration_probe.h"

namespace mixer {

std::optional<RefTime> probeDurationReporting(const QString& path, widgets::PromptPort& prompt,
                                              QWidget* owner) {
    const editing::DurationProbe probe = editing::probeDuration(path.toStdString());
    if (probe.succeeded()) {
        return probe.durationRefTime;
    }
    if (probe.stage == editing::ProbeStage::Open) {
        prompt.tell(QStringLiteral("Cannot open %1. You need to install appropriate decoders.\n"
                                   "Or the file is corrupt.")
                        .arg(path),
                    QStringLiteral("Error"), widgets::PromptIcon::None, owner);
    }
    return std::nullopt;
}

RefTime probeDurationSilently(const QString& path) {
    const editing::DurationProbe probe = editing::probeDuration(path.toStdString());
    return probe.succeeded() ? probe.durationRefTime : -1;
}

}  // namespace mixer
