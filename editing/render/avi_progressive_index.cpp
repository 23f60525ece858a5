#include "editing/render/avi_progressive_index.h"

extern "C" {
#include <libavformat/avio.h>
}

#include <algorithm>

namespace editing {

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t fourCc(const char (&name)[5]) {
    return std::uint32_t(std::uint8_t(name[0])) | (std::uint32_t(std::uint8_t(name[1])) << 8) |
           (std::uint32_t(std::uint8_t(name[2])) << 16) |
           (std::uint32_t(std::uint8_t(name[3])) << 24);
}

// The super index entries asked of the muxer: with a chunk a second for the first 128 s and a
// 128th of the length after that, 1024 entries reach about a day and a half.
constexpr int kSuperIndexEntries = 1024;
constexpr int kSuperIndexPrefixBytes = 32;  // chunk header and the index's own header
constexpr int kSuperIndexEntryBytes = 16;
constexpr double kShortestIntervalSeconds = 1.0;
constexpr double kIntervalShareOfLength = 1.0 / 128;
// The header lists (hdrl and the padding after it) the index reads back.
constexpr std::size_t kLargestHeaderBytes = 16U << 20;

std::uint32_t streamChunkId(int index, bool audio) {
    const char tag[5] = {char('0' + index / 10), char('0' + index % 10), audio ? 'w' : 'd',
                         audio ? 'b' : 'c', '\0'};
    return fourCc(tag);
}

}  // namespace

AviProgressiveIndex::AviProgressiveIndex(AVIOContext& pb, const std::string& fileName,
                                         const std::vector<int>& blockAlignBytes)
    : pb_(pb), streams_(blockAlignBytes.size()) {
    for (std::size_t index = 0; index < streams_.size(); ++index) {
        streams_[index].blockAlignBytes = blockAlignBytes[index];
        streams_[index].chunkId =
            streamChunkId(static_cast<int>(index), blockAlignBytes[index] >= 0);
    }
    avio_flush(&pb_);
    active_ = file_.open(fileName) && readHeader();
}

int AviProgressiveIndex::reservedIndexBytes() {
    return kSuperIndexPrefixBytes + kSuperIndexEntryBytes * kSuperIndexEntries;
}

bool AviProgressiveIndex::readHeader() {
    const std::int64_t headerBytes = std::min<std::int64_t>(avio_tell(&pb_), kLargestHeaderBytes);
    const Bytes header = file_.readAt(0, static_cast<std::size_t>(headerBytes));
    if (header.size() < 12 || readLittleEndian(header, 0, 4) != fourCc("RIFF")) {
        return false;
    }
    // RIFF "AVI " holds LIST hdrl (LIST strl per stream, each ending in the placeholder) and
    // then LIST movi; walk the lists in order, stepping into every LIST but movi.
    std::size_t streamSeen = 0;
    std::size_t at = 12;
    while (at + 12 <= header.size()) {
        const auto id = static_cast<std::uint32_t>(readLittleEndian(header, at, 4));
        const std::uint64_t size = readLittleEndian(header, at + 4, 4);
        if (id == fourCc("LIST")) {
            const auto kind = static_cast<std::uint32_t>(readLittleEndian(header, at + 8, 4));
            if (kind == fourCc("movi")) {
                moviOffset_ = static_cast<std::int64_t>(at + 8);
                break;
            }
            if (kind == fourCc("strl")) {
                ++streamSeen;
            }
            at += 12;
            continue;
        }
        const std::size_t next = at + 8 + static_cast<std::size_t>((size + 1) & ~1ULL);
        if (id == fourCc("avih")) {
            totalFramesOffset_ = static_cast<std::int64_t>(at + 8 + 16);
        } else if (id == fourCc("strh") && streamSeen > 0 && streamSeen <= streams_.size()) {
            streams_[streamSeen - 1].lengthOffset = static_cast<std::int64_t>(at + 8 + 32);
        }
        // The placeholder: a JUNK chunk laid out as a super index of this stream's chunks.
        if (id == fourCc("JUNK") && streamSeen > 0 && streamSeen <= streams_.size() &&
            next <= header.size() && size >= kSuperIndexPrefixBytes - 8 &&
            readLittleEndian(header, at + 8, 2) == 4 && readLittleEndian(header, at + 10, 2) == 0 &&
            readLittleEndian(header, at + 16, 4) == streams_[streamSeen - 1].chunkId) {
            StreamIndex& stream = streams_[streamSeen - 1];
            stream.placeholderOffset = static_cast<std::int64_t>(at);
            stream.placeholder.assign(header.begin() + static_cast<std::ptrdiff_t>(at),
                                      header.begin() + static_cast<std::ptrdiff_t>(next));
            stream.capacity =
                static_cast<int>((size + 8 - kSuperIndexPrefixBytes) / kSuperIndexEntryBytes);
        }
        at = next;
    }
    scannedBytes_ = moviOffset_ + 4;
    return moviOffset_ > 0 &&
           std::all_of(streams_.begin(), streams_.end(),
                       [](const StreamIndex& stream) { return stream.capacity > 0; });
}

