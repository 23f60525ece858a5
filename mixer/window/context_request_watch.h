#pragma once

#include <QPoint>

#include <functional>

class QAbstractItemView;

namespace mixer {

enum class MenuRequestSource { Pointer, Keyboard };

// Calls `handler` whenever the user asks for a context menu over `view`: a right-click, the
// context-menu key or Shift+F10 while the view has the focus. The handler gets where a menu
// belongs, in global coordinates: the pointer for a click, the current row (else the top of the
// list) for a key. The requests are consumed, so
// the view's window never shows its own context menu for them. The watch lives as long as the
// view. UI thread only.
void watchContextRequests(QAbstractItemView& view,
                          std::function<void(QPoint, MenuRequestSource)> handler);

// Where a menu asked for from the keyboard belongs over `view`, in global coordinates.
QPoint keyboardMenuPoint(const QAbstractItemView& view);

}  // namespace mixer
