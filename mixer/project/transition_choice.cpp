#include "mixer/project/transition_choice.h"

#include "editing/transitions/transition_catalog.h"

#include <cstdlib>
#include <ctime>

namespace mixer {

using editing::kTransitionEffectCount;

RandomNumberSource standardRandomNumbers() {
    return [] { return std::rand(); };
}

void seedStandardRandomNumbers() {
    std::srand(static_cast<unsigned>(std::time(nullptr)));
}

int sequenceTransitionEffect(int position) {
    constexpr int kLastEffect = kTransitionEffectCount - 1;  // 46
    if (position <= kLastEffect) {
        return position < 0 ? 0 : position;
    }
    return (position - 1) % kLastEffect + 1;
}

int chooseTransitionEffect(const TransitionDefaults& defaults, int position,
                           const RandomNumberSource& randomNumbers) {
    switch (defaults.TransitionType) {
        case 0: {
            const int number = randomNumbers();
            const int effect = number % kTransitionEffectCount;
            return effect < 0 ? effect + kTransitionEffectCount : effect;
        }
        case 1:
            return sequenceTransitionEffect(position);
        case 2:
            if (defaults.TransitionName >= 0 && defaults.TransitionName < kTransitionEffectCount) {
                return defaults.TransitionName;
            }
            return 0;
        default:
            return 0;
    }
}

}  // namespace mixer
