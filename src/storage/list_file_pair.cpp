#include "storage/list_file_pair.h"

#include <stdexcept>

#include "base/text_encoding.h"
#include "storage/file_system.h"
#include "storage/text_files.h"

namespace veltrano {

ListFileFamily ListFilePair::Family(std::function<void()> reload) {
    return ListFileFamily{
        .name = spec_.familyName,
        .readSetting = spec_.readEncrypted,
        .writeSetting = spec_.writeEncrypted,
        .settingsFile = spec_.settingsFile,
        .files =
            [this] {
                std::vector<ListFile> files;
                for (const PatternSyntax syntax : kPatternSyntaxes) {
                    files.push_back({Path(syntax, false), Path(syntax, true), [this, syntax] { EnsureFile(syntax); }});
                }
                return files;
            },
        .reload = std::move(reload),
    };
}

std::wstring ListFilePair::Path(PatternSyntax syntax, bool encrypted) const {
    const std::wstring stem = (syntax == PatternSyntax::Wildcard ? L"_wildcard" : L"_regex") + spec_.stemSuffix;
    return paths_.DataFile(stem, encrypted ? L".bin" : L".txt");
}

void ListFilePair::EnsureFile(PatternSyntax syntax) {
    const bool encrypted = spec_.readEncrypted();
    const std::wstring path = Path(syntax, encrypted);
    if (path.empty() || FileExists(path)) return;
    if (encrypted) {
        // The switch does not come back here, and when it cannot store the setting it leaves
        // the files alone: the read below then takes whichever form holds the list.
        if (encryption_) encryption_->Set(false);
        if (!spec_.readEncrypted()) EnsureFile(syntax);
        return;
    }
    // A template never stands in for a list whose encrypted file could not be converted.
    if (FileExists(Path(syntax, true))) return;
    try {
        WriteUtf8TextFile(path, WideToUtf8(spec_.templateText(syntax)));
    } catch (const std::runtime_error&) {
        // Not reported here: the load that follows reports the file as unreadable.
    }
}

std::wstring ListFilePair::ReadText(PatternSyntax syntax) const {
    bool encrypted = spec_.readEncrypted();
    // After a failed conversion the list may be in the other form: read it where it is.
    if (!FileExists(Path(syntax, encrypted)) && FileExists(Path(syntax, !encrypted))) encrypted = !encrypted;
    const std::wstring path = Path(syntax, encrypted);
    return Utf8ToWide(encrypted ? ReadEncryptedFile(path) : ReadUtf8TextFile(path));
}

}  // namespace veltrano
