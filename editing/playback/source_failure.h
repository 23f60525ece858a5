#pragma once

// What the group renderers tell their owner when a source cannot be read.

#include "editing/core/result.h"

#include <functional>
#include <string>
#include <utility>

namespace editing {

// One source file that could not be opened or decoded (or whose pictures or sound could not be
// converted). Its span shows black or is silent; the render goes on.
struct SourceFailure {
    std::string fileName;     // the source's media name, as the time line holds it
    Result result = kOk;      // why, as a result code
    std::string description;  // readable text naming the file
};

// Called on the thread of the renderer that met the failure.
using SourceFailureReporter = std::function<void(const SourceFailure&)>;

// The first failure a source reader met since its owner last asked: later ones are the same
// file's consequences and are not kept, so each is reported once. One thread at a time.
class PendingFailure {
  public:
    bool isSet() const { return result_ != kOk; }
    // Keeps `result` and `description` unless a failure is already waiting.
    void keepFirst(Result result, std::string description) {
        if (!isSet()) {
            result_ = result;
            description_ = std::move(description);
        }
    }
    // Hands the waiting failure over and forgets it; false when none waits.
    bool take(Result& result, std::string& description) {
        if (!isSet()) {
            return false;
        }
        result = result_;
        description = std::move(description_);
        result_ = kOk;
        description_.clear();
        return true;
    }

  private:
    Result result_ = kOk;
    std::string description_;
};

}  // namespace editing
