#include "mixer/project/status_texts.h"

#include "base/text/elapsed_time.h"

namespace mixer {

QString outputStatusText(const OutputSettings& output) {
    // One-pass arguments: a '%' in the file name is never taken for a placeholder.
    return QStringLiteral("Output File: %1     Resolution: %2*%3")
        .arg(QString::fromStdString(output.OutputName), QString::number(output.OutputWidth),
             QString::number(output.OutputHigh));
}

QString progressStatusText(int elapsedSeconds) {
    return QStringLiteral("Please wait... Used Time: ") + base::formatElapsedTime(elapsedSeconds);
}

QString doneStatusText(const OutputSettings& output) {
    return QStringLiteral("Done. ") + outputStatusText(output);
}

QString stoppedStatusText(int writtenSeconds, const OutputSettings& output) {
    return QStringLiteral("Stopped at %1:%2. ")
               .arg(writtenSeconds / 60)
               .arg(writtenSeconds % 60, 2, 10, QLatin1Char('0')) +
           outputStatusText(output);
}

QString failedStatusText(const QString& reason) {
    return QStringLiteral("Failed: ") + reason.section(QLatin1Char('\n'), 0, 0);
}

}  // namespace mixer
