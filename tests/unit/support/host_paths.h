#pragma once
// Host paths as a Wine program sees them.
#include <algorithm>
#include <string>

#include "base/text_encoding.h"

namespace veltrano::test {

// The build passes host paths; Wine shows the host's root as Z:.
inline std::wstring WindowsPathFromHost(const char* hostPath) {
    std::wstring path = Utf8ToWide(hostPath);
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return L"Z:" + path;
}

// A file of the source tree, by its path from the tree's root with "/" separators.
inline std::wstring SourcePath(const std::string& relative) {
    return WindowsPathFromHost((std::string(VELTRANO_SOURCE_HOST_PATH) + "/" + relative).c_str());
}

}  // namespace veltrano::test
