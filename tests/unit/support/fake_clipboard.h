#pragma once
// The clipboard seams: Read gives `text`; Write remembers each text with its owner and use and
// succeeds, fails, or throws as told.
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/clipboard_reader.h"
#include "base/clipboard_writer.h"

namespace veltrano::test {

class FakeClipboard final : public ClipboardReader, public ClipboardWriter {
public:
    std::optional<ClipboardText> Read(HWND owner) override {
        readOwners.push_back(owner);
        if (!text) return std::nullopt;
        return ClipboardText{*text, historyUse, {}};
    }
    bool Write(const std::wstring& value, HWND owner, HistoryUse use) override {
        if (failure) throw std::runtime_error(failure);
        attempts.push_back(value);
        writeOwners.push_back(owner);
        writeUses.push_back(use);
        if (succeed) written.push_back(value);
        return succeed;
    }

    std::optional<std::wstring> text;
    HistoryUse historyUse = HistoryUse::Allowed;  // of the text read
    bool succeed = true;
    const char* failure = nullptr;      // thrown by Write when set
    std::vector<std::wstring> attempts;  // every write
    std::vector<std::wstring> written;   // the writes that succeeded
    std::vector<HWND> readOwners;
    std::vector<HWND> writeOwners;
    std::vector<HistoryUse> writeUses;
};

}  // namespace veltrano::test
