#include "editing/render/output_file_writer.h"

#include "editing/render/growing_file_index.h"
#include "editing/render/mp4_index_rewrite.h"
#include "editing/render/output_stream.h"

extern "C" {
#include <libavutil/imgutils.h>
}

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace editing {

namespace {

AVRational rateOf(double framesPerSecond) {
    return av_d2q(framesPerSecond, 1'000'000);
}

void rescaleRoundingUp(AVPacket& packet, AVRational from, AVRational to) {
    constexpr auto kRounding = static_cast<AVRounding>(AV_ROUND_UP | AV_ROUND_PASS_MINMAX);
    packet.pts = av_rescale_q_rnd(packet.pts, from, to, kRounding);
    packet.dts = av_rescale_q_rnd(packet.dts, from, to, kRounding);
    if (packet.duration > 0) {
        packet.duration = av_rescale_q(packet.duration, from, to);
    }
}

}  // namespace

OutputFileWriter::OutputFileWriter() : packet_(ffmpeg::makePacket()) {}

OutputFileWriter::~OutputFileWriter() = default;

Result OutputFileWriter::create(const std::string& fileName, OutputContainer container,
                                std::string& description) {
    fileName_ = fileName;
    container_ = container;
    if (!packet_) {
        return kErrorOutOfMemory;
    }
    AVFormatContext* allocated = nullptr;
    const int status = avformat_alloc_output_context2(
        &allocated, nullptr, containerMuxerName(container), fileName.c_str());
    format_.reset(allocated);
    if (status < 0 || !format_) {
        description = std::string("Could not set up the ") + containerMuxerName(container) +
                      " writer: " + describeResult(status);
        return status < 0 ? Result{status} : kErrorFail;
    }
    return kOk;
}

Result OutputFileWriter::addVideoStream(int width, int height, double framesPerSecond,
                                        const std::optional<Compressor>& compressor, int& index,
                                        std::string& description) {
    auto entry = std::make_unique<Stream>();
    entry->type = AVMEDIA_TYPE_VIDEO;
    entry->stream = avformat_new_stream(format_.get(), nullptr);
    if (entry->stream == nullptr) {
        return kErrorOutOfMemory;
    }
    const AVRational rate = rateOf(framesPerSecond);
    AVCodecParameters& parameters = *entry->stream->codecpar;
    if (compressor) {
        const Result result =
            openVideoEncoder(*compressor, VideoEncoderFormat{width, height, rate},
                             encoderOptionsFor(*format_, container_), entry->encoder, description);
        if (failed(result)) {
            return result;
        }
        if (avcodec_parameters_from_context(&parameters, entry->encoder.get()) < 0) {
            return kErrorOutOfMemory;
        }
        for (const CodecTag& tag : container_.format().codecTags) {
            if (!tag.encoderName.empty() && tag.encoderName == compressor->encoderName) {
                const std::string_view code = tag.fourCharacterCode;
                parameters.codec_tag = MKTAG(code[0], code[1], code[2], code[3]);
            }
        }
        entry->stream->time_base = entry->encoder->time_base;
        entry->frame = ffmpeg::makeFrame();
        if (!entry->frame) {
            return kErrorOutOfMemory;
        }
        entry->frame->format = entry->encoder->pix_fmt;
        entry->frame->width = width;
        entry->frame->height = height;
        if (av_frame_get_buffer(entry->frame.get(), 0) < 0) {
            return kErrorOutOfMemory;
        }
        if (entry->encoder->pix_fmt != AV_PIX_FMT_YUV420P) {
            entry->scaler.reset(sws_getContext(width, height, AV_PIX_FMT_YUV420P, width, height,
                                               entry->encoder->pix_fmt, SWS_BILINEAR, nullptr,
                                               nullptr, nullptr));
            if (!entry->scaler) {
                description = "No conversion to the encoder's picture format.";
                return kErrorFail;
            }
        }
    } else {
        parameters.codec_type = AVMEDIA_TYPE_VIDEO;
        parameters.codec_id = AV_CODEC_ID_RAWVIDEO;
        parameters.codec_tag = 0;  // BI_RGB
        parameters.format = AV_PIX_FMT_BGR24;
        parameters.bits_per_coded_sample = 24;
        parameters.width = width;
        parameters.height = height;
        parameters.sample_aspect_ratio = AVRational{1, 1};
        entry->stream->time_base = av_inv_q(rate);
        entry->packetTimeBase = av_inv_q(rate);
        entry->stream->avg_frame_rate = rate;
        entry->bgrStride = width * 3;
        entry->dibStride = (width * 3 + 3) & ~3;
        entry->bgrRows.resize(static_cast<std::size_t>(entry->bgrStride) * height);
        entry->packetSize = entry->dibStride * height;
        entry->packetPool.reset(av_buffer_pool_init(
            static_cast<std::size_t>(entry->packetSize) + AV_INPUT_BUFFER_PADDING_SIZE, nullptr));
        entry->scaler.reset(sws_getContext(width, height, AV_PIX_FMT_YUV420P, width, height,
                                           AV_PIX_FMT_BGR24, SWS_BILINEAR | SWS_ACCURATE_RND,
                                           nullptr, nullptr, nullptr));
        if (!entry->scaler || !entry->packetPool) {
            return kErrorOutOfMemory;
        }
    }
    entry->stream->avg_frame_rate = rate;
    entry->stream->r_frame_rate = rate;
    index = static_cast<int>(streams_.size());
    streams_.push_back(std::move(entry));
    return kOk;
}

void OutputFileWriter::delayAudioByVideoReordering() {
    // A fragment holds no negative decoding time: the muxer starts a video stream with B-frames
    // later by their reordering delay. The other streams start as late, so a killed render's
    // file stays in step; the rewrite at the end takes the delay off every stream again.
    std::int64_t delayMicroseconds = 0;
    for (const auto& stream : streams_) {
        if (stream->encoder && stream->type == AVMEDIA_TYPE_VIDEO) {
            delayMicroseconds = std::max(delayMicroseconds,
                                         av_rescale_q(stream->encoder->has_b_frames,
                                                      stream->encoder->time_base, AV_TIME_BASE_Q));
        }
    }
    for (auto& stream : streams_) {
        if (stream->encoder && stream->type == AVMEDIA_TYPE_AUDIO) {
            stream->startShift +=
                av_rescale_q(delayMicroseconds, AV_TIME_BASE_Q, stream->encoder->time_base);
        }
    }
}

Result OutputFileWriter::writeHeader(std::string& description) {
    int status = avio_open(&format_->pb, fileName_.c_str(), AVIO_FLAG_WRITE);
    if (status < 0) {
        description = "Could not create \"" + fileName_ + "\": " + describeResult(status);
        return status;
    }
    if (container_.format().finishingStep == FinishingStep::IndexToFront) {
        delayAudioByVideoReordering();
    }
    AVDictionary* options = nullptr;
    for (const MuxerOption& option : container_.format().muxerOptions) {
        if (!option.key.empty()) {
            av_dict_set(&options, std::string(option.key).c_str(),
                        std::string(option.value).c_str(), 0);
        }
    }
    addGrowingFileIndexOptions(container_, options);
    status = avformat_write_header(format_.get(), &options);
    av_dict_free(&options);
    if (status < 0) {
        description = "Could not write the file header: " + describeResult(status);
        return status;
    }
    headerWritten_ = true;
    growingIndex_ = makeGrowingFileIndex(container_, *format_, fileName_);
    return kOk;
}

Result OutputFileWriter::drainEncoder(Stream& stream) {
    while (true) {
        const int received = avcodec_receive_packet(stream.encoder.get(), packet_.get());
        if (received == AVERROR(EAGAIN) || received == AVERROR_EOF) {
            return kOk;
        }
        if (received < 0) {
            return received;
        }
        if (packet_->pts != AV_NOPTS_VALUE) {
            packet_->pts += stream.startShift;
        }
        if (packet_->dts != AV_NOPTS_VALUE) {
            packet_->dts += stream.startShift;
        }
        if (stream.type == AVMEDIA_TYPE_AUDIO &&
            primingSignalFor(container_) == PrimingSignal::NegativeStart) {
            // Rounded up: a first packet at -priming must not land before what the muxer
            // allows for the codec delay (Opus: -6.5 ms is kept at -6 ms, not -7 ms, which
            // would make the muxer start every stream later).
            rescaleRoundingUp(*packet_, stream.encoder->time_base, stream.stream->time_base);
        } else {
            av_packet_rescale_ts(packet_.get(), stream.encoder->time_base,
                                 stream.stream->time_base);
        }
        packet_->stream_index = stream.stream->index;
        const Result written = writeInterleaved();
        if (failed(written)) {
            return written;
        }
    }
}

Result OutputFileWriter::writeInterleaved() {
    if (growingIndex_) {
        const AVStream& stream = *format_->streams[packet_->stream_index];
        const std::int64_t start = packet_->pts != AV_NOPTS_VALUE ? packet_->pts : packet_->dts;
        growingIndex_->packetSubmitted(
            packet_->stream_index, (packet_->flags & AV_PKT_FLAG_KEY) != 0,
            static_cast<double>(start + std::max<std::int64_t>(packet_->duration, 0)) *
                av_q2d(stream.time_base));
    }
    const int written = av_interleaved_write_frame(format_.get(), packet_.get());
    if (written >= 0 && growingIndex_) {
        growingIndex_->muxerWrote();
    }
    return written;
}

Result OutputFileWriter::writeVideo(int index, const ConstPictureView& picture,
                                    std::int64_t frameIndex) {
    Stream& stream = *streams_[static_cast<std::size_t>(index)];
    const uint8_t* const sourcePlanes[4] = {picture.planes[0].data, picture.planes[1].data,
                                            picture.planes[2].data, nullptr};
    const int sourceStrides[4] = {picture.planes[0].stride, picture.planes[1].stride,
                                  picture.planes[2].stride, 0};
    const int height = picture.height();
    if (!stream.encoder) {
        uint8_t* rows[4] = {stream.bgrRows.data(), nullptr, nullptr, nullptr};
        const int strides[4] = {stream.bgrStride, 0, 0, 0};
        sws_scale(stream.scaler.get(), sourcePlanes, sourceStrides, 0, height, rows, strides);
        AVBufferRef* buffer = av_buffer_pool_get(stream.packetPool.get());
        if (buffer == nullptr) {
            return kErrorOutOfMemory;
        }
        av_packet_unref(packet_.get());
        packet_->buf = buffer;
        packet_->data = buffer->data;
        packet_->size = stream.packetSize;
        for (int row = 0; row < height; ++row) {
            std::uint8_t* target =
                packet_->data + static_cast<std::ptrdiff_t>(height - 1 - row) * stream.dibStride;
            std::memcpy(target,
                        stream.bgrRows.data() + static_cast<std::ptrdiff_t>(row) * stream.bgrStride,
                        static_cast<std::size_t>(stream.bgrStride));
            std::memset(target + stream.bgrStride, 0,
                        static_cast<std::size_t>(stream.dibStride - stream.bgrStride));
        }
        packet_->pts = packet_->dts = frameIndex;
        packet_->duration = 1;
        packet_->flags |= AV_PKT_FLAG_KEY;
        packet_->stream_index = stream.stream->index;
        av_packet_rescale_ts(packet_.get(), stream.packetTimeBase, stream.stream->time_base);
        return writeInterleaved();
    }
    AVFrame& frame = *stream.frame;
    if (av_frame_make_writable(&frame) < 0) {
        return kErrorOutOfMemory;
    }
    if (stream.scaler) {
        sws_scale(stream.scaler.get(), sourcePlanes, sourceStrides, 0, height, frame.data,
                  frame.linesize);
    } else {
        for (int plane = 0; plane < 3; ++plane) {
            const ConstPlaneView& source = picture.planes[plane];
            av_image_copy_plane(frame.data[plane], frame.linesize[plane], source.data,
                                source.stride, source.width, source.height);
        }
    }
    frame.pts = frameIndex;
    if ((stream.encoder->flags & AV_CODEC_FLAG_QSCALE) != 0) {
        // A fixed-quantiser encoder takes each picture's quantiser from the frame, not from
        // the context; without this every frame is coded at the finest quantiser.
        frame.quality = stream.encoder->global_quality;
    }
    const int sent = avcodec_send_frame(stream.encoder.get(), &frame);
    if (sent < 0) {
        return sent;
    }
    return drainEncoder(stream);
}

Result OutputFileWriter::finish(std::string& description) {
    if (!headerWritten_) {
        abandon();
        return kOk;
    }
    Result firstFailure = kOk;
    for (auto& stream : streams_) {
        if (!stream->encoder) {
            continue;
        }
        Result result = kOk;
        if (stream->type == AVMEDIA_TYPE_AUDIO) {
            result = convertIntoFifo(*stream, nullptr, 0);
            if (succeeded(result)) {
                result = encodeAudioFrames(*stream, AudioTail::Flush);
            }
        }
        avcodec_send_frame(stream->encoder.get(), nullptr);
        const Result drained = drainEncoder(*stream);
        if (failed(result) || failed(drained)) {
            firstFailure = failed(result) ? result : drained;
        }
    }
    if (growingIndex_) {
        growingIndex_->beforeTrailer();
    }
    const int trailer = av_write_trailer(format_.get());
    if (growingIndex_) {
        growingIndex_->muxerWrote();
        growingIndex_.reset();
    }
    if (trailer < 0 && succeeded(firstFailure)) {
        firstFailure = trailer;
    }
    const int closed = avio_closep(&format_->pb);
    if (closed < 0 && succeeded(firstFailure)) {
        firstFailure = closed;
    }
    if (succeeded(firstFailure) &&
        container_.format().finishingStep == FinishingStep::IndexToFront) {
        // A failed rewrite leaves the fragmented file, which plays.
        std::vector<std::int64_t> primingMicroseconds;
        for (const auto& stream : streams_) {
            primingMicroseconds.push_back(stream->encoder ? av_rescale_q(stream->primingSamples,
                                                                         stream->encoder->time_base,
                                                                         AV_TIME_BASE_Q)
                                                          : 0);
        }
        std::string rewriteFailure;
        const Result rewritten =
            rewriteWithIndexAtFront(fileName_, primingMicroseconds, rewriteFailure);
        if (failed(rewritten)) {
            // The fragmented file is complete and plays; only the move of its index failed.
            description = "\"" + fileName_ +
                          "\" is complete and plays, but it could not be prepared for streaming "
                          "(its index stays in pieces through the file): " +
                          describeResult(rewritten);
        }
        return kOk;
    }
    if (failed(firstFailure)) {
        description = "Could not finish \"" + fileName_ + "\": " + describeResult(firstFailure);
    }
    return firstFailure;
}

void OutputFileWriter::abandon() {
    growingIndex_.reset();
    if (format_ && format_->pb != nullptr) {
        avio_closep(&format_->pb);
        std::remove(fileName_.c_str());
    }
}

}  // namespace editing
