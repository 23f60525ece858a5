#pragma once

#include <csignal>

#include <sys/resource.h>

namespace test_support {

// A file-size limit stands in for a full disk while it lives: writes past `bytes` fail (the
// signal they raise is ignored). Restores the previous limit and signal handling.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &previous_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = previous_;
        limited.rlim_cur = bytes;
        applied_ = setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    bool applied() const { return applied_; }

  private:
    rlimit previous_{};
    void (*previousHandler_)(int) = nullptr;
    bool applied_ = false;
};

}  // namespace test_support
