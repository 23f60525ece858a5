#include "mixer/output/output_options_rules.h"
#include "mixer/output/number_text.h"

#include <gtest/gtest.h>

#include <climits>

namespace mixer {
namespace {

TEST(FrameSide, IsCutToMultiplesOfEightAndAtLeastSixteen) {
    const struct {
        const char* typed;
        int expected;
    } cases[] = {
        {"1001", 1000}, {"1000", 1000},
        {"7", 16},      {"0", 16},
        {"-20", 16},    {"abc", 16},
        {"", 16},       {"16", 16},
        {"23", 16},     {"24", 24},
        {" 720", 720},  {"640x", 640},
        {"+352", 352},  {"99999999999", INT_MAX / 8 * 8},
    };
    for (const auto& example : cases) {
        EXPECT_EQ(normalisedFrameSide(QString::fromUtf8(example.typed)), example.expected)
            << '"' << example.typed << '"';
    }
}

TEST(LeadingDecimal, ReadsTheLeadingNumberWhateverFollows) {
    const struct {
        const char* typed;
        double expected;
    } cases[] = {
        {"0.001", 0.001}, {"29.970000", 29.97}, {" 12.5fps", 12.5}, {".5", 0.5}, {"abc", 0.0},
        {"", 0.0},        {"-3", -3.0},         {"1e2", 100.0},     {"1e", 1.0}, {"inf", 0.0},
        {"nan", 0.0},     {"0x10", 0.0},        {"1e999", 0.0},
    };
    for (const auto& example : cases) {
        EXPECT_DOUBLE_EQ(leadingDecimal(QString::fromUtf8(example.typed)), example.expected)
            << '"' << example.typed << '"';
    }
}

TEST(WholeDecimal, RefusesAnythingButOneNumber) {
    EXPECT_EQ(wholeDecimal(QStringLiteral(" 2.5 ")), 2.5);
    EXPECT_EQ(wholeDecimal(QStringLiteral("100")), 100.0);
    EXPECT_EQ(wholeDecimal(QStringLiteral("-0.5")), -0.5);
    for (const char* typed : {"", " ", "2.5s", "abc", "1,5", "inf", "nan", "1e999", "--1"}) {
        EXPECT_FALSE(wholeDecimal(QString::fromUtf8(typed)).has_value()) << '"' << typed << '"';
    }
}

TEST(Formatting, UsesAPointWhateverTheLocale) {
    EXPECT_EQ(formatSixDecimals(29.97), QStringLiteral("29.970000"));
    EXPECT_EQ(formatSixDecimals(23.976), QStringLiteral("23.976000"));
    EXPECT_EQ(formatThreeDecimals(12.5), QStringLiteral("12.500"));
}

TEST(BrowseName, CutsTheFileNamesExtensionThenAddsAvi) {
    const struct {
        const char* chosen;
        const char* expected;
    } cases[] = {
        {"/home/ana/clips/out.mpg", "/home/ana/clips/out.avi"},
        {"/home/ana/clips/out", "/home/ana/clips/out.avi"},
        // A dot in a folder name is no extension: the file stays in the folder chosen.
        {"/home/ana/my.clips/out", "/home/ana/my.clips/out.avi"},
        {"/home/ana/.local/out", "/home/ana/.local/out.avi"},
        {"/home/ana/my.clips/out.mpg", "/home/ana/my.clips/out.avi"},
        // A name that only starts with a dot has no extension either.
        {"/home/ana/clips/.hidden", "/home/ana/clips/.hidden.avi"},
        {"/home/ana/clips/out.avi", "/home/ana/clips/out.avi"},
        {"/home/ana/clips/a.b.c", "/home/ana/clips/a.b.avi"},
        {"/home/ana/clips/name with spaces", "/home/ana/clips/name with spaces.avi"},
    };
    for (const auto& example : cases) {
        EXPECT_EQ(aviNameFromChosenPath(QString::fromUtf8(example.chosen)).toStdString(),
                  example.expected);
    }
}

TEST(BrowseStartFolder, IsTheNameCutBeforeItsLastSlash) {
    EXPECT_EQ(browseStartFolder(QStringLiteral("/home/ana/video_new.avi")),
              QStringLiteral("/home/ana"));
    EXPECT_EQ(browseStartFolder(QStringLiteral("video_new.avi")), QStringLiteral("."));
    EXPECT_EQ(browseStartFolder(QStringLiteral("/video.avi")), QStringLiteral("/"));
}

TEST(ResolutionList, FindsPresetsInOrderAndFallsBackToCustom) {
    EXPECT_EQ(resolutionIndexFor(352, 240), 7);
    EXPECT_EQ(QString::fromUtf8(kResolutionPresets[7].text), QStringLiteral("352 * 240"));
    EXPECT_EQ(resolutionIndexFor(800, 600), 0);
    EXPECT_EQ(resolutionIndexFor(720, 576), 2);
    EXPECT_EQ(resolutionIndexFor(1024, 768), kCustomResolutionIndex);
    EXPECT_EQ(resolutionIndexFor(240, 352), kCustomResolutionIndex);
}

TEST(ResizeModeList, MapsEntriesToModes) {
    EXPECT_EQ(resizeModeIndexFor(2), 0);
    EXPECT_EQ(resizeModeIndexFor(0), 1);
    EXPECT_EQ(resizeModeForIndex(0), 2);
    EXPECT_EQ(resizeModeForIndex(1), 0);
    EXPECT_EQ(resizeModeForIndex(-1), 0);
}

}  // namespace
}  // namespace mixer
