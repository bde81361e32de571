// The templates an administrator imports into Group Policy or Intune write exactly the values
// the settings read: key, value name, type and range, read with the system's XML parser.
#include <windows.h>
#include <msxml2.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

#include "base/com_apartment.h"
#include "base/com_ptr.h"
#include "base/text_encoding.h"
#include "settings/setting_keys.h"
#include "settingsdialog/setting_controls.h"
#include "storage/text_files.h"
#include "support/host_paths.h"

namespace veltrano {
namespace {

// MinGW declares it but no library defines it.
constexpr IID kXmlDocument2Id = {0x2933bf95, 0x7b36, 0x11d2, {0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98, 0x3e, 0x60}};

using AnyPolicySetting = std::variant<const BoolSetting*, const IntSetting*, const TextSetting*>;

// The keys an organisation sets, each a policy named after its key.
const AnyPolicySetting kPolicySettings[] = {
    &setting::kDetectPaymentCard, &setting::kDetectPaymentCardNeedsLabel, &setting::kDetectMyNumber,
    &setting::kDetectMyNumberNeedsLabel, &setting::kDetectCorporateNumber, &setting::kDetectCorporateNumberNeedsLabel,
    &setting::kDetectPassportNumber, &setting::kDetectDriverLicenseNumber, &setting::kDetectResidenceCardNumber,
    &setting::kDetectBasicPensionNumber, &setting::kDetectBankAccountNumber, &setting::kDetectCredentials, &setting::kDetectPasswordAssignments, &setting::kMaskDetectedNumbers,
    &setting::kClearDetectedClipboardSeconds, &setting::kShowSourceApplication,
    &setting::kIgnoredApplications, &setting::kRespectPrivateCopies, &setting::kAllowExit, &setting::kNotifyMode, &setting::kUseLog,
    &setting::kLogMaskSecrets, &setting::kUseEventLog, &setting::kUseClipboardHistory, &setting::kClipboardHistoryMaxCount,
    &setting::kUseClipboardReplace, &setting::kInitialAutoReplaceEnable, &setting::kOrganizationKeywordFolder,
};

// A row of the Readme's key table as the program reads the key: section, key, default, range.
std::vector<std::wstring> ManualRow(const BoolSetting* s) {
    return {s->section, s->key, s->fallback ? L"1" : L"0", L"0～1"};
}
std::vector<std::wstring> ManualRow(const IntSetting* s) {
    // An end the number type sets is no limit and is left out.
    const auto end = [](int value, int limit) { return value == limit ? std::wstring() : std::to_wstring(value); };
    const bool unlimited = s->low == INT_MIN && s->high == INT_MAX;
    return {s->section, s->key, std::to_wstring(s->fallback),
            unlimited ? L"制限なし" : end(s->low, INT_MIN) + L"～" + end(s->high, INT_MAX)};
}
std::vector<std::wstring> ManualRow(const TextSetting* s) {
    return {s->section, s->key, *s->fallback ? s->fallback : L"（空）", L"文字列"};
}

class PolicyTemplates : public ::testing::Test {
protected:
    using Node = ComPtr<IXMLDOMNode>;

    static ComPtr<IXMLDOMDocument2> Load(const std::wstring& relativePath) {
        CLSID document{};
        EXPECT_EQ(::CLSIDFromProgID(L"Msxml2.DOMDocument.6.0", &document), S_OK);
        ComPtr<IXMLDOMDocument2> xml;
        EXPECT_EQ(::CoCreateInstance(document, nullptr, CLSCTX_INPROC_SERVER, kXmlDocument2Id, xml.PutVoid()), S_OK);
        if (!xml) return xml;
        xml->put_async(VARIANT_FALSE);
        VARIANT path{};
        path.vt = VT_BSTR;
        path.bstrVal = ::SysAllocString((test::SourcePath("resources/policy/") + relativePath).c_str());
        VARIANT_BOOL loaded = VARIANT_FALSE;
        xml->load(path, &loaded);
        ::VariantClear(&path);
        EXPECT_EQ(loaded, VARIANT_TRUE) << "cannot parse " << relativePath.size();
        VARIANT space{};
        space.vt = VT_BSTR;
        space.bstrVal = ::SysAllocString(L"xmlns:p='http://schemas.microsoft.com/GroupPolicy/2006/07/PolicyDefinitions'");
        xml->setProperty(const_cast<BSTR>(L"SelectionNamespaces"), space);
        ::VariantClear(&space);
        return xml;
    }