void AviProgressiveIndex::packetSubmitted(int streamIndex, bool keyFrame, double endSeconds) {
    if (!active_ || streamIndex < 0 || streamIndex >= static_cast<int>(streams_.size())) {
        return;
    }
    streams_[static_cast<std::size_t>(streamIndex)].keyFrames.push_back(keyFrame);
    submittedSeconds_ = std::max(submittedSeconds_, endSeconds);
}

void AviProgressiveIndex::muxerWrote() {
    if (!active_) {
        return;
    }
    const double interval =
        std::max(kShortestIntervalSeconds, submittedSeconds_ * kIntervalShareOfLength);
    if (submittedSeconds_ < indexedSeconds_ + interval) {
        return;
    }
    avio_flush(&pb_);
    collectChunks(avio_tell(&pb_));
    appendIndexChunks();
    indexedSeconds_ = submittedSeconds_;
}

void AviProgressiveIndex::collectChunks(std::int64_t endBytes) {
    while (scannedBytes_ + 12 <= endBytes) {
        const Bytes header = file_.readAt(scannedBytes_, 12);
        if (header.empty()) {
            return;
        }
        const auto id = static_cast<std::uint32_t>(readLittleEndian(header, 0, 4));
        if (id == fourCc("RIFF")) {
            // The muxer started the next RIFF (AVIX) and indexed the last one itself: its
            // entries now lead every super index, and ours for this RIFF follow them.
            ++riffCount_;
            for (StreamIndex& stream : streams_) {
                stream.pending.clear();
                stream.pendingBytes = 0;
                stream.entriesInUse = riffCount_ - 1;
            }
            scannedBytes_ += 12;
            continue;
        }
        if (id == fourCc("LIST") && readLittleEndian(header, 8, 4) == fourCc("movi")) {
            moviOffset_ = scannedBytes_ + 8;
            scannedBytes_ += 12;
            continue;
        }
        const std::uint64_t size = readLittleEndian(header, 4, 4);
        const std::int64_t next = scannedBytes_ + 8 + static_cast<std::int64_t>((size + 1) & ~1ULL);
        if (next > endBytes) {
            return;
        }
        for (StreamIndex& stream : streams_) {
            if (stream.chunkId != id) {
                continue;
            }
            // Empty chunks are the muxer's own (a frame repeated); only others were submitted.
            bool key = stream.blockAlignBytes >= 0;
            if (size > 0 && !stream.keyFrames.empty()) {
                key = key || stream.keyFrames.front();
                stream.keyFrames.pop_front();
            }
            stream.pending.push_back({static_cast<std::uint32_t>(scannedBytes_ + 8 - moviOffset_),
                                      static_cast<std::uint32_t>(size) | (key ? 0U : 0x80000000U)});
            stream.pendingBytes += static_cast<std::int64_t>(size);
            ++stream.chunks;
            stream.bytes += static_cast<std::int64_t>(size);
        }
        scannedBytes_ = next;
    }
}

