#include "mixer/project/list_view_texts.h"

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

QStringList videoRowTexts(const VideoEntry& entry) {
    return {baseNameText(entry.FileName), secondsText(entry.Duration)};
}

QStringList audioRowTexts(const AudioEntry& entry) {
    return {baseNameText(entry.FileName),
            secondsText(entry.Duration),
            factorText(entry.Volume),
            secondsText(entry.StartTime),
            factorText(entry.Speed),
            entry.Repeat != 0 ? QStringLiteral("Yes") : QStringLiteral("No")};
}

}  // namespace mixer
