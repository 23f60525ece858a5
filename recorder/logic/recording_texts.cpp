#include "recorder/logic/recording_texts.h"

#include <QDir>

#include "widgets/chosen_file_names.h"
#include "widgets/elapsed_time.h"

namespace recorder {

QString readyStatusText() {
    return QStringLiteral("Status : Ready");
}

QString recordingStatusText(int elapsedSeconds) {
    return QStringLiteral("Status : Recording audio - Used Time: ") +
           widgets::formatElapsedTime(elapsedSeconds);
}

QString pausedStatusText(int elapsedSeconds) {
    return QStringLiteral("Status : Paused audio recording - Used Time: ") +
           widgets::formatElapsedTime(elapsedSeconds);
}

QString timeLeftText(std::int64_t secondsLeft) {
    const std::int64_t minutes = secondsLeft > 0 ? secondsLeft / 60 : 0;
    if (minutes >= 60) {
        return QStringLiteral("%1 h %2 min left").arg(minutes / 60).arg(minutes % 60);
    }
    return QStringLiteral("%1 min left").arg(minutes);
}

QString timeLeftNotice(std::int64_t secondsLeft) {
    return secondsLeft >= 3600 ? QString() : timeLeftText(secondsLeft);
}

QString outputNameForChosenFile(const QString& path) {
    return widgets::withFileExtension(path, QStringLiteral(".wav"));
}

QString browseInitialFolder(const QString& output) {
    return widgets::saveDialogStartFolder(output);
}

QString recordingTargetPath(const QString& editText) {
    if (editText.isEmpty()) {
        return QDir::home().absoluteFilePath(QStringLiteral("record.wav"));
    }
    return editText;
}

}  // namespace recorder
