#include "widgets/hyperlink_failure_text.h"

#include <QDir>
#include <QFileInfo>

#include <map>

namespace widgets {
namespace {

// The failure table, one line per result code. Lines that named Windows-only things (Win32
// executables, DDE, dynamic-link libraries) say what applies on a Linux desktop.
const std::map<int, const char*>& failureLines() {
    static const std::map<int, const char*> lines = {
        {open_result::kOutOfResources, "The operating system is out\nof memory or resources."},
        {open_result::kFileNotFound, "The specified file was not found."},
        {open_result::kPathNotFound, "The specified path was not found."},
        {open_result::kAccessDenied, "The operating system denied\naccess to the specified file."},
        {open_result::kOutOfMemory, "There was not enough memory to complete the operation."},
        {open_result::kBadExecutable,
         "The program file is invalid\n(not a program this system can run)."},
        {open_result::kSharingViolation, "A sharing violation occurred. "},
        {open_result::kIncompleteAssociation,
         "The filename association is\nincomplete or invalid."},
        {open_result::kDdeTimeout, "The desktop could not\nopen it because the request timed out."},
        {open_result::kDdeFailed, "The desktop failed to open it."},
        {open_result::kDdeBusy,
         "The desktop could not\nopen it because other requests\nwere being processed."},
        {open_result::kNoAssociation,
         "There is no application associated\nwith the given filename extension."},
        {open_result::kLibraryNotFound, "The specified shared library was not found."},
    };
    return lines;
}

}  // namespace

QString hyperlinkFailureText(int resultCode) {
    const auto& lines = failureLines();
    const auto found = lines.find(resultCode);
    if (found == lines.end()) {
        return QStringLiteral("Unknown Error (%1) occurred.").arg(resultCode);
    }
    return QString::fromLatin1(found->second);
}

QString hyperlinkFailureMessage(int resultCode) {
    return QStringLiteral("Unable to open hyperlink:\n\n") + hyperlinkFailureText(resultCode);
}

int resultCodeForFailedOpen(const QUrl& address) {
    if (!address.isLocalFile()) {
        return open_result::kNoAssociation;
    }
    const QFileInfo file(address.toLocalFile());
    if (!file.exists()) {
        return file.absoluteDir().exists() ? open_result::kFileNotFound
                                           : open_result::kPathNotFound;
    }
    if (!file.isReadable()) {
        return open_result::kAccessDenied;
    }
    return open_result::kNoAssociation;
}

}  // namespace widgets
