#pragma once
// Manual replacement: definitions without the automatic flag, offered one per menu item and
// applied to the clipboard text when the user picks one.
#include <windows.h>

#include <string>

#include "base/clipboard_reader.h"
#include "base/clipboard_writer.h"
#include "base/menu_entry.h"
#include "base/notifier.h"
#include "log/log_writer.h"
#include "matching/replacement_definitions.h"
#include "settings/settings.h"

namespace veltrano {

// The items of the manual replacement menu: the wildcard manual definitions, then the regex
// ones ("【ワ】"/"【正】" before the line), their entries numbered in that order from 0; or one
// greyed item saying why there are none.
MenuEntries BuildManualReplaceMenu(const ReplacementDefinitions& definitions, bool useClipboardReplace);

class ManualReplace {
public:
    ManualReplace(const Settings& settings, const ReplacementDefinitions& definitions, ClipboardReader& reader,
                  ClipboardWriter& writer, Notifier& notifier, LogWriter& log)
        : settings_(settings),
          definitions_(definitions),
          reader_(reader),
          writer_(writer),
          notifier_(notifier),
          log_(log) {}

    // Applies the definition of menu entry `index` to the clipboard text and writes the result
    // back. True when the clipboard was rewritten; every failure is reported here.
    bool RunManualReplace(HWND owner, size_t index);

private:
    const ReplacementDefinition* DefinitionOf(size_t index) const;
    void Report(const std::wstring& body, const std::wstring& title, NotifyKind kind);

    const Settings& settings_;
    const ReplacementDefinitions& definitions_;
    ClipboardReader& reader_;
    ClipboardWriter& writer_;
    Notifier& notifier_;
    LogWriter& log_;
};

}  // namespace veltrano
