#pragma once
// The kinds of credential the built-in detectors know, in two families: formats whose value says
// what it is, and secrets given to a name that says so.
#include <string>

namespace veltrano {

enum class CredentialFamily { Formats, LabelledSecrets };

enum class CredentialKind {
    PrivateKey,
    PasswordHash,
    CloudAccessKey,
    ApiKey,
    StorageAccountKey,
    CodeHostToken,
    ChatToken,
    ChatWebhook,
    PaymentKey,
    RegistryToken,
    WebToken,
    HttpAuthorization,
    UrlPassword,
    Password,
    Pin,
    Passphrase,
    Secret,
};

// The kind as a warning names it: "秘密鍵".
const wchar_t* CredentialKindName(CredentialKind kind);

// A credential found: the span holds the secret and what a warning may show of it.
struct CredentialMatch {
    CredentialKind kind;
    size_t position;  // of the whole match, its label or prefix included
    size_t length;
    // The published prefix or the name the value was given ("ghp_", "DB_PASSWORD="), never a
    // character of the secret; followed in the warning by a mask and the hidden length.
    std::wstring shownPrefix;
    size_t hiddenLength = 0;  // characters of the secret, as the user counts them
    std::wstring item;        // the name a labelled secret was given ("DB_PASSWORD"), else empty
};

// "認証情報: パスワード（項目 DB_PASSWORD）".
std::wstring CredentialDescription(const CredentialMatch& match);
// "DB_PASSWORD=＊＊＊＊（12文字）": what may stand for the matched text anywhere.
std::wstring CredentialShown(const CredentialMatch& match);

}  // namespace veltrano
