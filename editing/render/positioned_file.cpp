#include "editing/render/positioned_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace editing {

PositionedFile::~PositionedFile() {
    close();
}

bool PositionedFile::open(const std::string& fileName) {
    close();
    descriptor_ = ::open(fileName.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
    struct stat status {};
    // Only a regular file: a second writer on a pipe or a device would change what it delivers.
    if (descriptor_ >= 0 && (::fstat(descriptor_, &status) != 0 || !S_ISREG(status.st_mode))) {
        close();
    }
    return descriptor_ >= 0;
}

void PositionedFile::close() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
        descriptor_ = -1;
    }
}

std::int64_t PositionedFile::sizeBytes() const {
    struct stat status {};
    if (descriptor_ < 0 || ::fstat(descriptor_, &status) != 0) {
        return 0;
    }
    return status.st_size;
}

std::vector<std::uint8_t> PositionedFile::readAt(std::int64_t offsetBytes,
                                                 std::size_t count) const {
    std::vector<std::uint8_t> bytes(count);
    std::size_t done = 0;
    while (descriptor_ >= 0 && done < count) {
        const ssize_t read = ::pread(descriptor_, bytes.data() + done, count - done,
                                     static_cast<off_t>(offsetBytes + std::int64_t(done)));
        if (read < 0 && errno == EINTR) {
            continue;
        }
        if (read <= 0) {
            return {};
        }
        done += static_cast<std::size_t>(read);
    }
    return done == count ? bytes : std::vector<std::uint8_t>{};
}

bool PositionedFile::writeAt(std::int64_t offsetBytes, const std::uint8_t* bytes,
                             std::size_t count) {
    std::size_t done = 0;
    while (descriptor_ >= 0 && done < count) {
        const ssize_t written = ::pwrite(descriptor_, bytes + done, count - done,
                                         static_cast<off_t>(offsetBytes + std::int64_t(done)));
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    return done == count;
}

bool PositionedFile::syncData() {
    return descriptor_ >= 0 && ::fdatasync(descriptor_) == 0;
}

std::uint64_t readBigEndian(const std::vector<std::uint8_t>& bytes, std::size_t offset, int width) {
    std::uint64_t value = 0;
    for (int index = 0; index < width; ++index) {
        const std::size_t at = offset + static_cast<std::size_t>(index);
        value = (value << 8) | (at < bytes.size() ? bytes[at] : 0U);
    }
    return value;
}

std::uint64_t readLittleEndian(const std::vector<std::uint8_t>& bytes, std::size_t offset,
                               int width) {
    std::uint64_t value = 0;
    for (int index = width - 1; index >= 0; --index) {
        const std::size_t at = offset + static_cast<std::size_t>(index);
        value = (value << 8) | (at < bytes.size() ? bytes[at] : 0U);
    }
    return value;
}

void appendLittleEndian(std::vector<std::uint8_t>& bytes, std::uint64_t value, int width) {
    for (int index = 0; index < width; ++index) {
        bytes.push_back(static_cast<std::uint8_t>(value >> (8 * index)));
    }
}

}  // namespace editing
