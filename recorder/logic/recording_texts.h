#pragma once

#include <QList>
#include <QString>

#include <cstdint>

#include "base/ports/file_picker_port.h"
#include "capture/audio_format.h"

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

// Seconds of recording that `bytesAvailable` on the disk hold for a take written to `path` in
// the format its name asks for (capture::recordingFileFormatFor), captured in `format`; 0 when
// the format makes no bytes.
std::int64_t recordingSecondsLeft(std::uint64_t bytesAvailable, const QString& path,
                                  const capture::AudioFormat& format);

// The output name Browse stores for the chosen `path`: a name ending in one of the compressed
// formats' extensions (".flac", ".opus", ".ogg", any case) is kept as chosen; any other
// extension is replaced by ".wav", and ".wav" is added to a name without one
// (base::withFileExtension).
QString outputNameForChosenFile(const QString& path);

// The filters Browse offers, in order: WAV, FLAC, Opus/Ogg and every file.
QList<base::FileFilter> outputFileFilters();
// The 1-based filter of outputFileFilters() that lists files of `output`'s format.
int outputFileFilterFor(const QString& output);

// The folder Browse opens in (base::saveDialogStartFolder): `output` up to its last '/', "/"
// for the root folder, or "." when it has none.
QString browseInitialFolder(const QString& output);

// The file a recording goes to: the edit box text, or ~/record.wav (absolute) when it is empty.
QString recordingTargetPath(const QString& editText);

}  // namespace recorder
