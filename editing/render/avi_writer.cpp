#include "editing/render/avi_writer.h"

#include "editing/compressors/encoder_setup.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/imgutils.h>
}

#include <cstdio>
#include <cstring>

namespace editing {

namespace {

struct BufferPoolDeleter {
    void operator()(AVBufferPool* pool) const { av_buffer_pool_uninit(&pool); }
};
using BufferPoolHandle = std::unique_ptr<AVBufferPool, BufferPoolDeleter>;

EncoderOptions encoderOptionsFor(const AVFormatContext& format) {
    return {(format.oformat->flags & AVFMT_GLOBALHEADER) != 0 ? StreamHeaders::Global
                                                              : StreamHeaders::InBand,
            EncoderUse::Render};
}

AVRational rateOf(double framesPerSecond) {
    return av_d2q(framesPerSecond, 1'000'000);
}

}  // namespace

struct AviWriter::Stream {
    AVMediaType type = AVMEDIA_TYPE_VIDEO;
    AVStream* stream = nullptr;          // owned by the format context
    ffmpeg::CodecContextHandle encoder;  // empty for uncompressed streams
    ffmpeg::FrameHandle frame;
    // Uncompressed video: BGR24 rows converted here, then written bottom-up into the packet.
    ffmpeg::ScaleContextHandle scaler;
    std::vector<std::uint8_t> bgrRows;
    int bgrStride = 0;
    int dibStride = 0;  // a DIB row is padded to a multiple of 4 bytes
    BufferPoolHandle packetPool;
    int packetSize = 0;
    // Compressed audio: 16-bit input converted to the encoder's format, queued in `fifo`.
    ffmpeg::ResampleContextHandle converter;
    ffmpeg::AudioFifoHandle fifo;
    std::vector<std::uint8_t*> convertedPlanes;
    std::vector<std::uint8_t> convertedBuffer;
    int convertedCapacity = 0;
    int audioFrameSize = 0;
    int channels = 2;
    std::int64_t nextPts = 0;
    AVRational packetTimeBase{1, 1};  // of the pts we give uncompressed packets
};

AviWriter::AviWriter() : packet_(ffmpeg::makePacket()) {}

AviWriter::~AviWriter() = default;

Result AviWriter::create(const std::string& fileName, std::string& description) {
    fileName_ = fileName;
    if (!packet_) {
        return kErrorOutOfMemory;
    }
    AVFormatContext* allocated = nullptr;
    const int status = avformat_alloc_output_context2(&allocated, nullptr, "avi", fileName.c_str());
    format_.reset(allocated);
    if (status < 0 || !format_) {
        description = "Could not set up the AVI writer: " + describeResult(status);
        return status < 0 ? Result{status} : kErrorFail;
    }
    return kOk;
}

Result AviWriter::addVideoStream(int width, int height, double framesPerSecond,
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
                             encoderOptionsFor(*format_), entry->encoder, description);
        if (failed(result)) {
            return result;
        }
        if (avcodec_parameters_from_context(&parameters, entry->encoder.get()) < 0) {
            return kErrorOutOfMemory;
        }
        if (compressor->encoderName == "mpeg4") {
            parameters.codec_tag = MKTAG('D', 'X', '5', '0');  // what DivX decoders look for
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

Result AviWriter::addAudioStream(int sampleRate, int channels,
                                 const std::optional<Compressor>& compressor, int& index,
                                 std::string& description) {
    auto entry = std::make_unique<Stream>();
    entry->type = AVMEDIA_TYPE_AUDIO;
    entry->channels = channels;
    entry->stream = avformat_new_stream(format_.get(), nullptr);
    if (entry->stream == nullptr) {
        return kErrorOutOfMemory;
    }
    AVCodecParameters& parameters = *entry->stream->codecpar;
    if (compressor) {
        const Result result =
            openAudioEncoder(*compressor, AudioEncoderFormat{sampleRate, channels},
                             encoderOptionsFor(*format_), entry->encoder, description);
        if (failed(result)) {
            return result;
        }
        AVCodecContext& encoder = *entry->encoder;
        if (avcodec_parameters_from_context(&parameters, &encoder) < 0) {
            return kErrorOutOfMemory;
        }
        entry->stream->time_base = encoder.time_base;
        entry->audioFrameSize = encoder.frame_size > 0 ? encoder.frame_size : 1024;
        SwrContext* converter = nullptr;
        AVChannelLayout layout{};
        av_channel_layout_default(&layout, channels);
        swr_alloc_set_opts2(&converter, &encoder.ch_layout, encoder.sample_fmt, sampleRate, &layout,
                            AV_SAMPLE_FMT_S16, sampleRate, 0, nullptr);
        av_channel_layout_uninit(&layout);
        entry->converter.reset(converter);
        entry->fifo.reset(
            av_audio_fifo_alloc(encoder.sample_fmt, channels, entry->audioFrameSize * 4));
        entry->frame = ffmpeg::makeFrame();
        if (!entry->frame) {
            return kErrorOutOfMemory;
        }
        entry->frame->format = encoder.sample_fmt;
        entry->frame->nb_samples = entry->audioFrameSize;
        entry->frame->sample_rate = sampleRate;
        av_channel_layout_copy(&entry->frame->ch_layout, &encoder.ch_layout);
        if (!entry->converter || swr_init(entry->converter.get()) < 0 || !entry->fifo ||
            av_frame_get_buffer(entry->frame.get(), 0) < 0) {
            description = "Could not set up the audio encoder's input.";
            return kErrorFail;
        }
    } else {
        parameters.codec_type = AVMEDIA_TYPE_AUDIO;
        parameters.codec_id = AV_CODEC_ID_PCM_S16LE;
        parameters.codec_tag = 0;
        parameters.format = AV_SAMPLE_FMT_S16;
        parameters.sample_rate = sampleRate;
        av_channel_layout_default(&parameters.ch_layout, channels);
        parameters.bits_per_coded_sample = 16;
        parameters.block_align = 2 * channels;
        parameters.bit_rate = static_cast<int64_t>(sampleRate) * channels * 16;
        entry->stream->time_base = AVRational{1, sampleRate};
    }
    index = static_cast<int>(streams_.size());
    streams_.push_back(std::move(entry));
    return kOk;
}

Result AviWriter::writeHeader(std::string& description) {
    int status = avio_open(&format_->pb, fileName_.c_str(), AVIO_FLAG_WRITE);
    if (status < 0) {
        description = "Could not create \"" + fileName_ + "\": " + describeResult(status);
        return status;
    }
    AVDictionary* options = nullptr;
    // Uncompressed frames are written bottom-up, and the header says so (positive height).
    av_dict_set(&options, "flipped_raw_rgb", "1", 0);
    status = avformat_write_header(format_.get(), &options);
    av_dict_free(&options);
    if (status < 0) {
        description = "Could not write the AVI header: " + describeResult(status);
        return status;
    }
    headerWritten_ = true;
    return kOk;
}

Result AviWriter::drainEncoder(Stream& stream) {
    while (true) {
        const int received = avcodec_receive_packet(stream.encoder.get(), packet_.get());
        if (received == AVERROR(EAGAIN) || received == AVERROR_EOF) {
            return kOk;
        }
        if (received < 0) {
            return received;
        }
        av_packet_rescale_ts(packet_.get(), stream.encoder->time_base, stream.stream->time_base);
        packet_->stream_index = stream.stream->index;
        const int written = av_interleaved_write_frame(format_.get(), packet_.get());
        if (written < 0) {
            return written;
        }
    }
}

Result AviWriter::writeVideo(int index, const ConstPictureView& picture, std::int64_t frameIndex) {
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
        return av_interleaved_write_frame(format_.get(), packet_.get());
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

Result AviWriter::encodeAudioFrames(Stream& stream, AudioTail tail) {
    AVCodecContext& encoder = *stream.encoder;
    while (av_audio_fifo_size(stream.fifo.get()) >= stream.audioFrameSize ||
           (tail == AudioTail::Flush && av_audio_fifo_size(stream.fifo.get()) > 0)) {
        AVFrame& frame = *stream.frame;
        if (av_frame_make_writable(&frame) < 0) {
            return kErrorOutOfMemory;
        }
        const int available = av_audio_fifo_size(stream.fifo.get());
        const int count = std::min(available, stream.audioFrameSize);
        av_audio_fifo_read(stream.fifo.get(), reinterpret_cast<void**>(frame.extended_data), count);
        const bool variable = (encoder.codec->capabilities & (AV_CODEC_CAP_VARIABLE_FRAME_SIZE |
                                                              AV_CODEC_CAP_SMALL_LAST_FRAME)) != 0;
        if (count < stream.audioFrameSize && !variable) {
            av_samples_set_silence(frame.extended_data, count, stream.audioFrameSize - count,
                                   stream.channels, encoder.sample_fmt);
            frame.nb_samples = stream.audioFrameSize;
        } else {
            frame.nb_samples = count;
        }
        frame.pts = stream.nextPts;
        stream.nextPts += frame.nb_samples;
        const int sent = avcodec_send_frame(&encoder, &frame);
        frame.nb_samples = stream.audioFrameSize;
        if (sent < 0) {
            return sent;
        }
        const Result drained = drainEncoder(stream);
        if (failed(drained)) {
            return drained;
        }
    }
    return kOk;
}

Result AviWriter::writeAudio(int index, const std::int16_t* samples, int frames) {
    Stream& stream = *streams_[static_cast<std::size_t>(index)];
    if (!stream.encoder) {
        av_packet_unref(packet_.get());
        const int bytes = frames * stream.channels * 2;
        if (av_new_packet(packet_.get(), bytes) < 0) {
            return kErrorOutOfMemory;
        }
        std::memcpy(packet_->data, samples, static_cast<std::size_t>(bytes));
        packet_->pts = packet_->dts = stream.nextPts;
        packet_->duration = frames;
        packet_->flags |= AV_PKT_FLAG_KEY;
        packet_->stream_index = stream.stream->index;
        stream.nextPts += frames;
        av_packet_rescale_ts(packet_.get(), AVRational{1, stream.stream->codecpar->sample_rate},
                             stream.stream->time_base);
        return av_interleaved_write_frame(format_.get(), packet_.get());
    }
    if (frames > stream.convertedCapacity) {
        const AVSampleFormat format = stream.encoder->sample_fmt;
        const int planes = av_sample_fmt_is_planar(format) ? stream.channels : 1;
        int lineSize = 0;
        const int size = av_samples_get_buffer_size(&lineSize, stream.channels, frames, format, 0);
        stream.convertedBuffer.assign(static_cast<std::size_t>(size), 0);
        stream.convertedPlanes.assign(static_cast<std::size_t>(planes), nullptr);
        av_samples_fill_arrays(stream.convertedPlanes.data(), &lineSize,
                               stream.convertedBuffer.data(), stream.channels, frames, format, 0);
        stream.convertedCapacity = frames;
    }
    const uint8_t* input = reinterpret_cast<const uint8_t*>(samples);
    const int converted = swr_convert(stream.converter.get(), stream.convertedPlanes.data(),
                                      stream.convertedCapacity, &input, frames);
    if (converted < 0) {
        return converted;
    }
    if (av_audio_fifo_write(stream.fifo.get(),
                            reinterpret_cast<void**>(stream.convertedPlanes.data()),
                            converted) < converted) {
        return kErrorOutOfMemory;
    }
    return encodeAudioFrames(stream, AudioTail::Keep);
}

Result AviWriter::finish(std::string& description) {
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
            result = encodeAudioFrames(*stream, AudioTail::Flush);
        }
        avcodec_send_frame(stream->encoder.get(), nullptr);
        const Result drained = drainEncoder(*stream);
        if (failed(result) || failed(drained)) {
            firstFailure = failed(result) ? result : drained;
        }
    }
    const int trailer = av_write_trailer(format_.get());
    if (trailer < 0 && succeeded(firstFailure)) {
        firstFailure = trailer;
    }
    const int closed = avio_closep(&format_->pb);
    if (closed < 0 && succeeded(firstFailure)) {
        firstFailure = closed;
    }
    if (failed(firstFailure)) {
        description = "Could not finish \"" + fileName_ + "\": " + describeResult(firstFailure);
    }
    return firstFailure;
}

void AviWriter::abandon() {
    if (format_ && format_->pb != nullptr) {
        avio_closep(&format_->pb);
        std::remove(fileName_.c_str());
    }
}

}  // namespace editing
