#pragma once

#include <string>
#include <string_view>

namespace capture {

// What went wrong in the capture layer. The code says which kind of failure it was (callers
// choose their message by it); the text of a CaptureResult says what exactly failed.
enum class CaptureError {
    None,                // success
    NoServer,            // no sound server answers (or it went away)
    ServerNotAnswering,  // the server stopped answering within the answer limit
    ServerRefused,       // the server answered a request with an error
    DeviceGone,          // the capture device is not (or no longer) there
    UnsupportedFormat,   // the device's sample format cannot be stored in a WAV file
    FileNotCreated,      // the output file cannot be created (folder missing, no right ...)
    DiskFull,            // a write failed because the file system has no space left
    WriteFailed,         // any other failed write, sync or close of the output file
};

// A readable description of `code`, for logs and as the start of a message.
std::string_view describeCaptureError(CaptureError code);

// The result of every capture operation that can fail: a code and, on failure, the text of
// what failed. [[nodiscard]] on the type makes every function returning one warn (an error
// under -Werror) when its result is ignored.
class [[nodiscard]] CaptureResult {
  public:
    CaptureResult() = default;
    static CaptureResult success() { return {}; }
    static CaptureResult failure(CaptureError code, std::string text) {
        return CaptureResult(code, std::move(text));
    }

    bool succeeded() const { return code_ == CaptureError::None; }
    bool failed() const { return !succeeded(); }
    explicit operator bool() const { return succeeded(); }
    CaptureError code() const { return code_; }
    // What failed, e.g. "/music/take.wav: write failed: No space left on device"; empty on
    // success.
    const std::string& text() const { return text_; }

  private:
    CaptureResult(CaptureError code, std::string text) : code_(code), text_(std::move(text)) {}
    CaptureError code_ = CaptureError::None;
    std::string text_;
};

}  // namespace capture
