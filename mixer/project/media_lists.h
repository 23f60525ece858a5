#pragma once

#include "mixer/project/mix_job.h"
#include "mixer/project/transition_choice.h"

#include <QObject>
#include <QString>

#include <string>
#include <vector>

namespace mixer {

// The list operations of the project: every change of the video and audio lists of a MixJob
// goes through one MediaLists, which announces it so the list views can be refilled. The
// MixJob is owned by the main window and outlives this object. UI thread only.

enum class AppendOutcome {
    Appended,
    VideoListFull,  // the video list already holds kMaxListEntries entries; nothing changed
    AudioListFull,  // the audio list already holds kMaxListEntries entries
};

// The message for a refused add (empty for Appended).
QString appendRefusalMessage(AppendOutcome outcome);

// A file whose length is known (probed) and that is about to be listed.
struct ProbedFile {
    std::string FileName;  // full path (UTF-8)
    RefTime Duration = 0;
};

struct AudioAppendResult {
    int appendedCount = 0;  // how many of the files were appended, from the first on
    AppendOutcome outcome = AppendOutcome::Appended;
};

enum class DeleteSelectionOutcome {
    ListEmpty,    // nothing happened
    NoSelection,  // nothing deleted; tell the user kSelectAudioItemMessage
    Deleted,
};

inline constexpr const char* kSelectAudioItemMessage = "Please select an audio item!";

class MediaLists : public QObject {
    Q_OBJECT
  public:
    explicit MediaLists(MixJob& job, RandomNumberSource randomNumbers = standardRandomNumbers(),
                        QObject* parent = nullptr);

    const MixJob& job() const { return job_; }

    // Appends a video at the end of the video list with its transition (chosen by the
    // transition defaults) and then its companion audio entry: the same file and length,
    // starting at the sum of the lengths of the videos before it. A video needs room in both
    // lists; when either is full nothing is appended.
    AppendOutcome appendVideo(const ProbedFile& video);

    // Appends one audio entry per file, in order (StartTime 0, Volume 1.0, Speed 1.0, Repeat
    // 0). When the list fills up, the remaining files are refused (AudioListFull) and the
    // ones before them stay appended.
    AudioAppendResult appendAudio(const std::vector<ProbedFile>& files);

    // Empties both lists.
    void deleteAll();
    // Replaces both lists at once (an opened project); the caller keeps them within
    // kMaxListEntries.
    void replaceAll(std::vector<VideoEntry> videos, std::vector<AudioEntry> audios);
    // Deletes the audio entries at the given rows (row numbers as the list view shows them
    // before the deletion; order and repeats do not matter, rows outside the list are
    // ignored). The order of the remaining entries is kept.
    DeleteSelectionOutcome deleteSelectedAudio(std::vector<int> selectedRows);
    // Empties the audio list; the video list is untouched.
    void deleteAllAudio();

    // Replaces the audio entry at `row` (after its properties were edited); false when the
    // row does not exist.
    bool replaceAudioEntry(int row, const AudioEntry& entry);

    // Gives the video entries at `rows` (rows outside the list are ignored) the transition
    // effect and length chosen in the transition dialog; nothing else of them changes.
    void setVideoTransitions(const std::vector<int>& rows, int transitionEffect,
                             RefTime transitionDuration);

  signals:
    void videoListChanged();
    void audioListChanged();
    void audioRowChanged(int row);

  private:
    MixJob& job_;
    RandomNumberSource randomNumbers_;
};

}  // namespace mixer
