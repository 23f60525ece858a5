// Every transition effect as a user gets it: one AVI with a clip per effect, built by the
// mixer's placement rule (each clip on its own track, overlapping the previous clip by its
// transition's length, the transition at the head of the clip's own track), decoded back and
// looked at before, during and after each transition.

#include "editing/compressors/compressor_registry.h"
#include "editing/render/render_engine.h"
#include "editing/transitions/transition_catalog.h"

#include "tests/editing/render/decoded_avi.h"
#include "tests/editing/render/render_fixture.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace render_test {
namespace {

using namespace editing;

constexpr int kWidth = 64;
constexpr int kHeight = 48;
constexpr double kFramesPerSecond = 25.0;
constexpr RefTime kFrame = kSecond / 25;
// Each clip's own share of the time line and its transition, in frames: a transition spans
// six frames (progress 0, 1/6 .. 5/6; the seventh frame is the clip alone) and ends four
// frames before the next clip's transition begins.
constexpr int kClipFrames = 10;
constexpr int kTransitionFrames = 6;
constexpr int kMidpointFrame = kTransitionFrames / 2;

// Flat colours, dark and light in turn, so every pair of neighbours differs by at least 95
// levels of luma and the share of B can be read from luma alone (which the 4:2:0 render keeps
// at full resolution). The colours are muted: no channel lies more than 70 levels from its
// colour's luma, so a pixel that carries one clip's luma and the other clip's chroma (at a
// hard edge, as 4:2:0 must) is still not clipped and a frame's mean colour stays the mix of
// A and B that its luma implies. Six colours: the clip two back and the clip ahead wear
// neither A's nor B's colour.
const std::array<Rgb, 6> kPalette = {{
    {120, 50, 50},    // dark red, luma 71
    {130, 200, 200},  // light cyan, luma 179
    {50, 60, 120},    // dark blue, luma 64
    {200, 190, 140},  // light sand, luma 187
    {50, 100, 50},    // dark green, luma 79
    {210, 150, 210},  // light magenta, luma 175
}};

const Rgb& colourOfClip(int clip) {
    return kPalette[static_cast<std::size_t>(clip) % kPalette.size()];
}

// One 1 s clip per palette colour, 64 x 48 at 25 fps, made with a single run of the ffmpeg
// tool the first time a test asks for them.
const std::vector<std::string>& paletteClips() {
    static const auto folder = std::make_unique<test_support::TemporaryFolder>();
    static const std::vector<std::string> clips = [] {
        std::vector<std::string> paths;
        std::ostringstream inputs;
        std::ostringstream outputs;
        for (std::size_t index = 0; index < kPalette.size(); ++index) {
            const Rgb& colour = kPalette[index];
            char hex[16];
            std::snprintf(hex, sizeof hex, "0x%02x%02x%02x", colour.red, colour.green, colour.blue);
            paths.push_back(folder->file("colour" + std::to_string(index) + ".avi"));
            inputs << " -f lavfi -i "
                   << test_support::shellQuote("color=c=" + std::string(hex) +
                                               ":s=" + std::to_string(kWidth) + "x" +
                                               std::to_string(kHeight) + ":r=25:d=1");
            outputs << " -map " << index << ":v -c:v mpeg4 -q:v 2 -pix_fmt yuv420p "
                    << test_support::shellQuote(paths.back());
        }
        EXPECT_TRUE(test_support::runFfmpeg(inputs.str() + outputs.str()));
        return paths;
    }();
    return clips;
}

// ---------------------------------------------------------------------------------------------
// What each effect must show half way through, on flat pictures.

enum class Midpoint {
    Regions,    // some pixels show A, others B (hard or soft edges)
    Mix,        // every pixel is the even mix of A and B
    Pixelated,  // A in averaged squares before the midpoint, B from it on: flat on flat clips
};

struct Pixel {
    int x = -1;  // -1: no probe for this effect
    int y = -1;
};

struct EffectExpectation {
    int effectIndex;
    Midpoint midpoint;
    double shareOfB;  // the share of pixels showing B at the midpoint; negative: not fixed
    Pixel showsB;     // a pixel that already shows B at the midpoint
    Pixel showsA;     // a pixel that still shows A at the midpoint
};

constexpr Pixel kNone{};
constexpr Pixel kCentre{32, 24};
constexpr Pixel kTopLeft{1, 1};

// Positions on the 64 x 48 frame and shares, from the geometry each effect is made of. Where a
// plain left-to-right wipe would also pass, a probe sits where it would not, so a pattern
// number lost on the way to the render shows.
const std::array<EffectExpectation, kTransitionEffectCount - 1> kExpectations = {{
    {1, Midpoint::Regions, -1, kCentre, kTopLeft},      // Iris: plus sign from the centre
    {2, Midpoint::Regions, 0.5, {48, 24}, {16, 24}},    // RadialWipe: clockwise from 12
    {3, Midpoint::Mix, 0.5, kNone, kNone},              // Fade
    {4, Midpoint::Regions, 0.5, {32, 6}, {32, 42}},     // ZigZag: top rows of cells first
    {5, Midpoint::Regions, 0.5, kNone, kNone},          // RandomBars: half the rows
    {6, Midpoint::Regions, 0.5, {2, 2}, kCentre},       // Spiral: outer ring first
    {7, Midpoint::Pixelated, 1.0, kNone, kNone},        // Pixelate
    {8, Midpoint::Regions, 0.5, {38, 9}, {46, 17}},     // Wheel: first half of each wedge
    {9, Midpoint::Regions, 0.5, {2, 2}, {61, 45}},      // Strips: from the top-left
    {10, Midpoint::Regions, 0.25, {8, 8}, {56, 40}},    // Inset: max(u, v)
    {11, Midpoint::Regions, 0.5, {32, 0}, {32, 3}},     // Blinds: top of each band
    {12, Midpoint::Regions, 0.5, {8, 24}, {56, 24}},    // Wipe: from the left, soft
    {13, Midpoint::Regions, 0.5, {0, 1}, {3, 1}},       // CheckerBoard: left of squares
    {14, Midpoint::Regions, 0.5, {56, 24}, {8, 24}},    // Slide: A leaves to the left
    {15, Midpoint::Regions, 0.5, kCentre, {2, 24}},     // Stretch: B squeezed in the middle
    {16, Midpoint::Regions, 0.5, kNone, kNone},         // RandomDissolve
    {17, Midpoint::Regions, 0.5, {8, 24}, {56, 24}},    // Horizontal
    {18, Midpoint::Regions, 0.5, {32, 6}, {32, 42}},    // Vertical
    {19, Midpoint::Regions, 0.25, kTopLeft, kCentre},   // Four corners
    {20, Midpoint::Regions, 0.5, kCentre, {32, 1}},     // Barn doors, horizontal
    {21, Midpoint::Regions, 0.5, {50, 2}, {10, 46}},    // Diagonal, NW to SE
    {22, Midpoint::Regions, 0.5, {32, 1}, {1, 24}},     // Triangles, top/bottom
    {23, Midpoint::Regions, 0.5, {62, 24}, {32, 1}},    // left/right
    {24, Midpoint::Regions, 0.75, kCentre, kTopLeft},   // stripe, SW to NE
    {25, Midpoint::Regions, 0.75, kCentre, {32, 1}},    // Cross
    {26, Midpoint::Regions, 0.75, {48, 36}, kCentre},   // Diamond Box: the outline first
    {27, Midpoint::Regions, 0.5, {32, 1}, {1, 46}},     // Wedge, top
    {28, Midpoint::Regions, 0.5, {40, 24}, {62, 1}},    // Wedge, left
    {29, Midpoint::Regions, 0.5, {35, 4}, {27, 9}},     // Sawtooth, left: a tooth ahead, a notch
                                                        // behind
    {30, Midpoint::Regions, 0.5, {32, 2}, {32, 45}},    // Sawtooth, top
    {31, Midpoint::Regions, 0.5, kCentre, {1, 24}},     // Sawtooth, vertical
    {32, Midpoint::Regions, 0.5, kCentre, {32, 1}},     // Sawtooth, horizontal
    {33, Midpoint::Regions, 0.25, kCentre, kTopLeft},   // Box
    {34, Midpoint::Regions, 0.5, kCentre, kTopLeft},    // Diamond
    {35, Midpoint::Regions, -1, kCentre, kTopLeft},     // Hexagon
    {36, Midpoint::Regions, 0.41, kCentre, kTopLeft},   // Circle
    {37, Midpoint::Regions, 0.42, kCentre, kTopLeft},   // Oval, horizontal
    {38, Midpoint::Regions, -1, kCentre, kTopLeft},     // Rounded rectangle, horizontal
    {39, Midpoint::Regions, -1, kCentre, kTopLeft},     // 4-point star
    {40, Midpoint::Regions, -1, kCentre, kTopLeft},     // 5-point star
    {41, Midpoint::Regions, -1, kCentre, kTopLeft},     // Heart
    {42, Midpoint::Regions, 0.5, {32, 6}, {32, 42}},    // Radial, left: the top half first
    {43, Midpoint::Regions, 0.66, {32, 40}, {1, 2}},    // Radial, top split
    {44, Midpoint::Regions, 0.62, {40, 10}, {61, 46}},  // Radial, top-right corner: top edge first
    {45, Midpoint::Regions, 0.33, {32, 2}, {1, 46}},    // Center radial, top
    {46, Midpoint::Regions, 0.5, {32, 2}, {32, 45}},    // Matrix, horizontal: top rows
}};

const EffectExpectation& expectationOf(int effectIndex) {
    return kExpectations.at(static_cast<std::size_t>(effectIndex - 1));
}

std::string labelOf(int effectIndex) {
    return "effect " + std::to_string(effectIndex) + " \"" +
           std::string(transitionEffectName(effectIndex)) + "\"";
}

// ---------------------------------------------------------------------------------------------
// The time line: a lead-in clip without a transition, then one clip per effect.

struct PlacedClip {
    int effectIndex = 0;  // 0: no transition
    RefTime start = 0;
    RefTime stop = 0;
};

// Places the clips as the mixer does: a cursor starting half a transition before 0; each clip
// runs from the cursor for its duration plus its transition (start cut at 0, stop at the total
// length) and the next clip starts one transition before this one's stop.
std::vector<PlacedClip> placeClips(const std::vector<int>& effects) {
    const RefTime duration = kClipFrames * kFrame;
    const RefTime transition = kTransitionFrames * kFrame;
    const auto count = static_cast<RefTime>(effects.size()) + 1;
    const RefTime totalLength = count * duration + transition - transition / 2;
    std::vector<PlacedClip> clips;
    RefTime cursor = -(transition / 2);
    for (RefTime clip = 0; clip < count; ++clip) {
        const RefTime end = cursor + duration + transition;
        PlacedClip placed;
        placed.effectIndex = clip == 0 ? 0 : effects[static_cast<std::size_t>(clip - 1)];
        placed.start = std::max<RefTime>(cursor, 0);
        placed.stop = std::min(end, totalLength);
        clips.push_back(placed);
        cursor = placed.stop - transition;
    }
    return clips;
}

TimelineModel buildTimeline(const std::vector<PlacedClip>& clips) {
    const RefTime transition = kTransitionFrames * kFrame;
    GroupModel video = videoGroup(kWidth, kHeight, kFramesPerSecond);
    for (std::size_t clip = 0; clip < clips.size(); ++clip) {
        const PlacedClip& placed = clips[clip];
        const std::string& file = paletteClips()[clip % kPalette.size()];
        TrackModel& track = addVideoTrack(video, file, placed.start, placed.stop);
        if (placed.effectIndex == 0 || placed.stop - placed.start < transition) {
            continue;
        }
        const std::optional<TransitionSetup> setup =
            transitionSetupForEffect(placed.effectIndex, kWidth, kHeight, 0);
        const int maskNumber = setup->kind == TransitionKind::SmpteWipe ? setup->maskNumber : 0;
        addTransition(track, setup->kind, placed.start, placed.start + transition, maskNumber);
    }
    TimelineModel timeline;
    timeline.groups = {video};
    return timeline;
}

// ---------------------------------------------------------------------------------------------
// Reading a decoded frame against the two colours of one transition.

double lumaOf(const Rgb& colour) {
    return 0.299 * colour.red + 0.587 * colour.green + 0.114 * colour.blue;
}

// Where a pixel lies between A (0) and B (1), by luma.
double shareOfBAt(const RgbFrame& frame, Pixel pixel, const Rgb& a, const Rgb& b) {
    return (lumaOf(frame.at(pixel.x, pixel.y)) - lumaOf(a)) / (lumaOf(b) - lumaOf(a));
}

struct FrameReading {
    double meanShareOfB = 0;  // 0: all A, 1: all B
    double shareShowingA = 0;
    double shareShowingB = 0;
    double shareInBetween = 0;  // clearly neither A nor B: mixed pixels
    Rgb meanColour;
};

// A pixel "shows" a colour when its luma lies within a quarter of the A-B distance of it.
FrameReading readFrame(const RgbFrame& frame, const Rgb& a, const Rgb& b) {
    FrameReading reading;
    double red = 0;
    double green = 0;
    double blue = 0;
    for (int y = 0; y < frame.height; ++y) {
        for (int x = 0; x < frame.width; ++x) {
            const double share = shareOfBAt(frame, {x, y}, a, b);
            reading.meanShareOfB += share;
            reading.shareShowingA += std::abs(share) < 0.25 ? 1 : 0;
            reading.shareShowingB += std::abs(share - 1.0) < 0.25 ? 1 : 0;
            reading.shareInBetween += share > 0.3 && share < 0.7 ? 1 : 0;
            const Rgb colour = frame.at(x, y);
            red += colour.red;
            green += colour.green;
            blue += colour.blue;
        }
    }
    const double pixels = static_cast<double>(frame.width) * frame.height;
    reading.meanShareOfB /= pixels;
    reading.shareShowingA /= pixels;
    reading.shareShowingB /= pixels;
    reading.shareInBetween /= pixels;
    reading.meanColour = {static_cast<int>(std::lround(red / pixels)),
                          static_cast<int>(std::lround(green / pixels)),
                          static_cast<int>(std::lround(blue / pixels))};
    return reading;
}

Rgb mixOf(const Rgb& a, const Rgb& b, double shareOfB) {
    auto channel = [shareOfB](int from, int to) {
        return static_cast<int>(std::lround(from + (to - from) * shareOfB));
    };
    return {channel(a.red, b.red), channel(a.green, b.green), channel(a.blue, b.blue)};
}

// Empty when every pixel is within `tolerance` of `colour`; otherwise the first pixel that is not.
std::string whereNotFlat(const RgbFrame& frame, const Rgb& colour, int tolerance) {
    for (int y = 0; y < frame.height; ++y) {
        for (int x = 0; x < frame.width; ++x) {
            if (!near(frame.at(x, y), colour, tolerance)) {
                return "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") is " +
                       describe(frame.at(x, y)) + ", expected " + describe(colour);
            }
        }
    }
    return {};
}

