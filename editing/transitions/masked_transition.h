#pragma once

#include "editing/transitions/luma_map.h"
#include "editing/transitions/transition.h"

namespace editing::transitions {

// A hard-edged wipe: each sample shows B once the progress passes its level in the map.
class MaskedTransition final : public Transition {
  public:
    explicit MaskedTransition(LumaMap map) : map_(std::move(map)) {}

    void blend(const ConstPictureView& from, const ConstPictureView& to, double progress,
               const PictureView& out) override;

    const LumaMap& map() const { return map_; }

  private:
    LumaMap map_;
};

}  // namespace editing::transitions
