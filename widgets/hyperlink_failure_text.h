#pragma once

#include <QString>
#include <QUrl>

namespace widgets {

// Result codes of opening an address, numbered as the desktop shells of old numbered them;
// the failure message shows the line of the code. Anything above 32 is success.
namespace open_result {
inline constexpr int kOutOfResources = 0;
inline constexpr int kFileNotFound = 2;
inline constexpr int kPathNotFound = 3;
inline constexpr int kAccessDenied = 5;
inline constexpr int kOutOfMemory = 8;
inline constexpr int kBadExecutable = 11;
inline constexpr int kSharingViolation = 26;
inline constexpr int kIncompleteAssociation = 27;
inline constexpr int kDdeTimeout = 28;
inline constexpr int kDdeFailed = 29;
inline constexpr int kDdeBusy = 30;
inline constexpr int kNoAssociation = 31;
inline constexpr int kLibraryNotFound = 32;
inline constexpr int kSuccess = 33;
}  // namespace open_result

// The line of the failure table for `resultCode`; "Unknown Error (<code>) occurred." for a
// code the table does not hold.
QString hyperlinkFailureText(int resultCode);

// "Unable to open hyperlink:\n\n" followed by the line for `resultCode`.
QString hyperlinkFailureMessage(int resultCode);

// The nearest result code for an address the desktop could not open: a local file that does
// not exist gives kFileNotFound (kPathNotFound when its folder is missing too), a local file
// that exists but cannot be read kAccessDenied, anything else kNoAssociation.
int resultCodeForFailedOpen(const QUrl& address);

}  // namespace widgets
