#include "editing/transitions/masked_transition.h"

#include "editing/transitions/pixel_kernels.h"

#include <algorithm>

namespace editing::transitions {

void MaskedTransition::blend(const ConstPictureView& from, const ConstPictureView& to,
                             double progress, const PictureView& out) {
    const std::uint16_t threshold = LumaMap::threshold(progress);
    for (int plane = 0; plane < 3; ++plane) {
        const ConstPlaneView& a = from.planes[plane];
        const ConstPlaneView& b = to.planes[plane];
        const PlaneView& target = out.planes[plane];
        // The map is made for the transition's frame size; a smaller plane uses its top-left.
        const int width =
            std::min(target.width, plane == kPlaneY ? map_.width() : chromaExtent(map_.width()));
        const int height =
            std::min(target.height, plane == kPlaneY ? map_.height() : chromaExtent(map_.height()));
        for (int y = 0; y < height; ++y) {
            selectRow(target.row(y), a.row(y), b.row(y), map_.planeRow(plane, y), width, threshold);
        }
    }
}

}  // namespace editing::transitions