std::string frameTime(int frameIndex) {
    std::ostringstream text;
    text << "frame " << frameIndex << " (" << frameIndex / kFramesPerSecond << " s)";
    return text.str();
}

// How closely the decoded output may follow the clips' colours.
struct Tolerances {
    int flatLevels;       // a flat frame, per channel
    int meanLevels;       // a frame's mean colour against the mix of A and B its luma implies
    double shareOfB;      // a fixed share of B at the midpoint
    double monotonySlip;  // how far the share of B may fall back from one frame to the next
};

constexpr Tolerances kUncompressed{12, 12, 0.08, 0.02};
constexpr Tolerances kMpeg4{24, 20, 0.12, 0.05};

// Checks the frames of one transition, from the frame before it to the frame after it.
void expectTransitionFrames(const DecodedAvi& decoded, const PlacedClip& clip, int clipIndex,
                            const Tolerances& tolerances) {
    const EffectExpectation& expected = expectationOf(clip.effectIndex);
    ASSERT_EQ(expected.effectIndex, clip.effectIndex);
    const std::string label = labelOf(clip.effectIndex);
    const Rgb& a = colourOfClip(clipIndex - 1);
    const Rgb& b = colourOfClip(clipIndex);
    const int first = static_cast<int>(clip.start / kFrame);
    ASSERT_LT(static_cast<std::size_t>(first + kTransitionFrames), decoded.frames.size()) << label;
    auto frame = [&](int offset) -> const RgbFrame& {
        return decoded.frames[static_cast<std::size_t>(first + offset)];
    };

    EXPECT_EQ(whereNotFlat(frame(-1), a, tolerances.flatLevels), "")
        << label << ": the previous clip alone, just before the transition, "
        << frameTime(first - 1);
    EXPECT_EQ(whereNotFlat(frame(0), a, tolerances.flatLevels), "")
        << label << ": the transition's first frame (progress 0) is still A, " << frameTime(first);
    EXPECT_EQ(whereNotFlat(frame(kTransitionFrames), b, tolerances.flatLevels), "")
        << label << ": the clip alone once its transition is over, "
        << frameTime(first + kTransitionFrames);

    double previousShare = 0.0;
    for (int offset = 1; offset < kTransitionFrames; ++offset) {
        const FrameReading reading = readFrame(frame(offset), a, b);
        EXPECT_GE(reading.meanShareOfB, previousShare - tolerances.monotonySlip)
            << label << ": B must only gain ground, " << frameTime(first + offset);
        previousShare = reading.meanShareOfB;
        EXPECT_TRUE(
            near(reading.meanColour, mixOf(a, b, reading.meanShareOfB), tolerances.meanLevels))
            << label << ": " << frameTime(first + offset) << " mean colour "
            << describe(reading.meanColour) << " is not made of A " << describe(a) << " and B "
            << describe(b) << " (share of B " << reading.meanShareOfB << ")";
    }

    const int middle = first + kMidpointFrame;
    const RgbFrame& midpoint = frame(kMidpointFrame);
    const FrameReading reading = readFrame(midpoint, a, b);
    switch (expected.midpoint) {
        case Midpoint::Mix:
            EXPECT_GT(reading.shareInBetween, 0.99)
                << label << ": every pixel mixed at " << frameTime(middle);
            EXPECT_TRUE(near(midpoint.centre(), mixOf(a, b, 0.5), tolerances.flatLevels))
                << label << ": the centre at " << frameTime(middle) << " is "
                << describe(midpoint.centre()) << ", expected the even mix "
                << describe(mixOf(a, b, 0.5));
            break;
        case Midpoint::Pixelated:
            EXPECT_EQ(whereNotFlat(frame(kMidpointFrame - 1), a, tolerances.flatLevels), "")
                << label << ": A in squares before the midpoint, " << frameTime(middle - 1);
            EXPECT_EQ(whereNotFlat(midpoint, b, tolerances.flatLevels), "")
                << label << ": B in squares from the midpoint on, " << frameTime(middle);
            break;
        case Midpoint::Regions:
            EXPECT_GT(reading.shareShowingA, 0.05)
                << label << ": A must still show at " << frameTime(middle);
            EXPECT_GT(reading.shareShowingB, 0.05)
                << label << ": B must show at " << frameTime(middle);
            break;
    }
    if (expected.shareOfB >= 0) {
        EXPECT_NEAR(reading.meanShareOfB, expected.shareOfB, tolerances.shareOfB)
            << label << ": share of B at " << frameTime(middle);
    }
    if (expected.showsB.x >= 0) {
        const Pixel pixel = expected.showsB;
        EXPECT_NEAR(shareOfBAt(midpoint, pixel, a, b), 1.0, 0.25)
            << label << ": pixel (" << pixel.x << ", " << pixel.y << ") at " << frameTime(middle)
            << " is " << describe(midpoint.at(pixel.x, pixel.y)) << ", expected B " << describe(b)
            << " (A is " << describe(a) << ")";
    }
    if (expected.showsA.x >= 0) {
        const Pixel pixel = expected.showsA;
        EXPECT_NEAR(shareOfBAt(midpoint, pixel, a, b), 0.0, 0.25)
            << label << ": pixel (" << pixel.x << ", " << pixel.y << ") at " << frameTime(middle)
            << " is " << describe(midpoint.at(pixel.x, pixel.y)) << ", expected A " << describe(a)
            << " (B is " << describe(b) << ")";
    }
}

