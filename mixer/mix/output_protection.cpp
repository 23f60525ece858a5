#include "mixer/mix/output_protection.h"

#include "capture/recording_file_lock.h"

#include <sys/stat.h>

namespace mixer {

namespace {

struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

// Follows symbolic links, as opening the file for writing would.
std::optional<FileIdentity> identityOf(const std::string& fileName) {
    struct stat status {};
    if (fileName.empty() || ::stat(fileName.c_str(), &status) != 0) {
        return std::nullopt;
    }
    return FileIdentity{status.st_dev, status.st_ino};
}

}  // namespace

std::optional<ProtectedFile> findProtectedOutputClash(
    const MixJob& job, const std::string& outputFileName,
    const std::vector<ProtectedFile>& otherProtectedFiles) {
    const std::optional<FileIdentity> output = identityOf(outputFileName);
    if (!output) {
        return std::nullopt;
    }
    const auto sameAsOutput = [&](const std::string& fileName) {
        return identityOf(fileName) == output;
    };
    for (const VideoEntry& video : job.videos) {
        if (sameAsOutput(video.FileName)) {
            return ProtectedFile{ProtectedFileKind::VideoClip, video.FileName};
        }
    }
    for (const AudioEntry& audio : job.audios) {
        if (sameAsOutput(audio.FileName)) {
            return ProtectedFile{ProtectedFileKind::AudioClip, audio.FileName};
        }
    }
    for (const ProtectedFile& other : otherProtectedFiles) {
        if (sameAsOutput(other.fileName)) {
            return other;
        }
    }
    // Ambrevo holds a lock on the file of every take in progress.
    if (capture::isFileBeingRecorded(outputFileName)) {
        return ProtectedFile{ProtectedFileKind::Recording, outputFileName};
    }
    return std::nullopt;
}

QString protectedOutputMessage(const ProtectedFile& clash, const std::string& outputFileName) {
    const QString output = QString::fromStdString(outputFileName);
    const QString file = QString::fromStdString(clash.fileName);
    QString what;
    switch (clash.kind) {
        case ProtectedFileKind::VideoClip:
            what = QStringLiteral("the video clip %1 on the video list").arg(file);
            break;
        case ProtectedFileKind::AudioClip:
            what = QStringLiteral("the audio clip %1 on the audio list").arg(file);
            break;
        case ProtectedFileKind::ProjectFile:
            what = QStringLiteral("the open project file %1").arg(file);
            break;
        case ProtectedFileKind::Recording:
            what = QStringLiteral("a file Ambrevo is recording right now");
            break;
    }
    return QStringLiteral(
               "The output file %1 is %2. Mixing into it would destroy it, so nothing "
               "was written. Please choose another output file.")
        .arg(output, what);
}

}  // namespace mixer
