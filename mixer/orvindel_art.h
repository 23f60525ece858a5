#pragma once

#include <QPoint>

// Orvindel's own art, compiled in from resources/images/orvindel (link orvindel_resources).
// resources/images/README.md lists every file with the resource number it stands for.
namespace mixer::art {
inline constexpr const char* kProgramIcon = ":/images/orvindel/program.svg";             // 128
inline constexpr const char* kAddMedia = ":/images/orvindel/add_media.svg";              // 140
inline constexpr const char* kOptions = ":/images/orvindel/options.svg";                 // 146
inline constexpr const char* kHelp = ":/images/orvindel/help.svg";                       // 148
inline constexpr const char* kDeleteSelected = ":/images/orvindel/delete_selected.svg";  // 152
inline constexpr const char* kDeleteAll = ":/images/orvindel/delete_all.svg";            // 154
inline constexpr const char* kProperties = ":/images/orvindel/properties.svg";           // 155
inline constexpr const char* kExit = ":/images/orvindel/exit.svg";                       // 159
inline constexpr const char* kMix = ":/images/orvindel/mix.svg";                         // 160
inline constexpr const char* kBackgroundTile = ":/images/orvindel/background_tile.svg";  // 139
inline constexpr const char* kHandCursor = ":/images/orvindel/hand_cursor.svg";          // 141
inline constexpr QPoint kHandCursorHotSpot{10, 2};
}  // namespace mixer::art
