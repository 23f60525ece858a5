#pragma once

// Private to the render: an AVI's index written while the file grows.

#include "editing/render/growing_file_index.h"
#include "editing/render/positioned_file.h"

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

struct AVIOContext;

namespace editing {

// The AVI muxer writes its index (idx1, or OpenDML ix## chunks at each 1 GiB RIFF boundary)
// only at those boundaries and at the end, so a killed render's AVI has none and players
// cannot seek in it. This writes the OpenDML two-level index as the file grows: every so often
// (a second of media at first, a 128th of what is written later on) a standard index chunk
// ix## per stream lands in the movi list after the chunks it lists, and its entry is added to
// the stream's super index `indx`, written in place of the muxer's reserved JUNK placeholder
// in the stream's header list (entries first, their count last, after syncing the file's data).
//
// The muxer's own index stays in charge of the complete file. Past 1 GiB it starts a new RIFF
// (AVIX) and writes its own ix## chunks for the RIFF it closes and their super index entry
// (entry k for RIFF k + 1, the count k + 1), which agrees with what is there: entries of this
// index for the new RIFF follow the muxer's and are overwritten in turn at the next boundary.
// Before the trailer the entries past the muxer's own go back to the placeholder's bytes (all
// of it, JUNK tag included, while the file is one RIFF), so the complete file is what the muxer
// alone writes, plus the ix## chunks in its movi lists, which its own index does not name.
// While the file is one RIFF the header's frame counts (avih, each strh's length) and the
// RIFF's size are kept with the index; later the streams' lengths only, as the muxer's trailer
// writes them.
class AviProgressiveIndex final : public GrowingFileIndex {
  public:
    // `pb` is the muxer's output, just after avformat_write_header. `blockAlignBytes` holds, per
    // stream, -1 for video and for audio the bytes of a sample frame (0: no fixed size).
    AviProgressiveIndex(AVIOContext& pb, const std::string& fileName,
                        const std::vector<int>& blockAlignBytes);

    void packetSubmitted(int streamIndex, bool keyFrame, double endSeconds) override;
    void muxerWrote() override;
    void beforeTrailer() override;

    // The super index room to ask of the muxer (its reserve_index_space option), in bytes.
    static int reservedIndexBytes();

  private:
    struct Entry {
        std::uint32_t offset = 0;       // of the chunk's data, from the movi list's "movi"
        std::uint32_t sizeAndFlag = 0;  // bit 31 set: not a key frame
    };
    struct StreamIndex {
        std::uint32_t chunkId = 0;              // "00dc", "01wb", ... as it reads in the file
        int blockAlignBytes = 0;                // audio: bytes per sample frame; 0 for video
        std::int64_t placeholderOffset = -1;    // of the JUNK / indx chunk's four-character code
        std::vector<std::uint8_t> placeholder;  // the chunk as the muxer wrote it
        int capacity = 0;                       // super index entries the chunk holds
        int entriesInUse = 0;
        std::deque<bool> keyFrames;  // of packets submitted but not yet found in the file
        std::vector<Entry> pending;  // found in the file, not yet in an ix## chunk
        std::int64_t pendingBytes = 0;
        std::int64_t firstChunkOffset = -1;  // of its first ix## chunk
        std::int64_t lengthOffset = -1;      // of its strh's dwLength
        std::int64_t chunks = 0;             // in the file so far, and their bytes
        std::int64_t bytes = 0;
    };

    bool readHeader();
    void collectChunks(std::int64_t endBytes);
    void appendIndexChunks();
    void writeFrameCounts();

    AVIOContext& pb_;
    PositionedFile file_;
    std::vector<StreamIndex> streams_;
    std::int64_t moviOffset_ = -1;  // of the current movi list's "movi": the entries' base
    std::int64_t scannedBytes_ = 0;
    std::int64_t totalFramesOffset_ = -1;  // of avih's dwTotalFrames
    int riffCount_ = 1;                    // RIFFs the muxer has started
    double submittedSeconds_ = 0;
    double indexedSeconds_ = 0;
    bool active_ = false;
};

}  // namespace editing
