#pragma once

// Test helper: reads an AVI (or any file) back with libavformat and decodes every stream, so
// tests can look at the frames and samples that a user's player would get.

#include <cstdint>
#include <string>
#include <vector>

namespace render_test {

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
};

struct RgbFrame {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;  // RGB24, top row first, as displayed

    Rgb at(int x, int y) const;
    Rgb centre() const { return at(width / 2, height / 2); }
};

struct StreamSummary {
    bool isVideo = false;
    std::string codecName;    // libavcodec name: "rawvideo", "pcm_s16le", "mpeg4" ...
    std::string pixelFormat;  // video: decoded pixel format
    int width = 0;
    int height = 0;
    int sampleRate = 0;
    int channels = 0;
};

struct DecodedAvi {
    bool opened = false;
    std::string formatName;
    std::vector<StreamSummary> streams;
    std::vector<RgbFrame> frames;      // of the first video stream
    std::vector<double> frameSeconds;  // each frame's presentation time, as a player shows it
    std::vector<float> samples;        // first audio stream, interleaved stereo at its rate
    int sampleRate = 0;
    int decodeErrors = 0;
    int videoPackets = 0;     // of the first video stream, as the file holds them
    int videoKeyPackets = 0;  // of those, the ones the index marks as key frames
    // Of the first video stream, in file order: each packet's presentation time (its decoding
    // time where the container stores no other) in seconds, and the frame count the header
    // declares (0 when it declares none).
    std::vector<double> videoPacketSeconds;
    std::int64_t declaredVideoFrames = 0;
    double videoFramesPerSecond = 0.0;     // the stream's declared rate
    double firstAudioPacketSeconds = 0.0;  // presentation time of the first audio packet
    // Presentation time of `samples[0]`: the first decoded sound, after what the file tells the
    // decoder to skip (an encoder's priming samples).
    double firstAudioFrameSeconds = 0.0;
};

// The time of the first video frame whose centre is brighter than `minimumLuma` (0 - 255) and
// of the first sample louder than `minimumLevel` (0 - 1); negative when there is none.
double firstBrightFrameSeconds(const DecodedAvi& decoded, int minimumLuma);
double firstLoudSampleSeconds(const DecodedAvi& decoded, float minimumLevel);

// Decodes all of `path`. `opened` is false when libavformat cannot read it.
DecodedAvi decodeFile(const std::string& path);

// Audio analysis on interleaved stereo `samples` (left channel) between two times in seconds.
double toneFrequencyHz(const DecodedAvi& decoded, double fromSeconds, double toSeconds);
double rmsLevel(const DecodedAvi& decoded, double fromSeconds, double toSeconds);

// The codec name (as decodeFile reports it) that a libavcodec encoder writes.
std::string codecNameOfEncoder(const std::string& encoderName);

bool near(const Rgb& colour, const Rgb& expected, int tolerance);
std::string describe(const Rgb& colour);

}  // namespace render_test
