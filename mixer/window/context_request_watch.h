#pragma once

#include <functional>

class QAbstractItemView;

namespace mixer {

// Calls `handler` whenever the user asks for a context menu over `view`: a right-click, the
// context-menu key or Shift+F10 while the view has the focus. The requests are consumed, so
// the view's window never shows its own context menu for them. The watch lives as long as the
// view. UI thread only.
void watchContextRequests(QAbstractItemView& view, std::function<void()> handler);

}  // namespace mixer
