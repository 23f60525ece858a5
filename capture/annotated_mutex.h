#pragma once

#include "base/threads/annotated_mutex.h"

namespace capture {

// The capture layer's mutexes are the shared annotated ones (see base/threads).
using base::Mutex;
using base::MutexLock;

}  // namespace capture
