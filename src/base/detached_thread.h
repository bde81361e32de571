#pragma once
// A fire-and-forget worker: a plain Win32 thread, never joined. Not std::thread: with this
// toolchain's thread library, detach() right after the start now and then loses the new thread or
// crashes it (seen under load, a few in a thousand).
#include <functional>

namespace veltrano {

// Runs `work` on a new thread. Nothing escapes it: what `work` throws is dropped there, as the
// worker has nobody to report to (catch inside `work` what must be told). Throws
// std::system_error when no thread can start.
void StartDetachedThread(std::function<void()> work);

}  // namespace veltrano
