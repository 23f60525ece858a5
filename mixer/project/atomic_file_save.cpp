#include "mixer/project/atomic_file_save.h"

#include <QFile>

#include <utility>

#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

namespace mixer {

namespace {

// Closes the descriptor and removes the temporary file unless it was renamed into place.
class TemporaryFile {
  public:
    explicit TemporaryFile(QByteArray nameTemplate) : name_(std::move(nameTemplate)) {
        descriptor_ = ::mkstemp(name_.data());
        created_ = descriptor_ >= 0;
    }
    ~TemporaryFile() {
        closeDescriptor();
        if (created_ && !renamed_) {
            ::unlink(name_.constData());
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    bool opened() const { return descriptor_ >= 0; }
    int descriptor() const { return descriptor_; }
    const char* name() const { return name_.constData(); }
    // Closes the descriptor; false (errno set) when closing reported a failed write.
    bool closeDescriptor() {
        if (descriptor_ < 0) {
            return true;
        }
        const int result = ::close(descriptor_);
        descriptor_ = -1;  // closed; the file itself still exists
        return result == 0;
    }
    void markRenamed() { renamed_ = true; }

  private:
    QByteArray name_;
    int descriptor_ = -1;
    bool created_ = false;
    bool renamed_ = false;
};

FileSaveResult failure(const char* step) {
    return {false, QStringLiteral("%1: %2").arg(QLatin1String(step),
                                                QString::fromLocal8Bit(std::strerror(errno)))};
}

}  // namespace

FileSaveResult saveFileWhole(const QString& path, const QByteArray& bytes) {
    const QByteArray target = QFile::encodeName(path);
    TemporaryFile temporary(target + ".save-XXXXXX");
    if (!temporary.opened()) {
        return failure("Cannot create a file in the folder");
    }
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t count = ::write(temporary.descriptor(), bytes.constData() + written,
                                      static_cast<std::size_t>(bytes.size() - written));
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return failure("Cannot write the file");
        }
        written += count;
    }
    // Readable as an ordinary new file would be (mkstemp creates it for the owner only).
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(temporary.descriptor(), 0666 & ~mask);
    if (::fsync(temporary.descriptor()) != 0) {
        return failure("Cannot flush the file to the disk");
    }
    if (!temporary.closeDescriptor()) {
        return failure("Cannot write the file");
    }
    if (::rename(temporary.name(), target.constData()) != 0) {
        return failure("Cannot replace the file");
    }
    temporary.markRenamed();
    return {true, {}};
}

}  // namespace mixer
