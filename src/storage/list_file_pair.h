#pragma once
// The two files of a list family (wildcard and regular expression) in the form the family's
// setting names: their paths, the template a missing plain file is created from, reading them,
// and their description for the encryption switch.
#include <windows.h>

#include <array>
#include <functional>
#include <optional>
#include <vector>
#include <string>

#include "base/pattern_syntax.h"
#include "storage/data_paths.h"
#include "storage/list_file_encryption.h"

namespace veltrano {

struct ListFilePairSpec {
    std::wstring familyName;  // as the encryption messages name it
    std::wstring stemSuffix;  // the files are "_wildcard" or "_regex" followed by this
    std::function<bool()> readEncrypted;
    std::function<bool(bool)> writeEncrypted;  // false when the setting was not stored (or a policy holds it)
    std::function<bool()> encryptionHeld;      // an organisation's policy holds the setting
    std::wstring settingsFile;
    std::function<std::wstring(PatternSyntax)> templateText;  // LF line ends, final LF
};

class ListFilePair {
public:
    ListFilePair(ListFilePairSpec spec, const DataPaths& paths) : spec_(std::move(spec)), paths_(paths) {}

    // The switch that converts these files; called when an encrypted file is missing.
    void AttachEncryption(ListFileEncryption& encryption) { encryption_ = &encryption; }
    ListFileFamily Family(std::function<void()> reload);

    // Whether the family's setting asks for the encrypted form.
    bool Encrypted() const { return spec_.readEncrypted(); }
    // Whether an organisation's policy holds that setting: no switch changes it.
    bool EncryptionHeld() const { return spec_.encryptionHeld(); }
    std::wstring Path(PatternSyntax syntax, bool encrypted) const;
    // Whether the files are sealed on disk: the setting asks for it and no list is left in plain
    // text (a conversion that failed leaves one).
    bool SealedOnDisk() const;
    // When a policy newly holds encryption on, seals the lists still in plain text through the
    // switch. Once per hold and run: a conversion that failed is tried again at the next start.
    // True when the switch has reloaded the lists.
    bool FollowHeldEncryption();
    // Makes the file of the current form exist: a template when neither form exists (sealed when a
    // policy holds encryption on), after switching encryption off when the encrypted file is the
    // one missing and the switch is the user's.
    void EnsureFile(PatternSyntax syntax);
    // The file in its current form (or, when only the other form exists, in that form), decoded;
    // throws std::runtime_error with a UTF-8 message.
    std::wstring ReadText(PatternSyntax syntax) const;

    // Notes the file as it is on disk now (before it is read): the list loaded from it.
    void NoteLoaded(PatternSyntax syntax);
    // Notes how the read after NoteLoaded ended. A failed read leaves the file changed, so the
    // next check tries again (an editor or scanner may hold it for a moment); gives whether
    // this failure starts a streak of them.
    bool NoteReadFailed(PatternSyntax syntax);
    void NoteReadSucceeded(PatternSyntax syntax);
    // The syntaxes whose file changed on disk (its form, last-write time or size) since it was
    // noted, or whose last read failed: one attribute query per file, never a read.
    std::vector<PatternSyntax> ChangedSinceLoaded() const;

private:
    struct Stamp {
        bool encrypted = false;
        ULONGLONG written = 0;
        ULONGLONG size = 0;
        bool operator==(const Stamp&) const = default;
    };
    // The file ReadText would read, as it is now; none when neither form exists.
    std::optional<Stamp> StampNow(PatternSyntax syntax, bool encrypted) const;

    ListFilePairSpec spec_;
    const DataPaths& paths_;
    ListFileEncryption* encryption_ = nullptr;
    std::array<std::optional<Stamp>, 2> loaded_;  // by syntax
    std::array<bool, 2> readFailing_{};
    bool encryptionHeldOn_ = false;
};

}  // namespace veltrano
