#pragma once

#include <string>

// Media files made at test time with the ffmpeg command-line tool (an outside reference
// that the programs themselves never use). No binary media is kept in the repository.
namespace test_support {

struct Colour {
    int red = 0;
    int green = 0;
    int blue = 0;
};

struct ClipRecipe {
    Colour colour;         // every frame is filled with this colour
    double seconds = 1.0;  // length of picture and sound
    int width = 320;
    int height = 240;
    double framesPerSecond = 25.0;
    double toneHz = 0.0;  // 0: no sound stream; otherwise a sine of this frequency
    std::string videoCodec = "mpeg4";
    std::string audioCodec = "libmp3lame";
};

// Writes a clip to `path`; the container follows the extension (.avi, .mp4, .mkv ...).
// Returns false (and leaves a message on standard error) when ffmpeg fails.
bool makeClip(const std::string& path, const ClipRecipe& recipe);

// The two clips the window's mix tests list: `redPath` red with a 440 Hz tone, `bluePath` blue
// with 660 Hz, both `seconds` long at width x height. False when either cannot be written.
bool makeRedAndBlueClips(const std::string& redPath, const std::string& bluePath, double seconds,
                         int width, int height);

// Writes a sine tone of `seconds` at `toneHz`, `amplitude` 0..1, to `path` (.wav, .mp3 ...).
bool makeTone(const std::string& path, double toneHz, double seconds, double amplitude = 0.5,
              int sampleRate = 44100, int channels = 2);

// Runs the ffmpeg tool with `arguments` (already quoted for a shell), quietly; true on success.
bool runFfmpeg(const std::string& arguments);

// Quotes `text` as one shell word.
std::string shellQuote(const std::string& text);

}  // namespace test_support
