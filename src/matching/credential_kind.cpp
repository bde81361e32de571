#include "matching/credential_kind.h"

namespace veltrano {

const wchar_t* CredentialKindName(CredentialKind kind) {
    switch (kind) {
        case CredentialKind::PrivateKey: return L"秘密鍵";
        case CredentialKind::PasswordHash: return L"パスワードハッシュ";
        case CredentialKind::CloudAccessKey: return L"クラウドのアクセスキー";
        case CredentialKind::ApiKey: return L"APIキー";
        case CredentialKind::StorageAccountKey: return L"ストレージのアカウントキー";
        case CredentialKind::CodeHostToken: return L"コード共有サービスのトークン";
        case CredentialKind::ChatToken: return L"チャットのトークン";
        case CredentialKind::ChatWebhook: return L"チャットのWebhook URL";
        case CredentialKind::PaymentKey: return L"決済サービスの秘密キー";
        case CredentialKind::RegistryToken: return L"パッケージレジストリのトークン";
        case CredentialKind::WebToken: return L"JSON Web Token";
        case CredentialKind::HttpAuthorization: return L"HTTP認証ヘッダー";
        case CredentialKind::UrlPassword: return L"URL内のパスワード";
        case CredentialKind::Password: return L"パスワード";
        case CredentialKind::Pin: return L"暗証番号";
        case CredentialKind::Passphrase: return L"合言葉";
        case CredentialKind::Secret: return L"シークレット";
    }
    return L"";
}

std::wstring CredentialDescription(const CredentialMatch& match) {
    std::wstring description = std::wstring(L"認証情報: ") + CredentialKindName(match.kind);
    if (!match.item.empty()) description += L"（項目 " + match.item + L"）";
    return description;
}

std::wstring CredentialShown(const CredentialMatch& match) {
    return match.shownPrefix + L"＊＊＊＊（" + std::to_wstring(match.hiddenLength) + L"文字）";
}

}  // namespace veltrano
