#include "mixer/output/output_options_acceptance.h"

#include "base/text/chosen_file_names.h"
#include "editing/compressors/video_format_limits.h"
#include "mixer/output/number_text.h"
#include "mixer/output/output_options_rules.h"
#include "mixer/project/frame_rates.h"

#include <climits>

namespace mixer {

namespace {

// Longest path the platform opens, in bytes without the terminating zero.
constexpr qsizetype kLongestPathBytes = PATH_MAX - 1;

struct FrameRateResult {
    int index = 0;
    double framesPerSecond = kDefaultFrameRate;
};

FrameRateResult frameRateForSelection(int selection, const QString& customText) {
    if (const std::optional<double> fixed = fixedFrameRateAt(selection)) {
        return {selection, *fixed};
    }
    if (selection == kCustomFrameRateIndex) {
        return {selection, leadingDecimal(customText)};
    }
    if (selection == kFirstClipFrameRateIndex) {
        return {selection, kDefaultFrameRate};
    }
    return {0, kDefaultFrameRate};
}

// The refusal of the video compressor for what OK knows of the frames; what comes from the first
// clip is judged when a mix starts, so here it stands in as a format every compressor takes.
QString frameFormatRefusal(const CompressorBinding& video, const OutputSettings& settings) {
    const bool sizeKnown = settings.SizeSource == OutputSizeSource::Chosen;
    const bool rateKnown = settings.OutputFrameRateIndex != kFirstClipFrameRateIndex;
    const editing::VideoFrameFormat format{
        sizeKnown ? settings.OutputWidth : kSmallestFrameSide,
        sizeKnown ? settings.OutputHigh : kSmallestFrameSide,
        rateKnown ? settings.OutputFrameRate : kDefaultFrameRate};
    std::string description;
    if (editing::failed(editing::checkVideoFrameFormat(video.use ? video.compressor : std::nullopt,
                                                       format, description))) {
        return QString::fromStdString(description);
    }
    return {};
}

}  // namespace

OutputOptionsVerdict acceptOutputOptions(const OutputOptionsEntries& entries,
                                         const OutputSettings& current,
                                         const editing::CompressorRegistry& registry,
                                         ProfileWriter& profile) {
    // Every check comes before the first write, so a refused OK leaves the profile as it was.
    if (leadingDecimal(entries.frameRateText) < kSmallestFrameRate) {
        return {std::nullopt, QString::fromUtf8(kFrameRateTooSmallText)};
    }
    if (entries.outputName.toUtf8().size() > kLongestPathBytes) {
        return {std::nullopt, QString::fromUtf8(kOutputNameTooLongText)};
    }
    if (base::fileNameHasWildcard(entries.outputName)) {
        return {std::nullopt, base::wildcardNameRefusalText(entries.outputName)};
    }

    AcceptedOutputOptions accepted{current, {}, {}};
    OutputSettings& settings = accepted.settings;

    const FrameRateResult frameRate =
        frameRateForSelection(entries.frameRateSelection, entries.frameRateText);
    settings.OutputFrameRateIndex = frameRate.index;
    settings.OutputFrameRate = frameRate.framesPerSecond;
    settings.OutputName = entries.outputName.toStdString();
    settings.OutputWidth = normalisedFrameSide(entries.widthText);
    settings.OutputHigh = normalisedFrameSide(entries.heightText);
    settings.SizeSource = entries.resolutionSelection == kFirstClipResolutionIndex
                              ? OutputSizeSource::FirstClip
                              : OutputSizeSource::Chosen;

    const int videoNumber = storedNumberForListIndex(entries.videoCompressorSelection);
    const int audioNumber = storedNumberForListIndex(entries.audioCompressorSelection);
    accepted.video = bindVideoCompressor(registry, videoNumber);
    accepted.audio = bindAudioCompressor(registry, audioNumber);
    using editing::OutputContainer;
    const OutputContainer outputContainer = editing::containerForFileName(settings.OutputName);
    if (outputContainer.format().choiceMemory == editing::ChoiceMemory::EncoderNames) {
        BoundCompressors bound =
            bindSelections(registry, outputContainer,
                           entries.namedSelections[static_cast<std::size_t>(outputContainer)]);
        accepted.video = std::move(bound.video);
        accepted.audio = std::move(bound.audio);
    }
    if (QString refusal = frameFormatRefusal(accepted.video, settings); !refusal.isEmpty()) {
        return {std::nullopt, std::move(refusal)};
    }

    profile.writeInteger(settings::kOutputFrameRateIndex, entries.frameRateSelection);
    profile.writeText(settings::kOutputFrameRate, formatSixDecimals(settings.OutputFrameRate));
    profile.writeText(settings::kOutputName, entries.outputName);
    profile.writeInteger(settings::kOutputWidth, settings.OutputWidth);
    profile.writeInteger(settings::kOutputHigh, settings.OutputHigh);
    profile.writeInteger(settings::kVideoCompressorNumber, videoNumber);
    profile.writeInteger(settings::kAudioCompressorNumber, audioNumber);
    for (const OutputContainer container : editing::kOutputContainers) {
        if (container.format().choiceMemory != editing::ChoiceMemory::EncoderNames) {
            continue;
        }
        const CompressorSelections& selections =
            entries.namedSelections[static_cast<std::size_t>(container)];
        profile.writeText(videoEncoderSetting(container),
                          videoEncoderNameAt(registry, container, selections.video));
        profile.writeText(audioEncoderSetting(container),
                          audioEncoderNameAt(registry, container, selections.audio));
    }
    profile.writeInteger(settings::kOutputSizeFromFirstClip,
                         settings.SizeSource == OutputSizeSource::FirstClip ? 1 : 0);
    settings.UseVideoCompressor = accepted.video.use;
    settings.UseAudioCompressor = accepted.audio.use;

    settings.ResizeMode = resizeModeForIndex(entries.resizeModeSelection);
    return {std::move(accepted), {}};
}

}  // namespace mixer
