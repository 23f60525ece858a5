#include "mixer/window/list_drops.h"

#include "mixer/media/media_adder.h"
#include "mixer/project/media_lists.h"
#include "mixer/window/media_list_views.h"

#include <QDropEvent>
#include <QMimeData>
#include <QTreeWidget>
#include <QUrl>

namespace mixer {

namespace {

enum class ListKind { Video, Audio };

QStringList localFiles(const QMimeData& data) {
    QStringList files;
    for (const QUrl& url : data.urls()) {
        if (url.isLocalFile()) {
            files << url.toLocalFile();
        }
    }
    return files;
}

class ListDropFilter : public QObject {
  public:
    ListDropFilter(QTreeWidget& view, ListKind kind, MediaLists& lists, MediaAdder& adder)
        : QObject(&view), view_(view), kind_(kind), lists_(lists), adder_(adder) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) {
            return QObject::eventFilter(watched, event);
        }
        auto* drop = static_cast<QDropEvent*>(event);
        const QMimeData* data = drop->mimeData();
        const bool files = data != nullptr && !localFiles(*data).isEmpty();
        const bool ownRows = kind_ == ListKind::Video && data != nullptr && !files &&
                             data->hasFormat(view_.model()->mimeTypes().value(0));
        if (!files && !ownRows) {
            drop->ignore();
            return true;
        }
        if (type != QEvent::Drop) {
            // The view draws its drop indicator for its own rows; files need accepting here.
            if (files) {
                drop->setDropAction(Qt::CopyAction);
                drop->accept();
                return true;
            }
            return QObject::eventFilter(watched, event);
        }
        const int row = dropRowAt(view_, drop->position().toPoint().y());
        // Copy, never Move: a Move would make the dragging view delete its source rows.
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        if (files) {
            const QStringList paths = localFiles(*data);
            if (kind_ == ListKind::Video) {
                static_cast<void>(adder_.addVideoFiles(paths, row));
            } else {
                static_cast<void>(adder_.addAudioFiles(paths));
            }
            return true;
        }
        const std::vector<int> moved = lists_.moveVideosTo(selectedRows(view_), row);
        view_.clearSelection();
        for (const int movedRow : moved) {
            if (QTreeWidgetItem* item = view_.topLevelItem(movedRow)) {
                item->setSelected(true);
            }
        }
        return true;
    }

  private:
    QTreeWidget& view_;
    ListKind kind_;
    MediaLists& lists_;
    MediaAdder& adder_;
};

void install(QTreeWidget& view, ListKind kind, MediaLists& lists, MediaAdder& adder) {
    view.setAcceptDrops(true);
    view.viewport()->setAcceptDrops(true);
    view.setDropIndicatorShown(true);
    if (kind == ListKind::Video) {
        view.setDragEnabled(true);
        view.setDragDropMode(QAbstractItemView::DragDrop);
        view.setDefaultDropAction(Qt::CopyAction);
    } else {
        view.setDragDropMode(QAbstractItemView::DropOnly);
    }
    view.viewport()->installEventFilter(new ListDropFilter(view, kind, lists, adder));
}

}  // namespace

int dropRowAt(const QTreeWidget& view, int viewportY) {
    for (int row = 0; row < view.topLevelItemCount(); ++row) {
        const QRect rect = view.visualItemRect(view.topLevelItem(row));
        if (viewportY < rect.center().y()) {
            return row;
        }
    }
    return view.topLevelItemCount();
}

void acceptListDrops(QTreeWidget& videoList, QTreeWidget& audioList, MediaLists& lists,
                     MediaAdder& adder) {
    install(videoList, ListKind::Video, lists, adder);
    install(audioList, ListKind::Audio, lists, adder);
}

}  // namespace mixer
