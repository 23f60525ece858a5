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
    ContextRequestFilter(std::function<void()> handler, QObject* parent)
        : QObject(parent), handler_(std::move(handler)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ContextMenu) {
            event->accept();
            handler_();
            return true;
        }
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const bool menuKey = key->key() == Qt::Key_Menu;
            const bool shiftF10 =
                key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier;
            if (menuKey || shiftF10) {
                event->accept();
                handler_();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    std::function<void()> handler_;
};

}  // namespace

void watchContextRequests(QAbstractItemView& view, std::function<void()> handler) {
    auto* filter = new ContextRequestFilter(std::move(handler), &view);
    view.setContextMenuPolicy(Qt::DefaultContextMenu);
    view.installEventFilter(filter);
    view.viewport()->installEventFilter(filter);
}

}  // namespace mixer
