#pragma once

#include "base/ports/file_picker_port.h"
#include "base/ports/prompt_port.h"
#include "mixer/media/media_probe.h"
#include "mixer/media/probe_batch.h"
#include "mixer/project/media_lists.h"
#include "mixer/project/settings_store.h"

#include <functional>
#include <optional>
#include <vector>

class QWidget;

namespace mixer {

// The "Add video" and "Add audio" commands: pick files, learn their lengths, append them to the
// lists and remember the folder they came from. The main window calls them from buttons 1006
// and 1007; the list views follow the MediaLists' change signals.
//
// The files are probed on worker threads while the window thread keeps running its events
// (adding_progress.h): a small progress dialog counts them and offers Cancel, which adds none
// of the files, so the lists stay as they were. Everything else (the checks, questions, boxes
// and the one undo step) happens on the window thread, in the order the files were given,
// once every file is probed. While one add runs, another asked for meanwhile (a drop, a
// second click) adds nothing and returns 0.
//
// All references must outlive the adder. UI thread only (the dialogs and boxes are modal).
class MediaAdder {
  public:
    MediaAdder(MediaLists& lists, base::FilePickerPort& filePicker, base::PromptPort& prompt,
               SettingsStore& settings, QWidget* owner = nullptr);

    // Video files chosen in the open dialog (one or several), added by addVideoFiles at the
    // end of the list. Returns how many videos were added.
    int addVideo();

    // Adds video files in the order given, each entry with its companion sound entry, before
    // row `atRow` of the video list (at the end when outside the list). One file that fails
    // raises one box: "Cannot open ..." when it cannot be opened, "Can not get the duration of
    // the clip!" when its length cannot be learned, the path message when it is too long.
    // Several files: the ones that fail or no longer fit are left out and one box names them.
    // A file with sound only is added only when the user says Yes to the question about it.
    // Refused with a message when either list is full. The folder of the last file added is
    // remembered. Returns how many videos were added.
    int addVideoFiles(const QStringList& paths, int atRow);

    // Several sound files at once, appended in the order chosen. A file whose length cannot be
    // learned, whose path is too long, or that no longer fits the list is left out; the others
    // are added and one message names every file left out. The folder of the last file added
    // is remembered. Returns how many sound entries were added.
    int addAudio();
    // The same for files given (dropped on the audio list, say) instead of chosen. A file with
    // a picture and no sound is added only when the user says Yes to the question about it.
    int addAudioFiles(const QStringList& paths);

    // One video file named without a dialog (the command line), appended at the end through
    // the checks and messages of addVideoFiles.
    int addVideoFile(const QString& path);

    // Ends a running add as its Cancel button does (the window is closing); nothing otherwise.
    void cancelAdding();
    // What each file goes through on the workers; probeForAdding unless replaced (a test holds
    // one file up as a slow network share would). Any thread may run it.
    void setProbe(ProbeBatch::Probe probe) { probe_ = std::move(probe); }

    static const char* const kDialogTitle;

  private:
    // Asks (Yes / No) whether a file that suits the other list is to be added all the same:
    // a sound-only file added as a video, a picture-only file added as a sound. True: keep it.
    bool keepOddFile(const QString& question);
    // One box naming the files left out (the first ones, the rest counted); nothing when none.
    void tellLeftOut(QStringList leftOut);
    // The open dialog for one kind of media (its filter, then "Any Files"), starting in
    // `initialFolder`. Nothing when the user cancelled or chose no file.
    std::optional<QStringList> chooseFiles(const base::FileFilter& kindFilter,
                                           const QString& initialFolder,
                                           base::FileSelection selection);

    // The probes of the files whose path fits the system, in order; nothing when cancelled.
    std::optional<std::vector<ProbeForAdding>> probeFitting(const QStringList& paths);

    MediaLists& lists_;
    base::FilePickerPort& filePicker_;
    base::PromptPort& prompt_;
    SettingsStore& settings_;
    QWidget* owner_;
    bool running_ = false;
    ProbeBatch::Probe probe_ = probeForAdding;
    std::function<void()> cancelRunning_;  // set while the files are being probed
};

}  // namespace mixer
