#include "recorder/logic/recording_texts.h"

#include <QDir>

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

QString outputNameForChosenFile(const QString& path) {
    const qsizetype folderEnd = path.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot > folderEnd ? path.left(dot) : path;
    return stem + QStringLiteral(".wav");
}

QString browseInitialFolder(const QString& output) {
    const qsizetype folderEnd = output.lastIndexOf(QLatin1Char('/'));
    if (folderEnd < 0) {
        return QStringLiteral(".");
    }
    return folderEnd == 0 ? QStringLiteral("/") : output.left(folderEnd);
}

QString recordingTargetPath(const QString& editText) {
    if (editText.isEmpty()) {
        return QDir::home().absoluteFilePath(QStringLiteral("record.wav"));
    }
    return editText;
}

}  // namespace recorder
