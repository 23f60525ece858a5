#include "editing/transitions/luma_map.h"

#include <algorithm>
#include <cmath>

namespace editing::transitions {

namespace {

constexpr double kTopLevel = 65535.0;

}  // namespace

LumaMap LumaMap::fromRawLevels(int width, int height, const std::vector<float>& rawLevels) {
    LumaMap map;
    map.width_ = std::max(width, 0);
    map.height_ = std::max(height, 0);
    map.chromaWidth_ = chromaExtent(map.width_);
    const int chromaHeight = chromaExtent(map.height_);
    map.luma_.resize(static_cast<std::size_t>(map.width_) * map.height_);
    map.chroma_.resize(static_cast<std::size_t>(map.chromaWidth_) * chromaHeight);
    if (map.luma_.empty()) {
        return map;
    }

    const auto [lowest, highest] = std::minmax_element(rawLevels.begin(), rawLevels.end());
    const double low = *lowest;
    const double span = static_cast<double>(*highest) - low;
    // Levels 1 .. 65535: a normalised 0 switches as soon as the progress leaves 0, a
    // normalised 1 only at progress 1.
    const double scale = span > 0 ? (kTopLevel - 1.0) / span : 0.0;
    const double flatLevel = span > 0 ? 0.0 : (kTopLevel - 1.0) / 2.0;
    for (std::size_t index = 0; index < map.luma_.size(); ++index) {
        const double level = 1.0 + flatLevel + std::round((rawLevels[index] - low) * scale);
        map.luma_[index] = static_cast<std::uint16_t>(std::clamp(level, 1.0, kTopLevel));
    }
    for (int chromaY = 0; chromaY < chromaHeight; ++chromaY) {
        const std::uint16_t* source = map.lumaRow(2 * chromaY);
        std::uint16_t* target =
            map.chroma_.data() + static_cast<std::size_t>(chromaY) * map.chromaWidth_;
        for (int chromaX = 0; chromaX < map.chromaWidth_; ++chromaX) {
            target[chromaX] = source[2 * chromaX];
        }
    }
    return map;
}

std::uint16_t LumaMap::threshold(double progress) {
    if (!(progress > 0.0)) {
        return 0;
    }
    if (progress >= 1.0) {
        return static_cast<std::uint16_t>(kTopLevel);
    }
    return static_cast<std::uint16_t>(std::floor(progress * kTopLevel));
}

}  // namespace editing::transitions
