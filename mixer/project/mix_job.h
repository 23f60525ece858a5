#pragma once

#include "editing/core/ref_time.h"

#include <string>
#include <vector>

namespace mixer {

using editing::RefTime;

// The whole project lives in memory in one MixJob owned by the main window; nothing of it is
// saved. Member names follow the project's established vocabulary (FileName, Duration, ...),
// which the settings keys, messages and documentation share. All times are RefTime (100 ns).

// Most entries a list holds. An add at the limit is refused; a mix refuses more.
inline constexpr int kMaxListEntries = 1000;

struct VideoEntry {
    std::string FileName;      // full path as chosen by the user (UTF-8)
    RefTime Duration = 0;      // whole length of the clip, probed when added
    int TransitionEffect = 0;  // row of the effect catalogue, 0 = "None"
    RefTime TransitionDuration = 0;
    // The span of the file that plays: [InPoint, OutPoint) in file time. OutPoint 0 means
    // "to the end of the file" (Duration), so an untrimmed entry needs neither set.
    RefTime InPoint = 0;
    RefTime OutPoint = 0;
};

struct AudioEntry {
    std::string FileName;
    RefTime Duration = 0;
    RefTime StartTime = 0;  // where the clip begins on the output time line
    double Volume = 1.0;    // gain factor, 0 - 100
    double Speed = 1.0;     // playback rate factor
    int Repeat = 0;         // 0 = "No", 1 = "Yes"
    // The span of the file that plays, as for VideoEntry; OutPoint 0 = to the end of the file.
    RefTime InPoint = 0;
    RefTime OutPoint = 0;
};

// How a new video entry gets its transition: TransitionType 0 random, 1 sequence, 2 same.
// Set at start-up from the profile and by the transition defaults dialog.
struct TransitionDefaults {
    int TransitionDuration = 0;  // whole seconds
    int TransitionType = 0;
    int TransitionName = 0;  // the effect that "same" uses
    // How the mix places the clips' pictures: false (the default) starts the video cursor half
    // the first transition before 0, true starts it at 0 so each clip's picture starts with
    // its own companion sound. Read when a mix is built, so it applies to the next mix.
    bool ClipSoundInStep = false;
};

// Where the output's frame size comes from: OutputWidth x OutputHigh, or the first listed
// clip's picture as a player shows it (rotation applied), learned when a mix starts.
enum class OutputSizeSource { Chosen, FirstClip };

struct OutputSettings {
    std::string OutputName;  // full path of the AVI file to write
    int OutputWidth = 352;
    int OutputHigh = 240;
    OutputSizeSource SizeSource = OutputSizeSource::Chosen;
    double OutputFrameRate = 23.976;
    // 0 - 4 and 6 - 7 preset rates, 5 custom, 8 the first clip's rate (frame_rates.h)
    int OutputFrameRateIndex = 0;
    int ResizeMode = 2;  // 2 preserve aspect ratio, 0 stretch
    bool UseVideoCompressor = true;
    bool UseAudioCompressor = true;
};

// Where an entry's played span ends in file time: OutPoint, or Duration when OutPoint is 0.
template <typename Entry>
RefTime playedEndRefTime(const Entry& entry) {
    return entry.OutPoint > 0 ? entry.OutPoint : entry.Duration;
}

// The length of an entry's span that plays ([InPoint, OutPoint)); 0 for an empty or inverted
// span. What the lists show as the duration and what the time line places.
template <typename Entry>
RefTime playedDurationRefTime(const Entry& entry) {
    const RefTime end = playedEndRefTime(entry);
    return end > entry.InPoint ? end - entry.InPoint : 0;
}

struct MixJob {
    std::vector<VideoEntry> videos;  // at most kMaxListEntries, in play order
    std::vector<AudioEntry> audios;  // at most kMaxListEntries
    TransitionDefaults transitionDefaults;
    bool Converting = false;  // true while a mix runs
    int ElapsedSeconds = 0;   // seconds since the running mix started
    OutputSettings outputSettings;
};

}  // namespace mixer
