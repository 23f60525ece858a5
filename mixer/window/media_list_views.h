#pragma once

#include "mixer/project/list_view_texts.h"
#include "mixer/project/mix_job.h"

#include <span>
#include <vector>

class QTreeWidget;

namespace mixer {

// The two report lists of the main window: grid lines, whole-row selection, several rows
// selectable, every column centred at its width in pixels. Row i always shows entry i.

void setUpReportList(QTreeWidget& view, std::span<const ListColumn> columns);

// Clear the view and insert one row per entry, in order.
void refillVideoList(QTreeWidget& view, const std::vector<VideoEntry>& videos);
void refillAudioList(QTreeWidget& view, const std::vector<AudioEntry>& audios);
// Set the six cells of row `row` from `entry` (after its properties were edited).
void rewriteAudioRow(QTreeWidget& view, int row, const AudioEntry& entry);

// The selected row numbers, ascending.
std::vector<int> selectedRows(const QTreeWidget& view);

}  // namespace mixer
