#pragma once

#include "base/ports/file_picker_port.h"
#include "base/ports/prompt_port.h"
#include "editing/compressors/compressor_registry.h"
#include "editing/timeline/timeline_interface.h"
#include "mixer/mix/output_protection.h"
#include "mixer/project/mix_job.h"
#include "mixer/timeline/timeline_build.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace editing {
class RenderEngine;
}

namespace mixer {

inline constexpr const char* kOpenVideoFirstMessage = "Please open a video file firstly.";
inline constexpr const char* kTooManyFilesMessage =
    "The video files are too many! Please delete some files in the list.";
// "%1" is the output path.
inline constexpr const char* kReplaceOutputQuestion = "%1 exists. Do you want to replace it?";
inline constexpr const char* kReplaceOutputCaption = "Warning";
inline constexpr const char* kMixButtonIdleCaption = "Mix";
inline constexpr const char* kMixButtonStopCaption = "Stop";
// Shown once when a mix ends, after "Done.", followed by one line per file.
inline constexpr const char* kUnreadableSourcesMessage =
    "These files could not be read. The mix shows black or is silent where they are placed:";
inline constexpr const char* kUnreadableSourcesCaption = "Warning";

// The first checks of Mix (and of Preview, which builds the same time line): no video ("Please
// open a video file firstly."), or a list too long. False after telling the user.
bool listsMayBeMixed(const MixJob& job, base::PromptPort& prompt, QWidget* owner);

// The compressors a mix hands to the render, bound from the stored choices at start-up and
// again whenever the output options change. A stream whose Use...Compressor flag is false,
// or that has no compressor here, is written uncompressed.
struct ChosenCompressors {
    std::optional<editing::Compressor> video;
    std::optional<editing::Compressor> audio;
};

// The Mix command and the life of one mix: checks the lists, protects an existing output
// file, builds the time line, starts the render engine and ends the mix on completion, on an
// error or when the user stops it. While a mix runs, Converting is true; every way of ending
// resets ElapsedSeconds and announces mixEnded(), after which a new mix may start.
//
// Threading: everything runs on the UI thread except the engine's notifier, which only emits
// renderEventsQueued(); that signal reaches HandleRenderEvents through a queued connection.
// The MixJob, the ports and the owner window outlive this object; destroying it stops a
// running render.
class MixController : public QObject {
    Q_OBJECT
  public:
    MixController(MixJob& job, base::PromptPort& prompt, base::FilePickerPort& filePicker,
                  QWidget* owner = nullptr);
    ~MixController() override;

    // The factory of the time lines that mixes build (tests inject failing ones).
    void setTimelineFactory(TimelineFactory factory);
    void setCompressors(ChosenCompressors compressors);
    // Files beyond the lists that Mix must never write over (the open project file, files being
    // recorded); asked afresh at every Mix. None by default.
    void setProtectedFilesSource(std::function<std::vector<ProtectedFile>()> source);
    const ChosenCompressors& compressors() const { return compressors_; }

    // The Mix button: a running mix is stopped; otherwise the first check that applies
    // decides (no video; a list too long; an output that is a listed clip or another protected
    // file, refused before any question; else the replace question and the start).
    void onMixCommand();

    // Ends the running mix: the render is stopped (the file keeps what was written, and it
    // plays), the time line is released, Converting becomes false, mixEnded() is announced and
    // ElapsedSeconds is reset. Does nothing when no render is held.
    void StopRender();

    // Drains the render's events. A source that could not be read does not end the mix (the
    // render shows black / silence there); its file is remembered. Completion ends the mix; a
    // failure to write the output ends it as a stop does and then shows its description. At
    // every end the files that could not be read are listed once, in one box, after "Done.".
    // Nothing happens when no render is held (a late notification after the end).
    void HandleRenderEvents();

    // How the last mix ended: the render completed the whole time line, the user stopped it,
    // or it failed. Stopped before the first mix.
    enum class Ending { Completed, Stopped, Failed };
    Ending lastEnding() const { return lastEnding_; }
    // The status line after the last mix: "Done. ..." for a complete file, "Stopped at m:ss.
    // ..." after a user's stop, "Failed: <reason>" after a failure.
    QString endStatusText() const;

    // What the running render has written and how long the output will be, in 100-ns units;
    // nothing while no render runs.
    struct Progress {
        editing::RefTime writtenRefTime = 0;
        editing::RefTime durationRefTime = 0;
    };
    std::optional<Progress> progress() const;

    bool isMixing() const { return job_.Converting; }
    // How much of the time line has been written, 0 - 1; nothing while no render runs.
    std::optional<double> progressFraction() const;

  signals:
    // The render runs: the Mix button reads "Stop" and the progress timer runs.
    void mixStarted();
    // The mix has ended (completed, stopped or failed): the Mix button reads "Mix" again.
    void mixEnded();
    // Emitted on a render worker thread whenever events are queued.
    void renderEventsQueued();
    // At Mix the user picked `located` for the listed file `missing`, which no longer exists:
    // the lists should name the located file from now on, so the next mix does not ask again.
    void missingFileLocated(const std::string& missing, const std::string& located);

  private:
    bool outputIsNoProtectedFile();
    bool outputMayBeWritten();
    void startMix();
    void releaseRender();
    // Ends the mix and then shows `failure` (empty: none) and the unreadable files, in one box.
    void endMixAndReport(const QString& failure);
    void rememberUnreadable(const std::string& fileName);

    MixJob& job_;
    base::PromptPort& prompt_;
    base::FilePickerPort& filePicker_;
    QWidget* owner_;
    TimelineFactory timelineFactory_;
    ChosenCompressors compressors_;
    std::function<std::vector<ProtectedFile>()> protectedFilesSource_;
    QStringList unreadableFiles_;  // of the running mix, each once, in the order met
    // Of the running mix: what the user should know about its finished file (an MP4 whose
    // index could not be moved to the front), shown in the warning box at its end.
    QStringList notices_;
    std::unique_ptr<editing::TimelineInterface> CurrentTimeline;
    std::unique_ptr<editing::RenderEngine> MixRenderEngine;
    Ending lastEnding_ = Ending::Stopped;
    editing::RefTime lastWrittenRefTime_ = 0;  // how far the last mix got, in 100-ns units
    QString lastFailure_;                      // of the last mix; empty unless it failed
};

}  // namespace mixer
