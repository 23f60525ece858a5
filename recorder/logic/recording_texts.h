#pragma once

#include <QString>

namespace recorder {

// Status line texts of the recording states.
QString readyStatusText();
QString recordingStatusText(int elapsedSeconds);
QString pausedStatusText(int elapsedSeconds);

// The output name Browse stores for the chosen `path`: its extension (from the last '.' of the
// file-name part, if any) replaced by ".wav", so every chosen name ends in ".wav".
QString outputNameForChosenFile(const QString& path);

// The folder Browse opens in: `output` up to its last '/', or "." when it has none.
QString browseInitialFolder(const QString& output);

// The file a recording goes to: the edit box text, or ~/record.wav (absolute) when it is empty.
QString recordingTargetPath(const QString& editText);

}  // namespace recorder
