#pragma once

// Private to the render: the durations of a fragmented MP4 kept current while it is written.

#include "editing/render/growing_file_index.h"
#include "editing/render/positioned_file.h"

#include <cstdint>
#include <map>
#include <string>

namespace editing {

// A fragmented MP4's moov is written once, before the first fragment, with every duration 0,
// which some players (GStreamer's qtdemux) take for the length of the first fragment. This
// reads every fragment back once the file holds it whole (its moof and mdat), and rewrites the
// moov's durations in place: mvhd and each track's tkhd (movie time scale) and mdhd (its own
// time scale) say how far the fragments written so far reach. The file's data is synced before
// each rewrite, so the durations never claim more than what is on the disk.
class FragmentDurationPatch final : public GrowingFileIndex {
  public:
    explicit FragmentDurationPatch(const std::string& fileName);

    void packetSubmitted(int, bool, double) override {}
    void muxerWrote() override;
    void beforeTrailer() override {}

  private:
    // A duration field: 32 or 64 bits wide (box version 0 or 1), big-endian.
    struct Field {
        std::int64_t offset = -1;
        int widthBytes = 4;
    };
    struct Track {
        std::uint32_t timescale = 0;
        Field trackHeaderDuration;  // tkhd, movie time scale
        Field mediaHeaderDuration;  // mdhd, the track's time scale
        std::uint64_t endMediaTime = 0;
        std::uint64_t pendingEndMediaTime = 0;
    };

    void readMovie(std::int64_t offset, std::int64_t size);
    void readFragment(std::int64_t offset, std::int64_t size);
    void writeDurations();
    void writeField(const Field& field, std::uint64_t value);

    PositionedFile file_;
    std::int64_t scannedBytes_ = 0;  // the next top-level box starts here
    bool movieRead_ = false;
    bool fragmentPending_ = false;  // a moof read whose mdat is not whole yet
    std::uint32_t movieTimescale_ = 0;
    Field movieDuration_;
    std::map<std::uint32_t, Track> tracks_;  // by track id
};

}  // namespace editing
