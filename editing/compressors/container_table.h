#pragma once

// The one description of every output container: how it is named, chosen and offered, which
// compressors it lists, and how the render writes and finishes it. Everything that differs
// between containers is read from here; a new container is a new row (see docs/compressors.md).

#include <array>
#include <cstddef>
#include <string_view>

namespace editing {

// Whether the encoder may send pictures out of display order (B-frames). A container without
// presentation times (AVI) needs them in order: there a player shows packet k at k / fps.
enum class FrameReordering { Allowed, Forbidden };

// How a container learns that an audio encoder's first samples (its priming, the encoder
// delay) are not sound, so that the sound starts with the picture.
enum class PrimingSignal {
    // No field for it (AVI): the priming samples are written as sound from 0 (under 26 ms late).
    AsSound,
    // Matroska and WebM: Opus keeps its first packet at 0 and the codec parameters' initial
    // padding, which the muxer writes as CodecDelay; other encoders stamp their first packet
    // before 0 (-priming) and the muxer starts every stream later by the priming, so picture
    // and sound stay in step (the first frame then lies at the priming's length, under 24 ms).
    NegativeStart,
    // MP4: the fragmented file holds the priming from 0; the rewrite at the end stamps it
    // before 0, which the muxer writes as the audio track's edit list (media time = priming).
    EditList,
};

// What the writer does once the muxer has closed the file.
enum class FinishingStep {
    None,
    // The file is written in fragments (a killed render leaves a file that plays), audio
    // started as late as the muxer starts a video stream with B-frames; the finish rewrites it
    // as an ordinary file with the index at the front and every stream starting at 0.
    IndexToFront,
};

// How the render keeps a growing file's header true, so that a killed render's file shows its
// length and seeks in every kind of player (editing/render/growing_file_index.h).
enum class GrowingIndex {
    // OpenDML standard index chunks appended as the file grows, the super index filled in place.
    AviOpenDml,
    // The durations of a fragmented file's first moov rewritten in place as fragments land.
    FragmentDurations,
    // Clusters of a second, and the segment's Duration written into the room the muxer reserves.
    SegmentDuration,
};

// How the user's compressor choice of the container is offered and remembered.
enum class ChoiceMemory {
    // Lists led by an "uncompressed" entry; the choice is stored as a registry position
    // ("CompressorNumber" of "DexVideoCompress" / "DexAudioCompress").
    NumberedPositions,
    // Lists of compressors only; the choice is stored by encoder name, "VideoEncoder" and
    // "AudioEncoder" in the row's settings group.
    EncoderNames,
};

struct MuxerOption {
    std::string_view key;  // an option of the muxer or of its format context
    std::string_view value;
};

// The four-character code a stream of `encoderName` is marked with in this container.
struct CodecTag {
    std::string_view encoderName;
    std::string_view fourCharacterCode;
};

// How a container's default compressor is found in its list: the first whose lower-cased
// friendly name holds `text` (AVI's rule, which also finds stand-ins under other encoders), or
// the one whose encoder is `text`.
struct DefaultCompressor {
    enum class By { NameFragment, EncoderName };
    By by;
    std::string_view text;
};

// libavcodec encoder names in the order the lists show them; unused places stay empty.
using EncoderNames = std::array<std::string_view, 10>;

struct ContainerFormat {
    const char* fileFilterName;  // the save dialog's filter, before " (*.ext)"
    std::string_view extension;  // with its dot; the output name chooses the container by it
    const char* muxerName;       // the libavformat short name
    EncoderNames videoEncoders;  // the candidates; the registry lists those that open
    EncoderNames audioEncoders;
    DefaultCompressor defaultVideo;
    DefaultCompressor defaultAudio;
    ChoiceMemory choiceMemory;
    const char* settingsGroup;  // where EncoderNames choices are stored; empty otherwise
    FrameReordering reordering;
    PrimingSignal primingSignal;
    std::array<MuxerOption, 4> muxerOptions;  // handed to the header; unused places empty
    std::array<CodecTag, 2> codecTags;        // unused places empty
    FinishingStep finishingStep;
    GrowingIndex growingIndex;
};

// Row order is fixed: the first row is the container of every name without a known extension,
// rows are offered in this order, and the lists' order is remembered between runs.
inline constexpr std::array kContainerFormats{
    ContainerFormat{
        .fileFilterName = "AVI files",
        .extension = ".avi",
        .muxerName = "avi",
        .videoEncoders = {"mpeg4", "msmpeg4", "msmpeg4v2", "libx264", "mjpeg", "huffyuv", "ffvhuff",
                          "ffv1", "png", "zmbv"},
        .audioEncoders = {"adpcm_ms", "adpcm_ima_wav", "libmp3lame", "mp2", "ac3", "pcm_alaw",
                          "pcm_mulaw", "pcm_u8"},
        .defaultVideo = {DefaultCompressor::By::NameFragment, "divx"},
        .defaultAudio = {DefaultCompressor::By::NameFragment, "microsoft adpcm"},
        .choiceMemory = ChoiceMemory::NumberedPositions,
        .settingsGroup = "",
        .reordering = FrameReordering::Forbidden,
        .primingSignal = PrimingSignal::AsSound,
        // Uncompressed frames are written bottom-up, and the header says so (positive height).
        .muxerOptions = {{{"flipped_raw_rgb", "1"}}},
        .codecTags = {{{"mpeg4", "DX50"}}},  // what DivX decoders look for
        .finishingStep = FinishingStep::None,
        .growingIndex = GrowingIndex::AviOpenDml,
    },
    ContainerFormat{
        .fileFilterName = "MP4 files",
        .extension = ".mp4",
        .muxerName = "mp4",
        .videoEncoders = {"libx264", "mpeg4", "mjpeg"},
        .audioEncoders = {"aac", "libmp3lame", "ac3"},
        .defaultVideo = {DefaultCompressor::By::EncoderName, "libx264"},
        .defaultAudio = {DefaultCompressor::By::EncoderName, "aac"},
        .choiceMemory = ChoiceMemory::EncoderNames,
        .settingsGroup = "Mp4Output",
        .reordering = FrameReordering::Allowed,
        .primingSignal = PrimingSignal::EditList,
        // Every second a fragment that plays on its own, reaching the file as soon as it is
        // complete; B-frames keep their presentation times (the first frame at 0) through
        // negative composition offsets.
        .muxerOptions = {{{"movflags",
                           "empty_moov+delay_moov+default_base_moof+"
                           "negative_cts_offsets"},
                          {"frag_duration", "1000000"},
                          {"flush_packets", "1"}}},
        .codecTags = {},
        .finishingStep = FinishingStep::IndexToFront,
        .growingIndex = GrowingIndex::FragmentDurations,
    },
    ContainerFormat{
        .fileFilterName = "Matroska files",
        .extension = ".mkv",
        .muxerName = "matroska",
        .videoEncoders = {"libx264", "mpeg4", "libvpx-vp9", "mjpeg", "ffv1", "huffyuv", "ffvhuff"},
        .audioEncoders = {"aac", "libopus", "flac", "libmp3lame", "ac3", "pcm_s16le"},
        .defaultVideo = {DefaultCompressor::By::EncoderName, "libx264"},
        .defaultAudio = {DefaultCompressor::By::EncoderName, "aac"},
        .choiceMemory = ChoiceMemory::EncoderNames,
        .settingsGroup = "MatroskaOutput",
        .reordering = FrameReordering::Allowed,
        .primingSignal = PrimingSignal::NegativeStart,
        .muxerOptions = {},
        .codecTags = {},
        .finishingStep = FinishingStep::None,
        .growingIndex = GrowingIndex::SegmentDuration,
    },
    ContainerFormat{
        .fileFilterName = "WebM files",
        .extension = ".webm",
        .muxerName = "webm",
        .videoEncoders = {"libvpx-vp9"},
        .audioEncoders = {"libopus"},
        .defaultVideo = {DefaultCompressor::By::EncoderName, "libvpx-vp9"},
        .defaultAudio = {DefaultCompressor::By::EncoderName, "libopus"},
        .choiceMemory = ChoiceMemory::EncoderNames,
        .settingsGroup = "WebmOutput",
        .reordering = FrameReordering::Allowed,
        .primingSignal = PrimingSignal::NegativeStart,
        .muxerOptions = {},
        .codecTags = {},
        .finishingStep = FinishingStep::None,
        .growingIndex = GrowingIndex::SegmentDuration,
    },
};

namespace detail {
// What the writer and the stored choices rely on in every row.
constexpr bool rowsAreWellFormed() {
    for (const ContainerFormat& row : kContainerFormats) {
        if (row.extension.size() < 2 || row.extension[0] != '.' || row.videoEncoders[0].empty() ||
            row.audioEncoders[0].empty() ||
            (row.choiceMemory == ChoiceMemory::EncoderNames) == (row.settingsGroup[0] == '\0')) {
            return false;
        }
        for (const CodecTag& tag : row.codecTags) {
            if (!tag.encoderName.empty() && tag.fourCharacterCode.size() != 4) {
                return false;
            }
        }
    }
    return kContainerFormats[0].choiceMemory == ChoiceMemory::NumberedPositions;
}
}  // namespace detail
static_assert(detail::rowsAreWellFormed(),
              "every row needs an extension, compressors, a settings group exactly when it "
              "remembers encoder names, and four-character codec tags");

}  // namespace editing
