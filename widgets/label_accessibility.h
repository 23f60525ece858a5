#pragma once

namespace widgets {

// Installs, once per process, the accessibility interfaces of the kit's own labels, which
// Qt would otherwise expose as anonymous fillers or plain text:
// - HyperlinkLabel: a link named by its text, with the "press" action opening its address;
// - MultiLineLabel: a label (or, for a status line, a status bar) named by its text.
// Called by those labels' constructors. GUI thread only.
void installLabelAccessibility();

}  // namespace widgets
