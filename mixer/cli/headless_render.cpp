#include "mixer/cli/headless_render.h"

#include "base/ports/prompt_port.h"
#include "editing/compressors/compressor_registry.h"
#include "editing/compressors/output_container.h"
#include "editing/render/render_engine.h"
#include "mixer/cli/render_progress_line.h"
#include "mixer/media/project_opening.h"
#include "mixer/mix/output_protection.h"
#include "mixer/output/container_compressors.h"
#include "mixer/output/output_frame_format.h"
#include "mixer/output/project_compressors.h"
#include "mixer/project/frame_rates.h"
#include "mixer/project/media_lists.h"
#include "mixer/project/profile_loading.h"
#include "mixer/project/project_file.h"
#include "mixer/project/settings_store.h"
#include "mixer/timeline/timeline_build.h"

#include <QFile>
#include <QFileInfo>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <map>
#include <thread>

namespace mixer {

namespace {

volatile std::sig_atomic_t stopSignal = 0;

extern "C" void rememberStopSignal(int signalNumber) {
    stopSignal = signalNumber;
}

// Installs the SIGINT / SIGTERM handlers for the life of the render.
class StopSignals {
  public:
    StopSignals() {
        stopSignal = 0;
        struct sigaction action {};
        action.sa_handler = rememberStopSignal;
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGINT, &action, &oldInterrupt_);
        ::sigaction(SIGTERM, &action, &oldTerminate_);
    }
    ~StopSignals() {
        ::sigaction(SIGINT, &oldInterrupt_, nullptr);
        ::sigaction(SIGTERM, &oldTerminate_, nullptr);
    }
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

