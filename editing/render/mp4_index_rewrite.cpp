#include "editing/render/mp4_index_rewrite.h"

#include "editing/core/ffmpeg_handles.h"

#include <cstdio>
#include <vector>

namespace editing {

namespace {

Result copyPackets(AVFormatContext& input, const std::string& target,
                   const std::vector<std::int64_t>& primingMicroseconds, std::string& description) {
    AVFormatContext* allocated = nullptr;
    int status = avformat_alloc_output_context2(&allocated, nullptr, "mp4", target.c_str());
    ffmpeg::OutputFormatHandle output(allocated);
    if (status < 0 || !output) {
        description = "Could not set up the MP4 writer: " + describeResult(status);
        return status < 0 ? Result{status} : kErrorFail;
    }
    for (unsigned index = 0; index < input.nb_streams; ++index) {
        const AVStream& source = *input.streams[index];
        AVStream* copy = avformat_new_stream(output.get(), nullptr);
        if (copy == nullptr || avcodec_parameters_copy(copy->codecpar, source.codecpar) < 0) {
            return kErrorOutOfMemory;
        }
        copy->codecpar->codec_tag = 0;
        copy->time_base = source.time_base;
        copy->avg_frame_rate = source.avg_frame_rate;
    }
    status = avio_open(&output->pb, target.c_str(), AVIO_FLAG_WRITE);
    if (status < 0) {
        description = "Could not create \"" + target + "\": " + describeResult(status);
        return status;
    }
    AVDictionary* options = nullptr;
    av_dict_set(&options, "movflags", "faststart+negative_cts_offsets", 0);
    status = avformat_write_header(output.get(), &options);
    av_dict_free(&options);
    // Every stream of ours starts at 0, but a fragment cannot hold negative decoding times, so
    // the fragmented file starts a video stream with B-frames later by their reordering delay;
    // the copy takes each stream's start off again, and the index holds the delay instead.
    ffmpeg::PacketHandle packet = ffmpeg::makePacket();
    while (status >= 0 && packet) {
        const int read = av_read_frame(&input, packet.get());
        if (read == AVERROR_EOF) {
            break;
        }
        if (read < 0) {
            status = read;
            break;
        }
        const AVStream& source = *input.streams[packet->stream_index];
        const auto streamIndex = static_cast<std::size_t>(packet->stream_index);
        const std::int64_t priming =
            streamIndex < primingMicroseconds.size()
                ? av_rescale_q(primingMicroseconds[streamIndex], AV_TIME_BASE_Q, source.time_base)
                : 0;
        const std::int64_t shift =
            (source.start_time != AV_NOPTS_VALUE ? source.start_time : 0) + priming;
        if (packet->pts != AV_NOPTS_VALUE) {
            packet->pts -= shift;
        }
        if (packet->dts != AV_NOPTS_VALUE) {
            packet->dts -= shift;
        }
        av_packet_rescale_ts(packet.get(), source.time_base,
                             output->streams[packet->stream_index]->time_base);
        packet->pos = -1;
        status = av_interleaved_write_frame(output.get(), packet.get());
    }
    if (status >= 0) {
        status = av_write_trailer(output.get());
    }
    const int closed = avio_closep(&output->pb);
    if (status >= 0) {
        status = closed;
    }
    if (status < 0) {
        description = "Could not write \"" + target + "\": " + describeResult(status);
    }
    return status < 0 ? Result{status} : kOk;
}

}  // namespace

Result rewriteWithIndexAtFront(const std::string& fileName,
                               const std::vector<std::int64_t>& primingMicroseconds,
                               std::string& description) {
    AVFormatContext* opened = nullptr;
    int status = avformat_open_input(&opened, fileName.c_str(), nullptr, nullptr);
    if (status < 0) {
        description = "Could not reopen \"" + fileName + "\": " + describeResult(status);
        return status;
    }
    ffmpeg::InputFormatHandle input(opened);
    status = avformat_find_stream_info(input.get(), nullptr);
    if (status < 0) {
        description = "Could not read \"" + fileName + "\": " + describeResult(status);
        return status;
    }
    const std::string rewritten = fileName + ".faststart";
    const Result copied = copyPackets(*input, rewritten, primingMicroseconds, description);
    input.reset();
    if (failed(copied) || std::rename(rewritten.c_str(), fileName.c_str()) != 0) {
        std::remove(rewritten.c_str());
        if (succeeded(copied)) {
            description = "Could not replace \"" + fileName + "\" by its rewritten copy.";
            return kErrorFail;
        }
        return copied;
    }
    return kOk;
}

}  // namespace editing
