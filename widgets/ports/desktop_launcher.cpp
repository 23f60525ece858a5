#include "widgets/ports/desktop_launcher.h"

#include <QDesktopServices>
#include <QProcess>

namespace widgets {

bool DesktopLauncher::startProgram(const QString& program, const QStringList& arguments) {
    if (program.isEmpty()) {
        return false;
    }
    return QProcess::startDetached(program, arguments);
}

bool DesktopLauncher::openWithDesktop(const QUrl& address) {
    if (!address.isValid() || address.isEmpty()) {
        return false;
    }
    return QDesktopServices::openUrl(address);
}

}  // namespace widgets
