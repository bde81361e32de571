#pragma once
// A temporary program folder for user "taro" with its settings file, a fixed clock and the log:
// the real stores every feature reads and writes.
#include "log/log_writer.h"
#include "settings/settings.h"
#include "storage/data_paths.h"
#include "support/fixed_clock.h"
#include "support/temp_folder.h"

namespace veltrano::test {

struct ProgramData {
    TempFolder folder;
    DataPaths paths{folder.Path(), L"taro"};
    Settings settings{paths.SettingsFile()};
    FixedClock clock;
    LogWriter log{settings, paths, clock};
};

}  // namespace veltrano::test
