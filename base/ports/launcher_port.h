#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

namespace base {

// Everything the programs start goes through this port, never through a shell: each argument
// reaches the program as one argument, whatever blanks, quotes or ';' it holds. The programs
// use DesktopLauncher (QProcess::startDetached, QDesktopServices); tests use RecordingLauncher.

class LauncherPort {
  public:
    virtual ~LauncherPort() = default;
    // Starts `program` detached with `arguments`; false when it could not be started.
    virtual bool startProgram(const QString& program, const QStringList& arguments) = 0;
    // Opens a file or web address with the desktop's associated program; false on failure.
    virtual bool openWithDesktop(const QUrl& address) = 0;
};

}  // namespace base
