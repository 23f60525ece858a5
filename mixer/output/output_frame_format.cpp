#include "mixer/output/output_frame_format.h"

#include "editing/compressors/video_format_limits.h"
#include "editing/probe/picture_format_probe.h"
#include "mixer/output/output_options_rules.h"
#include "mixer/project/frame_rates.h"

#include <cmath>

namespace mixer {

QString settleOutputFrameFormat(OutputSettings& output, const std::vector<VideoEntry>& videos,
                                const std::optional<editing::Compressor>& videoCompressor) {
    const bool sizeFromClip = output.SizeSource == OutputSizeSource::FirstClip;
    const bool rateFromClip = output.OutputFrameRateIndex == kFirstClipFrameRateIndex;
    std::string description;
    if ((sizeFromClip || rateFromClip) && !videos.empty()) {
        editing::ShownPictureFormat shown;
        if (editing::failed(
                editing::probeShownPictureFormat(videos.front().FileName, shown, description))) {
            return QString::fromStdString(description);
        }
        if (sizeFromClip) {
            output.OutputWidth = normalisedFrameSide(QString::number(shown.width));
            output.OutputHigh = normalisedFrameSide(QString::number(shown.height));
        }
        if (rateFromClip) {
            output.OutputFrameRate = std::round(shown.framesPerSecond * 1000.0) / 1000.0;
        }
    }
    if (editing::failed(editing::checkVideoFrameFormat(
            videoCompressor, {output.OutputWidth, output.OutputHigh, output.OutputFrameRate},
            description))) {
        return QString::fromStdString(description);
    }
    return {};
}

}  // namespace mixer
