#pragma once
// Switches one family of list files (keyword files, replacement-definition files) between
// plain text (.txt) and encrypted (.bin): writes the setting, converts each file, reloads
// the lists and tells the user. A failed encryption is rolled back to plain text.
#include <functional>
#include <string>
#include <vector>

#include "base/notifier.h"
#include "base/yes_no_question.h"

namespace veltrano {

struct ListFile {
    std::wstring textPath;
    std::wstring encryptedPath;
    std::function<void()> ensureExists;  // makes the file exist in the form the setting names
};

struct ListFileFamily {
    std::wstring name;  // "キーワードファイル" or "置換定義ファイル", as the messages name it
    std::function<bool()> readSetting;
    std::function<bool(bool)> writeSetting;  // false when the settings file could not be written
    std::wstring settingsFile;               // named in the report of a failed write
    std::function<std::vector<ListFile>()> files;  // in conversion order
    std::function<void()> reload;                  // after a complete conversion
};

class ListFileEncryption {
public:
    ListFileEncryption(ListFileFamily family, Notifier& notifier, YesNoQuestion& question)
        : family_(std::move(family)), notifier_(notifier), question_(question) {}

    // Brings the family to the wanted form; nothing happens when it is already in it. Each file
    // is converted on its own, and each failure is reported naming its file. When the setting
    // cannot be stored, no file is touched.
    void Set(bool enable);
    // The setting already asks for sealed files (a policy holds it on): seals each list still in
    // plain text whose sealed file is missing, then reloads and reports as Set does. A file that
    // fails stays plain, where the lists read it. True when the lists were reloaded.
    bool SealPlainFiles();

private:
    struct Failure {
        bool encrypting;
        std::string reason;  // UTF-8, empty when the error carried none
    };

    struct Conversion {
        std::vector<Failure> failures;
        std::vector<ListFile> converted;
    };

    // Converts one list file; throws with a UTF-8 message naming the file when it cannot.
    void Convert(bool encrypt, const ListFile& file);
    // Tries every file, each on its own.
    Conversion ConvertEach(bool encrypt, const std::vector<ListFile>& files);
    Failure UnstoredSetting(bool encrypting) const;
    void ReportSwitched(bool enabled);
    void Report(const Failure& failure);

    ListFileFamily family_;
    Notifier& notifier_;
    YesNoQuestion& question_;
};

}  // namespace veltrano
