#include "editing/render/growing_file_index.h"

#include "editing/render/avi_progressive_index.h"
#include "editing/render/fragment_duration_patch.h"
#include "editing/render/matroska_duration_patch.h"

extern "C" {
#include <libavformat/avformat.h>
}

#include <string>
#include <vector>

namespace editing {

void addGrowingFileIndexOptions(OutputContainer container, AVDictionary*& options) {
    const GrowingIndex kind = container.format().growingIndex;
    if (kind == GrowingIndex::AviOpenDml) {
        av_dict_set(&options, "reserve_index_space",
                    std::to_string(AviProgressiveIndex::reservedIndexBytes()).c_str(), 0);
    } else if (kind == GrowingIndex::SegmentDuration) {
        av_dict_set(&options, "cluster_time_limit",
                    MatroskaDurationPatch::clusterMillisecondsOption(), 0);
        // Each cluster reaches the file as soon as it is complete, not when the output's
        // buffer (a quarter of a megabyte) fills.
        av_dict_set(&options, "flush_packets", "1", 0);
    }
}

std::unique_ptr<GrowingFileIndex> makeGrowingFileIndex(OutputContainer container,
                                                       AVFormatContext& format,
                                                       const std::string& fileName) {
    if (format.pb == nullptr) {
        return nullptr;
    }
    switch (container.format().growingIndex) {
        case GrowingIndex::FragmentDurations:
            return std::make_unique<FragmentDurationPatch>(fileName);
        case GrowingIndex::AviOpenDml: {
            std::vector<int> blockAlignBytes;
            for (unsigned index = 0; index < format.nb_streams; ++index) {
                const AVCodecParameters& parameters = *format.streams[index]->codecpar;
                blockAlignBytes.push_back(parameters.codec_type == AVMEDIA_TYPE_AUDIO
                                              ? std::max(parameters.block_align, 0)
                                              : -1);
            }
            return std::make_unique<AviProgressiveIndex>(*format.pb, fileName, blockAlignBytes);
        }
        case GrowingIndex::SegmentDuration:
            return std::make_unique<MatroskaDurationPatch>(fileName);
    }
    return nullptr;
}

}  // namespace editing
