#include "mixer/project/missing_media.h"

#include <QDir>
#include <QFileInfo>

#include <set>
#include <utility>

namespace mixer {

QStringList missingProjectFiles(const ProjectContents& contents) {
    QStringList missing;
    std::set<std::string> seen;
    const auto check = [&](const std::string& path) {
        if (seen.insert(path).second && !QFileInfo(QString::fromStdString(path)).isFile()) {
            missing << QString::fromStdString(path);
        }
    };
    for (const VideoEntry& entry : contents.videos) {
        check(entry.FileName);
    }
    for (const AudioEntry& entry : contents.audios) {
        check(entry.FileName);
    }
    return missing;
}

std::map<QString, QString> findFilesByName(const QString& folder, const QStringList& fileNames) {
    std::map<QString, QString> found;
    std::set<QString> wanted(fileNames.begin(), fileNames.end());
    // Breadth first, one depth at a time, so the least deep file of a name wins and the search
    // stops as soon as every name is found.
    QStringList level{QDir(folder).absolutePath()};
    while (!level.isEmpty() && !wanted.empty()) {
        QStringList next;
        for (const QString& path : level) {
            const QDir dir(path);
            for (const QFileInfo& entry :
                 dir.entryInfoList(QDir::Files | QDir::Hidden, QDir::Name)) {
                if (wanted.erase(entry.fileName()) != 0) {
                    found.emplace(entry.fileName(), entry.absoluteFilePath());
                }
            }
            for (const QFileInfo& entry : dir.entryInfoList(
                     QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks | QDir::Hidden,
                     QDir::Name)) {
                next << entry.absoluteFilePath();
            }
        }
        level = std::move(next);
    }
    return found;
}

MissingMedia::MissingMedia(QStringList missingPaths) : stillMissing_(std::move(missingPaths)) {}

int MissingMedia::lookIn(const QString& folder) {
    QStringList names;
    for (const QString& path : stillMissing_) {
        names << QFileInfo(path).fileName();
    }
    const std::map<QString, QString> found = findFilesByName(folder, names);
    QStringList left;
    for (const QString& path : std::as_const(stillMissing_)) {
        const auto match = found.find(QFileInfo(path).fileName());
        if (match == found.end()) {
            left << path;
        } else {
            found_[path.toStdString()] = match->second.toStdString();
        }
    }
    const int foundCount = static_cast<int>(stillMissing_.size() - left.size());
    stillMissing_ = std::move(left);
    return foundCount;
}

void MissingMedia::applyTo(ProjectContents& contents) const {
    const auto relink = [this](std::string& fileName) {
        if (const auto match = found_.find(fileName); match != found_.end()) {
            fileName = match->second;
        }
    };
    for (VideoEntry& entry : contents.videos) {
        relink(entry.FileName);
    }
    for (AudioEntry& entry : contents.audios) {
        relink(entry.FileName);
    }
}

}  // namespace mixer
