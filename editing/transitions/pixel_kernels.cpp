#include "editing/transitions/pixel_kernels.h"

#include <cstring>

namespace editing::transitions {

namespace {

// Lanes per block: a multiple of every vector width in use, so the inner loop of a block has a
// trip count the vectoriser can cover without a scalar epilogue.
constexpr int kLanes = 32;

std::uint8_t selectPixel(std::uint8_t from, std::uint8_t to, std::uint16_t map,
                         std::uint16_t threshold) {
    return map <= threshold ? to : from;
}

std::uint8_t mixPixel(unsigned from, unsigned to, unsigned weight) {
    return static_cast<std::uint8_t>((from * (256u - weight) + to * weight + 128u) >> 8);
}

void selectSeparate(std::uint8_t* __restrict out, const std::uint8_t* __restrict from,
                    const std::uint8_t* __restrict to, const std::uint16_t* __restrict map,
                    int count, std::uint16_t threshold) {
    int x = 0;
    for (; x + kLanes <= count; x += kLanes) {
        for (int lane = 0; lane < kLanes; ++lane) {
            const std::uint8_t a = from[x + lane];
            const std::uint8_t b = to[x + lane];
            out[x + lane] = selectPixel(a, b, map[x + lane], threshold);
        }
    }
    for (; x < count; ++x) {
        out[x] = selectPixel(from[x], to[x], map[x], threshold);
    }
}

void selectInPlace(std::uint8_t* __restrict inOut, const std::uint8_t* __restrict to,
                   const std::uint16_t* __restrict map, int count, std::uint16_t threshold) {
    int x = 0;
    for (; x + kLanes <= count; x += kLanes) {
        for (int lane = 0; lane < kLanes; ++lane) {
            const std::uint8_t a = inOut[x + lane];
            const std::uint8_t b = to[x + lane];
            inOut[x + lane] = selectPixel(a, b, map[x + lane], threshold);
        }
    }
    for (; x < count; ++x) {
        inOut[x] = selectPixel(inOut[x], to[x], map[x], threshold);
    }
}

void mixSeparate(std::uint8_t* __restrict out, const std::uint8_t* __restrict from,
                 const std::uint8_t* __restrict to, int count, unsigned weight) {
    int x = 0;
    for (; x + kLanes <= count; x += kLanes) {
        for (int lane = 0; lane < kLanes; ++lane) {
            out[x + lane] = mixPixel(from[x + lane], to[x + lane], weight);
        }
    }
    for (; x < count; ++x) {
        out[x] = mixPixel(from[x], to[x], weight);
    }
}

void mixInPlace(std::uint8_t* __restrict inOut, const std::uint8_t* __restrict to, int count,
                unsigned weight) {
    int x = 0;
    for (; x + kLanes <= count; x += kLanes) {
        for (int lane = 0; lane < kLanes; ++lane) {
            inOut[x + lane] = mixPixel(inOut[x + lane], to[x + lane], weight);
        }
    }
    for (; x < count; ++x) {
        inOut[x] = mixPixel(inOut[x], to[x], weight);
    }
}

void mixWeightedSeparate(std::uint8_t* __restrict out, const std::uint8_t* __restrict from,
                         const std::uint8_t* __restrict to, const std::uint16_t* __restrict weights,
                         int count) {
    int x = 0;
    for (; x + kLanes <= count; x += kLanes) {
        for (int lane = 0; lane < kLanes; ++lane) {
            out[x + lane] = mixPixel(from[x + lane], to[x + lane], weights[x + lane]);
        }
    }
    for (; x < count; ++x) {
        out[x] = mixPixel(from[x], to[x], weights[x]);
    }
}

void mixWeightedInPlace(std::uint8_t* __restrict inOut, const std::uint8_t* __restrict to,
                        const std::uint16_t* __restrict weights, int count) {
    int x = 0;
    for (; x + kLanes <= count; x += kLanes) {
        for (int lane = 0; lane < kLanes; ++lane) {
            inOut[x + lane] = mixPixel(inOut[x + lane], to[x + lane], weights[x + lane]);
        }
    }
    for (; x < count; ++x) {
        inOut[x] = mixPixel(inOut[x], to[x], weights[x]);
    }
}

}  // namespace

void selectRow(std::uint8_t* out, const std::uint8_t* from, const std::uint8_t* to,
               const std::uint16_t* map, int count, std::uint16_t threshold) {
    if (out == from) {
        selectInPlace(out, to, map, count, threshold);
    } else {
        selectSeparate(out, from, to, map, count, threshold);
    }
}

void mixRow(std::uint8_t* out, const std::uint8_t* from, const std::uint8_t* to, int count,
            int weight) {
    const unsigned clamped = weight < 0 ? 0u : weight > 256 ? 256u : static_cast<unsigned>(weight);
    if (out == from) {
        mixInPlace(out, to, count, clamped);
    } else {
        mixSeparate(out, from, to, count, clamped);
    }
}

void mixRowWeighted(std::uint8_t* out, const std::uint8_t* from, const std::uint8_t* to,
                    const std::uint16_t* weights, int count) {
    if (out == from) {
        mixWeightedInPlace(out, to, weights, count);
    } else {
        mixWeightedSeparate(out, from, to, weights, count);
    }
}

void copyRow(std::uint8_t* out, const std::uint8_t* source, int count) {
    if (out != source && count > 0) {
        std::memcpy(out, source, static_cast<std::size_t>(count));
    }
}

}  // namespace editing::transitions
