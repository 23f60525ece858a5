#include "mixer/mix/mix_controller.h"

#include "editing/render/render_engine.h"
#include "mixer/output/output_frame_format.h"
#include "mixer/project/status_texts.h"
#include "mixer/timeline/missing_file_locator.h"

#include <QCursor>
#include <QFile>
#include <QGuiApplication>

#include <algorithm>
#include <utility>

namespace mixer {

namespace {

QString describeFailure(editing::Result code, const std::string& details) {
    QString text = QString::fromStdString(editing::describeResult(code));
    if (text.isEmpty()) {
        text = QStringLiteral("Unknown Error: 0x%1")
                   .arg(static_cast<quint32>(code), 8, 16, QLatin1Char('0'));
    }
    if (!details.empty()) {
        text += QStringLiteral("\n") + QString::fromStdString(details);
    }
    return text;
}

// Empty when the built time line holds a group for every kind of media the lists hold; else,
// in plain words, what could not be set up. The build goes on past a group it could not set
// up; rendering what is left would write a file without pictures or without sound.
QString groupSetUpFailure(const MixJob& job, const editing::TimelineModel& timeline) {
    bool hasVideo = false;
    bool hasAudio = false;
    for (const editing::GroupModel& group : timeline.groups) {
        (group.mediaType.kind == editing::MediaKind::Video ? hasVideo : hasAudio) = true;
    }
    const OutputSettings& output = job.outputSettings;
    if (!job.videos.empty() && !hasVideo) {
        return QStringLiteral(
                   "The mix was not started: the pictures could not be set up at "
                   "%1*%2 and %3 frames per second. Choose another size or frame "
                   "rate in the output options.")
            .arg(output.OutputWidth)
            .arg(output.OutputHigh)
            .arg(output.OutputFrameRate);
    }
    if (!job.audios.empty() && !hasAudio) {
        return QStringLiteral("The mix was not started: the sound could not be set up.");
    }
    return {};
}

QString unreadableSourcesText(const QStringList& files) {
    return QString::fromUtf8(kUnreadableSourcesMessage) + QStringLiteral("\n") +
           files.join(QLatin1Char('\n'));
}

}  // namespace

MixController::MixController(MixJob& job, base::PromptPort& prompt,
                             base::FilePickerPort& filePicker, QWidget* owner)
    : job_(job),
      prompt_(prompt),
      filePicker_(filePicker),
      owner_(owner),
      timelineFactory_(realTimelineFactory()) {
    connect(this, &MixController::renderEventsQueued, this, &MixController::HandleRenderEvents,
            Qt::QueuedConnection);
}

MixController::~MixController() {
    // Stops and joins the render's workers before this object (their notifier's target) goes.
    MixRenderEngine.reset();
}

void MixController::setTimelineFactory(TimelineFactory factory) {
    timelineFactory_ = std::move(factory);
}

void MixController::setCompressors(ChosenCompressors compressors) {
    compressors_ = std::move(compressors);
}

void MixController::setProtectedFilesSource(std::function<std::vector<ProtectedFile>()> source) {
    protectedFilesSource_ = std::move(source);
}

bool listsMayBeMixed(const MixJob& job, base::PromptPort& prompt, QWidget* owner) {
    if (job.videos.empty()) {
        prompt.tell(QString::fromUtf8(kOpenVideoFirstMessage), {}, base::PromptIcon::None, owner);
        return false;
    }
    if (static_cast<int>(job.videos.size()) > kMaxListEntries ||
        static_cast<int>(job.audios.size()) > kMaxListEntries) {
        prompt.tell(QString::fromUtf8(kTooManyFilesMessage), {}, base::PromptIcon::None, owner);
        return false;
    }
    return true;
}

void MixController::onMixCommand() {
    // While a mix runs the button is "Stop" whatever the lists hold now: they stay editable
    // during a mix, and emptying them must not leave a mix that cannot be stopped.
    if (job_.Converting) {
        StopRender();
        return;
    }
    if (!listsMayBeMixed(job_, prompt_, owner_) || !outputIsNoProtectedFile() ||
        !outputMayBeWritten()) {
        return;
    }
    startMix();
}

bool MixController::outputIsNoProtectedFile() {
    const std::string& outputName = job_.outputSettings.OutputName;
    const std::optional<ProtectedFile> clash = findProtectedOutputClash(
        job_, outputName,
        protectedFilesSource_ ? protectedFilesSource_() : std::vector<ProtectedFile>{});
    if (!clash) {
        return true;
    }
    prompt_.tell(protectedOutputMessage(*clash, outputName),
                 QString::fromUtf8(kProtectedOutputCaption), base::PromptIcon::Error, owner_);
    return false;
}

bool MixController::outputMayBeWritten() {
    const QString outputName = QString::fromStdString(job_.outputSettings.OutputName);
    QFile existing(outputName);
    if (!existing.open(QIODevice::ReadOnly)) {
        return true;  // nothing readable there: nothing to protect
    }
    existing.close();
    const base::PromptAnswer answer =
        prompt_.show({QString::fromUtf8(kReplaceOutputQuestion).arg(outputName),
                      QString::fromUtf8(kReplaceOutputCaption), base::PromptIcon::Warning,
                      base::PromptButtons::YesNo, owner_});
    if (answer != base::PromptAnswer::Yes) {
        return false;
    }
    // A failed deletion is not reported: the render overwrites the file.
    QFile::remove(outputName);
    return true;
}

void MixController::startMix() {
    // Whatever a failed start before left behind is released before the new build.
    releaseRender();
    unreadableFiles_.clear();
    notices_.clear();

    // Judged before the time line exists: it allocates frames of this size.
    if (const QString refusal = settleOutputFrameFormat(
            job_.outputSettings, job_.videos,
            job_.outputSettings.UseVideoCompressor ? compressors_.video : std::nullopt);
        !refusal.isEmpty()) {
        prompt_.tell(refusal, QStringLiteral("Error"), base::PromptIcon::Error, owner_);
        return;
    }

    std::vector<LocatedFile> locatedFiles;
    BuiltTimeline built =
        BuildTimeline(job_, timelineFactory_, prompt_,
                      makeMissingFileLocator(filePicker_, owner_, &locatedFiles), owner_);
    for (const LocatedFile& file : locatedFiles) {
        emit missingFileLocated(file.missing, file.located);
    }
    if (editing::failed(built.status) || !built.CurrentTimeline) {
        return;  // no time line to render; the build has told the user why
    }
    CurrentTimeline = std::move(built.CurrentTimeline);
    editing::TimelineModel snapshot = CurrentTimeline->snapshot();
    if (const QString failure = groupSetUpFailure(job_, snapshot); !failure.isEmpty()) {
        releaseRender();
        prompt_.tell(failure, QStringLiteral("Error"), base::PromptIcon::Error, owner_);
        return;
    }

    editing::RenderOutputSettings settings;
    settings.outputFileName = job_.outputSettings.OutputName;
    if (job_.outputSettings.UseVideoCompressor) {
        settings.videoCompressor = compressors_.video;
    }
    if (job_.outputSettings.UseAudioCompressor) {
        settings.audioCompressor = compressors_.audio;
    }

    MixRenderEngine = std::make_unique<editing::RenderEngine>();
    // Called on a worker thread: only posts the queued signal.
    MixRenderEngine->setEventNotifier([this] { emit renderEventsQueued(); });
    const editing::Result started =
        MixRenderEngine->start(std::move(snapshot), std::move(settings));
    if (editing::failed(started)) {
        const QString text = describeFailure(started, MixRenderEngine->lastErrorDescription());
        releaseRender();
        prompt_.tell(text, QStringLiteral("Error"), base::PromptIcon::Error, owner_);
        return;
    }
    job_.Converting = true;
    lastEnding_ = Ending::Stopped;
    emit mixStarted();
}

void MixController::releaseRender() {
    if (MixRenderEngine) {
        MixRenderEngine->stop();
        MixRenderEngine.reset();
    }
    CurrentTimeline.reset();
}

void MixController::StopRender() {
    if (!MixRenderEngine && !job_.Converting) {
        return;
    }
    endMixAndReport({});
}

void MixController::endMixAndReport(const QString& reportedFailure) {
    QString failure = reportedFailure;
    // Events queued before the stop (a source that failed just then) still count, and so does a
    // failure of the stop itself: finishing the file (flushing, trailer, index, the MP4 rewrite)
    // can fail when the disk is full, and the user must learn that the file is incomplete.
    if (MixRenderEngine) {
        // Finishing an MP4 rewrites the whole file: the window waits for it, and says so.
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        MixRenderEngine->stop();
        QGuiApplication::restoreOverrideCursor();
        lastWrittenRefTime_ = MixRenderEngine->progressRefTime();
        for (const editing::RenderEvent& event : MixRenderEngine->takeEvents()) {
            if (event.kind == editing::RenderEventKind::Notice) {
                notices_.append(QString::fromStdString(event.description));
            } else if (!event.sourceFileName.empty()) {
                rememberUnreadable(event.sourceFileName);
            } else if (event.kind == editing::RenderEventKind::Error && event.endsRender &&
                       failure.isEmpty()) {
                lastEnding_ = Ending::Failed;
                failure = event.description.empty() ? describeFailure(event.result, {})
                                                    : QString::fromStdString(event.description);
            }
        }
    }
    if (!failure.isEmpty()) {
        // Finishing the file can fail after a completed render or a user's stop as well.
        lastEnding_ = Ending::Failed;
    }
    lastFailure_ = failure;
    const QStringList unreadable = std::exchange(unreadableFiles_, {});
    const QStringList notices = std::exchange(notices_, {});
    releaseRender();
    job_.Converting = false;
    emit mixEnded();
    job_.ElapsedSeconds = 0;
    // The mix has ended before the box is shown, so a notification arriving while it is open
    // finds no render and does nothing.
    if (!failure.isEmpty()) {
        QString text = failure;
        if (!unreadable.isEmpty()) {
            text += QStringLiteral("\n\n") + unreadableSourcesText(unreadable);
        }
        prompt_.tell(text, QStringLiteral("Error"), base::PromptIcon::Error, owner_);
    } else if (!unreadable.isEmpty() || !notices.isEmpty()) {
        QStringList parts = notices;
        if (!unreadable.isEmpty()) {
            parts.append(unreadableSourcesText(unreadable));
        }
        prompt_.tell(parts.join(QStringLiteral("\n\n")),
                     QString::fromUtf8(kUnreadableSourcesCaption), base::PromptIcon::Warning,
                     owner_);
    }
}

void MixController::rememberUnreadable(const std::string& fileName) {
    const QString name = QString::fromStdString(fileName);
    if (!unreadableFiles_.contains(name)) {
        unreadableFiles_.append(name);
    }
}

void MixController::HandleRenderEvents() {
    if (!MixRenderEngine) {
        return;
    }
    for (const editing::RenderEvent& event : MixRenderEngine->takeEvents()) {
        if (event.kind == editing::RenderEventKind::Complete) {
            lastEnding_ = Ending::Completed;
            endMixAndReport({});
            return;
        }
        if (event.kind == editing::RenderEventKind::Notice) {
            notices_.append(QString::fromStdString(event.description));
            continue;
        }
        if (event.kind != editing::RenderEventKind::Error) {
            continue;
        }
        if (!event.endsRender) {
            rememberUnreadable(event.sourceFileName);
            continue;
        }
        lastEnding_ = Ending::Failed;
        endMixAndReport(event.description.empty() ? describeFailure(event.result, {})
                                                  : QString::fromStdString(event.description));
        return;
    }
}

QString MixController::endStatusText() const {
    switch (lastEnding_) {
        case Ending::Completed:
            return doneStatusText(job_.outputSettings);
        case Ending::Failed:
            return failedStatusText(lastFailure_);
        case Ending::Stopped:
            break;
    }
    return stoppedStatusText(static_cast<int>(lastWrittenRefTime_ / editing::kRefTimePerSecond),
                             job_.outputSettings);
}

std::optional<MixController::Progress> MixController::progress() const {
    if (!MixRenderEngine || !job_.Converting) {
        return std::nullopt;
    }
    return Progress{MixRenderEngine->progressRefTime(), MixRenderEngine->durationRefTime()};
}

std::optional<double> MixController::progressFraction() const {
    if (!MixRenderEngine || !job_.Converting) {
        return std::nullopt;
    }
    const editing::RefTime total = MixRenderEngine->durationRefTime();
    if (total <= 0) {
        return 0.0;
    }
    const double fraction =
        static_cast<double>(MixRenderEngine->progressRefTime()) / static_cast<double>(total);
    return std::clamp(fraction, 0.0, 1.0);
}

}  // namespace mixer
