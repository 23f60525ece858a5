#include "mixer/media/adding_progress.h"

#include "mixer/media/probe_batch.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>

namespace mixer {

namespace {

// How often the window thread looks at the workers: well under the pause a user notices.
constexpr int kPollPeriodMs = 15;
// One file that takes this long (a network share) gets the dialog too.
constexpr int kOneFileDialogDelayMs = 400;

}  // namespace

std::optional<std::vector<ProbeForAdding>> probeWithProgress(const QStringList& paths,
                                                             const ProbeBatch::Probe& probe,
                                                             QWidget* owner,
                                                             std::function<void()>& cancelRunning) {
    ProbeBatch batch(paths, probe);
    if (batch.finished()) {
        return batch.takeResults();
    }
    QProgressDialog dialog(QStringLiteral("Adding %1 files...").arg(paths.size()),
                           QStringLiteral("Cancel"), 0, batch.fileCount(), owner);
    dialog.setObjectName(QString::fromUtf8(kAddingProgressObjectName));
    dialog.setWindowTitle(QString::fromUtf8(kAddingProgressTitle));
    dialog.setWindowModality(Qt::NonModal);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    dialog.setMinimumDuration(paths.size() > 1 ? 0 : kOneFileDialogDelayMs);
    dialog.setValue(0);

    QEventLoop loop;
    bool cancelled = false;
    const auto stop = [&] {
        cancelled = true;
        batch.cancel();
        loop.quit();
    };
    QObject::connect(&dialog, &QProgressDialog::canceled, &loop, stop);
    QTimer poll;
    poll.setInterval(kPollPeriodMs);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        dialog.setValue(batch.probedCount());
        if (batch.finished()) {
            loop.quit();
        }
    });
    poll.start();
    cancelRunning = stop;
    loop.exec();
    cancelRunning = nullptr;
    if (cancelled) {
        return std::nullopt;
    }
    return batch.takeResults();
}

}  // namespace mixer
