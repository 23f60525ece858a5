#pragma once

#include "mixer/timeline/timeline_build.h"

// Helpers shared by the build's steps; not part of the library's interface.
namespace mixer::build_steps {

// A plain box under the program's own caption, as most build messages are.
inline void tell(TimelineBuild& build, const char* text) {
    build.prompt.tell(QString::fromUtf8(text), {}, base::PromptIcon::None, build.owner);
}

// The time line refuses a track of the wrong kind (or one it does not know) before it looks at
// anything else: such a track does not take transitions or effects at all. This is where the
// build's "get the track's transition / effect interface" step fails.
inline bool trackRefused(Result result) {
    return result == editing::kErrorWrongNodeKind || result == editing::kErrorUnknownNode ||
           result == editing::kErrorPointer || result == editing::kErrorNoInterface;
}

}  // namespace mixer::build_steps