std::vector<int> allEffects() {
    std::vector<int> effects;
    for (int index = 1; index < kTransitionEffectCount; ++index) {
        effects.push_back(index);
    }
    return effects;
}

std::size_t frameCountOf(const std::vector<PlacedClip>& clips) {
    return static_cast<std::size_t>(clips.back().stop / kFrame);
}

void expectRendered(const RenderOutcome& outcome) {
    ASSERT_EQ(outcome.startResult, kOk);
    EXPECT_EQ(outcome.completeEvents, 1);
    for (const RenderEvent& event : outcome.events) {
        EXPECT_NE(event.kind, RenderEventKind::Error) << event.description;
    }
}

TEST(TransitionsRendered, EveryEffectBlendsFromThePreviousClipIntoItsOwn) {
    ASSERT_EQ(paletteClips().size(), kPalette.size());
    const std::vector<PlacedClip> clips = placeClips(allEffects());
    test_support::TemporaryFolder folder;
    const std::string output = folder.file("every_effect.avi");
    expectRendered(renderToEnd(buildTimeline(clips), {output, std::nullopt, std::nullopt}));

    const DecodedAvi decoded = decodeFile(output);
    ASSERT_TRUE(decoded.opened);
    ASSERT_EQ(decoded.streams.size(), 1u);
    EXPECT_EQ(decoded.streams[0].codecName, "rawvideo");
    ASSERT_EQ(decoded.frames.size(), frameCountOf(clips));
    EXPECT_EQ(whereNotFlat(decoded.frames.front(), colourOfClip(0), kUncompressed.flatLevels), "")
        << "the lead-in clip has no transition";
    for (std::size_t clip = 1; clip < clips.size(); ++clip) {
        expectTransitionFrames(decoded, clips[clip], static_cast<int>(clip), kUncompressed);
    }
    EXPECT_EQ(whereNotFlat(decoded.frames.back(), colourOfClip(static_cast<int>(clips.size()) - 1),
                           kUncompressed.flatLevels),
              "")
        << "the last clip plays to the end";
}

