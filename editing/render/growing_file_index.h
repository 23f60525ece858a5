#pragma once

// Private to OutputFileWriter: keeps the header of an output file true while it grows, so that
// a render killed (or a power cut) at any moment leaves a file whose players know its length
// and can seek in it. The muxer still writes the complete file's header and index at the end.

#include "editing/compressors/output_container.h"

#include <memory>
#include <string>

struct AVDictionary;
struct AVFormatContext;

namespace editing {

// Called on the writer's thread around the muxer's calls; every failure only leaves the file
// as the muxer alone would have left it (the render never fails for it).
class GrowingFileIndex {
  public:
    virtual ~GrowingFileIndex() = default;
    // Before a packet of `streamIndex` goes to av_interleaved_write_frame (packets of a stream
    // reach the file in the order they are submitted); `endSeconds`: where it ends in time.
    virtual void packetSubmitted(int streamIndex, bool keyFrame, double endSeconds) = 0;
    // After av_interleaved_write_frame or av_write_trailer returned: the muxer stands between
    // two chunks of the file.
    virtual void muxerWrote() = 0;
    // Just before av_write_trailer, which writes the complete file's header and index.
    virtual void beforeTrailer() = 0;
};

// For a file whose header av_write_header has just written through `format`'s pb.
// Options for avformat_write_header that the index needs of the muxer.
void addGrowingFileIndexOptions(OutputContainer container, AVDictionary*& options);

std::unique_ptr<GrowingFileIndex> makeGrowingFileIndex(OutputContainer container,
                                                       AVFormatContext& format,
                                                       const std::string& fileName);

}  // namespace editing
