#include "tests/support/media_fixtures.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace test_support {

std::string shellQuote(const std::string& text) {
    std::string quoted = "'";
    for (char character : text) {
        if (character == '\'') {
            quoted += "'\\''";
        } else {
            quoted += character;
        }
    }
    return quoted + "'";
}

bool runFfmpeg(const std::string& arguments) {
    const std::string command = "ffmpeg -nostdin -hide_banner -loglevel error -y " + arguments;
    const int status = std::system(command.c_str());
    if (status != 0) {
        std::fprintf(stderr, "ffmpeg failed (%d): %s\n", status, command.c_str());
        return false;
    }
    return true;
}

bool makeClip(const std::string& path, const ClipRecipe& recipe) {
    char colour[16];
    std::snprintf(colour, sizeof colour, "0x%02x%02x%02x", recipe.colour.red, recipe.colour.green,
                  recipe.colour.blue);
    std::ostringstream arguments;
    arguments << "-f lavfi -i "
              << shellQuote("color=c=" + std::string(colour) + ":s=" +
                            std::to_string(recipe.width) + "x" + std::to_string(recipe.height) +
                            ":r=" + std::to_string(recipe.framesPerSecond) +
                            ":d=" + std::to_string(recipe.seconds));
    if (recipe.toneHz > 0.0) {
        arguments << " -f lavfi -i "
                  << shellQuote("sine=frequency=" + std::to_string(recipe.toneHz) +
                                ":sample_rate=44100:duration=" + std::to_string(recipe.seconds))
                  << " -ac 2 -c:a " << recipe.audioCodec;
    }
    arguments << " -c:v " << recipe.videoCodec << " -q:v 2 -pix_fmt yuv420p -t " << recipe.seconds
              << " " << shellQuote(path);
    return runFfmpeg(arguments.str());
}

bool makeRedAndBlueClips(const std::string& redPath, const std::string& bluePath, double seconds,
                         int width, int height) {
    ClipRecipe red;
    red.colour = {220, 20, 20};
    red.seconds = seconds;
    red.width = width;
    red.height = height;
    red.toneHz = 440;
    ClipRecipe blue = red;
    blue.colour = {20, 20, 220};
    blue.toneHz = 660;
    return makeClip(redPath, red) && makeClip(bluePath, blue);
}

bool makeTone(const std::string& path, double toneHz, double seconds, double amplitude,
              int sampleRate, int channels) {
    std::ostringstream source;
    source << "aevalsrc=" << amplitude << "*sin(2*PI*" << toneHz << "*t):s=" << sampleRate
           << ":d=" << seconds;
    std::ostringstream arguments;
    arguments << "-f lavfi -i " << shellQuote(source.str()) << " -ac " << channels << " "
              << shellQuote(path);
    return runFfmpeg(arguments.str());
}

}  // namespace test_support
