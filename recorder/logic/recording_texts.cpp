#include "recorder/logic/recording_texts.h"

#include <QDir>
#include <QFile>

#include "base/text/chosen_file_names.h"
#include "base/text/elapsed_time.h"
#include "capture/sample_file_writer.h"

namespace recorder {

QString readyStatusText() {
    return QStringLiteral("Status : Ready");
}

QString recordingStatusText(int elapsedSeconds) {
    return QStringLiteral("Status : Recording audio - Used Time: ") +
           base::formatElapsedTime(elapsedSeconds);
}

QString pausedStatusText(int elapsedSeconds) {
    return QStringLiteral("Status : Paused audio recording - Used Time: ") +
           base::formatElapsedTime(elapsedSeconds);
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

std::int64_t recordingSecondsLeft(std::uint64_t bytesAvailable, const QString& path,
                                  const capture::AudioFormat& format) {
    const double bytesPerSecond = capture::fileBytesPerSecond(
        capture::recordingFileFormatFor(QFile::encodeName(path).toStdString()), format);
    if (bytesPerSecond <= 0.0) {
        return 0;
    }
    return static_cast<std::int64_t>(static_cast<double>(bytesAvailable) / bytesPerSecond);
}

QString outputNameForChosenFile(const QString& path) {
    if (capture::recordingFileFormatFor(QFile::encodeName(path).toStdString()) !=
        capture::RecordingFileFormat::Wav) {
        return path;
    }
    return base::withFileExtension(path, QStringLiteral(".wav"));
}

QList<base::FileFilter> outputFileFilters() {
    return {{QStringLiteral("Wav file"), QStringLiteral("*.wav")},
            {QStringLiteral("FLAC file"), QStringLiteral("*.flac")},
            {QStringLiteral("Opus file"), QStringLiteral("*.opus;*.ogg")},
            {QStringLiteral("All files"), QStringLiteral("*.*")}};
}

int outputFileFilterFor(const QString& output) {
    switch (capture::recordingFileFormatFor(QFile::encodeName(output).toStdString())) {
        case capture::RecordingFileFormat::Flac:
            return 2;
        case capture::RecordingFileFormat::OggOpus:
            return 3;
        case capture::RecordingFileFormat::Wav:
            break;
    }
    return 1;
}

QString browseInitialFolder(const QString& output) {
    return base::saveDialogStartFolder(output);
}

QString recordingTargetPath(const QString& editText) {
    if (editText.isEmpty()) {
        return QDir::home().absoluteFilePath(QStringLiteral("record.wav"));
    }
    return editText;
}

}  // namespace recorder
