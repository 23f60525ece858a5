#include "mixer/preview/preview_controller.h"

#include "mixer/mix/mix_controller.h"
#include "mixer/preview/preview_window.h"
#include "mixer/preview/server_preview_sound.h"
#include "mixer/timeline/missing_file_locator.h"
#include "mixer/timeline/placement.h"

#include <QStringList>

#include <algorithm>
#include <tuple>

namespace mixer {

namespace {

bool sameVideos(const std::vector<VideoEntry>& a, const std::vector<VideoEntry>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
        return std::tie(x.FileName, x.Duration, x.TransitionEffect, x.TransitionDuration, x.InPoint,
                        x.OutPoint) == std::tie(y.FileName, y.Duration, y.TransitionEffect,
                                                y.TransitionDuration, y.InPoint, y.OutPoint);
    });
}

bool sameAudios(const std::vector<AudioEntry>& a, const std::vector<AudioEntry>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
        return std::tie(x.FileName, x.Duration, x.StartTime, x.Volume, x.Speed, x.Repeat, x.InPoint,
                        x.OutPoint) == std::tie(y.FileName, y.Duration, y.StartTime, y.Volume,
                                                y.Speed, y.Repeat, y.InPoint, y.OutPoint);
    });
}

bool samePicture(const OutputSettings& a, const OutputSettings& b) {
    return std::tie(a.OutputWidth, a.OutputHigh, a.OutputFrameRate, a.ResizeMode) ==
           std::tie(b.OutputWidth, b.OutputHigh, b.OutputFrameRate, b.ResizeMode);
}

}  // namespace

PreviewController::PreviewController(const MixJob& job, base::PromptPort& prompt,
                                     base::FilePickerPort& filePicker, QWidget* owner)
    : job_(job),
      prompt_(prompt),
      filePicker_(filePicker),
      owner_(owner),
      timelineFactory_(realTimelineFactory()),
      soundConnector_([](std::string& error) -> std::unique_ptr<editing::PreviewSoundOutput> {
          return ServerPreviewSound::connect(error);
      }) {}

PreviewController::~PreviewController() {
    close();
}

void PreviewController::setTimelineFactory(TimelineFactory factory) {
    timelineFactory_ = std::move(factory);
}

void PreviewController::setSoundConnector(SoundConnector connector) {
    soundConnector_ = std::move(connector);
}

bool PreviewController::jobChangedSinceBuild() const {
    return !sameVideos(job_.videos, builtFrom_.videos) ||
           !sameAudios(job_.audios, builtFrom_.audios) ||
           !samePicture(job_.outputSettings, builtFrom_.outputSettings) ||
           job_.transitionDefaults.ClipSoundInStep != builtFrom_.transitionDefaults.ClipSoundInStep;
}

bool PreviewController::rebuild() {
    if (player_) {
        player_->close();
        player_.reset();
    }
    if (!listsMayBeMixed(job_, prompt_, owner_)) {
        return false;
    }
    std::vector<LocatedFile> locatedFiles;
    BuiltTimeline built =
        BuildTimeline(job_, timelineFactory_, prompt_,
                      makeMissingFileLocator(filePicker_, owner_, &locatedFiles), owner_);
    for (const LocatedFile& file : locatedFiles) {
        emit missingFileLocated(file.missing, file.located);
    }
    if (editing::failed(built.status) || !built.CurrentTimeline) {
        return false;  // the build has told the user why
    }
    builtFrom_.videos = job_.videos;
    builtFrom_.audios = job_.audios;
    builtFrom_.outputSettings = job_.outputSettings;
    builtFrom_.transitionDefaults = job_.transitionDefaults;
    std::string soundError;
    std::unique_ptr<editing::PreviewSoundOutput> sound = soundConnector_(soundError);
    soundNotice_ = sound ? QString() : QString::fromUtf8(kNoSoundServerNotice);
    sourceMessages_.clear();
    player_ = std::make_unique<editing::PreviewPlayer>(built.CurrentTimeline->snapshot(),
                                                       std::move(sound));
    if (player_->frameCount() == 0) {
        player_.reset();
        return false;
    }
    PreviewWindow* window = window_.get();
    player_->setFrameSink(
        [window](const editing::PreviewFrame& frame, const editing::Picture& picture) {
            window->takeFrame(frame, picture);
        });
    player_->setNotifier([this] {
        QMetaObject::invokeMethod(this, &PreviewController::onPlayerNotified, Qt::QueuedConnection);
    });
    window->setTimeline(player_->frameWidth(), player_->frameHeight(), player_->framesPerSecond(),
                        player_->frameCount(), player_->durationRefTime());
    window->setNotice(soundNotice_);
    window->setPlaying(false);
    return true;
}

