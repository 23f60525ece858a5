#include "mixer/window/context_request_watch.h"

#include <QAbstractItemView>
#include <QContextMenuEvent>
#include <QKeyEvent>

namespace mixer {

namespace {

// Platforms differ in what the context-menu key sends (a context menu event, a key press, or
// both, the second of which then reaches the dialog the first opened); each is taken as one
// request.
class ContextRequestFilter : public QObject {
  public:
    ContextRequestFilter(QAbstractItemView& view,
                         std::function<void(QPoint, MenuRequestSource)> handler)
        : QObject(&view), view_(view), handler_(std::move(handler)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ContextMenu) {
            const auto* request = static_cast<QContextMenuEvent*>(event);
            event->accept();
            if (request->reason() == QContextMenuEvent::Mouse) {
                handler_(request->globalPos(), MenuRequestSource::Pointer);
            } else {
                handler_(keyboardMenuPoint(view_), MenuRequestSource::Keyboard);
            }
            return true;
        }
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const bool menuKey = key->key() == Qt::Key_Menu;
            const bool shiftF10 =
                key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier;
            if (menuKey || shiftF10) {
                event->accept();
                handler_(keyboardMenuPoint(view_), MenuRequestSource::Keyboard);
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    QAbstractItemView& view_;
    std::function<void(QPoint, MenuRequestSource)> handler_;
};

}  // namespace

QPoint keyboardMenuPoint(const QAbstractItemView& view) {
    const QRect current = view.visualRect(view.currentIndex());
    const QPoint local = current.isValid() ? current.bottomLeft() : QPoint(0, 0);
    return view.viewport()->mapToGlobal(local);
}

void watchContextRequests(QAbstractItemView& view,
                          std::function<void(QPoint, MenuRequestSource)> handler) {
    auto* filter = new ContextRequestFilter(view, std::move(handler));
    view.setContextMenuPolicy(Qt::DefaultContextMenu);
    view.installEventFilter(filter);
    view.viewport()->installEventFilter(filter);
}

}  // namespace mixer
