#include "storage/list_file_pair.h"

#include <stdexcept>
#include <utility>

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

bool ListFilePair::SealedOnDisk() const {
    if (!spec_.readEncrypted()) return false;
    for (const PatternSyntax syntax : kPatternSyntaxes) {
        try {
            if (FileExists(Path(syntax, false))) return false;
        } catch (const std::runtime_error&) {
            return false;  // what cannot be seen is not claimed
        }
    }
    return true;
}

bool ListFilePair::FollowHeldEncryption() {
    const bool heldOn = spec_.encryptionHeld() && spec_.readEncrypted();
    const bool newlyHeld = heldOn && !encryptionHeldOn_;
    encryptionHeldOn_ = heldOn;  // before sealing: the switch reloads the lists, which come back here
    return newlyHeld && encryption_ && encryption_->SealPlainFiles();
}

void ListFilePair::EnsureFile(PatternSyntax syntax) {
    const bool encrypted = spec_.readEncrypted();
    const std::wstring path = Path(syntax, encrypted);
    if (path.empty() || FileExists(path)) return;
    if (encrypted && !spec_.encryptionHeld()) {
        // The switch does not come back here, and when it cannot store the setting it leaves
        // the files alone: the read below then takes whichever form holds the list.
        if (encryption_) encryption_->Set(false);
        if (!spec_.readEncrypted()) EnsureFile(syntax);
        return;
    }
    // A template never stands in for a list kept in the other form (one that could not be
    // converted, or a plain one while a policy demands sealed lists: it is read where it is).
    if (FileExists(Path(syntax, !encrypted))) return;
    try {
        const std::string text = WideToUtf8(spec_.templateText(syntax));
        encrypted ? WriteEncryptedFile(path, text) : WriteUtf8TextFile(path, text);
    } catch (const std::runtime_error&) {
        // Not reported here: the load that follows reports the file as unreadable.
    }
}

std::wstring ListFilePair::ReadText(PatternSyntax syntax) const {
    bool encrypted = spec_.readEncrypted();
    // After a failed conversion the list may be in the other form: read it where it is.
    if (!FileExists(Path(syntax, encrypted)) && FileExists(Path(syntax, !encrypted))) encrypted = !encrypted;
    const std::wstring path = Path(syntax, encrypted);
    const std::string bytes = encrypted ? ReadEncryptedFile(path) : ReadUtf8TextFile(path);
    try {
        return Utf8ToWide(bytes);
    } catch (const std::runtime_error&) {
        throw std::runtime_error(WideToUtf8(L"UTF-8 として読めない内容があります: " + path));
    }
}

std::optional<ListFilePair::Stamp> ListFilePair::StampNow(PatternSyntax syntax, bool encrypted) const {
    for (const bool form : {encrypted, !encrypted}) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (!::GetFileAttributesExW(Path(syntax, form).c_str(), GetFileExInfoStandard, &data)) continue;
        return Stamp{form, (ULONGLONG{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime,
                     (ULONGLONG{data.nFileSizeHigh} << 32) | data.nFileSizeLow};
    }
    return std::nullopt;
}

void ListFilePair::NoteLoaded(PatternSyntax syntax) {
    loaded_[static_cast<size_t>(syntax)] = StampNow(syntax, spec_.readEncrypted());
}

bool ListFilePair::NoteReadFailed(PatternSyntax syntax) {
    return !std::exchange(readFailing_[static_cast<size_t>(syntax)], true);
}

void ListFilePair::NoteReadSucceeded(PatternSyntax syntax) { readFailing_[static_cast<size_t>(syntax)] = false; }

std::vector<PatternSyntax> ListFilePair::ChangedSinceLoaded() const {
    const bool encrypted = spec_.readEncrypted();  // the setting once: it is a file read too
    std::vector<PatternSyntax> changed;
    for (const PatternSyntax syntax : kPatternSyntaxes) {
        const size_t index = static_cast<size_t>(syntax);
        if (readFailing_[index] || StampNow(syntax, encrypted) != loaded_[index]) changed.push_back(syntax);
    }
    return changed;
}

}  // namespace veltrano
