#pragma once

#include "mixer/project/mix_job.h"

#include <QString>
#include <QStringList>

#include <array>

namespace mixer {

// What the two list views show: their columns and the cell texts of one entry. Row i of a
// view always shows entry i of its list.

struct ListColumn {
    const char* title;
    int widthPixels;
};

inline constexpr std::array<ListColumn, 3> kVideoListColumns{{
    {"Video File Name", 245},
    {"Duration(s)", 140},
    {"Transition", 170},
}};

inline constexpr std::array<ListColumn, 6> kAudioListColumns{{
    {"Audio File Name", 105},
    {"Duration(s)", 70},
    {"volume", 70},
    {"Start time(s)", 70},
    {"Speed", 70},
    {"Repeat", 70},
}};

// A time in 100-ns units as seconds with three decimals ("%.3f"): 123,456,789 -> "12.346".
QString secondsText(RefTime time);
// A factor with three decimals ("%.3f").
QString factorText(double factor);
// The base name of a path with its extension, without its folder.
QString baseNameText(const std::string& path);

// An entry's transition as the video list shows it: the effect's name and its length in
// seconds with three decimals ("Iris, 2.000 s"); "None" for effect 0. An effect outside the
// catalogue (a hand-edited profile) shows its number: the render draws it as pattern 1.
QString transitionText(int transitionEffect, RefTime transitionDuration);

// The duration column shows the played length (the span between the in and out points).
QStringList videoRowTexts(const VideoEntry& entry);
QStringList audioRowTexts(const AudioEntry& entry);

}  // namespace mixer
