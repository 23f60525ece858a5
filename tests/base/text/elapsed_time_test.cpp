#include "base/text/elapsed_time.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

TEST(ElapsedTime, ShowsHoursMinutesSecondsWithTwoDigitsAtLeast) {
    const std::vector<std::pair<int, const char*>> table = {
        {0, "00:00:00"},       {1, "00:00:01"},    {59, "00:00:59"},   {60, "00:01:00"},
        {3599, "00:59:59"},    {3600, "01:00:00"}, {3725, "01:02:05"}, {359999, "99:59:59"},
        {360000, "100:00:00"}, {-5, "00:00:00"},
    };
    for (const auto& [seconds, text] : table) {
        EXPECT_EQ(base::formatElapsedTime(seconds), QString::fromLatin1(text)) << seconds;
    }
}

}  // namespace
