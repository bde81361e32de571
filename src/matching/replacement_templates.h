#pragma once
#include <string>

#include "matching/replacement_definitions.h"

namespace veltrano {

// The self-describing text a missing definition file is created with: LF line ends, final LF.
std::wstring ReplacementTemplate(DefinitionKind kind);

}  // namespace veltrano
