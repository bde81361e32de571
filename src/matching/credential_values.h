#pragma once
// What makes a value a secret and not a stand-in for one: the rules both credential families
// apply to what follows a label or a URL's user name.
#include <string_view>

namespace veltrano {

// A run of one mask character ("xxxxxxxx", "********", "0000") or of mask characters only
// ("xxxx-xxxx", "●●●●", "***"): what documentation writes in place of a secret.
bool IsMaskRun(std::wstring_view value);

// A stand-in for a secret: empty, a mask, a template or variable ("<password>", "${DB_PASS}",
// "%PASSWORD%", "{{ pass }}", "$TOKEN"), a word used for none ("password", "changeme",
// "your_password", "null"), an encrypted or vault reference ("ENC(…)", "!vault"), or a
// "sent separately" note ("(別送)", "別途").
bool IsPlaceholderValue(std::wstring_view value);

// Whether RFC 4648 base64 `encoded` decodes to bytes holding ":" ("user:password").
bool Base64HoldsColon(std::wstring_view encoded);

// Mixes digits and letters: a generated token, not a name ("YOUR_ACCESS_TOKEN",
// "token-goes-here").
bool LooksRandom(std::wstring_view token);

}  // namespace veltrano
