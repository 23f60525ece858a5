#include "editing/render/matroska_duration_patch.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace editing {

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t kEbmlHeaderId = 0x1A45DFA3;
constexpr std::uint32_t kSegmentId = 0x18538067;
constexpr std::uint32_t kInfoId = 0x1549A966;
constexpr std::uint32_t kVoidId = 0xEC;
constexpr std::uint32_t kDurationId = 0x4489;
constexpr std::uint32_t kClusterId = 0x1F43B675;
constexpr std::uint32_t kClusterTimestampId = 0xE7;
constexpr std::uint32_t kSimpleBlockId = 0xA3;
constexpr std::uint32_t kBlockGroupId = 0xA0;
constexpr std::uint32_t kBlockId = 0xA1;
// The Duration element: its id (2 bytes), a size of 8 (1 byte) and a 64-bit float.
constexpr std::size_t kDurationElementBytes = 11;
constexpr std::uint64_t kUnknownSize = ~0ULL;

// An element's header read at some offset: its id (marker bits kept, as ids are written), the
// size of its data (kUnknownSize for "unknown") and the header's own length.
struct ElementHeader {
    std::uint32_t id = 0;
    std::uint64_t size = 0;
    std::size_t headerBytes = 0;  // 0: no whole header there
};

ElementHeader parseHeader(const Bytes& bytes, std::size_t at) {
    ElementHeader header;
    if (at >= bytes.size() || bytes[at] == 0) {
        return header;
    }
    int idBytes = 1;
    while ((bytes[at] & (0x80 >> (idBytes - 1))) == 0) {
        ++idBytes;
    }
    if (idBytes > 4 || at + static_cast<std::size_t>(idBytes) >= bytes.size()) {
        return header;
    }
    for (int index = 0; index < idBytes; ++index) {
        header.id = (header.id << 8) | bytes[at + static_cast<std::size_t>(index)];
    }
    const std::size_t sizeAt = at + static_cast<std::size_t>(idBytes);
    if (bytes[sizeAt] == 0) {
        return header;
    }
    int sizeBytes = 1;
    while ((bytes[sizeAt] & (0x80 >> (sizeBytes - 1))) == 0) {
        ++sizeBytes;
    }
    if (sizeAt + static_cast<std::size_t>(sizeBytes) > bytes.size()) {
        return header;
    }
    std::uint64_t size = bytes[sizeAt] & (0xFFU >> sizeBytes);
    bool allOnes = size == (0xFFU >> sizeBytes);
    for (int index = 1; index < sizeBytes; ++index) {
        const std::uint8_t byte = bytes[sizeAt + static_cast<std::size_t>(index)];
        size = (size << 8) | byte;
        allOnes = allOnes && byte == 0xFF;
    }
    header.size = allOnes ? kUnknownSize : size;
    header.headerBytes = static_cast<std::size_t>(idBytes + sizeBytes);
    return header;
}

// Element headers are at most 4 + 8 bytes.
constexpr std::size_t kLongestHeaderBytes = 12;

}  // namespace

MatroskaDurationPatch::MatroskaDurationPatch(const std::string& fileName) {
    static_cast<void>(file_.open(fileName));  // closed: the file stays as the muxer writes it
}

bool MatroskaDurationPatch::findSegment(std::int64_t fileBytes) {
    const Bytes start = file_.readAt(0, static_cast<std::size_t>(std::min<std::int64_t>(
                                            fileBytes, 4 * kLongestHeaderBytes + 256)));
    const ElementHeader ebml = parseHeader(start, 0);
    if (ebml.headerBytes == 0 || ebml.id != kEbmlHeaderId || ebml.size > 200) {
        return false;
    }
    const std::size_t segmentAt = ebml.headerBytes + static_cast<std::size_t>(ebml.size);
    const ElementHeader segment = parseHeader(start, segmentAt);
    if (segment.headerBytes == 0 || segment.id != kSegmentId) {
        return false;
    }
    scannedBytes_ = static_cast<std::int64_t>(segmentAt + segment.headerBytes);
    return true;
}

