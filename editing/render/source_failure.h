#pragma once

// What the group renderers tell their owner when a source cannot be read.

#include "editing/core/result.h"

#include <functional>
#include <string>

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

}  // namespace editing
