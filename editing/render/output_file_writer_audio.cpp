// The audio half of OutputFileWriter: audio streams, their conversion to the encoder's format
// and rate, and their packets.

#include "editing/render/output_stream.h"

extern "C" {
#include <libavutil/channel_layout.h>
}

#include <algorithm>
#include <cstring>

namespace editing {

Result OutputFileWriter::addAudioStream(int sampleRate, int channels,
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
                             encoderOptionsFor(*format_, container_), entry->encoder, description);
        if (failed(result)) {
            return result;
        }
        AVCodecContext& encoder = *entry->encoder;
        if (avcodec_parameters_from_context(&parameters, &encoder) < 0) {
            return kErrorOutOfMemory;
        }
        entry->stream->time_base = encoder.time_base;
        entry->audioFrameSize = encoder.frame_size > 0 ? encoder.frame_size : 1024;
        entry->primingSamples = encoder.initial_padding;
        if (primingSignalFor(container_) == PrimingSignal::NegativeStart &&
            encoder.codec_id == AV_CODEC_ID_OPUS) {
            // Matroska's CodecDelay: the muxer writes it from the initial padding and moves
            // the stream's packets later by it; the reader moves them back and skips it.
            entry->startShift = encoder.initial_padding;
        } else if (primingSignalFor(container_) != PrimingSignal::NegativeStart) {
            // The first packet lies at 0 with the first video frame: in AVI for good (no field
            // says "skip these"), in MP4 until the rewrite moves the priming before 0.
            entry->startShift = encoder.initial_padding;
            parameters.initial_padding = 0;
        }
        SwrContext* converter = nullptr;
        AVChannelLayout layout{};
        av_channel_layout_default(&layout, channels);
        swr_alloc_set_opts2(&converter, &encoder.ch_layout, encoder.sample_fmt, encoder.sample_rate,
                            &layout, AV_SAMPLE_FMT_S16, sampleRate, 0, nullptr);
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
        entry->frame->sample_rate = encoder.sample_rate;
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

Result OutputFileWriter::encodeAudioFrames(Stream& stream, AudioTail tail) {
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

Result OutputFileWriter::writeAudio(int index, const std::int16_t* samples, int frames) {
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
        return writeInterleaved();
    }
    const Result converted =
        convertIntoFifo(stream, reinterpret_cast<const uint8_t*>(samples), frames);
    if (failed(converted)) {
        return converted;
    }
    return encodeAudioFrames(stream, AudioTail::Keep);
}

Result OutputFileWriter::convertIntoFifo(Stream& stream, const std::uint8_t* samples, int frames) {
    // The encoder may run at another rate (libopus): the converter then resamples and keeps a
    // few samples back, which a call without input (`samples` null) gives out at the end.
    const int capacity = swr_get_out_samples(stream.converter.get(), frames);
    if (capacity <= 0) {
        return capacity;
    }
    if (capacity > stream.convertedCapacity) {
        const AVSampleFormat format = stream.encoder->sample_fmt;
        const int planes = av_sample_fmt_is_planar(format) ? stream.channels : 1;
        int lineSize = 0;
        const int size =
            av_samples_get_buffer_size(&lineSize, stream.channels, capacity, format, 0);
        stream.convertedBuffer.assign(static_cast<std::size_t>(size), 0);
        stream.convertedPlanes.assign(static_cast<std::size_t>(planes), nullptr);
        av_samples_fill_arrays(stream.convertedPlanes.data(), &lineSize,
                               stream.convertedBuffer.data(), stream.channels, capacity, format, 0);
        stream.convertedCapacity = capacity;
    }
    const uint8_t* input = samples;
    const int converted =
        swr_convert(stream.converter.get(), stream.convertedPlanes.data(), stream.convertedCapacity,
                    samples != nullptr ? &input : nullptr, frames);
    if (converted < 0) {
        return converted;
    }
    if (av_audio_fifo_write(stream.fifo.get(),
                            reinterpret_cast<void**>(stream.convertedPlanes.data()),
                            converted) < converted) {
        return kErrorOutOfMemory;
    }
    return kOk;
}

}  // namespace editing
