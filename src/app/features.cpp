#include "app/features.h"

#include <algorithm>
#include <utility>

#include "app/shell_open.h"
#include "app/tray_assignments.h"
#include "base/error_text.h"
#include "base/text_encoding.h"
#include "log/failure_report.h"
#include "settingsdialog/settings_sheet.h"
#include "storage/file_system.h"
#include "version.h"

namespace veltrano {
namespace {

constexpr wchar_t kFirstStartNotice[] =
    L"Veltrano がクリップボードの監視を始めました。カード番号とマイナンバーを検出します。設定はトレイアイコンの右クリックから。";

const wchar_t* StopReasonText(StopReason reason) {
    switch (reason) {
        case StopReason::User: return L"ユーザーが終了しました";
        case StopReason::SessionEnd: return L"Windows のセッションが終わりました";
        case StopReason::Installer: return L"インストーラーが終了を求めました";
        case StopReason::Error: return L"エラーのため終了しました";
    }
    return L"";
}

}  // namespace

Features::Features(HINSTANCE instance, DataPaths paths, SpeechStart speech,
                   OrganizationFolderAccess organizationAccess, std::function<void(TrayButton)> runTrayClick)
    : instance(instance),
      paths(std::move(paths)),
      speech(std::move(speech)),
      settings(this->paths.SettingsFile()),
      log(settings, this->paths, clock),
      notifier(settings, log),
      textWindow(instance, settings, showableClipboard, moveQuestion,
                 {.runClick = std::move(runTrayClick),
                  .stopSpeech = [this] { notifier.StopSpeech(); },
                  .reportError = [this] { ReportUnexpectedError(); }}),
      history(settings, this->paths, notifier, log, clock, clipboard),
      copyTexts(this->paths, notifier, log, clipboard),
      keywordLists(settings, this->paths, notifier, log),
      keywordEncryption(keywordLists.Family(), notifier, question),
      organizationKeywords(settings, this->paths, log),
      keywordSearch(keywordLists, settings, notifier, log, &organizationKeywords),
      replacements(settings, this->paths, notifier, log),
      replaceEncryption(replacements.Family(), notifier, question),
      manualReplace(settings, replacements, showableClipboard, clipboard, notifier, log),
      autoReplaceGuard(settings, monotonicClock, question),
      autoReplace(settings, replacements, autoReplaceGuard, clipboard, notifier, log),
      clearing(settings, log),
      pipeline({settings, trayIcon, textWindow, history, autoReplace, keywordSearch, clearing, notifier, log}) {
    settings.Policy().SetIgnoredReporter([this](const IgnoredPolicyValue& ignored) {
        log.WriteLog(LogCategory::Other, L"ポリシー値の無視",
                     L"ポリシー値 " + ignored.value + L" を使いません。理由：" + ignored.reason);
        log.ReportEvent(EventId::PolicyValueIgnored, {ignored.value, ignored.reason});
    });
    keywordLists.AttachEncryption(keywordEncryption);
    replacements.AttachEncryption(replaceEncryption);
    organizationKeywords.SetFolderAccess(std::move(organizationAccess));
}

void Features::Start(HWND window, bool firstStart, UINT workDone) {
    notifier.AttachWindow(window);
    if (speech.player) {
        notifier.AttachSpeech(speech.player);
    } else {
        log.WriteLog(LogCategory::Other, L"音声読み上げ", L"音声読み上げは使えません。理由：" + speech.failure);
    }
    if (firstStart && !settings.FirstStartNoticeShown()) {
        notifier.ShowBalloon(kFirstStartNotice, L"Veltrano", NotifyKind::Info);
        settings.Write(setting::kFirstStartNoticeShown, true);
    }
    FixTrayAssignments(settings, notifier, log);
    keywordLists.Reload();
    organizationKeywords.Start();
    // A policy may hold their encryption on while replacement is not in use: sealed all the same.
    if (!replacements.Files().FollowHeldEncryption() && settings.UseClipboardReplace()) replacements.Reload();
    pipeline.SetAutoReplaceEnabled(settings.InitialAutoReplaceEnable());
    // Read and written on workers: neither a full history nor a giant copy's sealing may keep the
    // clipboard listener or a warning box waiting.
    const auto postWorkDone = [window, workDone] { ::PostMessageW(window, workDone, 0, 0); };
    history.SetLoadedHandler(postWorkDone);
    history.SetWrittenHandler(postWorkDone);
    history.Load();
    copyTexts.EncryptAndReload();  // quietly: its log tells what happened
    if (settings.UseClipboardTextWindow()) textWindow.ShowTextWindow(window);
    clearing.AttachWindow(window);
    guarding_ = true;
    ReportStarted();
}

void Features::ReportStarted() {
    const size_t held = std::ranges::count_if(kAllSettings, [&](const AnySettingKey& key) {
        return std::visit([&](const auto* setting) { return settings.HeldByPolicy(*setting); }, key);
    });
    const std::wstring detectors = DetectorNames(SwitchedOnDetectors(settings));
    const std::wstring folder = settings.OrganizationKeywordFolder();
    log.ReportEvent(EventId::Started, {L"" VELTRANO_VERSION, paths.dataFolder, detectors.empty() ? L"なし" : detectors,
                                       std::to_wstring(held), folder.empty() ? L"なし" : folder});
}

void Features::Stop(StopReason reason) {
    clearing.Cancel();
    history.Close();
    trayIcon.Remove();
    if (std::exchange(guarding_, false)) log.ReportEvent(EventId::Stopped, {StopReasonText(reason)});
}

void Features::OpenListFile(ListFileEncryption& encryption, ListFilePair& files, PatternSyntax syntax) {
    // The editor gets the text form: an encrypted family is turned back into text first, unless
    // the organisation keeps it sealed (a list still plain there opens as it is).
    const bool sealedByPolicy = files.Encrypted() && files.EncryptionHeld();
    if (files.Encrypted() && !sealedByPolicy) {
        encryption.Set(false);
        files.EnsureFile(syntax);
    }
    const std::wstring textPath = files.Path(syntax, false);
    try {
        if (!FileExists(textPath)) {
            if (sealedByPolicy) {
                notifier.Notify(L"組織のポリシーで暗号化が指定されているため、このファイルは編集できません。", L"エラー",
                                NotifyKind::Error);
            }
            return;
        }
    } catch (const std::runtime_error& error) {
        // Whether it exists cannot be told: nothing is opened, and the user learns why.
        notifier.NotifyUtf8(error.what(), WideToUtf8(L"エラー"), NotifyKind::Error);
        return;
    }
    OpenWithShell(textPath);
}

void Features::OpenSettingsSheet(HWND owner) {
    SettingsContext context{.instance = instance,
                            .owner = owner,
                            .settings = settings,
                            .notifier = notifier,
                            .keywordEncryption = keywordEncryption,
                            .replaceEncryption = replaceEncryption,
                            .replacements = replacements,
                            .history = history,
                            .textWindow = textWindow,
                            .voiceNames = speech.player ? speech.player->VoiceNames() : std::vector<std::wstring>{}};
    OpenSettings(context);
}

void Features::ReportUnexpectedError() {
    ReportFailure(log, notifier, {LogCategory::Other, L"エラー", L""}, CurrentErrorText());
}

}  // namespace veltrano
