#pragma once

#include "base/ports/file_picker_port.h"
#include "base/ports/prompt_port.h"
#include "editing/preview/preview_player.h"
#include "editing/timeline/timeline_interface.h"
#include "mixer/project/mix_job.h"
#include "mixer/timeline/timeline_build.h"

#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>
#include <string>

class QWidget;

namespace mixer {

class PreviewWindow;

// The Preview command and the life of one preview: checks the lists as Mix does, builds the
// time line exactly as Mix builds it (same messages), and plays it in a PreviewWindow from the
// placed start of the first selected video. Changes to the lists or output settings while the
// window is open take effect at the next play, which rebuilds. Closing the window (or close())
// stops the player and frees everything. Nothing is written: no file, no setting.
//
// Threading: UI thread. The player's notifier only posts a queued call back to this object.
// The MixJob, the ports and the owner outlive this object.
class PreviewController : public QObject {
    Q_OBJECT
  public:
    // Makes the sound output of a preview; null (with a reason) plays the picture only.
    using SoundConnector =
        std::function<std::unique_ptr<editing::PreviewSoundOutput>(std::string& error)>;

    PreviewController(const MixJob& job, base::PromptPort& prompt, base::FilePickerPort& filePicker,
                      QWidget* owner = nullptr);
    ~PreviewController() override;

    void setTimelineFactory(TimelineFactory factory);
    void setSoundConnector(SoundConnector connector);

    // The Preview command: `firstSelectedVideo` is the row of the first selected video (-1:
    // none, start at 0). An open preview is rebuilt when the lists changed, moved to that
    // start and raised.
    void onPreviewCommand(int firstSelectedVideo);
    // Stops the player, ends its threads and closes the window. Harmless when none is open.
    void close();

    bool isOpen() const { return window_ != nullptr; }
    PreviewWindow* window() const { return window_.get(); }
    editing::PreviewPlayer* player() const { return player_.get(); }

  signals:
    void previewClosed();
    // The user located a moved file when the preview's time line was built (as at Mix).
    void missingFileLocated(const std::string& missing, const std::string& located);

  private:
    // Builds the time line and a player for it; false when nothing can be played.
    bool rebuild();
    bool jobChangedSinceBuild() const;
    void onPlayPause();
    void onSeek(editing::RefTime time, editing::PreviewPlayer::SeekMode mode);
    void onDragStarted();
    void onDragEnded();
    void onPlayerNotified();
    // The sound notice (when the preview plays without sound) and the sources' errors.
    void showNotices();

    const MixJob& job_;
    base::PromptPort& prompt_;
    base::FilePickerPort& filePicker_;
    QWidget* owner_;
    TimelineFactory timelineFactory_;
    SoundConnector soundConnector_;
    MixJob builtFrom_;  // the lists and settings the player was built from
    std::unique_ptr<PreviewWindow> window_;
    std::unique_ptr<editing::PreviewPlayer> player_;
    QString soundNotice_;
    QStringList sourceMessages_;  // the sources' errors since the build, each once
    bool resumeAfterDrag_ = false;
};

}  // namespace mixer
