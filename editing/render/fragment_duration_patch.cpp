#include "editing/render/fragment_duration_patch.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace editing {

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t fourCc(const char (&name)[5]) {
    return (std::uint32_t(std::uint8_t(name[0])) << 24) |
           (std::uint32_t(std::uint8_t(name[1])) << 16) |
           (std::uint32_t(std::uint8_t(name[2])) << 8) | std::uint32_t(std::uint8_t(name[3]));
}

// A moov or moof is a few kilobytes; anything far larger is not a box this muxer wrote.
constexpr std::int64_t kLargestIndexBoxBytes = 64LL << 20;

struct Box {
    std::uint32_t type = 0;
    std::size_t payload = 0;  // offset of the box's contents in the buffer
    std::size_t end = 0;
};

// The boxes inside bytes[begin, end); stops at the first box that does not fit.
std::vector<Box> childBoxes(const Bytes& bytes, std::size_t begin, std::size_t end) {
    std::vector<Box> boxes;
    std::size_t at = begin;
    while (at + 8 <= end) {
        std::uint64_t size = readBigEndian(bytes, at, 4);
        std::size_t header = 8;
        if (size == 1) {
            size = readBigEndian(bytes, at + 8, 8);
            header = 16;
        }
        if (size < header || size > end - at) {
            break;
        }
        boxes.push_back({static_cast<std::uint32_t>(readBigEndian(bytes, at + 4, 4)), at + header,
                         at + static_cast<std::size_t>(size)});
        at += static_cast<std::size_t>(size);
    }
    return boxes;
}

const Box* firstOf(const std::vector<Box>& boxes, std::uint32_t type) {
    const auto found =
        std::find_if(boxes.begin(), boxes.end(), [&](const Box& box) { return box.type == type; });
    return found == boxes.end() ? nullptr : &*found;
}

}  // namespace

FragmentDurationPatch::FragmentDurationPatch(const std::string& fileName) {
    static_cast<void>(file_.open(fileName));  // closed: the file stays as the muxer writes it
}

void FragmentDurationPatch::muxerWrote() {
    if (!file_.isOpen()) {
        return;
    }
    const std::int64_t fileBytes = file_.sizeBytes();
    bool fragmentLanded = false;
    while (scannedBytes_ + 8 <= fileBytes) {
        const std::size_t headerBytes = scannedBytes_ + 16 <= fileBytes ? 16 : 8;
        const Bytes header = file_.readAt(scannedBytes_, headerBytes);
        if (header.empty()) {
            break;
        }
        std::uint64_t size = readBigEndian(header, 0, 4);
        if (size == 1) {
            size = headerBytes == 16 ? readBigEndian(header, 8, 8) : 0;
        }
        const std::uint32_t type = static_cast<std::uint32_t>(readBigEndian(header, 4, 4));
        if (size < 8 || static_cast<std::int64_t>(size) > fileBytes - scannedBytes_) {
            break;  // not whole yet (a size of 0, to the end of the file, is never whole)
        }
        const auto boxBytes = static_cast<std::int64_t>(size);
        if (type == fourCc("moov") && !movieRead_) {
            readMovie(scannedBytes_, boxBytes);
        } else if (type == fourCc("moof")) {
            readFragment(scannedBytes_, boxBytes);
        } else if (type == fourCc("mdat") && fragmentPending_) {
            fragmentPending_ = false;
            fragmentLanded = true;
            for (auto& [id, track] : tracks_) {
                track.endMediaTime = std::max(track.endMediaTime, track.pendingEndMediaTime);
            }
        }
        scannedBytes_ += boxBytes;
    }
    if (fragmentLanded) {
        writeDurations();
    }
}

void FragmentDurationPatch::readMovie(std::int64_t offset, std::int64_t size) {
    if (size > kLargestIndexBoxBytes) {
        return;
    }
    const Bytes movie = file_.readAt(offset, static_cast<std::size_t>(size));
    const std::vector<Box> top = childBoxes(movie, 0, movie.size());
    if (top.empty() || top.front().type != fourCc("moov")) {
        return;
    }
    const std::vector<Box> inMovie = childBoxes(movie, top.front().payload, top.front().end);
    const Box* movieHeader = firstOf(inMovie, fourCc("mvhd"));
    if (movieHeader == nullptr) {
        return;
    }
    // mvhd: version, flags, then creation and modification times, time scale, duration.
    const bool wide = movie[movieHeader->payload] == 1;
    const std::size_t timescaleAt = movieHeader->payload + (wide ? 20 : 12);
    movieTimescale_ = static_cast<std::uint32_t>(readBigEndian(movie, timescaleAt, 4));
    movieDuration_ = {offset + std::int64_t(timescaleAt + 4), wide ? 8 : 4};
    for (const Box& trackBox : inMovie) {
        if (trackBox.type != fourCc("trak")) {
            continue;
        }
        const std::vector<Box> inTrack = childBoxes(movie, trackBox.payload, trackBox.end);
        const Box* trackHeader = firstOf(inTrack, fourCc("tkhd"));
        const Box* media = firstOf(inTrack, fourCc("mdia"));
        if (trackHeader == nullptr || media == nullptr) {
            continue;
        }
        const std::vector<Box> inMedia = childBoxes(movie, media->payload, media->end);
        const Box* mediaHeader = firstOf(inMedia, fourCc("mdhd"));
        if (mediaHeader == nullptr) {
            continue;
        }
        // tkhd: version, flags, times, track id, a reserved word, duration.
        const bool trackWide = movie[trackHeader->payload] == 1;
        const std::size_t idAt = trackHeader->payload + (trackWide ? 20 : 12);
        Track track;
        track.trackHeaderDuration = {offset + std::int64_t(idAt + 8), trackWide ? 8 : 4};
        // mdhd: version, flags, times, time scale, duration.
        const bool mediaWide = movie[mediaHeader->payload] == 1;
        const std::size_t mediaTimescaleAt = mediaHeader->payload + (mediaWide ? 20 : 12);
        track.timescale = static_cast<std::uint32_t>(readBigEndian(movie, mediaTimescaleAt, 4));
        track.mediaHeaderDuration = {offset + std::int64_t(mediaTimescaleAt + 4),
                                     mediaWide ? 8 : 4};
        tracks_[static_cast<std::uint32_t>(readBigEndian(movie, idAt, 4))] = track;
    }
    movieRead_ = movieTimescale_ > 0;
}

