#include "mixer/output/output_options_acceptance.h"

#include "mixer/output/number_text.h"
#include "mixer/output/output_options_rules.h"
#include "mixer/project/frame_rates.h"
#include "widgets/chosen_file_names.h"

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
    if (selection >= 0 && selection < static_cast<int>(kFrameRatePresets.size())) {
        return {selection, kFrameRatePresets[static_cast<std::size_t>(selection)].framesPerSecond};
    }
    if (selection == kCustomFrameRateIndex) {
        return {selection, leadingDecimal(customText)};
    }
    return {0, kDefaultFrameRate};
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
    if (widgets::fileNameHasWildcard(entries.outputName)) {
        return {std::nullopt, widgets::wildcardNameRefusalText(entries.outputName)};
    }

    AcceptedOutputOptions accepted{current, {}, {}};
    OutputSettings& settings = accepted.settings;

    const FrameRateResult frameRate =
        frameRateForSelection(entries.frameRateSelection, entries.frameRateText);
    profile.writeInteger(settings::kOutputFrameRateIndex, entries.frameRateSelection);
    settings.OutputFrameRateIndex = frameRate.index;
    settings.OutputFrameRate = frameRate.framesPerSecond;
    profile.writeText(settings::kOutputFrameRate, formatSixDecimals(settings.OutputFrameRate));

    settings.OutputName = entries.outputName.toStdString();
    profile.writeText(settings::kOutputName, entries.outputName);

    settings.OutputWidth = normalisedFrameSide(entries.widthText);
    settings.OutputHigh = normalisedFrameSide(entries.heightText);
    profile.writeInteger(settings::kOutputWidth, settings.OutputWidth);
    profile.writeInteger(settings::kOutputHigh, settings.OutputHigh);

    const int videoNumber = storedNumberForListIndex(entries.videoCompressorSelection);
    profile.writeInteger(settings::kVideoCompressorNumber, videoNumber);
    accepted.video = bindVideoCompressor(registry, videoNumber);

    const int audioNumber = storedNumberForListIndex(entries.audioCompressorSelection);
    profile.writeInteger(settings::kAudioCompressorNumber, audioNumber);
    accepted.audio = bindAudioCompressor(registry, audioNumber);

    using editing::OutputContainer;
    for (const auto& [container, selections] :
         {std::pair{OutputContainer::Mp4, entries.mp4Selections},
          std::pair{OutputContainer::Matroska, entries.matroskaSelections}}) {
        profile.writeText(videoEncoderSetting(container),
                          videoEncoderNameAt(registry, container, selections.video));
        profile.writeText(audioEncoderSetting(container),
                          audioEncoderNameAt(registry, container, selections.audio));
        if (editing::containerForFileName(settings.OutputName) == container) {
            BoundCompressors bound = bindSelections(registry, container, selections);
            accepted.video = std::move(bound.video);
            accepted.audio = std::move(bound.audio);
        }
    }
    settings.UseVideoCompressor = accepted.video.use;
    settings.UseAudioCompressor = accepted.audio.use;

    settings.ResizeMode = resizeModeForIndex(entries.resizeModeSelection);
    return {std::move(accepted), {}};
}

}  // namespace mixer
