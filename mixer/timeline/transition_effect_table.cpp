#include "mixer/timeline/transition_effect_table.h"

namespace mixer {

namespace {

using editing::TransitionKind;

constexpr TransitionEffectRow named(int index, const char* name, TransitionKind kind) {
    return TransitionEffectRow{index, name, kind, std::nullopt};
}

constexpr TransitionEffectRow wipe(int index, const char* name, int maskNumber) {
    return TransitionEffectRow{index, name, TransitionKind::SmpteWipe, maskNumber};
}

}  // namespace

const std::array<TransitionEffectRow, kTransitionEffectRows> TransitionEffectTable = {{
    TransitionEffectRow{0, "None", std::nullopt, std::nullopt},
    named(1, "Iris", TransitionKind::Iris),
    named(2, "RadialWipe", TransitionKind::RadialWipe),
    named(3, "Fade", TransitionKind::Fade),
    named(4, "ZigZag", TransitionKind::ZigZag),
    named(5, "RandomBars", TransitionKind::RandomBars),
    named(6, "Spiral", TransitionKind::Spiral),
    named(7, "Pixelate", TransitionKind::Pixelate),
    named(8, "Wheel", TransitionKind::Wheel),
    named(9, "Strips", TransitionKind::Strips),
    named(10, "Inset", TransitionKind::Inset),
    named(11, "Blinds", TransitionKind::Blinds),
    named(12, "Wipe", TransitionKind::Wipe),
    named(13, "CheckerBoard", TransitionKind::CheckerBoard),
    named(14, "Slide", TransitionKind::Slide),
    named(15, "Stretch", TransitionKind::Stretch),
    named(16, "RandomDissolve", TransitionKind::RandomDissolve),
    wipe(17, "Horizontal", 1),
    wipe(18, "Vertical", 2),
    wipe(19, "Four corners", 7),
    wipe(20, "Barn doors, horizontal", 22),
    wipe(21, "Diagonal, NW to SE", 41),
    wipe(22, "Triangles, top/bottom", 43),
    wipe(23, "left/right", 44),
    wipe(24, "stripe, SW to NE", 45),
    wipe(25, "Cross", 47),
    wipe(26, "Diamond Box", 48),
    wipe(27, "Wedge, top", 61),
    wipe(28, "Wedge, left", 64),
    wipe(29, "Sawtooth, left", 71),
    wipe(30, "Sawtooth, top", 72),
    wipe(31, "Sawtooth, vertical", 73),
    wipe(32, "Sawtooth, horizontal", 74),
    wipe(33, "Box", 101),
    wipe(34, "Diamond", 102),
    wipe(35, "Hexagon", 113),
    wipe(36, "Circle", 119),
    wipe(37, "Oval, horizontal", 120),
    wipe(38, "Rounded rectangle, horizontal", 124),
    wipe(39, "4-point star", 127),
    wipe(40, "5-point star", 128),
    wipe(41, "Heart", 130),
    wipe(42, "Radial, left", 224),
    wipe(43, "Radial, top split", 231),
    wipe(44, "Radial, top-right corner", 244),
    wipe(45, "Center radial, top", 251),
    wipe(46, "Matrix, horizontal", 301),
}};

const TransitionEffectRow* findTransitionEffect(int transitionEffect) {
    if (transitionEffect < 0 || transitionEffect >= kTransitionEffectRows) {
        return nullptr;
    }
    return &TransitionEffectTable[static_cast<std::size_t>(transitionEffect)];
}

}  // namespace mixer
