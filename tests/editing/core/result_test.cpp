#include "editing/core/result.h"
#include "editing/core/picture.h"

#include <gtest/gtest.h>

namespace editing {
namespace {

TEST(ResultTest, DescribesOwnCodesAndFfmpegErrors) {
    EXPECT_EQ(describeResult(kErrorStopBeforeStart), "The stop time lies before the start time.");
    EXPECT_TRUE(isEditingResult(kErrorFail));
    // ENOENT as FFmpeg reports it.
    EXPECT_FALSE(isEditingResult(-2));
    EXPECT_EQ(describeResult(-2), "No such file or directory");
    EXPECT_EQ(describeResult(static_cast<Result>(0x80049999)), "");
}

TEST(PictureTest, ChromaPlanesRoundUpForOddSizes) {
    Picture picture(5, 3);
    const auto view = picture.view();
    EXPECT_EQ(view.planes[kPlaneU].width, 3);
    EXPECT_EQ(view.planes[kPlaneU].height, 2);
    EXPECT_GE(view.planes[kPlaneY].stride, 5);
}

TEST(PictureTest, RgbFillUsesLimitedRangeBt601) {
    struct Case {
        int red, green, blue;
        int y, u, v;
    };
    const Case cases[] = {
        {0, 0, 0, 16, 128, 128},
        {255, 255, 255, 235, 128, 128},
        {255, 0, 0, 82, 90, 240},
        {0, 0, 255, 41, 240, 110},
    };
    for (const Case& c : cases) {
        Picture picture(4, 4);
        picture.fillRgb(c.red, c.green, c.blue);
        const auto view = picture.view();
        EXPECT_EQ(view.planes[kPlaneY].row(3)[3], c.y) << c.red << "," << c.green << "," << c.blue;
        EXPECT_EQ(view.planes[kPlaneU].row(1)[1], c.u);
        EXPECT_EQ(view.planes[kPlaneV].row(1)[1], c.v);
    }
}

}  // namespace
}  // namespace editing
