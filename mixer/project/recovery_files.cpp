#include "mixer/project/recovery_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>

namespace mixer {

namespace {

constexpr const char* kFilePrefix = "recovery-";
constexpr const char* kFileSuffix = ".orvindel";

bool processRuns(qint64 processId) {
    if (processId <= 0) {
        return false;
    }
    return ::kill(static_cast<pid_t>(processId), 0) == 0 || errno == EPERM;
}

}  // namespace

QString recoveryFolder() {
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base)) {
        base = QDir::homePath() + QStringLiteral("/.local/state");
    }
    const QString folder = base + QStringLiteral("/orvindel");
    return QDir().mkpath(folder) ? folder : QString();
}

QString ownRecoveryFileName() {
    const QString folder = recoveryFolder();
    if (folder.isEmpty()) {
        return {};
    }
    return folder + QLatin1Char('/') + QLatin1String(kFilePrefix) + QString::number(::getpid()) +
           QLatin1String(kFileSuffix);
}

std::vector<LeftRecoveryFile> findLeftRecoveryFiles() {
    std::vector<LeftRecoveryFile> left;
    const QString folder = recoveryFolder();
    if (folder.isEmpty()) {
        return left;
    }
    const QFileInfoList files = QDir(folder).entryInfoList(
        {QLatin1String(kFilePrefix) + QStringLiteral("*") + QLatin1String(kFileSuffix)},
        QDir::Files);
    for (const QFileInfo& file : files) {
        const QString idText = file.completeBaseName().mid(qsizetype(std::strlen(kFilePrefix)));
        bool isNumber = false;
        const qint64 processId = idText.toLongLong(&isNumber);
        if (!isNumber || processRuns(processId)) {
            continue;
        }
        left.push_back({file.absoluteFilePath(), file.lastModified()});
    }
    std::sort(left.begin(), left.end(),
              [](const auto& a, const auto& b) { return a.writtenAt > b.writtenAt; });
    return left;
}

}  // namespace mixer
