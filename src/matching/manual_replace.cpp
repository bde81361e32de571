#include "matching/manual_replace.h"

#include <optional>

#include "base/menu_label.h"
#include "regex/bounded_match.h"
#include "regex/large_stack.h"
#include "regex/match_stop_text.h"

namespace veltrano {
namespace {

// The shared accelerator rule, but after a space: the label itself may contain a tab, which
// would otherwise split the item into columns at the wrong place.
std::wstring SpacedAccelerator(size_t index) {
    std::wstring suffix = AcceleratorSuffix(index);
    if (!suffix.empty()) suffix.front() = L' ';
    return suffix;
}

void AppendItems(MenuEntries& menu, const ReplacementList& list, const wchar_t* prefix) {
    for (const ReplacementDefinition& definition : list) {
        const size_t index = menu.size();
        menu.push_back({BuildMenuLabel(prefix + definition.lineText, false) + SpacedAccelerator(index), index});
    }
}

}  // namespace

MenuEntries BuildManualReplaceMenu(const ReplacementDefinitions& definitions, bool useClipboardReplace) {
    if (!useClipboardReplace) return {{L"―― 置換機能無効設定中 ――", std::nullopt}};
    MenuEntries menu;
    AppendItems(menu, definitions.Manual(DefinitionKind::Wildcard), L"【ワ】");
    AppendItems(menu, definitions.Manual(DefinitionKind::Regex), L"【正】");
    if (menu.empty()) menu.push_back({L"―― 置換定義無し ――", std::nullopt});
    return menu;
}

const ReplacementDefinition* ManualReplace::DefinitionOf(size_t index) const {
    for (const DefinitionKind kind : kPatternSyntaxes) {
        const ReplacementList& list = definitions_.Manual(kind);
        if (index < list.size()) return &list[index];
        index -= list.size();
    }
    return nullptr;
}

void ManualReplace::Report(const std::wstring& body, const std::wstring& title, NotifyKind kind) {
    if (settings_.NotifyAfterManualReplace()) notifier_.Notify(body, title, kind);
}

bool ManualReplace::RunManualReplace(HWND owner, size_t index) {
    const ReplacementDefinition* definition = DefinitionOf(index);
    if (!definition) {
        Report(L"選択された手動置換定義の取得に失敗しました。", L"クリップボード手動置換定義取得失敗", NotifyKind::Error);
        return false;
    }

    // A private copy reads as no text: it is neither replaced nor shown nor logged.
    const std::optional<ClipboardText> read = reader_.Read(owner);
    if (!read) {
        const std::wstring message = L"クリップボードの文字列の取得に失敗しました。";
        Report(message, L"クリップボード手動置換失敗", NotifyKind::Error);
        log_.WriteLog(LogCategory::ManualReplace, L"クリップボード文字列取得失敗", message);
        return false;
    }
    const std::wstring& text = read->text;
    const std::wstring kindName = PatternSyntaxName(definition->kind);

    std::wstring result;
    try {
        // The same bounds as a clipboard update's keyword search: a user's pattern may not hang the menu.
        result = RunOnLargeStack([&] {
            MatchBudget budget(kSearchTimeBudget);
            return ApplyReplacement(text, *definition, budget);
        });
    } catch (const MatchAborted& stopped) {
        const std::wstring title = L"クリップボード手動置換中断";
        Report(std::wstring(L"次の理由で、手動置換を中断しました。クリップボードは変更していません。\n\n理由：") +
                   MatchStopReasonText(stopped.reason(), L"置換定義") + L"\nタイプ: " + kindName + L"\n置換定義行: " +
                   definition->lineText,
               title, NotifyKind::Error);
        log_.WriteLog(LogCategory::ManualReplace, title,
                      L"タイプ: " + kindName + L" / 置換定義行: " + definition->lineText + L" / 理由: " +
                          MatchStopReasonText(stopped.reason(), L"置換定義") + L" / クリップボード内容: " +
                          log_.Quote(text));
        return false;
    }

    const std::wstring detail = L"タイプ: " + kindName + L" / 置換定義行: " + definition->lineText +
                                L" / 置換パターン: " + definition->patternText + L" / 置換文字列: " +
                                definition->replacement + L" / 置換前: " + log_.Quote(text) + L" / 置換後: " +
                                log_.Quote(result);

    if (result == text) {
        const std::wstring title = L"クリップボード手動置換空振り";
        Report(L"手動置換の結果、元のクリップボードのテキストから変更箇所が有りません。\n\n\u3000タイプ: " + kindName +
                   L"\n\u3000置換定義行: " + definition->lineText + L"\n\u3000クリップボード内容: " + text,
               title, NotifyKind::Warning);
        log_.WriteLog(LogCategory::ManualReplace, title, detail);
        return false;
    }

    if (!writer_.Write(result, owner, read->historyUse)) {
        Report(L"クリップボードの更新に失敗しました。", L"クリップボード手動置換失敗", NotifyKind::Error);
        log_.WriteLog(LogCategory::ManualReplace, L"クリップボード更新失敗", detail);
        return false;
    }

    const std::wstring title = L"クリップボード手動置換実行";
    Report(L"置換前: " + text + L"\n置換後: " + result + L"\nタイプ: " + kindName + L"\n置換定義行: " +
               definition->lineText,
           title, NotifyKind::Info);
    log_.WriteLog(LogCategory::ManualReplace, title, detail);
    return true;
}

}  // namespace veltrano
