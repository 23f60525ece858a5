#pragma once

#include <QString>

namespace recorder {

// Status line texts of the recording states.
QString readyStatusText();
QString recordingStatusText(int elapsedSeconds);
QString pausedStatusText(int elapsedSeconds);

// The output name Browse stores for the chosen `path`: the file name's extension replaced by
// ".wav" (widgets::withFileExtension), so every chosen name ends in ".wav".
QString outputNameForChosenFile(const QString& path);

// The folder Browse opens in (widgets::saveDialogStartFolder): `output` up to its last '/', "/"
// for the root folder, or "." when it has none.
QString browseInitialFolder(const QString& output);

// The file a recording goes to: the edit box text, or ~/record.wav (absolute) when it is empty.
QString recordingTargetPath(const QString& editText);

}  // namespace recorder
