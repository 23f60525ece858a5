#include "mixer/project/list_view_texts.h"

#include "editing/transitions/transition_catalog.h"

#include <QFileInfo>

namespace mixer {

QString secondsText(RefTime time) {
    return QString::asprintf(
        "%.3f", static_cast<double>(time) / static_cast<double>(editing::kRefTimePerSecond));
}

QString factorText(double factor) {
    return QString::asprintf("%.3f", factor);
}

QString baseNameText(const std::string& path) {
    return QFileInfo(QString::fromStdString(path)).fileName();
}

QString transitionText(int transitionEffect, RefTime transitionDuration) {
    if (transitionEffect == 0) {
        return QStringLiteral("None");
    }
    const std::string_view name = editing::transitionEffectName(transitionEffect);
    const QString shown = name.empty() ? QStringLiteral("Effect %1").arg(transitionEffect)
                                       : QString::fromUtf8(name.data(), name.size());
    return QStringLiteral("%1, %2 s").arg(shown, secondsText(transitionDuration));
}

QStringList videoRowTexts(const VideoEntry& entry) {
    return {baseNameText(entry.FileName), secondsText(playedDurationRefTime(entry)),
            transitionText(entry.TransitionEffect, entry.TransitionDuration)};
}

QStringList audioRowTexts(const AudioEntry& entry) {
    return {baseNameText(entry.FileName),
            secondsText(playedDurationRefTime(entry)),
            factorText(entry.Volume),
            secondsText(entry.StartTime),
            factorText(entry.Speed),
            entry.Repeat != 0 ? QStringLiteral("Yes") : QStringLiteral("No")};
}

}  // namespace mixer
