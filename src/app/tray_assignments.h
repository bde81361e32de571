#pragma once
#include "base/notifier.h"
#include "log/log_writer.h"
#include "settings/settings.h"

namespace veltrano {

// Keeps the main menu (and with it Exit and Settings) reachable from the tray: when no click
// opens it, assigns it to the first unassigned click, or to the right click (to a click no policy
// holds), and tells the user; when a policy holds every click, tells that instead.
void FixTrayAssignments(Settings& settings, Notifier& notifier, LogWriter& log);

}  // namespace veltrano
