#pragma once

#include <QPoint>

// Ambrevo's own art, compiled in from resources/images/ambrevo (link orvindel_resources).
// resources/images/README.md lists every file with the resource number it stands for.
namespace recorder::art {
inline constexpr const char* kProgramIcon = ":/images/ambrevo/program.svg";             // 103
inline constexpr const char* kRecord = ":/images/ambrevo/record.svg";                   // 141
inline constexpr const char* kPause = ":/images/ambrevo/pause.svg";                     // 142
inline constexpr const char* kStop = ":/images/ambrevo/stop.svg";                       // 143
inline constexpr const char* kBackgroundTile = ":/images/ambrevo/background_tile.svg";  // 133
inline constexpr const char* kHoverCursor = ":/images/ambrevo/hover_cursor.svg";        // 140
inline constexpr QPoint kHoverCursorHotSpot{10, 2};
}  // namespace recorder::art
