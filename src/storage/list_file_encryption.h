#pragma once
// Switches one family of list files (keyword files, replacement-definition files) between
// plain text (.txt) and encrypted (.bin): writes the setting, converts both files, reloads
// the lists and tells the user. A failed encryption is rolled back to plain text.
#include <functional>
#include <string>
#include <vector>

#include "base/yes_no_question.h"
#include "notify/notifier.h"

namespace veltrano {

struct ListFile {
    std::wstring textPath;
    std::wstring encryptedPath;
    std::function<void()> ensureExists;  // makes the file exist in the form the setting names
};

struct ListFileFamily {
    std::wstring name;  // "キーワードファイル" or "置換定義ファイル", as the messages name it
    std::function<bool()> readSetting;
    std::function<void(bool)> writeSetting;
    std::function<std::vector<ListFile>()> files;  // in conversion order
    std::function<void()> reload;                  // after a complete conversion
};

class ListFileEncryption {
public:
    ListFileEncryption(ListFileFamily family, Notifier& notifier, YesNoQuestion& question)
        : family_(std::move(family)), notifier_(notifier), question_(question) {}

    // Brings the family to the wanted form; nothing happens when it is already in it.
    void Set(bool enable);

    // Converts one list file; throws std::runtime_error with a UTF-8 message when it cannot,
    // after switching the family back to plain text.
    void ConvertListFile(bool encrypt, const ListFile& file);

private:
    void Convert(bool encrypt, const ListFile& file);

    ListFileFamily family_;
    Notifier& notifier_;
    YesNoQuestion& question_;
};

}  // namespace veltrano