void PreviewController::onPreviewCommand(int firstSelectedVideo) {
    if (!listsMayBeMixed(job_, prompt_, owner_)) {
        return;
    }
    if (!window_) {
        window_ = std::make_unique<PreviewWindow>(owner_);
        connect(window_.get(), &PreviewWindow::playPauseRequested, this,
                &PreviewController::onPlayPause);
        connect(window_.get(), &PreviewWindow::stepRequested, this, [this](int frames) {
            if (player_) {
                player_->stepFrames(frames);
            }
        });
        connect(window_.get(), &PreviewWindow::seekRequested, this, &PreviewController::onSeek);
        connect(window_.get(), &PreviewWindow::dragStarted, this,
                &PreviewController::onDragStarted);
        connect(window_.get(), &PreviewWindow::dragEnded, this, &PreviewController::onDragEnded);
        // Queued: the window is deleted by close(), not while its close event runs.
        connect(window_.get(), &PreviewWindow::closed, this, &PreviewController::close,
                Qt::QueuedConnection);
    }
    if ((!player_ || jobChangedSinceBuild()) && !rebuild()) {
        close();
        return;
    }
    RefTime start = 0;
    if (firstSelectedVideo >= 0 && firstSelectedVideo < static_cast<int>(job_.videos.size())) {
        const std::vector<VideoPlacement> placements =
            placeVideoClips(job_.videos, totalVideoLength(job_.videos),
                            videoCursorStartOf(job_.transitionDefaults));
        start = placements[static_cast<std::size_t>(firstSelectedVideo)].start;
    }
    // The first frame at or after the start: the frame before it may still show the clip
    // before.
    const auto frameLength =
        static_cast<RefTime>(editing::kRefTimePerSecond / player_->framesPerSecond());
    player_->pause();
    window_->setPlaying(false);
    player_->seek(start > 0 ? start + frameLength - 1 : 0);
    window_->show();
    window_->raise();
    window_->activateWindow();
}

void PreviewController::close() {
    if (player_) {
        player_->close();
        player_.reset();
    }
    if (window_) {
        std::unique_ptr<PreviewWindow> window = std::move(window_);
        window->disconnect(this);
        window->hide();
        window.reset();
        emit previewClosed();
    }
}

void PreviewController::onPlayPause() {
    if (player_ && player_->isPlaying()) {
        player_->pause();
        window_->setPlaying(false);
        return;
    }
    if (!player_ || jobChangedSinceBuild()) {
        const RefTime position = player_ ? player_->position() : 0;
        if (!rebuild()) {
            close();
            return;
        }
        player_->seek(position);
    }
    player_->play();
    window_->setPlaying(player_->isPlaying());
    showNotices();
}

void PreviewController::onSeek(editing::RefTime time, editing::PreviewPlayer::SeekMode mode) {
    if (player_) {
        player_->seek(time, mode);
    }
}

void PreviewController::onDragStarted() {
    resumeAfterDrag_ = player_ && player_->isPlaying();
    if (resumeAfterDrag_) {
        player_->pause();
        window_->setPlaying(false);
    }
}

void PreviewController::onDragEnded() {
    if (resumeAfterDrag_ && player_) {
        player_->play();
        window_->setPlaying(player_->isPlaying());
    }
    resumeAfterDrag_ = false;
}

void PreviewController::onPlayerNotified() {
    if (!player_ || !window_) {
        return;
    }
    if (!player_->isPlaying()) {
        player_->pause();  // reached the end: its threads end here
        window_->setPlaying(false);
    }
    showNotices();
}

void PreviewController::showNotices() {
    QStringList notices;
    if (!soundNotice_.isEmpty()) {
        notices << soundNotice_;
    } else if (!player_->soundFailure().empty()) {
        notices << QString::fromUtf8(kSoundRefusedNotice) + QStringLiteral(" (") +
                       QString::fromStdString(player_->soundFailure()) + QStringLiteral(")");
    }
    for (const std::string& message : player_->takeMessages()) {
        if (!sourceMessages_.contains(QString::fromStdString(message))) {
            sourceMessages_ << QString::fromStdString(message);
        }
    }
    notices << sourceMessages_;
    window_->setNotice(notices.join(QLatin1Char('\n')));
}

}  // namespace mixer