  private:
    struct sigaction oldInterrupt_ {};
    struct sigaction oldTerminate_ {};
};

void printLine(const QString& text) {
    std::fprintf(stderr, "orvindel: %s\n", text.toLocal8Bit().constData());
}

// What the time-line build would show in a box goes to stderr; a question is answered No.
class StderrPrompt : public base::PromptPort {
  public:
    base::PromptAnswer show(const base::PromptRequest& request) override {
        printLine(request.text);
        switch (request.buttons) {
            case base::PromptButtons::YesNo:
                return base::PromptAnswer::No;
            case base::PromptButtons::SaveDiscardCancel:
                return base::PromptAnswer::Cancel;
            case base::PromptButtons::Ok:
                break;
        }
        return base::PromptAnswer::Ok;
    }
};

struct LoadedJob {
    bool loaded = false;
    MixJob job;
    QString projectPath;  // absolute; empty for media files
    // The compressors a project names for its output; empty: the profile's.
    std::optional<BoundCompressors> compressors;
};

// The compressors the window binds at start-up, from the stored choices and the container of
// the stored output name; their use flags are what a list without a project mixes with.
BoundCompressors storedCompressors(const editing::CompressorRegistry& registry,
                                   const SettingsStore& store) {
    return bindStoredCompressors(
        registry, store,
        editing::containerForFileName(store.read(settings::kOutputName).toStdString()));
}

void loadStoredOutput(const SettingsStore& store, const BoundCompressors& bound,
                      OutputSettings& output) {
    loadOutputNameAndSize(store, output);
    loadFrameRate(store, output);
    output.UseVideoCompressor = bound.video.use;
    output.UseAudioCompressor = bound.audio.use;
}

LoadedJob loadProject(const QString& path, const SettingsStore& store,
                      const editing::CompressorRegistry& registry, const BoundCompressors& bound) {
    LoadedJob result;
    result.projectPath = QFileInfo(path).absoluteFilePath();
    QFile file(result.projectPath);
    if (!file.open(QIODevice::ReadOnly)) {
        printLine(QStringLiteral("Cannot open the project %1: %2")
                      .arg(result.projectPath, file.errorString()));
        return result;
    }
    ProjectReadContext context;
    context.projectFolder = QFileInfo(result.projectPath).absolutePath();
    loadStoredOutput(store, bound, context.currentOutput);
    context.transitionDefaults = loadTransitionDefaults(store);
    context.compressorNames = [&registry](CompressorStream stream, const std::string& outputName,
                                          const QString& name) {
        return compressorNameMeaning(registry, stream, outputName, name);
    };
    ProjectReadResult read = readProjectText(file.readAll(), context);
    if (!read.contents) {
        printLine(
            QStringLiteral("Cannot open the project %1: %2").arg(result.projectPath, read.problem));
        return result;
    }
    const QStringList unusable = probeProjectFiles(*read.contents);
    if (!unusable.isEmpty()) {
        for (const QString& missing : unusable) {
            printLine(QStringLiteral("Missing or unreadable: %1").arg(missing));
        }
        return result;
    }
    if (const QString problem = checkSpansWithinFiles(*read.contents); !problem.isEmpty()) {
        printLine(
            QStringLiteral("Cannot open the project %1: %2").arg(result.projectPath, problem));
        return result;
    }
    result.job.videos = std::move(read.contents->videos);
    result.job.audios = std::move(read.contents->audios);
    result.job.outputSettings = read.contents->output;
    result.job.transitionDefaults = context.transitionDefaults;
    if (read.contents->compressorNames != ProjectCompressorNames{}) {
        result.compressors = bindCompressorNames(
            registry, store, result.job.outputSettings.OutputName, read.contents->compressorNames);
    }
    result.loaded = true;
    return result;
}

LoadedJob loadMediaFiles(const QStringList& files, const SettingsStore& store,
                         const BoundCompressors& bound) {
    LoadedJob result;
    loadStoredOutput(store, bound, result.job.outputSettings);
    result.job.transitionDefaults = loadTransitionDefaults(store);
    // The same entries the add buttons make: probe every file first (each once).
    ProjectContents probed;
    for (const QString& file : files) {
        const std::string path = QFileInfo(file).absoluteFilePath().toStdString();
        if (isSoundFileName(file)) {
            probed.audios.push_back({path});
        } else {
            probed.videos.push_back({path});
        }
    }
    const QStringList unusable = probeProjectFiles(probed);
    if (!unusable.isEmpty()) {
        for (const QString& missing : unusable) {
            printLine(QStringLiteral("Missing or unreadable: %1").arg(missing));
        }
        return result;
    }
    seedStandardRandomNumbers();
    MediaLists lists(result.job);
    for (const VideoEntry& video : probed.videos) {
        if (lists.appendVideo({video.FileName, video.Duration}) != AppendOutcome::Appended) {
            printLine(appendRefusalMessage(AppendOutcome::VideoListFull));
            return result;
        }
    }
    std::vector<ProbedFile> sounds;
    for (const AudioEntry& audio : probed.audios) {
        sounds.push_back({audio.FileName, audio.Duration});
    }
    if (lists.appendAudio(sounds).outcome != AppendOutcome::Appended) {
        printLine(appendRefusalMessage(AppendOutcome::AudioListFull));
        return result;
    }
    result.loaded = true;
    return result;
}

int exitStatusOfSignal(int signalNumber) {
    return signalNumber == SIGTERM ? kExitTerminated : kExitInterrupted;
}

}  // namespace

