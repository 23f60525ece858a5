#pragma once

// Private to the render: the pictures of one video source, fitted to the group's frame.

#include "editing/core/ffmpeg_handles.h"
#include "editing/core/picture.h"
#include "editing/playback/display_orientation.h"
#include "editing/playback/media_input.h"
#include "editing/playback/source_failure.h"
#include "editing/timeline/timeline_model.h"

#include <string>

namespace editing {

// Reads one file forward and answers "which picture shows at media time m": the last frame
// whose time is at or before m (the first frame before that; the last frame of the file after
// its end; black when the file has no picture). The answer is turned as the stream's display
// matrix says (portrait phone clips) and then fitted into a picture of the frame size following
// the stretch mode. Allocates only when the file's frame size changes.
//
// Threading: used by one thread.
class VideoSourceReader {
  public:
    VideoSourceReader(int frameWidth, int frameHeight, StretchMode stretchMode);

    // Opens the file; on failure the reader shows black and `description` says why.
    Result open(const std::string& fileName, RefTime mediaStart, std::string& description);

    const Picture& pictureAt(RefTime mediaTime);

    // Hands out, once, a failure met by pictureAt() (the file's pictures could not be
    // converted to the frame): true with `result` and a readable `description`. The picture
    // stays as it was (black, or the last one fitted) while the failure lasts.
    bool takeFailure(Result& result, std::string& description);

  private:
    void advanceTo(RefTime mediaTime);
    void fitCurrentFrame();
    // The current frame turned for display (itself when the orientation is the identity); null
    // when it cannot be converted.
    const AVFrame* shownFrame();

    MediaInput input_;
    std::string fileName_;
    PendingFailure failure_;  // kept until taken
    bool opened_ = false;
    StretchMode stretchMode_;
    Picture fitted_;
    ffmpeg::FrameHandle current_;
    ffmpeg::FrameHandle next_;
    bool hasCurrent_ = false;
    bool hasNext_ = false;
    bool ended_ = false;
    bool currentFitted_ = false;
    RefTime nextTime_ = 0;
    RefTime currentTime_ = 0;
    ffmpeg::ScaleContextHandle scaler_;
    DisplayOrientation orientation_;
    // A turned clip: the decoded frame in YUV 4:2:0 (when decoded in another format), turned
    // into `turned_`, which `turnedFrame_` describes to the fit (it owns no buffers).
    ffmpeg::ScaleContextHandle toYuvScaler_;
    Picture decodedYuv_;
    Picture turned_;
    ffmpeg::FrameHandle turnedFrame_;
    // The fit last computed, so bars are painted only when it changes.
    int fitSourceWidth_ = 0;
    int fitSourceHeight_ = 0;
    int fitSourceFormat_ = -1;
    AVRational fitAspect_{0, 1};
    int targetX_ = 0, targetY_ = 0, targetWidth_ = 0, targetHeight_ = 0;
    int cropX_ = 0, cropY_ = 0, cropWidth_ = 0, cropHeight_ = 0;
};

}  // namespace editing
