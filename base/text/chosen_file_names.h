#pragma once

#include <QString>

namespace base {

// Rules both programs apply to a path chosen in a save dialog.

// `chosenPath` with the extension of its file name (from the last '.' after the name's first
// character) replaced by `extension` (e.g. ".avi"), or `extension` added when it has none.
// Folders are never cut, so the file lands where the user chose it:
// "/clips/out.mpg" -> "/clips/out.avi"; "/my.clips/out" -> "/my.clips/out.avi";
// "/clips/.hidden" -> "/clips/.hidden.avi".
QString withFileExtension(const QString& chosenPath, const QString& extension);

// The folder a save dialog starts in for the current name `path`: `path` cut before its last
// '/', "/" for a file in the root folder, "." when the name holds no '/'.
QString saveDialogStartFolder(const QString& path);

// The file name a save dialog opens with for the current name `path`: its last part ("" when
// `path` ends in '/').
QString saveDialogInitialName(const QString& path);

// Whether the file-name part of `path` holds a wildcard ('*' or '?'). Such a name is a filter
// the user typed, never a file to write, so both programs refuse it.
bool fileNameHasWildcard(const QString& path);

// The message that refuses `path` because its file name holds a wildcard.
QString wildcardNameRefusalText(const QString& path);

}  // namespace base
