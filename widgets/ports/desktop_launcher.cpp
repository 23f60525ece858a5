#include "widgets/ports/desktop_launcher.h"

#include <QDesktopServices>
#include <QFileInfo>
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
    // The desktop's opener is started detached and reports no failure of its own: a local
    // file that is not there is refused here so the caller can say so.
    if (address.isLocalFile() && !QFileInfo::exists(address.toLocalFile())) {
        return false;
    }
    return QDesktopServices::openUrl(address);
}

}  // namespace widgets
