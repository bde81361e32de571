#include "stores/copy_texts.h"

#include <algorithm>
#include <cwctype>
#include <string>

#include "base/error_text.h"
#include "base/menu_label.h"
#include "base/text_encoding.h"
#include "base/unique_any.h"
#include "storage/file_system.h"
#include "storage/text_files.h"

namespace veltrano {
namespace {

constexpr int kOtherKeyRank = 1000;
constexpr std::wstring_view kPlaceholderStems = L"1234567890abcdefghijklmnopqrstuvwxyz";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr wchar_t kTextExtension[] = L".txt";
constexpr wchar_t kSealedExtension[] = L".bin";
constexpr wchar_t kLoadFailedTitle[] = L"コピーテキスト登録ファイルの暗号化＆読み込み等、初期化処理に失敗";
constexpr wchar_t kPlaceholderFailedTitle[] = L"コピーテキスト登録ファイルの作成に失敗";
constexpr wchar_t kConversionFailedTitle[] = L"テキストファイルの暗号ファイル変換に失敗";
constexpr wchar_t kDecryptFailedTitle[] = L"復号コマンドの失敗";
constexpr wchar_t kDecryptFileErrorTitle[] = L"復号コマンド中のエラー";

// The regular files of one folder with one extension; a failed listing keeps what it found.
struct FolderFiles {
    std::vector<std::wstring> names;
    bool complete = true;
    std::wstring errorText;
};

bool HasExtension(std::wstring_view name, std::wstring_view extension) {
    return name.size() > extension.size() && name.ends_with(extension);
}

FolderFiles FilesWithExtension(const std::wstring& folder, std::wstring_view extension) {
    std::vector<std::wstring> names;
    FolderFiles files;
    try {
        AppendFileNames(folder, names);
    } catch (...) {
        files.complete = false;
        files.errorText = CurrentErrorText();
    }
    for (std::wstring& name : names) {
        if (HasExtension(name, extension)) files.names.push_back(std::move(name));
    }
    return files;
}

std::wstring StemOf(const std::wstring& name, std::wstring_view extension) {
    return name.substr(0, name.size() - extension.size());
}

// Gone is the goal, so a file that is already missing counts as deleted.
bool Deleted(const std::wstring& path) {
    try {
        RemoveFile(path);
        return true;
    } catch (...) {
        return false;
    }
}

// Create-new, so an edit the user saved meanwhile is never overwritten.
void CreateEmptyTextFile(const std::wstring& path) {
    UniqueFileHandle file(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    DWORD written = 0;
    ::WriteFile(file.Get(), kUtf8Bom.data(), static_cast<DWORD>(kUtf8Bom.size()), &written, nullptr);
}

}  // namespace

int CopyTextKeyRank(std::wstring_view key) {
    if (key.size() != 1) return kOtherKeyRank;
    const wchar_t c = key[0];
    if (c >= L'1' && c <= L'9') return c - L'1';
    if (c == L'0') return 9;
    if (c >= L'a' && c <= L'z') return 10 + (c - L'a');
    if (c >= L'A' && c <= L'Z') return 10 + (c - L'A');
    return kOtherKeyRank;
}

std::wstring CopyTexts::FolderPath() const {
    return paths_.DataFolder(L"_copy");
}

bool CopyTexts::EnsureFolder(std::wstring& errorText) const {
    errorText.clear();
    const std::wstring folder = FolderPath();
    if (folder.empty()) return false;
    try {
        // FileExists first, for the text of an error the shared check would only answer with false.
        if (!FileExists(folder) && !CreateFolders(folder)) return false;
        return veltrano::EnsureFolder(folder);
    } catch (...) {
        // This one step names an error without a message differently from the others.
        errorText = CurrentErrorMessage().value_or(L"不明のエラー");
        return false;
    }
}

bool CopyTexts::CreatePlaceholders() const {
    const std::wstring folder = FolderPath();
    if (folder.empty()) return false;
    try {
        if (!FileExists(folder) && !CreateFolders(folder)) return false;
    } catch (...) {
        return false;
    }
    for (const wchar_t stem : kPlaceholderStems) {
        const std::wstring path = folder + L"\\" + stem + kTextExtension;
        try {
            if (!FileExists(path)) CreateEmptyTextFile(path);
        } catch (...) {
            // One unanswerable placeholder must not keep the others from being made.
            Log(kPlaceholderFailedTitle, L"file=" + path + L", error=" + CurrentErrorText());
        }
    }
    return true;
}

bool CopyTexts::EncryptAndReload() {
    try {
        return EncryptAndReloadFiles();
    } catch (...) {
        Log(kLoadFailedTitle, CurrentErrorText());
        return false;
    }
}

bool CopyTexts::EncryptAndReloadFiles() {
    entries_.clear();
    std::wstring errorText;
    if (!EnsureFolder(errorText)) {
        Log(kLoadFailedTitle, L"コピーテキスト登録フォルダの作成に失敗：" + errorText);
        return false;
    }
    const std::wstring folder = FolderPath();

    bool ok = true;
    if (!CreatePlaceholders()) {
        ok = false;
        Log(kPlaceholderFailedTitle, L"コピーテキスト登録用の英数字一文字ファイル名の中身が空のテキストファイルの作成に失敗しました。");
    }

    const FolderFiles textFiles = FilesWithExtension(folder, kTextExtension);
    if (!textFiles.complete) {
        ok = false;
        Log(L"コピーテキスト登録フォルダ内の「.txt」ファイルリストの取得に失敗", L"folder=" + folder);
    }
    for (const std::wstring& name : textFiles.names) ok = SealTextFile(folder, name) && ok;

    const FolderFiles sealedFiles = FilesWithExtension(folder, kSealedExtension);
    for (const std::wstring& name : sealedFiles.names) ok = LoadSealedFile(folder, name) && ok;
    if (!sealedFiles.complete) {
        ok = false;
        Log(L"コピーテキスト登録フォルダ内の「.bin」ファイルリストの取得に失敗", L"folder=" + folder);
    }

    std::stable_sort(entries_.begin(), entries_.end(), [](const CopyTextEntry& a, const CopyTextEntry& b) {
        const int rankA = CopyTextKeyRank(a.key);
        const int rankB = CopyTextKeyRank(b.key);
        return rankA != rankB ? rankA < rankB : a.key < b.key;
    });

    if (ok) {
        Log(L"コピーテキスト登録ファイルの暗号化＆読み込み等、初期化処理に成功",
            L"読み込み成功件数は「" + std::to_wstring(entries_.size()) +
                L"」です。読み込みに成功したファイルは、これより前のログの通りです。");
    } else {
        Log(kLoadFailedTitle, L"詳細は、これより前のログの通りです。");
    }
    return ok;
}

// The .bin is replaced atomically, so at every moment the text lives in the .txt or the .bin.
bool CopyTexts::SealTextFile(const std::wstring& folder, const std::wstring& name) {
    const std::wstring textPath = folder + L"\\" + name;
    const std::wstring binPath = folder + L"\\" + StemOf(name, kTextExtension) + kSealedExtension;

    std::string content;
    try {
        content = ReadUtf8TextFile(textPath);
        if (content.empty()) return true;
    } catch (...) {
        Log(kConversionFailedTitle, L"file=" + textPath + L", error=" + CurrentErrorText());
        return false;
    }

    try {
        WriteEncryptedFile(binPath, content);
    } catch (...) {
        Log(L"テキストファイル内容の暗号ファイルへの書き込みに失敗",
            L"file=" + binPath + L", error=" + CurrentErrorText());
        return false;
    }

    if (!Deleted(textPath)) {
        Log(L"暗号化に成功し不要になった変換元テキストファイルの削除に失敗", L"file=" + textPath);
        return false;
    }
    return true;
}

bool CopyTexts::LoadSealedFile(const std::wstring& folder, const std::wstring& name) {
    const std::wstring path = folder + L"\\" + name;
    const wchar_t* failure = L"暗号ファイルの読み込みに失敗";
    try {
        const std::string bytes = ReadEncryptedFile(path);
        if (bytes.empty()) return true;
        failure = L"UTF-8 から UTF-16 への変換に失敗";
        entries_.push_back({Utf8ToWide(bytes), path, StemOf(name, kSealedExtension)});
    } catch (...) {
        Log(failure, L"file=" + path + L", error=" + CurrentErrorText());
        return false;
    }
    Log(L"暗号ファイルの読み込みに成功", L"file=" + path);
    return true;
}

void CopyTexts::EncryptAndReloadCommand() {
    if (EncryptAndReload()) {
        NotifyUser(L"全てのコピーテキスト登録ファイルの暗号化＆再読み込みに成功しました。", L"成功", NotifyKind::Info);
    } else {
        NotifyUser(L"コピーテキスト登録ファイルの暗号化＆再読み込みに失敗しました。\n詳細はログを確認して下さい。", L"失敗",
                   NotifyKind::Error);
    }
}

void CopyTexts::Decrypt() {
    try {
        DecryptFiles();
    } catch (...) {
        Log(kDecryptFailedTitle, CurrentErrorText());
        NotifyUser(L"復号処理中にエラーが発生しました。", L"復号失敗", NotifyKind::Error);
    }
}

void CopyTexts::DecryptFiles() {
    const std::wstring folder = FolderPath();
    if (folder.empty()) {
        const std::wstring message = L"コピー文字列登録フォルダの取得に失敗しました。";
        Log(kDecryptFailedTitle, message);
        NotifyUser(message, L"復号失敗", NotifyKind::Error);
        return;
    }

    const FolderFiles sealedFiles = FilesWithExtension(folder, kSealedExtension);
    bool ok = true;
    for (const std::wstring& name : sealedFiles.names) ok = DecryptFile(folder, name) && ok;
    if (!sealedFiles.complete) {
        Log(kDecryptFailedTitle, L"復号処理中にディレクトリアクセス失敗：" + sealedFiles.errorText);
        NotifyUser(L"復号処理中にエラーが発生しました。", L"復号失敗", NotifyKind::Error);
        return;
    }

    // A file that failed still counts.
    const std::wstring count = std::to_wstring(sealedFiles.names.size());
    if (sealedFiles.names.empty()) {
        const std::wstring message = L"復号対象の暗号ファイル（.bin）が存在しません。";
        Log(L"復号コマンドの結果", message);
        NotifyUser(message, L"復号対象ファイル無し", NotifyKind::Info);
    } else if (ok) {
        Log(L"復号コマンドの成功", L"全ての暗号ファイルの復号に成功しました。復号成功件数は「" + count +
                                       L"」です。復号成功ファイルはこれより前の「復号コマンド中の復号成功ファイル」の通りです。");
        NotifyUser(L"全ての暗号ファイルの復号に成功しました。復号成功件数=" + count, L"復号成功", NotifyKind::Info);
    } else {
        Log(L"復号コマンドの一部失敗",
            L"一部の暗号ファイルの復号に失敗しました。詳細はこれより前の「復号コマンド中のエラー」の通りです。");
        NotifyUser(L"一部の暗号ファイルの復号に失敗しました。\n詳細はログを確認してください。", L"復号一部失敗",
                   NotifyKind::Warning);
    }
}

bool CopyTexts::DecryptFile(const std::wstring& folder, const std::wstring& name) {
    const std::wstring binPath = folder + L"\\" + name;
    const std::wstring textPath = folder + L"\\" + StemOf(name, kSealedExtension) + kTextExtension;
    try {
        WriteUtf8TextFile(textPath, ReadEncryptedFile(binPath));
        const bool removed = RemoveFile(binPath);
        if (!removed) Log(kDecryptFileErrorTitle, L"暗号ファイル削除失敗：file=" + binPath);
        Log(L"復号コマンド中の復号成功ファイル", L"暗号ファイル復号成功：src=" + binPath + L", dst=" + textPath);
        return removed;
    } catch (...) {
        Log(kDecryptFileErrorTitle, L"暗号ファイルの復号に失敗：file=" + binPath + L", error=" + CurrentErrorText());
        return false;
    }
}

MenuEntries BuildCopyTextMenu(const std::vector<CopyTextEntry>& entries, size_t maxItems) {
    if (entries.empty()) return {{L"―― 登録無し ――", std::nullopt}};
    MenuEntries menu;
    const size_t count = std::min(entries.size(), maxItems);
    for (size_t i = 0; i < count; ++i) {
        const CopyTextEntry& entry = entries[i];
        std::wstring label = BuildMenuLabel(entry.text, true);
        if (CopyTextKeyRank(entry.key) != kOtherKeyRank) {
            label += L"\t(&";
            label += static_cast<wchar_t>(std::towlower(entry.key[0]));
            label += L")";
        }
        menu.push_back({std::move(label), i});
    }
    return menu;
}

void CopyTexts::Choose(HWND owner, size_t index) {
    if (index >= entries_.size()) return;
    bool written = false;
    try {
        written = clipboard_.Write(entries_[index].text, owner, HistoryUse::Allowed);
    } catch (...) {
        // Reported below like any other failed write.
    }
    if (!written) NotifyUser(L"クリップボードの更新に失敗しました。", L"エラー", NotifyKind::Error);
}

void CopyTexts::Log(std::wstring_view title, std::wstring_view message) const {
    log_.WriteLog(LogCategory::ClipboardFavorites, title, message);
}

// NotifyUtf8 never throws: a notification that cannot be shown falls back to a plain box.
void CopyTexts::NotifyUser(const std::wstring& body, const std::wstring& title, NotifyKind kind) {
    notifier_.NotifyUtf8(WideToUtf8(body), WideToUtf8(title), kind);
}

}  // namespace veltrano
