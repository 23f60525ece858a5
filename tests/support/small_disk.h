#pragma once

#include <cerrno>
#include <cstring>
#include <string>

#include <sys/mount.h>

#include "tests/support/temporary_folder.h"

namespace test_support {

enum class DiskAccess { Writable, ReadOnly };

// A small file system of the test's own while the object lives: a tmpfs of `bytes` mounted on
// a fresh temporary folder, so that writing past it fails with ENOSPC as on a full disk (a
// file-size limit fails differently, with EFBIG). Mounting needs the right to mount (root, as
// in the CI container); mounted() is false otherwise and error() says why.
class SmallDisk {
  public:
    explicit SmallDisk(std::size_t bytes, DiskAccess access = DiskAccess::Writable) {
        const std::string options = "size=" + std::to_string(bytes) + ",mode=0777";
        const unsigned long flags = access == DiskAccess::ReadOnly ? MS_RDONLY : 0;
        mounted_ = ::mount("tmpfs", folder_.path().c_str(), "tmpfs", flags, options.c_str()) == 0;
        if (!mounted_) {
            error_ = std::string("cannot mount a tmpfs: ") + std::strerror(errno);
        }
    }
    ~SmallDisk() {
        if (mounted_) {
            ::umount2(folder_.path().c_str(), MNT_DETACH);
        }
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return mounted_; }
    const std::string& error() const { return error_; }
    std::string file(const std::string& name) const { return folder_.file(name); }

  private:
    TemporaryFolder folder_;
    bool mounted_ = false;
    std::string error_;
};

}  // namespace test_support
