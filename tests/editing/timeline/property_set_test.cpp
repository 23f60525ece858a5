#include "editing/timeline/property_set.h"

#include <gtest/gtest.h>

namespace editing {
namespace {

TEST(PropertySetTest, RefusesEmptyNameNoPointsPointsOutOfOrderAndADuplicate) {
    PropertySet set;
    EXPECT_EQ(set.addProperty("", {PropertyPoint{0, 1.0}}), kErrorInvalidArgument);
    EXPECT_EQ(set.addProperty("Vol", {}), kErrorInvalidArgument);
    EXPECT_EQ(set.addProperty("Vol", {PropertyPoint{10, 1.0}, PropertyPoint{5, 2.0}}),
              kErrorInvalidArgument);
    EXPECT_TRUE(set.empty());
    EXPECT_EQ(set.addProperty("Vol", {PropertyPoint{0, 1.0}, PropertyPoint{0, 2.0}}), kOk);
    EXPECT_EQ(set.addProperty("Vol", {PropertyPoint{0, 3.0}}), kErrorInvalidArgument);
    ASSERT_EQ(set.properties().size(), 1u);
    EXPECT_EQ(set.find("Vol")->points.size(), 2u);
    EXPECT_EQ(set.find("MaskNum"), nullptr);
}

TEST(PropertySetTest, JumpHoldsEachValueUntilTheNextPoint) {
    PropertySet set;
    ASSERT_EQ(set.addProperty("MaskNum", {PropertyPoint{0, std::int32_t{7}},
                                          PropertyPoint{100, std::int32_t{9}}}),
              kOk);
    struct Case {
        RefTime time;
        std::int32_t expected;
    };
    for (const Case& check : {Case{-5, 7}, Case{0, 7}, Case{99, 7}, Case{100, 9}, Case{1000, 9}}) {
        const auto value = set.valueAt("MaskNum", check.time);
        ASSERT_TRUE(value.has_value());
        ASSERT_TRUE(std::holds_alternative<std::int32_t>(*value)) << "stays an integer";
        EXPECT_EQ(std::get<std::int32_t>(*value), check.expected) << "at " << check.time;
    }
    EXPECT_FALSE(set.valueAt("Vol", 0).has_value());
}

TEST(PropertySetTest, LinearPointMovesInAStraightLineFromThePreviousValue) {
    PropertySet set;
    ASSERT_EQ(set.addProperty("Vol", {PropertyPoint{0, 0.0},
                                      PropertyPoint{100, std::int32_t{1}, Interpolation::Linear},
                                      PropertyPoint{200, 3.0, Interpolation::Jump}}),
              kOk);
    EXPECT_DOUBLE_EQ(*set.numberAt("Vol", 0), 0.0);
    EXPECT_DOUBLE_EQ(*set.numberAt("Vol", 25), 0.25);
    EXPECT_DOUBLE_EQ(*set.numberAt("Vol", 100), 1.0);
    EXPECT_DOUBLE_EQ(*set.numberAt("Vol", 150), 1.0) << "the next point jumps";
    EXPECT_DOUBLE_EQ(*set.numberAt("Vol", 200), 3.0);
}

TEST(PropertySetTest, TextIsNoNumberAndNeverInterpolates) {
    PropertySet set;
    ASSERT_EQ(set.addProperty("Name", {PropertyPoint{0, std::string("a")},
                                       PropertyPoint{10, std::string("b"), Interpolation::Linear}}),
              kOk);
    EXPECT_EQ(std::get<std::string>(*set.valueAt("Name", 5)), "a");
    EXPECT_FALSE(set.numberAt("Name", 5).has_value());
}

}  // namespace
}  // namespace editing
