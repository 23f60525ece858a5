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