    template <typename Parent>
    static std::vector<Node> Select(const Parent& parent, const std::wstring& xpath) {
        std::vector<Node> nodes;
        ComPtr<IXMLDOMNodeList> list;
        BSTR query = ::SysAllocString(xpath.c_str());
        parent->selectNodes(query, list.Put());
        ::SysFreeString(query);
        long length = 0;
        if (list) list->get_length(&length);
        for (long i = 0; i < length; ++i) {
            Node node;
            list->get_item(i, node.Put());
            nodes.push_back(std::move(node));
        }
        return nodes;
    }

    // The text of the one node `xpath` selects below `parent`, or "(none)".
    template <typename Parent>
    static std::wstring Value(const Parent& parent, const std::wstring& xpath) {
        const std::vector<Node> nodes = Select(parent, xpath);
        if (nodes.size() != 1) return L"(" + std::to_wstring(nodes.size()) + L" nodes)";
        BSTR text = nullptr;
        nodes[0]->get_text(&text);
        std::wstring value = text ? text : L"";
        ::SysFreeString(text);
        return value;
    }

    ComApartment apartment{COINIT_APARTMENTTHREADED};
    ComPtr<IXMLDOMDocument2> admx = Load(L"Veltrano.admx");
};

TEST_F(PolicyTemplates, EveryPolicyWritesTheValueItsSettingReads) {
    ASSERT_TRUE(admx);
    EXPECT_EQ(Select(admx, L"//p:policy").size(), std::size(kPolicySettings));
    for (const AnyPolicySetting& held : kPolicySettings) {
        const auto [section, key] = std::visit([](const auto* s) { return std::pair{s->section, s->key}; }, held);
        const std::vector<Node> policies = Select(admx, L"//p:policy[@name='" + std::wstring(key) + L"']");
        ASSERT_EQ(policies.size(), 1u) << "no policy for " << testing::PrintToString(std::wstring(key));
        const Node& policy = policies[0];
        SCOPED_TRACE(testing::PrintToString(std::wstring(key)));
        EXPECT_EQ(Value(policy, L"@class"), L"Both");
        EXPECT_EQ(Value(policy, L"@key"), std::wstring(L"SOFTWARE\\Policies\\Veltrano\\") + section);
        if (std::holds_alternative<const BoolSetting*>(held)) {
            EXPECT_EQ(Value(policy, L"@valueName"), key);
            EXPECT_EQ(Value(policy, L"p:enabledValue/p:decimal/@value"), L"1");
            EXPECT_EQ(Value(policy, L"p:disabledValue/p:decimal/@value"), L"0");
        } else if (const auto* number = std::get_if<const IntSetting*>(&held)) {
            const std::wstring element = L"p:elements/*[@valueName='" + std::wstring(key) + L"']";
            if (Select(policy, element + L"/self::p:decimal").size() == 1) {
                EXPECT_EQ(Value(policy, element + L"/@minValue"), std::to_wstring((*number)->low));
                EXPECT_EQ(Value(policy, element + L"/@maxValue"), std::to_wstring((*number)->high));
            } else {
                const std::vector<Node> values = Select(policy, element + L"/self::p:enum/p:item/p:value/p:decimal");
                EXPECT_FALSE(values.empty()) << "a number is a decimal or an enum";
                for (const Node& value : values) {
                    const int chosen = std::stoi(Value(value, L"@value"));
                    EXPECT_TRUE(chosen >= (*number)->low && chosen <= (*number)->high) << chosen;
                }
            }
        } else {
            const std::wstring element = L"p:elements/p:text[@valueName='" + std::wstring(key) + L"']";
            EXPECT_EQ(Select(policy, element).size(), 1u) << "a text is a REG_SZ text element";
            EXPECT_EQ(Select(policy, element + L"[@expandable='true']").size(), 0u);
        }
    }
}

TEST_F(PolicyTemplates, EveryStringAndPresentationExistsInBothLanguages) {
    ASSERT_TRUE(admx);
    for (const wchar_t* language : {L"ja-JP/Veltrano.adml", L"en-US/Veltrano.adml"}) {
        const ComPtr<IXMLDOMDocument2> adml = Load(language);
        ASSERT_TRUE(adml);
        SCOPED_TRACE(testing::PrintToString(std::wstring(language)));
        for (const Node& reference : Select(admx, L"//@*[starts-with(., '$(string.')]")) {
            BSTR text = nullptr;
            reference->get_text(&text);
            const std::wstring id = std::wstring(text).substr(9, ::SysStringLen(text) - 10);
            ::SysFreeString(text);
            EXPECT_EQ(Select(adml, L"//p:stringTable/p:string[@id='" + id + L"']").size(), 1u) << testing::PrintToString(id);
        }
        for (const Node& policy : Select(admx, L"//p:policy[@presentation]")) {
            const std::wstring name = Value(policy, L"@name");
            const std::vector<Node> controls =
                Select(adml, L"//p:presentationTable/p:presentation[@id='" + name + L"']/*[@refId]");
            ASSERT_EQ(controls.size(), 1u) << testing::PrintToString(name);
            EXPECT_EQ(Value(controls[0], L"@refId"), Value(policy, L"p:elements/*/@id"));
            // The editor starts an enabled number at its defaultValue, else at 1.
            if (!Select(controls[0], L"self::p:decimalTextBox").empty()) {
                const auto held = std::ranges::find_if(kPolicySettings, [&](const AnyPolicySetting& s) {
                    return std::holds_alternative<const IntSetting*>(s) && std::get<const IntSetting*>(s)->key == name;
                });
                ASSERT_NE(held, std::end(kPolicySettings)) << testing::PrintToString(name);
                EXPECT_EQ(Value(controls[0], L"@defaultValue"), std::to_wstring(std::get<const IntSetting*>(*held)->fallback));
            }
        }
    }
}

// The manual's table lists every key once as the program reads it, naming a page exactly where one shows it.
TEST_F(PolicyTemplates, ReadmeTableListsEverySettingAsTheProgramReadsIt) {
    std::wistringstream lines(Utf8ToWide(ReadUtf8TextFile(test::SourcePath("resources/Readme.txt"))));
    std::map<std::wstring, std::vector<std::wstring>> rows;
    bool inTable = false;
    for (std::wstring line; std::getline(lines, line);) {
        if (line.ends_with(L'\r')) line.pop_back();
        if (inTable && line.empty()) break;
        if (inTable) {
            std::wistringstream fields(line);
            std::vector<std::wstring> row{std::istream_iterator<std::wstring, wchar_t>(fields), {}};
            ASSERT_EQ(row.size(), 5u) << testing::PrintToString(line);
            EXPECT_TRUE(rows.emplace(row[1], row).second) << "twice: " << testing::PrintToString(row[1]);
        }
        inTable = inTable || line.starts_with(L"  セクション");
    }
    EXPECT_EQ(rows.size(), std::size(kAllSettings));
    for (const AnySettingKey& held : kAllSettings) {
        const std::vector<std::wstring> expected = std::visit([](const auto* s) { return ManualRow(s); }, held);
        const auto row = rows.find(expected[1]);
        if (row == rows.end()) {
            ADD_FAILURE() << "missing: " << testing::PrintToString(expected[1]);
            continue;
        }
        const bool shown = std::ranges::any_of(SettingControls(), [&](const SettingControl& c) { return c.setting == held; });
        EXPECT_EQ(row->second.back() != L"なし", shown) << testing::PrintToString(expected[1]);
        row->second.pop_back();
        EXPECT_EQ(row->second, expected);
    }
}

}  // namespace
}  // namespace veltrano
