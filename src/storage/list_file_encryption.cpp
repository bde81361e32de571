#include "storage/list_file_encryption.h"

#include <stdexcept>

#include "base/text_encoding.h"
#include "storage/file_system.h"
#include "storage/text_files.h"

namespace veltrano {
namespace {

// File failures name their file after a colon and a space, like the file operations' own.
[[noreturn]] void Fail(const std::wstring& message, const std::wstring& path) {
    throw std::runtime_error(WideToUtf8(message + L": " + path));
}

// Some errors leave the path out ("CryptUnprotectData failed"); with two files the user must
// learn which one failed.
std::string NamingTheFile(std::string reason, const ListFile& file, bool encrypt) {
    const auto names = [&](const std::wstring& path) { return reason.find(WideToUtf8(path)) != std::string::npos; };
    if (!names(file.textPath) && !names(file.encryptedPath)) {
        reason += ": " + WideToUtf8(encrypt ? file.textPath : file.encryptedPath);
    }
    return reason;
}

}  // namespace

void ListFileEncryption::Set(bool enable) {
    if (enable == family_.readSetting()) return;
    // Stored before any file is touched, so a loader that meets a missing encrypted file later
    // sees the form the files are really in; unstored, nothing may change.
    if (!family_.writeSetting(enable)) {
        Report(UnstoredSetting(enable));
        return;
    }

    const std::vector<ListFile> files = family_.files();
    Conversion conversion = ConvertEach(enable, files);
    std::vector<Failure>& failures = conversion.failures;
    if (failures.empty()) {
        family_.reload();
        ReportSwitched(enable);
        return;
    }

    if (enable) {
        // Back to plain text: only the files this call encrypted are decrypted again.
        if (family_.writeSetting(false)) {
            const std::vector<Failure> rollback = ConvertEach(false, conversion.converted).failures;
            failures.insert(failures.begin(), rollback.begin(), rollback.end());
        } else {
            failures.push_back(UnstoredSetting(false));
        }
    }
    for (const ListFile& file : files) file.ensureExists();
    for (const Failure& failure : failures) Report(failure);
}

bool ListFileEncryption::SealPlainFiles() {
    std::vector<ListFile> plain;
    std::vector<Failure> failures;
    for (const ListFile& file : family_.files()) {
        try {
            if (FileExists(file.textPath) && !FileExists(file.encryptedPath)) plain.push_back(file);
        } catch (const std::exception& error) {
            failures.push_back({true, error.what()});
        }
    }
    if (plain.empty() && failures.empty()) return false;
    const Conversion conversion = ConvertEach(true, plain);
    failures.insert(failures.end(), conversion.failures.begin(), conversion.failures.end());
    if (!conversion.converted.empty()) family_.reload();
    if (failures.empty()) ReportSwitched(true);
    for (const Failure& failure : failures) Report(failure);
    return !conversion.converted.empty();
}

ListFileEncryption::Conversion ListFileEncryption::ConvertEach(bool encrypt, const std::vector<ListFile>& files) {
    Conversion conversion;
    for (const ListFile& file : files) {
        try {
            Convert(encrypt, file);
            conversion.converted.push_back(file);
        } catch (const std::exception& error) {
            conversion.failures.push_back({encrypt, NamingTheFile(error.what(), file, encrypt)});
        } catch (...) {
            conversion.failures.push_back({encrypt, ""});
        }
    }
    return conversion;
}

ListFileEncryption::Failure ListFileEncryption::UnstoredSetting(bool encrypting) const {
    return {encrypting, "Failed to write settings file: " + WideToUtf8(family_.settingsFile)};
}

void ListFileEncryption::ReportSwitched(bool enabled) {
    notifier_.Notify(family_.name + L"暗号化：" + (enabled ? L"有効" : L"無効"), L"設定変更",
                     enabled ? NotifyKind::Info : NotifyKind::Warning);
}

void ListFileEncryption::Report(const Failure& failure) {
    const std::wstring action = failure.encrypting ? L"暗号化" : L"平文化";
    if (failure.reason.empty()) {
        notifier_.Notify(family_.name + L"の" + action + L"に失敗しました。", L"エラー", NotifyKind::Error);
        return;
    }
    notifier_.NotifyUtf8(WideToUtf8(L"次の理由で" + family_.name + L"の" + action + L"に失敗しました。\n\n理由：") +
                             failure.reason,
                         WideToUtf8(L"エラー"), NotifyKind::Error);
}

void ListFileEncryption::Convert(bool encrypt, const ListFile& file) {
    const std::wstring& source = encrypt ? file.textPath : file.encryptedPath;
    const std::wstring& target = encrypt ? file.encryptedPath : file.textPath;

    if (!FileExists(source)) Fail(family_.name + L"が見つかりません。", source);
    if (FileExists(target)) {
        const std::wstring blocked = L"変換後ファイルと同名のファイルが存在する為、" + family_.name + L"を変換出来ません。";
        if (!question_.Ask(blocked + L"\n変換後ファイルと同名のファイルを削除してよろしいですか？",
                           L"同名ファイル削除の確認 - Veltrano")) {
            Fail(blocked, target);
        }
        RemoveFile(target);
        if (FileExists(target)) {
            Fail(L"変換後ファイルと同名のファイルの削除に失敗しました。\n" + family_.name + L"を変換出来ません。", target);
        }
    }

    if (encrypt) {
        WriteEncryptedFile(target, ReadUtf8TextFile(source));
    } else {
        WriteUtf8TextFile(target, ReadEncryptedFile(source));
    }
    // Only once the target holds the content.
    RemoveFile(source);
}

}  // namespace veltrano