int runHeadlessRender(const CommandLine& line, const SettingsStore& store) {
    const bool project = line.files.size() == 1 && isProjectFileName(line.files.front());
    const editing::CompressorRegistry registry = editing::CompressorRegistry::discover();
    const BoundCompressors stored = storedCompressors(registry, store);
    LoadedJob loaded = project ? loadProject(line.files.front(), store, registry, stored)
                               : loadMediaFiles(line.files, store, stored);
    if (!loaded.loaded) {
        return kExitBadInput;
    }
    MixJob& job = loaded.job;
    OutputSettings& output = job.outputSettings;
    const editing::OutputContainer projectContainer =
        editing::containerForFileName(output.OutputName);
    if (!line.outputFileName.isEmpty()) {
        output.OutputName = QFileInfo(line.outputFileName).absoluteFilePath().toStdString();
    }
    if (line.width && line.height) {
        output.OutputWidth = *line.width;
        output.OutputHigh = *line.height;
        output.SizeSource = OutputSizeSource::Chosen;
    }
    if (line.frameRate) {
        output.OutputFrameRate = *line.frameRate;
        output.OutputFrameRateIndex = kCustomFrameRateIndex;
    }
    // The compressors are those of the container actually written: an MP4 or Matroska output
    // named by -o or by the project is never handed the AVI choices, which it cannot hold. The
    // compressors a project names hold only for the container they were named for.
    const editing::OutputContainer container = editing::containerForFileName(output.OutputName);
    if (container != projectContainer) {
        loaded.compressors.reset();
    }
    if (!loaded.compressors) {
        loaded.compressors = bindOutputCompressors(registry, store, output);
    }
    if (job.videos.empty()) {
        printLine(QStringLiteral("There is no video to render."));
        return kExitBadInput;
    }
    std::vector<ProtectedFile> protectedFiles;
    if (!loaded.projectPath.isEmpty()) {
        protectedFiles.push_back(
            {ProtectedFileKind::ProjectFile, loaded.projectPath.toStdString()});
    }
    if (const auto clash = findProtectedOutputClash(job, output.OutputName, protectedFiles)) {
        printLine(protectedOutputMessage(*clash, output.OutputName));
        return kExitBadInput;
    }

    // As the window hands them to Mix: the bound compressor of each stream whose use flag is on.
    editing::RenderOutputSettings settings;
    settings.outputFileName = output.OutputName;
    const BoundCompressors& chosen = *loaded.compressors;
    if (output.UseVideoCompressor) {
        settings.videoCompressor = chosen.video.compressor;
    }
    if (output.UseAudioCompressor) {
        settings.audioCompressor = chosen.audio.compressor;
    }

    // Judged before the time line exists: it allocates frames of this size.
    if (const QString refusal =
            settleOutputFrameFormat(output, job.videos, settings.videoCompressor);
        !refusal.isEmpty()) {
        printLine(refusal);
        return kExitBadInput;
    }

    StderrPrompt prompt;
    BuiltTimeline built = BuildTimeline(
        job, realTimelineFactory(), prompt,
        [](const std::string&) -> std::optional<std::string> { return std::nullopt; });
    if (editing::failed(built.status) || !built.CurrentTimeline) {
        return kExitRenderFailed;
    }

    const StopSignals stopSignals;
    editing::RenderEngine engine;
    const editing::Result started = engine.start(built.CurrentTimeline->snapshot(), settings);
    if (editing::failed(started)) {
        printLine(QStringLiteral("The render could not start: %1")
                      .arg(QString::fromStdString(engine.lastErrorDescription())));
        return kExitRenderFailed;
    }
    RenderProgressLine progress(stderr);
    const auto began = std::chrono::steady_clock::now();
    constexpr double kRefTimePerSecond = 10'000'000.0;
    int status = -1;
    while (status < 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        for (const editing::RenderEvent& event : engine.takeEvents()) {
            if (event.kind == editing::RenderEventKind::Complete) {
                status = kExitDone;
            } else if (event.endsRender) {
                progress.finish();
                printLine(QStringLiteral("The render failed: %1")
                              .arg(QString::fromStdString(event.description)));
                status = kExitRenderFailed;
            } else if (!event.sourceFileName.empty()) {
                progress.finish();
                printLine(QStringLiteral("Cannot read %1; its part is black or silent.")
                              .arg(QString::fromStdString(event.sourceFileName)));
            }
        }
        if (status < 0 && stopSignal != 0) {
            status = exitStatusOfSignal(stopSignal);
        }
        const double wallSeconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
        progress.show(static_cast<double>(engine.progressRefTime()) / kRefTimePerSecond,
                      static_cast<double>(engine.durationRefTime()) / kRefTimePerSecond,
                      wallSeconds);
    }
    // Stopping finishes the file (trailer, index), so it plays up to this point.
    engine.stop();
    progress.finish();
    for (const editing::RenderEvent& event : engine.takeEvents()) {
        if (event.endsRender && status != kExitRenderFailed) {
            printLine(QStringLiteral("Finishing the file failed: %1")
                          .arg(QString::fromStdString(event.description)));
            status = kExitRenderFailed;
        }
    }
    if (status == kExitDone) {
        std::fprintf(stderr, "orvindel: Done: %s\n", output.OutputName.c_str());
    }
    return status;
}

}  // namespace mixer
