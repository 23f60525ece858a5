#pragma once

// Private to the render: a Matroska file's duration kept current while it is written.

#include "editing/render/growing_file_index.h"
#include "editing/render/positioned_file.h"

#include <cstdint>
#include <string>

namespace editing {

// The Matroska muxer writes the segment's Duration only at the end, over room it reserves in
// the Info element (an 11-byte Void), so a killed render's file has none: FFmpeg's reader then
// knows no length and GStreamer guesses one from the bit rate. This reads every cluster back
// once the file holds it whole and writes the Duration over that Void, in place, after syncing
// the file's data: where the last block of the whole clusters starts. The muxer's trailer later
// writes the Info element again, with the real Duration, over the same bytes.
class MatroskaDurationPatch final : public GrowingFileIndex {
  public:
    explicit MatroskaDurationPatch(const std::string& fileName);

    void packetSubmitted(int, bool, double) override {}
    void muxerWrote() override;
    // The trailer writes the Info element again, with its checksum: nothing is written after.
    void beforeTrailer() override { file_.close(); }

    // The muxer options this needs: clusters of a second, each flushed to the file, so a
    // killed file's Duration is at most about a second short of what it holds.
    static const char* clusterMillisecondsOption() { return "1000"; }

  private:
    bool findSegment(std::int64_t fileBytes);
    void readInfo(std::int64_t dataOffset, std::int64_t size);
    // The time of the latest block of a whole cluster, in the segment's timestamp scale.
    std::uint64_t clusterEndTicks(std::int64_t dataOffset, std::int64_t size) const;
    void writeDuration();

    PositionedFile file_;
    std::int64_t scannedBytes_ = 0;  // the next element of the segment starts here
    bool inSegment_ = false;
    std::int64_t durationOffset_ = -1;  // of the reserved Void in Info
    std::uint64_t endTicks_ = 0;        // in the segment's timestamp scale
    std::uint64_t writtenTicks_ = 0;
};

}  // namespace editing
