#include "widgets/testing/recording_launcher.h"

namespace widgets::testing {

bool RecordingLauncher::startProgram(const QString& program, const QStringList& arguments) {
    m_programStarts.append(ProgramStart{program, arguments});
    return nextResult();
}

bool RecordingLauncher::openWithDesktop(const QUrl& address) {
    m_openedAddresses.append(address);
    return nextResult();
}

bool RecordingLauncher::nextResult() {
    if (m_alwaysFail) {
        return false;
    }
    if (m_results.empty()) {
        return true;
    }
    const bool result = m_results.front();
    m_results.pop_front();
    return result;
}

}  // namespace widgets::testing
