#pragma once

#include <QString>

#include <cstdint>

namespace recorder {

// Status line texts of the recording states.
QString readyStatusText();
QString recordingStatusText(int elapsedSeconds);
QString pausedStatusText(int elapsedSeconds);

// How long the free space lasts, "2 h 13 min left" or "45 min left" (whole minutes, rounded
// down); a negative count reads as 0.
QString timeLeftText(std::int64_t secondsLeft);
// The time-left notice while recording: empty from an hour on, else timeLeftText.
QString timeLeftNotice(std::int64_t secondsLeft);

// The output name Browse stores for the chosen `path`: the file name's extension replaced by
// ".wav" (widgets::withFileExtension), so every chosen name ends in ".wav".
QString outputNameForChosenFile(const QString& path);

// The folder Browse opens in (widgets::saveDialogStartFolder): `output` up to its last '/', "/"
// for the root folder, or "." when it has none.
QString browseInitialFolder(const QString& output);

// The file a recording goes to: the edit box text, or ~/record.wav (absolute) when it is empty.
QString recordingTargetPath(const QString& editText);

}  // namespace recorder
