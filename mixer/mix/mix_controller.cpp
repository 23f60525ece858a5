#include "mixer/mix/mix_controller.h"

#include "editing/render/render_engine.h"
#include "mixer/timeline/missing_file_locator.h"

#include <QFile>

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

}  // namespace

MixController::MixController(MixJob& job, widgets::PromptPort& prompt,
                             widgets::FilePickerPort& filePicker, QWidget* owner)
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

void MixController::onMixCommand() {
    // While a mix runs the button is "Stop" whatever the lists hold now: they stay editable
    // during a mix, and emptying them must not leave a mix that cannot be stopped.
    if (job_.Converting) {
        StopRender();
        return;
    }
    if (job_.videos.empty()) {
        prompt_.tell(QString::fromUtf8(kOpenVideoFirstMessage), {}, widgets::PromptIcon::None,
                     owner_);
        return;
    }
    if (static_cast<int>(job_.videos.size()) > kMaxListEntries ||
        static_cast<int>(job_.audios.size()) > kMaxListEntries) {
        prompt_.tell(QString::fromUtf8(kTooManyFilesMessage), {}, widgets::PromptIcon::None,
                     owner_);
        return;
    }
    if (!outputMayBeWritten()) {
        return;
    }
    startMix();
}

bool MixController::outputMayBeWritten() {
    const QString outputName = QString::fromStdString(job_.outputSettings.OutputName);
    QFile existing(outputName);
    if (!existing.open(QIODevice::ReadOnly)) {
        return true;  // nothing readable there: nothing to protect
    }
    existing.close();
    const widgets::PromptAnswer answer =
        prompt_.show({QString::fromUtf8(kReplaceOutputQuestion).arg(outputName),
                      QString::fromUtf8(kReplaceOutputCaption), widgets::PromptIcon::Warning,
                      widgets::PromptButtons::YesNo, owner_});
    if (answer != widgets::PromptAnswer::Yes) {
        return false;
    }
    // A failed deletion is not reported: the render overwrites the file.
    QFile::remove(outputName);
    return true;
}

void MixController::startMix() {
    // Whatever a failed start before left behind is released before the new build.
    releaseRender();

    BuiltTimeline built = BuildTimeline(job_, timelineFactory_, prompt_,
                                        makeMissingFileLocator(filePicker_, owner_), owner_);
    if (editing::failed(built.status) || !built.CurrentTimeline) {
        return;  // no time line to render; the build has told the user why
    }
    CurrentTimeline = std::move(built.CurrentTimeline);

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
        MixRenderEngine->start(CurrentTimeline->snapshot(), std::move(settings));
    if (editing::failed(started)) {
        const QString text = describeFailure(started, MixRenderEngine->lastErrorDescription());
        releaseRender();
        prompt_.tell(text, QStringLiteral("Error"), widgets::PromptIcon::Error, owner_);
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
    releaseRender();
    job_.Converting = false;
    emit mixEnded();
    job_.ElapsedSeconds = 0;
}

void MixController::HandleRenderEvents() {
    if (!MixRenderEngine) {
        return;
    }
    for (const editing::RenderEvent& event : MixRenderEngine->takeEvents()) {
        if (event.kind == editing::RenderEventKind::Complete) {
            lastEnding_ = Ending::Completed;
            StopRender();
            return;
        }
        if (event.kind == editing::RenderEventKind::Error) {
            const QString text = event.description.empty()
                                     ? describeFailure(event.result, {})
                                     : QString::fromStdString(event.description);
            // The mix ends before the box is shown, so a notification arriving while the box
            // is open finds no render and does nothing.
            lastEnding_ = Ending::Failed;
            StopRender();
            prompt_.tell(text, QStringLiteral("Error"), widgets::PromptIcon::Error, owner_);
            return;
        }
    }
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
