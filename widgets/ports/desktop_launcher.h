#pragma once

#include "base/ports/launcher_port.h"

namespace widgets {

// Starts programs with QProcess::startDetached (no shell: every argument stays one argument)
// and opens files and web addresses with QDesktopServices::openUrl. A local file that does not
// exist is not handed to the desktop: opening it fails at once.
class DesktopLauncher : public base::LauncherPort {
  public:
    bool startProgram(const QString& program, const QStringList& arguments) override;
    bool openWithDesktop(const QUrl& address) override;
};

}  // namespace widgets