// A compressing encoder blurs edges and mixes but must keep both clips visible mid-way.
TEST(TransitionsRendered, Mpeg4KeepsBothClipsVisibleMidway) {
    const CompressorRegistry registry = CompressorRegistry::discover();
    std::optional<Compressor> mpeg4;
    for (const Compressor& compressor : registry.videoCompressors()) {
        if (compressor.encoderName == "mpeg4") {
            mpeg4 = compressor;
            break;
        }
    }
    if (!mpeg4) {
        GTEST_SKIP() << "no MPEG-4 encoder on this machine";
    }
    // Iris, Fade, Wipe, Horizontal, Circle, Matrix: a shape, a mix, a soft edge, straight
    // edges and cells.
    const std::vector<PlacedClip> clips = placeClips({1, 3, 12, 17, 36, 46});
    test_support::TemporaryFolder folder;
    const std::string output = folder.file("mpeg4_effects.avi");
    expectRendered(renderToEnd(buildTimeline(clips), {output, mpeg4, std::nullopt}));

    const DecodedAvi decoded = decodeFile(output);
    ASSERT_TRUE(decoded.opened);
    ASSERT_EQ(decoded.streams.size(), 1u);
    EXPECT_EQ(decoded.streams[0].codecName, "mpeg4");
    EXPECT_EQ(decoded.decodeErrors, 0);
    ASSERT_EQ(decoded.frames.size(), frameCountOf(clips));
    for (std::size_t clip = 1; clip < clips.size(); ++clip) {
        expectTransitionFrames(decoded, clips[clip], static_cast<int>(clip), kMpeg4);
    }
}

}  // namespace
}  // namespace render_test
