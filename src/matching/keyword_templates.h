#pragma once
#include <string>

#include "matching/keyword_lists.h"

namespace veltrano {

// The self-describing text a missing keyword file is created with: LF line ends, final LF.
std::wstring KeywordTemplate(KeywordKind kind);

}  // namespace veltrano