void FragmentDurationPatch::readFragment(std::int64_t offset, std::int64_t size) {
    if (!movieRead_ || size > kLargestIndexBoxBytes) {
        return;
    }
    const Bytes fragment = file_.readAt(offset, static_cast<std::size_t>(size));
    const std::vector<Box> top = childBoxes(fragment, 0, fragment.size());
    if (top.empty()) {
        return;
    }
    for (const Box& trackFragment : childBoxes(fragment, top.front().payload, top.front().end)) {
        if (trackFragment.type != fourCc("traf")) {
            continue;
        }
        const std::vector<Box> parts =
            childBoxes(fragment, trackFragment.payload, trackFragment.end);
        const Box* header = firstOf(parts, fourCc("tfhd"));
        if (header == nullptr) {
            continue;
        }
        const auto flags = static_cast<std::uint32_t>(readBigEndian(fragment, header->payload, 4));
        const auto trackId =
            static_cast<std::uint32_t>(readBigEndian(fragment, header->payload + 4, 4));
        const auto found = tracks_.find(trackId);
        if (found == tracks_.end()) {
            continue;
        }
        Track& track = found->second;
        // tfhd's optional fields, in order: base data offset (8), sample description (4),
        // default sample duration (4).
        std::size_t fieldAt = header->payload + 8;
        fieldAt += (flags & 0x1U) != 0 ? 8 : 0;
        fieldAt += (flags & 0x2U) != 0 ? 4 : 0;
        const std::uint64_t defaultDuration =
            (flags & 0x8U) != 0 ? readBigEndian(fragment, fieldAt, 4) : 0;
        std::uint64_t time = std::max(track.endMediaTime, track.pendingEndMediaTime);
        if (const Box* decodeTime = firstOf(parts, fourCc("tfdt"))) {
            const bool wide = fragment[decodeTime->payload] == 1;
            time = readBigEndian(fragment, decodeTime->payload + 4, wide ? 8 : 4);
        }
        for (const Box& run : parts) {
            if (run.type != fourCc("trun")) {
                continue;
            }
            const auto runFlags =
                static_cast<std::uint32_t>(readBigEndian(fragment, run.payload, 4));
            const std::uint64_t samples = readBigEndian(fragment, run.payload + 4, 4);
            std::size_t at = run.payload + 8;
            at += (runFlags & 0x1U) != 0 ? 4 : 0;  // data offset
            at += (runFlags & 0x4U) != 0 ? 4 : 0;  // first sample's flags
            std::size_t perSample = 0;
            for (const std::uint32_t present : {0x100U, 0x200U, 0x400U, 0x800U}) {
                perSample += (runFlags & present) != 0 ? 4 : 0;
            }
            if (samples > (run.end - std::min(at, run.end)) / std::max<std::size_t>(perSample, 1)) {
                break;  // a run longer than its box: not ours to read
            }
            for (std::uint64_t sample = 0; sample < samples; ++sample) {
                time += (runFlags & 0x100U) != 0 ? readBigEndian(fragment, at, 4) : defaultDuration;
                at += perSample;
            }
        }
        track.pendingEndMediaTime = std::max(track.pendingEndMediaTime, time);
    }
    fragmentPending_ = true;
}

void FragmentDurationPatch::writeDurations() {
    // The fragments' data first, then the durations that count them.
    if (!file_.syncData()) {
        return;
    }
    std::uint64_t movieDuration = 0;
    for (const auto& [id, track] : tracks_) {
        if (track.timescale == 0) {
            continue;
        }
        const std::uint64_t inMovieScale = static_cast<std::uint64_t>(
            static_cast<long double>(track.endMediaTime) * movieTimescale_ / track.timescale);
        writeField(track.mediaHeaderDuration, track.endMediaTime);
        writeField(track.trackHeaderDuration, inMovieScale);
        movieDuration = std::max(movieDuration, inMovieScale);
    }
    writeField(movieDuration_, movieDuration);
}

void FragmentDurationPatch::writeField(const Field& field, std::uint64_t value) {
    if (field.offset < 0) {
        return;
    }
    if (field.widthBytes == 4) {
        // All ones is "unknown"; a 32-bit field cannot hold more.
        value = std::min<std::uint64_t>(value, std::numeric_limits<std::uint32_t>::max());
    }
    std::uint8_t bytes[8] = {};
    for (int index = 0; index < field.widthBytes; ++index) {
        bytes[index] = static_cast<std::uint8_t>(value >> (8 * (field.widthBytes - 1 - index)));
    }
    static_cast<void>(
        file_.writeAt(field.offset, bytes, static_cast<std::size_t>(field.widthBytes)));
}

}  // namespace editing