void MatroskaDurationPatch::muxerWrote() {
    if (!file_.isOpen()) {
        return;
    }
    const std::int64_t fileBytes = file_.sizeBytes();
    if (!inSegment_) {
        inSegment_ = findSegment(fileBytes);
        if (!inSegment_) {
            return;
        }
    }
    bool clusterLanded = false;
    while (scannedBytes_ < fileBytes) {
        const Bytes bytes =
            file_.readAt(scannedBytes_, static_cast<std::size_t>(std::min<std::int64_t>(
                                            kLongestHeaderBytes, fileBytes - scannedBytes_)));
        const ElementHeader header = parseHeader(bytes, 0);
        if (header.headerBytes == 0 || header.size == kUnknownSize) {
            break;
        }
        const std::int64_t dataOffset = scannedBytes_ + std::int64_t(header.headerBytes);
        const auto size = static_cast<std::int64_t>(header.size);
        if (size > fileBytes - dataOffset) {
            break;  // not whole yet
        }
        if (header.id == kInfoId) {
            readInfo(dataOffset, size);
        } else if (header.id == kClusterId) {
            endTicks_ = std::max(endTicks_, clusterEndTicks(dataOffset, size));
            clusterLanded = true;
        }
        scannedBytes_ = dataOffset + size;
    }
    if (clusterLanded && endTicks_ > writtenTicks_) {
        writeDuration();
    }
}

void MatroskaDurationPatch::readInfo(std::int64_t dataOffset, std::int64_t size) {
    const Bytes info = file_.readAt(dataOffset, static_cast<std::size_t>(size));
    std::size_t at = 0;
    while (at < info.size()) {
        const ElementHeader child = parseHeader(info, at);
        if (child.headerBytes == 0 || child.size > info.size() - at - child.headerBytes) {
            return;
        }
        if (child.id == kVoidId && child.headerBytes + child.size == kDurationElementBytes) {
            durationOffset_ = dataOffset + std::int64_t(at);
        } else if (child.id == kDurationId) {
            durationOffset_ = -1;  // the muxer wrote one itself
            return;
        }
        at += child.headerBytes + static_cast<std::size_t>(child.size);
    }
}

std::uint64_t MatroskaDurationPatch::clusterEndTicks(std::int64_t dataOffset,
                                                     std::int64_t size) const {
    std::uint64_t clusterTicks = 0;
    std::uint64_t endTicks = 0;
    std::int64_t at = dataOffset;
    const std::int64_t end = dataOffset + size;
    while (at < end) {
        const Bytes bytes = file_.readAt(at, static_cast<std::size_t>(std::min<std::int64_t>(
                                                 2 * kLongestHeaderBytes, end - at)));
        ElementHeader child = parseHeader(bytes, 0);
        if (child.headerBytes == 0 || child.size == kUnknownSize) {
            break;
        }
        std::size_t blockAt = child.headerBytes;
        if (child.id == kBlockGroupId) {
            // A block group leads with its Block (the muxer's order); a group without one ends
            // nothing here.
            const ElementHeader block = parseHeader(bytes, blockAt);
            blockAt = block.id == kBlockId ? blockAt + block.headerBytes : 0;
        }
        if (child.id == kClusterTimestampId) {
            clusterTicks = 0;
            for (std::size_t index = 0;
                 index < child.size && child.headerBytes + index < bytes.size(); ++index) {
                clusterTicks = (clusterTicks << 8) | bytes[child.headerBytes + index];
            }
        } else if ((child.id == kSimpleBlockId || child.id == kBlockGroupId) && blockAt > 0 &&
                   blockAt < bytes.size()) {
            // A block: its track number (a variable-length integer), then its time relative to
            // the cluster's, a signed 16-bit big-endian number.
            int trackBytes = 1;
            while (trackBytes <= 8 && (bytes[blockAt] & (0x80 >> (trackBytes - 1))) == 0) {
                ++trackBytes;
            }
            const std::size_t timeAt = blockAt + static_cast<std::size_t>(trackBytes);
            if (timeAt + 2 <= bytes.size()) {
                const auto relative =
                    static_cast<std::int16_t>((bytes[timeAt] << 8) | bytes[timeAt + 1]);
                const std::int64_t ticks = static_cast<std::int64_t>(clusterTicks) + relative;
                endTicks = std::max<std::uint64_t>(
                    endTicks, static_cast<std::uint64_t>(std::max<std::int64_t>(ticks, 0)));
            }
        }
        at += static_cast<std::int64_t>(child.headerBytes + child.size);
    }
    return endTicks;
}

void MatroskaDurationPatch::writeDuration() {
    if (durationOffset_ < 0 || !file_.syncData()) {
        return;
    }
    const double ticks = static_cast<double>(endTicks_);
    std::uint64_t bits = 0;
    std::memcpy(&bits, &ticks, sizeof bits);
    std::uint8_t element[kDurationElementBytes] = {0x44, 0x89, 0x88};
    for (int index = 0; index < 8; ++index) {
        element[3 + index] = static_cast<std::uint8_t>(bits >> (8 * (7 - index)));
    }
    if (file_.writeAt(durationOffset_, element, sizeof element)) {
        writtenTicks_ = endTicks_;
    }
}

}  // namespace editing