void AviProgressiveIndex::appendIndexChunks() {
    struct Added {
        StreamIndex* stream;
        std::int64_t offset;
        std::uint32_t sizeBytes;
        std::uint32_t duration;
    };
    std::vector<Added> added;
    for (StreamIndex& stream : streams_) {
        if (stream.pending.empty()) {
            continue;
        }
        if (stream.entriesInUse >= stream.capacity) {
            active_ = false;  // full: the file stays seekable up to here
            return;
        }
        // A standard index chunk: ix## with 2 longs an entry, entries of this stream's chunks.
        const auto count = static_cast<std::uint32_t>(stream.pending.size());
        Bytes chunk;
        const char name[5] = {'i', 'x', char(stream.chunkId & 0xFF),
                              char((stream.chunkId >> 8) & 0xFF), '\0'};
        appendLittleEndian(chunk, fourCc(name), 4);
        appendLittleEndian(chunk, 24 + 8 * std::uint64_t(count), 4);
        appendLittleEndian(chunk, 2, 2);  // longs an entry
        appendLittleEndian(chunk, 0, 1);  // sub type
        appendLittleEndian(chunk, 1, 1);  // an index of chunks
        appendLittleEndian(chunk, count, 4);
        appendLittleEndian(chunk, stream.chunkId, 4);
        appendLittleEndian(chunk, static_cast<std::uint64_t>(moviOffset_), 8);
        appendLittleEndian(chunk, 0, 4);
        for (const Entry& entry : stream.pending) {
            appendLittleEndian(chunk, entry.offset, 4);
            appendLittleEndian(chunk, entry.sizeAndFlag, 4);
        }
        const std::int64_t offset = avio_tell(&pb_);
        avio_write(&pb_, chunk.data(), static_cast<int>(chunk.size()));
        // Video: frames; audio: sample frames (or chunks when they have no fixed size).
        const std::int64_t duration = stream.blockAlignBytes > 0
                                          ? stream.pendingBytes / stream.blockAlignBytes
                                          : static_cast<std::int64_t>(count);
        added.push_back({&stream, offset, static_cast<std::uint32_t>(chunk.size()),
                         static_cast<std::uint32_t>(duration)});
        stream.pending.clear();
        stream.pendingBytes = 0;
    }
    avio_flush(&pb_);
    scannedBytes_ = avio_tell(&pb_);
    if (added.empty() || pb_.error < 0 || !file_.syncData()) {
        return;
    }
    for (const Added& chunk : added) {
        StreamIndex& stream = *chunk.stream;
        Bytes entry;
        appendLittleEndian(entry, static_cast<std::uint64_t>(chunk.offset), 8);
        appendLittleEndian(entry, chunk.sizeBytes, 4);
        appendLittleEndian(entry, chunk.duration, 4);
        const std::int64_t entryOffset = stream.placeholderOffset + kSuperIndexPrefixBytes +
                                         std::int64_t(kSuperIndexEntryBytes) * stream.entriesInUse;
        Bytes count;
        appendLittleEndian(count, static_cast<std::uint64_t>(stream.entriesInUse) + 1, 4);
        const std::uint8_t name[4] = {'i', 'n', 'd', 'x'};
        if (!file_.writeAt(entryOffset, entry.data(), entry.size()) ||
            !file_.writeAt(stream.placeholderOffset + 12, count.data(), count.size()) ||
            !file_.writeAt(stream.placeholderOffset, name, sizeof name)) {
            active_ = false;
            return;
        }
        if (stream.entriesInUse++ == 0) {
            stream.firstChunkOffset = chunk.offset;
        }
    }
    writeFrameCounts();
}

void AviProgressiveIndex::writeFrameCounts() {
    // As the muxer's trailer counts: video frames, audio sample frames (chunks when their size
    // varies); the file's frames are its video's.
    std::uint32_t videoFrames = 0;
    for (const StreamIndex& stream : streams_) {
        const std::int64_t length =
            stream.blockAlignBytes > 0 ? stream.bytes / stream.blockAlignBytes : stream.chunks;
        Bytes field;
        appendLittleEndian(field, static_cast<std::uint64_t>(length), 4);
        if (stream.lengthOffset >= 0) {
            static_cast<void>(file_.writeAt(stream.lengthOffset, field.data(), field.size()));
        }
        if (stream.blockAlignBytes < 0) {
            videoFrames = std::max(videoFrames, static_cast<std::uint32_t>(stream.chunks));
        }
    }
    if (riffCount_ > 1) {
        return;  // the muxer keeps the first RIFF's own counts and size
    }
    Bytes field;
    appendLittleEndian(field, videoFrames, 4);
    if (totalFramesOffset_ >= 0) {
        static_cast<void>(file_.writeAt(totalFramesOffset_, field.data(), field.size()));
    }
    // The RIFF's size as far as the index reaches (the muxer's placeholder says 4 GiB, which
    // readers take for a file cut short and scale its length down); the chunks after it are
    // still read, as those after a RIFF's end always are.
    Bytes riffSize;
    appendLittleEndian(riffSize, static_cast<std::uint64_t>(scannedBytes_ - 8), 4);
    static_cast<void>(file_.writeAt(4, riffSize.data(), riffSize.size()));
}

void AviProgressiveIndex::beforeTrailer() {
    const bool wroteAny = std::any_of(streams_.begin(), streams_.end(),
                                      [](const StreamIndex& s) { return s.firstChunkOffset >= 0; });
    active_ = false;
    if (!wroteAny) {
        return;
    }
    // The placeholders go back as the muxer left them, past the entries it wrote itself at its
    // RIFF boundaries (none while the file is one RIFF): its trailer then indexes the file as
    // it would without this.
    avio_flush(&pb_);
    collectChunks(avio_tell(&pb_));
    const std::int64_t muxerEntries = riffCount_ - 1;
    for (const StreamIndex& stream : streams_) {
        if (muxerEntries == 0) {
            static_cast<void>(file_.writeAt(stream.placeholderOffset, stream.placeholder.data(),
                                            stream.placeholder.size()));
            continue;
        }
        const auto from =
            static_cast<std::size_t>(kSuperIndexPrefixBytes + kSuperIndexEntryBytes * muxerEntries);
        if (from < stream.placeholder.size()) {
            static_cast<void>(file_.writeAt(stream.placeholderOffset + std::int64_t(from),
                                            stream.placeholder.data() + from,
                                            stream.placeholder.size() - from));
        }
        Bytes count;
        appendLittleEndian(count, static_cast<std::uint64_t>(muxerEntries), 4);
        static_cast<void>(file_.writeAt(stream.placeholderOffset + 12, count.data(), count.size()));
    }
}

}  // namespace editing
