#include "storage/list_file_encryption.h"

#include <stdexcept>

#include "storage/file_system.h"
#include "storage/text_encoding.h"
#include "storage/text_files.h"

namespace veltrano {
namespace {

[[noreturn]] void Fail(const std::wstring& message) {
    throw std::runtime_error(WideToUtf8(message));
}

}  // namespace

void ListFileEncryption::Set(bool enable) {
    if (enable == family_.readSetting()) return;
    // Written first: a loader that re-enters through a missing encrypted file must see it off.
    family_.writeSetting(enable);

    const std::wstring action = enable ? L"暗号化" : L"平文化";
    try {
        for (const ListFile& file : family_.files()) ConvertListFile(enable, file);
        family_.reload();
        notifier_.Notify(family_.name + L"暗号化：" + (enable ? L"有効" : L"無効"), L"設定変更",
                         enable ? NotifyKind::Info : NotifyKind::Warning);
    } catch (const std::exception& error) {
        notifier_.NotifyUtf8(WideToUtf8(L"次の理由で" + family_.name + L"の" + action + L"に失敗しました。\n\n理由：") +
                                 error.what(),
                             WideToUtf8(L"エラー"), NotifyKind::Error);
    } catch (...) {
        notifier_.Notify(family_.name + L"の" + action + L"に失敗しました。", L"エラー", NotifyKind::Error);
    }
}

void ListFileEncryption::ConvertListFile(bool encrypt, const ListFile& file) {
    try {
        Convert(encrypt, file);
    } catch (...) {
        Set(false);
        file.ensureExists();
        throw;
    }
}

void ListFileEncryption::Convert(bool encrypt, const ListFile& file) {
    const std::wstring& source = encrypt ? file.textPath : file.encryptedPath;
    const std::wstring& target = encrypt ? file.encryptedPath : file.textPath;

    if (!FileExists(source)) Fail(family_.name + L"が見つかりません。");
    if (FileExists(target)) {
        const std::wstring blocked = L"変換後ファイルと同名のファイルが存在する為、" + family_.name + L"を変換出来ません。";
        if (!question_.Ask(blocked + L"\n変換後ファイルと同名のファイルを削除してよろしいですか？",
                           L"同名ファイル削除の確認 - Veltrano")) {
            Fail(blocked);
        }
        RemoveFile(target);
        if (FileExists(target)) {
            Fail(L"変換後ファイルと同名のファイルの削除に失敗しました。\n" + family_.name + L"を変換出来ません。");
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
