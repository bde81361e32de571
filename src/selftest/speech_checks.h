#pragma once
// The self-test's checks of the voices: the Windows Runtime's installed voices, a synthesis with
// the first Japanese one (never played), the media player, and VOICEVOX where its files are.
#include <vector>

#include "selftest/self_test.h"

namespace veltrano {

std::vector<SelfTestCheck> SpeechChecks(const DataPaths& paths);

}  // namespace veltrano
