#include "mixer/window/media_list_views.h"

#include <QHeaderView>
#include <QPainter>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTreeWidget>

#include <algorithm>

namespace mixer {

namespace {

constexpr int kGridLineWidth = 1;

// Draws every cell as the style does, inside its right and bottom edges, and then those edges,
// which give the list its grid lines. A row is at least one line spacing of the list's font
// high plus the style's item margins and the grid line, so that no grid line covers the
// descenders and underscores of a name ("A_h264.mp4" never reads "A h264.mp4").
class GridLineDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        const int margins = 2 * (option.widget != nullptr
                                     ? option.widget->style()->pixelMetric(
                                           QStyle::PM_FocusFrameVMargin, &option, option.widget)
                                     : 1);
        size.setHeight(std::max(size.height(), option.fontMetrics.lineSpacing() + margins) +
                       kGridLineWidth);
        return size;
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem inside = option;
        inside.rect.adjust(0, 0, -kGridLineWidth, -kGridLineWidth);
        QStyledItemDelegate::paint(painter, inside, index);
        painter->save();
        painter->setPen(option.palette.color(QPalette::Mid));
        const QRect cell = option.rect;
        painter->drawLine(cell.topRight(), cell.bottomRight());
        painter->drawLine(cell.bottomLeft(), cell.bottomRight());
        painter->restore();
    }
};

void fillRow(QTreeWidgetItem& item, const QStringList& texts) {
    for (int column = 0; column < texts.size(); ++column) {
        item.setText(column, texts[column]);
        item.setTextAlignment(column, Qt::AlignCenter);
    }
}

template <typename Entry, typename RowTexts>
void refill(QTreeWidget& view, const std::vector<Entry>& entries, RowTexts rowTexts) {
    view.setUpdatesEnabled(false);
    view.clear();
    QList<QTreeWidgetItem*> rows;
    rows.reserve(static_cast<qsizetype>(entries.size()));
    for (const Entry& entry : entries) {
        auto* item = new QTreeWidgetItem;
        fillRow(*item, rowTexts(entry));
        rows.append(item);
    }
    view.addTopLevelItems(rows);
    view.setUpdatesEnabled(true);
}

}  // namespace

void setUpReportList(QTreeWidget& view, std::span<const ListColumn> columns) {
    view.setRootIsDecorated(false);
    view.setItemsExpandable(false);
    view.setUniformRowHeights(true);
    view.setSelectionBehavior(QAbstractItemView::SelectRows);
    view.setSelectionMode(QAbstractItemView::ExtendedSelection);
    view.setEditTriggers(QAbstractItemView::NoEditTriggers);
    view.setItemDelegate(new GridLineDelegate(&view));
    view.setColumnCount(static_cast<int>(columns.size()));
    QStringList titles;
    for (const ListColumn& column : columns) {
        titles.append(QString::fromUtf8(column.title));
    }
    view.setHeaderLabels(titles);
    view.header()->setDefaultAlignment(Qt::AlignCenter);
    view.header()->setStretchLastSection(false);
    view.header()->setSectionsMovable(false);
    for (int column = 0; column < static_cast<int>(columns.size()); ++column) {
        // Never narrower than the heading needs in the list's font ("Start time(s)").
        view.setColumnWidth(column, std::max(columns[static_cast<std::size_t>(column)].widthPixels,
                                             view.header()->sectionSizeHint(column)));
    }
}

void refillVideoList(QTreeWidget& view, const std::vector<VideoEntry>& videos) {
    refill(view, videos, videoRowTexts);
}

void refillAudioList(QTreeWidget& view, const std::vector<AudioEntry>& audios) {
    refill(view, audios, audioRowTexts);
}

void rewriteAudioRow(QTreeWidget& view, int row, const AudioEntry& entry) {
    QTreeWidgetItem* item = view.topLevelItem(row);
    if (item != nullptr) {
        fillRow(*item, audioRowTexts(entry));
    }
}

std::vector<int> selectedRows(const QTreeWidget& view) {
    std::vector<int> rows;
    for (const QTreeWidgetItem* item : view.selectedItems()) {
        rows.push_back(view.indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(item)));
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

}  // namespace mixer
