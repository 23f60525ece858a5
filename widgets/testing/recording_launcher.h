#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <deque>

#include "base/ports/launcher_port.h"

namespace widgets::testing {

// A launcher for tests: records every start and open (nothing is started) and answers from a
// queue of scripted results shared by both kinds of request, in order; when the queue is empty
// every request succeeds.
class RecordingLauncher : public base::LauncherPort {
  public:
    struct ProgramStart {
        QString program;
        QStringList arguments;
    };

    bool startProgram(const QString& program, const QStringList& arguments) override;
    bool openWithDesktop(const QUrl& address) override;

    void queueResult(bool succeeds) { m_results.push_back(succeeds); }
    // Every later request fails (true) or, again, follows the queue (false).
    void setAlwaysFail(bool alwaysFail) { m_alwaysFail = alwaysFail; }

    const QList<ProgramStart>& programStarts() const { return m_programStarts; }
    const QList<QUrl>& openedAddresses() const { return m_openedAddresses; }

  private:
    bool nextResult();

    QList<ProgramStart> m_programStarts;
    QList<QUrl> m_openedAddresses;
    std::deque<bool> m_results;
    bool m_alwaysFail = false;
};

}  // namespace widgets::testing
