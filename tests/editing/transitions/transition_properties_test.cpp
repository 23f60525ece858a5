// Properties every effect must have, checked for all 46 effects (all 30 SMPTE patterns).

#include "transition_test_support.h"

#include "editing/transitions/smpte_patterns.h"

#include <cmath>
#include <set>
#include <string_view>

namespace editing {
namespace {

using testing_support::allEffectIndices;
using testing_support::BMask;
using testing_support::effectLabel;
using testing_support::firstDifferingPlane;
using testing_support::flatPicture;
using testing_support::kBlueB;
using testing_support::kRedA;
using testing_support::renderEffect;
using testing_support::showsOnlyAOrB;
using testing_support::texturedPicture;

class EveryEffect : public ::testing::TestWithParam<int> {};

TEST_P(EveryEffect, EndsAreExactlyAAndBInAllPlanes) {
    const struct { int width, height; } sizes[] = {{321, 239}, {160, 90}, {3, 1}, {1, 2}};
    for (const auto& size : sizes) {
        SCOPED_TRACE(std::to_string(size.width) + "x" + std::to_string(size.height));
        const Picture from = texturedPicture(size.width, size.height, 1);
        const Picture to = texturedPicture(size.width, size.height, 2);
        EXPECT_EQ(firstDifferingPlane(renderEffect(GetParam(), from, to, 0.0), from), -1);
        EXPECT_EQ(firstDifferingPlane(renderEffect(GetParam(), from, to, -0.5), from), -1);
        EXPECT_EQ(firstDifferingPlane(renderEffect(GetParam(), from, to, std::nan("")), from), -1);
        EXPECT_EQ(firstDifferingPlane(renderEffect(GetParam(), from, to, 1.0), to), -1);
        EXPECT_EQ(firstDifferingPlane(renderEffect(GetParam(), from, to, 1.5), to), -1);
    }
}

TEST_P(EveryEffect, BlendingInPlaceGivesTheSamePicture) {
    const Picture from = texturedPicture(321, 239, 3);
    const Picture to = texturedPicture(321, 239, 4);
    const auto setup = transitionSetupForEffect(GetParam(), 321, 239, 11);
    auto transition = createTransition(*setup);
    for (double progress : {0.0, 0.3, 0.5, 0.8, 1.0}) {
        SCOPED_TRACE(progress);
        Picture separate(321, 239);
        transition->blend(from.view(), to.view(), progress, separate.view());
        Picture inPlace(321, 239);
        copyPicture(from.view(), inPlace.view());
        transition->blend(inPlace.view(), to.view(), progress, inPlace.view());
        EXPECT_EQ(firstDifferingPlane(inPlace, separate), -1);
    }
}

TEST_P(EveryEffect, ShareOfBNeverShrinksAsProgressGrows) {
    const Picture from = flatPicture(161, 91, kRedA);
    const Picture to = flatPicture(161, 91, kBlueB);
    const auto setup = transitionSetupForEffect(GetParam(), 161, 91, 5);
    auto transition = createTransition(*setup);
    std::vector<std::uint8_t> previous(161 * 91, 0);
    double previousShare = 0;
    const bool hardEdged = showsOnlyAOrB(GetParam());
    for (int step = 0; step <= 40; ++step) {
        const double progress = step / 40.0;
        Picture out(161, 91);
        transition->blend(from.view(), to.view(), progress, out.view());
        // The B share by luma distance from A's luma to B's (B is darker than A).
        const ConstPlaneView luma = out.view().planes[kPlaneY];
        const int lumaA = from.view().planes[kPlaneY].row(0)[0];
        const int lumaB = to.view().planes[kPlaneY].row(0)[0];
        double share = 0;
        for (int y = 0; y < 91; ++y) {
            for (int x = 0; x < 161; ++x) {
                const std::uint8_t value = luma.row(y)[x];
                share += static_cast<double>(lumaA - value) / (lumaA - lumaB);
                if (hardEdged) {
                    const std::uint8_t isB = value == lumaB ? 1 : 0;
                    ASSERT_GE(isB, previous[static_cast<std::size_t>(y) * 161 + x])
                        << "pixel " << x << "," << y << " went back to A at " << progress;
                    previous[static_cast<std::size_t>(y) * 161 + x] = isB;
                }
            }
        }
        share /= 161.0 * 91.0;
        if (GetParam() != 7) {  // Pixelate switches from all A to all B half way
            EXPECT_GE(share, previousShare - 1e-9) << "at progress " << progress;
        }
        previousShare = share;
    }
}

TEST_P(EveryEffect, FlatPicturesGiveOnlyAOrBAndChromaFollowsLuma) {
    if (!showsOnlyAOrB(GetParam())) {
        GTEST_SKIP() << "a blend";
    }
    const Picture from = flatPicture(321, 239, kRedA);
    const Picture to = flatPicture(321, 239, kBlueB);
    for (double progress : {0.2, 0.5, 0.7}) {
        SCOPED_TRACE(progress);
        const Picture out = renderEffect(GetParam(), from, to, progress);
        const BMask mask(out, from, to);
        EXPECT_EQ(mask.countNeither(), 0);
        EXPECT_GT(mask.countB(), 0);
        EXPECT_LT(mask.countB(), 321 * 239);
        const ConstPictureView view = out.view();
        const std::uint8_t chromaB[2] = {to.view().planes[kPlaneU].row(0)[0],
                                         to.view().planes[kPlaneV].row(0)[0]};
        const std::uint8_t chromaA[2] = {from.view().planes[kPlaneU].row(0)[0],
                                         from.view().planes[kPlaneV].row(0)[0]};
        int mismatches = 0;
        for (int plane = kPlaneU; plane <= kPlaneV; ++plane) {
            for (int y = 0; y < view.planes[plane].height; ++y) {
                for (int x = 0; x < view.planes[plane].width; ++x) {
                    const bool lumaIsB = mask.isB(2 * x, 2 * y);
                    const std::uint8_t expected =
                        lumaIsB ? chromaB[plane - kPlaneU] : chromaA[plane - kPlaneU];
                    mismatches += view.planes[plane].row(y)[x] != expected ? 1 : 0;
                }
            }
        }
        EXPECT_EQ(mismatches, 0);
    }
}

TEST_P(EveryEffect, EmptyFramesAreHarmless) {
    const auto setup = transitionSetupForEffect(GetParam(), 0, 0, 1);
    auto transition = createTransition(*setup);
    ASSERT_NE(transition, nullptr);
    Picture from(0, 0);
    Picture to(0, 0);
    for (double progress : {0.0, 0.5, 1.0}) {
        transition->blend(from.view(), to.view(), progress, from.view());
    }
    EXPECT_TRUE(from.empty());
}

INSTANTIATE_TEST_SUITE_P(Transitions, EveryEffect, ::testing::ValuesIn(allEffectIndices()),
                         effectLabel);

TEST(TransitionCatalog, NamesTheEffectsInTableOrder) {
    EXPECT_EQ(kTransitionEffectCount, 47);
    EXPECT_EQ(transitionEffectName(0), "None");
    EXPECT_EQ(transitionEffectName(3), "Fade");
    EXPECT_EQ(transitionEffectName(16), "RandomDissolve");
    EXPECT_EQ(transitionEffectName(23), "left/right");
    EXPECT_EQ(transitionEffectName(38), "Rounded rectangle, horizontal");
    EXPECT_EQ(transitionEffectName(46), "Matrix, horizontal");
    EXPECT_EQ(transitionEffectName(47), "");
    int smpteRows = 0;
    for (const TransitionEffectEntry& row : TransitionEffectTable) {
        smpteRows += row.kind == TransitionKind::SmpteWipe ? 1 : 0;
        if (row.kind == TransitionKind::SmpteWipe) {
            EXPECT_TRUE(transitions::isKnownSmptePattern(row.maskNumber)) << row.name;
        }
    }
    EXPECT_EQ(smpteRows, 30);

    // The node each number gives: kind, and the pattern for the SMPTE rows only.
    std::set<std::string_view> names;
    std::set<int> masks;
    for (const TransitionEffectEntry& row : TransitionEffectTable) {
        names.insert(row.name);
        const TransitionNodeEffect effect = transitionNodeEffect(row.number);
        if (row.number == 0) {
            EXPECT_FALSE(row.carriesTransition());
            EXPECT_FALSE(transitionSetupForEffect(row.number, 64, 48, 1).has_value());
        } else if (row.number <= 16) {
            EXPECT_EQ(static_cast<int>(effect.kind), row.number) << row.name;
            EXPECT_FALSE(effect.maskNumber.has_value()) << row.name;
        } else {
            EXPECT_EQ(effect.kind, TransitionKind::SmpteWipe) << row.name;
            ASSERT_TRUE(effect.maskNumber.has_value()) << row.name;
            masks.insert(*effect.maskNumber);
        }
    }
    EXPECT_EQ(names.size(), 47u);
    EXPECT_EQ(masks.size(), 30u);
    struct Spot {
        int number;
        std::string_view name;
        int mask;  // 0: none
    };
    for (const Spot& spot :
         {Spot{0, "None", 0}, Spot{3, "Fade", 0}, Spot{16, "RandomDissolve", 0},
          Spot{17, "Horizontal", 1}, Spot{22, "Triangles, top/bottom", 43},
          Spot{23, "left/right", 44}, Spot{24, "stripe, SW to NE", 45},
          Spot{38, "Rounded rectangle, horizontal", 124}, Spot{39, "4-point star", 127},
          Spot{45, "Center radial, top", 251}, Spot{46, "Matrix, horizontal", 301}}) {
        const TransitionEffectEntry* row = findTransitionEffect(spot.number);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->name, spot.name);
        EXPECT_EQ(transitionNodeEffect(spot.number).maskNumber.value_or(0), spot.mask) << spot.name;
    }
    // Outside the catalogue: no row, and the node carries the SMPTE wipe without a pattern.
    for (int outside : {-1, 47}) {
        EXPECT_EQ(findTransitionEffect(outside), nullptr);
        EXPECT_EQ(transitionNodeEffect(outside).kind, TransitionKind::SmpteWipe);
        EXPECT_FALSE(transitionNodeEffect(outside).maskNumber.has_value());
    }
}

TEST(TransitionCatalog, NoneMakesNothingAndIndicesAbove46UsePatternOne) {
    EXPECT_FALSE(transitionSetupForEffect(0, 64, 48, 0).has_value());
    for (int index : {47, 1000}) {
        const auto setup = transitionSetupForEffect(index, 64, 48, 0);
        ASSERT_TRUE(setup.has_value());
        EXPECT_EQ(setup->kind, TransitionKind::SmpteWipe);
        EXPECT_EQ(setup->maskNumber, 1);
    }
    const auto named = transitionSetupForEffect(8, 64, 48, 9);
    ASSERT_TRUE(named.has_value());
    EXPECT_EQ(named->kind, TransitionKind::Wheel);
    EXPECT_EQ(named->seed, 9u);
}

TEST(TransitionCatalog, UnknownPatternOrKindRendersAsPatternOne) {
    const Picture from = texturedPicture(97, 55, 1);
    const Picture to = texturedPicture(97, 55, 2);
    auto render = [&](TransitionKind kind, int maskNumber) {
        TransitionSetup setup;
        setup.kind = kind;
        setup.maskNumber = maskNumber;
        setup.width = 97;
        setup.height = 55;
        Picture out(97, 55);
        createTransition(setup)->blend(from.view(), to.view(), 0.4, out.view());
        return out;
    };
    const Picture patternOne = render(TransitionKind::SmpteWipe, 1);
    EXPECT_EQ(firstDifferingPlane(render(TransitionKind::SmpteWipe, 999), patternOne), -1);
    EXPECT_EQ(firstDifferingPlane(render(TransitionKind::SmpteWipe, 0), patternOne), -1);
    EXPECT_EQ(firstDifferingPlane(render(static_cast<TransitionKind>(77), 1), patternOne), -1);
    EXPECT_NE(firstDifferingPlane(render(TransitionKind::SmpteWipe, 2), patternOne), -1);
}

}  // namespace
}  // namespace editing
