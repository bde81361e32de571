#pragma once
// The self-test's checks of what the guard reads: the user's keyword files and what a search with
// them costs, the organisation's policy values and folder, and the event source.
#include <vector>

#include "selftest/self_test.h"

namespace veltrano {

std::vector<SelfTestCheck> GuardChecks(const DataPaths& paths);

}  // namespace veltrano
