#include "editing/playback/media_input.h"

namespace editing {

Result MediaInput::open(const std::string& fileName, AVMediaType type, int decoderThreads,
                        std::string& description) {
    AVFormatContext* opened = nullptr;
    int status = avformat_open_input(&opened, fileName.c_str(), nullptr, nullptr);
    if (status < 0) {
        description = "Could not open \"" + fileName + "\": " + describeResult(status);
        return status;
    }
    format_.reset(opened);
    status = avformat_find_stream_info(format_.get(), nullptr);
    if (status < 0) {
        description = "Could not read \"" + fileName + "\": " + describeResult(status);
        return status;
    }
    const AVCodec* codec = nullptr;
    streamIndex_ = av_find_best_stream(format_.get(), type, -1, -1, &codec, 0);
    if (streamIndex_ < 0 || codec == nullptr) {
        description = "\"" + fileName + "\" has no " +
                      (type == AVMEDIA_TYPE_VIDEO ? "picture" : "sound") + " that can be decoded.";
        return kErrorNoDecodableStream;
    }
    // Only the chosen stream is demuxed into packets we look at.
    for (unsigned index = 0; index < format_->nb_streams; ++index) {
        format_->streams[index]->discard =
            static_cast<int>(index) == streamIndex_ ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    }
    decoder_.reset(avcodec_alloc_context3(codec));
    packet_ = ffmpeg::makePacket();
    if (!decoder_ || !packet_) {
        description = "Not enough memory to read \"" + fileName + "\".";
        return kErrorOutOfMemory;
    }
    status =
        avcodec_parameters_to_context(decoder_.get(), format_->streams[streamIndex_]->codecpar);
    if (status < 0) {
        description =
            "Could not set up the decoder for \"" + fileName + "\": " + describeResult(status);
        decoder_.reset();
        return status;
    }
    decoder_->pkt_timebase = format_->streams[streamIndex_]->time_base;
    if (decoderThreads > 1) {
        decoder_->thread_count = decoderThreads;
        decoder_->thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
    } else {
        decoder_->thread_count = 1;
    }
    status = avcodec_open2(decoder_.get(), codec, nullptr);
    if (status < 0) {
        description =
            "Could not open the decoder for \"" + fileName + "\": " + describeResult(status);
        decoder_.reset();
        return kErrorNoDecodableStream;
    }
    return kOk;
}

void MediaInput::seekBefore(RefTime mediaTime) {
    const AVStream& chosen = stream();
    RefTime target = mediaTime;
    int64_t timestamp = av_rescale_q(target, AVRational{1, 10'000'000}, chosen.time_base);
    if (chosen.start_time != AV_NOPTS_VALUE) {
        timestamp += chosen.start_time;
    }
    if (av_seek_frame(format_.get(), streamIndex_, timestamp, AVSEEK_FLAG_BACKWARD) >= 0) {
        avcodec_flush_buffers(decoder_.get());
        inputEnded_ = false;
        decoderDrained_ = false;
    }
}

bool MediaInput::nextFrame(AVFrame& frame) {
    av_frame_unref(&frame);
    while (!decoderDrained_) {
        const int received = avcodec_receive_frame(decoder_.get(), &frame);
        if (received >= 0) {
            return true;
        }
        if (received == AVERROR_EOF) {
            decoderDrained_ = true;
            break;
        }
        if (received != AVERROR(EAGAIN)) {
            decoderDrained_ = true;
            break;
        }
        if (inputEnded_) {
            avcodec_send_packet(decoder_.get(), nullptr);
            continue;
        }
        const int read = av_read_frame(format_.get(), packet_.get());
        if (read < 0) {
            inputEnded_ = true;
            avcodec_send_packet(decoder_.get(), nullptr);
            continue;
        }
        if (packet_->stream_index == streamIndex_) {
            // A damaged packet is skipped; the decoder goes on with the next one.
            avcodec_send_packet(decoder_.get(), packet_.get());
        }
        av_packet_unref(packet_.get());
    }
    return false;
}

const std::int32_t* MediaInput::displayMatrix() const {
    size_t size = 0;
    const uint8_t* data = av_stream_get_side_data(&stream(), AV_PKT_DATA_DISPLAYMATRIX, &size);
    if (data == nullptr || size < 9 * sizeof(std::int32_t)) {
        return nullptr;
    }
    return reinterpret_cast<const std::int32_t*>(data);
}

RefTime MediaInput::frameTime(const AVFrame& frame) const {
    const AVStream& chosen = stream();
    int64_t timestamp = frame.best_effort_timestamp;
    if (timestamp == AV_NOPTS_VALUE) {
        timestamp = frame.pts;
    }
    if (timestamp == AV_NOPTS_VALUE) {
        return 0;
    }
    if (chosen.start_time != AV_NOPTS_VALUE) {
        timestamp -= chosen.start_time;
    }
    return av_rescale_q(timestamp, chosen.time_base, AVRational{1, 10'000'000});
}

}  // namespace editing
