#pragma once

#include "mixer/project/media_lists_undo.h"
#include "mixer/project/mix_job.h"
#include "mixer/project/transition_choice.h"

#include <QObject>
#include <QString>
#include <QUndoStack>

#include <string>
#include <vector>

namespace mixer {

// The list operations of the project: every change of the video and audio lists of a MixJob
// goes through one MediaLists, which announces it so the list views can be refilled, and
// which records it as one step of its undo stack. The MixJob is owned by the main window and
// outlives this object. UI thread only.

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
    int appendedCount = 0;  // how many of the files were added, from the first on
    AppendOutcome outcome = AppendOutcome::Appended;
};

enum class DeleteSelectionOutcome {
    ListEmpty,    // nothing happened
    NoSelection,  // nothing deleted; tell the user kSelectAudioItemMessage
    Deleted,
};

enum class MoveDirection { Up, Down };

// How many list changes can be undone; older ones are forgotten.
inline constexpr int kUndoStepLimit = 100;

inline constexpr const char* kSelectAudioItemMessage = "Please select an audio item!";

class MediaLists : public QObject {
    Q_OBJECT
  public:
    explicit MediaLists(MixJob& job, RandomNumberSource randomNumbers = standardRandomNumbers(),
                        QObject* parent = nullptr);

    const MixJob& job() const { return job_; }
    // Every change below that changed something is one step here (undo, redo, their texts).
    QUndoStack& undoStack() { return undoStack_; }

    // Appends a video at the end of the video list with its transition (chosen by the
    // transition defaults) and then its companion audio entry: the same file and length,
    // starting at the sum of the lengths of the videos before it. A video needs room in both
    // lists; when either is full nothing is appended.
    AppendOutcome appendVideo(const ProbedFile& video);

    // Inserts the videos before row `atRow` (at the end when `atRow` is outside 0..count), in
    // order, each with its transition and a companion audio entry appended to the audio list
    // (starting where the clip begins); the companions of the clips after them move with their
    // clips. When a list fills up the remaining files are refused (outcome says which list);
    // those before stay inserted. One undo step.
    AudioAppendResult insertVideos(const std::vector<ProbedFile>& videos, int atRow);

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

    // Moves the videos at `rows` (in their order) so that they stand before the clip now at
    // `beforeRow` (at the end when `beforeRow` is the row count), as a dropped drag does.
    // Returns the rows the moved clips now have.
    std::vector<int> moveVideosTo(std::vector<int> rows, int beforeRow);
    // Removes the videos at `rows` (rows outside the list are ignored) with the companion
    // sounds that still follow them (see followingCompanions); the companions of the clips
    // after them move with their clips. Returns how many videos were removed.
    int removeVideos(std::vector<int> rows);
    // Moves the videos at `rows` one place up or down as a block of the selection: each
    // selected clip swaps with its unselected neighbour; nothing moves when a selected clip
    // is already at that end. Entries keep their transitions; following companions take
    // their clips' new starts. Returns the rows the moved clips now have (the `rows` when
    // nothing moved).
    std::vector<int> moveVideos(std::vector<int> rows, MoveDirection direction);

    // Replaces the audio entry at `row` (after its properties were edited); false when the
    // row does not exist.
    bool replaceAudioEntry(int row, const AudioEntry& entry);

    // Plays only [in, out) of the video at `row` (out = its Duration or 0: to the end). The
    // companion sound that still follows the clip takes the same span; the clips after it and
    // their following companions move to the clip's new played length. False, with nothing
    // changed, when the row does not exist or the span is empty, inverted or beyond the file.
    // One undo step (also when nothing but the span changed).
    bool trimVideo(int row, RefTime in, RefTime out);
    // Plays only [in, out) of the audio entry at `row`, as trimVideo (no other entry changes).
    bool trimAudio(int row, RefTime in, RefTime out);

    // Gives the video entries at `rows` (rows outside the list are ignored) the transition
    // effect and length chosen in the transition dialog; nothing else of them changes.
    void setVideoTransitions(const std::vector<int>& rows, int transitionEffect,
                             RefTime transitionDuration);

    // Gives every video and audio entry that names `missing` the file `located` instead (a
    // moved file the user found when a mix asked for it); nothing else of them changes.
    void replaceFileName(const std::string& missing, const std::string& located);

  signals:
    void videoListChanged();
    void audioListChanged();
    void audioRowChanged(int row);

  private:
    ListsSnapshot snapshot() const;
    void restore(const ListsSnapshot& lists);
    // Records the change from `before` to the lists as they now are as one undo step.
    void recordChange(const QString& text, ListsSnapshot before);

    MixJob& job_;
    RandomNumberSource randomNumbers_;
    QUndoStack undoStack_;
};

}  // namespace mixer
