#pragma once

#include "editing/core/ref_time.h"
#include "editing/core/result.h"

#include <string>

namespace editing {

// Where a duration probe stopped: the file could not be opened as media (missing, unreadable,
// not a container we know, corrupt, or holding no stream that can be decoded — the user needs
// decoders or a sound file), or it opened but its length cannot be learned.
enum class ProbeStage { Done, Open, Duration };

struct DurationProbe {
    Result result = kOk;  // negative on failure: ours or FFmpeg's code, see describeResult()
    ProbeStage stage = ProbeStage::Done;
    RefTime durationRefTime = 0;  // whole length in 100-ns units; > 0 when result succeeded
    // Whether the file holds a picture / a sound stream that a decoder of this system opens
    // (cover art is no picture); known when the file opened.
    bool hasDecodableVideo = false;
    bool hasDecodableAudio = false;

    bool succeeded() const { return editing::succeeded(result); }
};

// Opens `path` once with libavformat, reads its stream information and returns its length.
// The length is the container's duration or, when it names none, the latest end of its audio
// and video streams. A file whose length is zero or unknown fails at ProbeStage::Duration. A
// path of PATH_MAX bytes or more fails with kErrorNameTooLong, a missing file with
// kErrorFileNotFound, a file with no audio or video stream that a decoder of this system opens
// with kErrorNoDecodableStream.
//
// Threading: any thread; each call opens and closes its own demuxer.
DurationProbe probeDuration(const std::string& path);

}  // namespace editing
