#pragma once
// One running copy per signed-in user: a named mutex in the per-user Local namespace.
#include "base/unique_any.h"

namespace veltrano {

class SingleInstanceGuard {
public:
    SingleInstanceGuard();
    // True when another copy of this user already holds the mutex.
    bool AnotherInstanceRuns() const noexcept { return anotherInstance_; }
    // Lets a new copy start while this one is still shutting down.
    void Release() noexcept { mutex_.Reset(); }

private:
    UniqueHandle mutex_;  // empty when the mutex could not be made: the program runs unguarded
    bool anotherInstance_ = false;
};

}  // namespace veltrano
