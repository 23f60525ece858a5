#pragma once

#include "editing/core/annotated_mutex.h"
#include "editing/core/ref_time.h"
#include "editing/preview/picture_to_rgb.h"
#include "editing/preview/preview_player.h"

#include <QImage>
#include <QWidget>

#include <optional>

class QLabel;
class QPushButton;
class QSlider;

namespace mixer {

class PreviewPictureView;

inline constexpr const char* kPreviewWindowTitle = "Preview";
inline constexpr const char* kPreviewPlayCaption = "Play";
inline constexpr const char* kPreviewPauseCaption = "Pause";
inline constexpr const char* kNoSoundServerNotice =
    "No sound server answers: the preview plays the picture only.";
// A server that answered but would not (or no longer) play the preview's sound.
inline constexpr const char* kSoundRefusedNotice =
    "The sound server does not play the preview's sound: the preview plays the picture only.";

// The preview window: the picture, play / pause, one frame back / forward, a position slider
// with "current / total" time. It only shows what it is given and forwards commands; the
// PreviewController owns the player. Space plays or pauses, Left and Right step, Escape
// closes.
//
// Threading: UI thread, except takeFrame(), which the player calls on its own threads.
class PreviewWindow : public QWidget {
    Q_OBJECT
  public:
    explicit PreviewWindow(QWidget* parent = nullptr);
    ~PreviewWindow() override;

    // What is previewed: the output frame size, its frame rate, frame count and length.
    void setTimeline(int frameWidth, int frameHeight, double framesPerSecond,
                     std::int64_t frameCount, editing::RefTime durationRefTime);
    void setPlaying(bool playing);
    // A notice above the controls; "" hides it.
    void setNotice(const QString& text);

    // Converts the frame for display and shows it on the UI thread. Any thread.
    void takeFrame(const editing::PreviewFrame& frame, const editing::Picture& picture);

    QPushButton& playButton() const { return *playButton_; }
    QPushButton& stepForwardButton() const { return *stepForwardButton_; }
    QSlider& positionSlider() const { return *slider_; }
    QLabel& timeLabel() const { return *timeLabel_; }
    QLabel& noticeLabel() const { return *noticeLabel_; }
    PreviewPictureView& pictureView() const { return *pictureView_; }
    // The frame shown last (nothing before the first).
    std::optional<editing::PreviewFrame> shownFrame() const { return shownFrame_; }

  signals:
    void playPauseRequested();
    void stepRequested(int frames);
    void seekRequested(editing::RefTime time, editing::PreviewPlayer::SeekMode mode);
    void dragStarted();
    void dragEnded();
    void closed();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void showPending();
    void showPosition(std::int64_t frameIndex);
    editing::RefTime timeOfFrame(int frameIndex) const;

    PreviewPictureView* pictureView_ = nullptr;
    QLabel* noticeLabel_ = nullptr;
    QPushButton* playButton_ = nullptr;
    QPushButton* stepBackButton_ = nullptr;
    QPushButton* stepForwardButton_ = nullptr;
    QSlider* slider_ = nullptr;
    QLabel* timeLabel_ = nullptr;
    double framesPerSecond_ = 0.0;
    editing::RefTime durationRefTime_ = 0;
    std::optional<editing::PreviewFrame> shownFrame_;

    // The converter is used by one player thread at a time; the pending frame passes from a
    // player thread to the window's.
    editing::Mutex conversionMutex_;
    editing::PictureToRgb converter_ GUARDED_BY(conversionMutex_);
    editing::Mutex pendingMutex_;
    QImage pendingImage_ GUARDED_BY(pendingMutex_);
    editing::PreviewFrame pendingFrame_ GUARDED_BY(pendingMutex_);
    bool showPosted_ GUARDED_BY(pendingMutex_) = false;
};

}  // namespace mixer
