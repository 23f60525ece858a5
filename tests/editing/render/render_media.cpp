#include "tests/editing/render/render_media.h"

#include "tests/support/media_fixtures.h"
#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>

#include <memory>

namespace render_test {

namespace {

bool makeWithFilter(const std::string& path, const std::string& lavfiInput,
                    const std::string& filter) {
    return test_support::runFfmpeg(
        "-f lavfi -i " + test_support::shellQuote(lavfiInput) +
        (filter.empty() ? "" : " -vf " + test_support::shellQuote(filter)) +
        " -c:v mpeg4 -q:v 2 -pix_fmt yuv420p " + test_support::shellQuote(path));
}

RenderMedia makeAll(const test_support::TemporaryFolder& folder) {
    RenderMedia media;
    media.folder = folder.path().string();
    using test_support::ClipRecipe;
    auto clip = [&](const std::string& name, test_support::Colour colour, int width, int height,
                    double toneHz) {
        ClipRecipe recipe;
        recipe.colour = colour;
        recipe.seconds = 1.0;
        recipe.width = width;
        recipe.height = height;
        recipe.toneHz = toneHz;
        const std::string path = folder.file(name);
        EXPECT_TRUE(test_support::makeClip(path, recipe)) << name;
        return path;
    };
    media.red = clip("red.avi", {255, 0, 0}, 160, 120, 440.0);
    media.green = clip("green.avi", {0, 255, 0}, 160, 120, 880.0);
    media.blue = clip("blue.avi", {0, 0, 255}, 160, 120, 0.0);
    media.wide = clip("wide.avi", {255, 255, 0}, 160, 60, 0.0);
    media.whiteOverRed = folder.file("white_over_red.avi");
    EXPECT_TRUE(makeWithFilter(media.whiteOverRed, "color=c=red:s=160x120:r=25:d=1",
                               "drawbox=x=0:y=0:w=160:h=60:color=white:t=fill"));
    media.redThenBlue = folder.file("red_then_blue.avi");
    EXPECT_TRUE(test_support::runFfmpeg(
        "-f lavfi -i color=c=red:s=160x120:r=25:d=0.2 -f lavfi -i "
        "color=c=blue:s=160x120:r=25:d=0.2 "
        "-filter_complex '[0][1]concat=n=2:v=1:a=0' -c:v mpeg4 -q:v 2 -pix_fmt yuv420p " +
        test_support::shellQuote(media.redThenBlue)));
    media.tone440 = folder.file("tone440.wav");
    EXPECT_TRUE(test_support::makeTone(media.tone440, 440.0, 1.0));
    media.tone1000 = folder.file("tone1000.wav");
    EXPECT_TRUE(test_support::makeTone(media.tone1000, 1000.0, 2.0));
    media.flashAndBeep = folder.file("flash_and_beep.mp4");
    EXPECT_TRUE(test_support::runFfmpeg(
        "-f lavfi -i color=c=black:s=160x120:r=25:d=2 "
        "-f lavfi -i "
        "'aevalsrc=if(between(t\\,0.92\\,1.12)\\,0.8*sin(2*PI*1000*t)\\,0):s=44100:d=2' "
        "-vf 'drawbox=x=0:y=0:w=160:h=120:color=white:t=fill:enable=between(t\\,0.92\\,1.1)' "
        "-c:v libx264 -bf 3 -pix_fmt yuv420p -c:a aac -ac 2 " +
        test_support::shellQuote(media.flashAndBeep)));
    // The ffmpeg tool writes a display matrix from "rotate" only when it copies the stream.
    const std::string upright = folder.file("upright.mp4");
    media.rotatedQuarterTurn = folder.file("rotated.mp4");
    EXPECT_TRUE(test_support::runFfmpeg(
        "-f lavfi -i color=c=red:s=160x120:r=25:d=1 "
        "-vf drawbox=x=0:y=0:w=160:h=60:color=white:t=fill -c:v libx264 -pix_fmt yuv420p " +
        test_support::shellQuote(upright)));
    EXPECT_TRUE(test_support::runFfmpeg("-i " + test_support::shellQuote(upright) +
                                        " -c copy -metadata:s:v:0 rotate=90 " +
                                        test_support::shellQuote(media.rotatedQuarterTurn)));
    return media;
}

}  // namespace

const RenderMedia& renderMedia() {
    static const auto folder = std::make_unique<test_support::TemporaryFolder>();
    static const RenderMedia media = makeAll(*folder);
    return media;
}

}  // namespace render_test
