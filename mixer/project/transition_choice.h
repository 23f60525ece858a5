#pragma once

#include "mixer/project/mix_job.h"

#include <functional>

namespace mixer {

// A source of non-negative pseudo-random numbers; the program uses the standard generator
// (std::rand, seeded once at start-up with the time in whole seconds), tests pass their own.
using RandomNumberSource = std::function<int()>;
RandomNumberSource standardRandomNumbers();

// Seeds the standard generator with the current time in whole seconds (once, at start-up).
void seedStandardRandomNumbers();

// The effect "sequence" gives the video at `position`: the position itself up to the
// catalogue's last effect, after that the cycle from effect 1 to the last (with today's 47
// effects: 47 -> 1, 92 -> 46, 93 -> 1, 94 -> 2); effect 0 "None" is used only by the first clip.
int sequenceTransitionEffect(int position);

// The transition effect a new video at `position` gets: TransitionType 0 random (a random
// number modulo the catalogue's effect count), 1 sequence, 2 "same" (TransitionName). A type
// outside 0 - 2, or a "same" effect outside the catalogue, gives effect 0 ("None"), so a
// hand-edited profile never selects a row the effect catalogue does not have.
int chooseTransitionEffect(const TransitionDefaults& defaults, int position,
                           const RandomNumberSource& randomNumbers);

}  // namespace mixer
