#include "matching/organization_keywords.h"

#include <windows.h>

#include <condition_variable>
#include <mutex>
#include <nlohmann/json.hpp>
#include <stdexcept>

#include "base/detached_thread.h"
#include "base/error_text.h"
#include "base/text_encoding.h"
#include "storage/file_system.h"
#include "storage/text_files.h"

namespace veltrano {
namespace {

constexpr wchar_t kWildcardFile[] = L"wildcard_keywords.txt";
constexpr wchar_t kRegexFile[] = L"regex_keywords.txt";
constexpr wchar_t kFailureTitle[] = L"組織キーワードの読み込みに失敗";
constexpr wchar_t kReadTitle[] = L"組織キーワードの読み込み";
constexpr ULONGLONG kMaxFileMiB = 16;

// A file whose content cannot be used: read again only when it changes.
struct UnusableContent : std::runtime_error {
    explicit UnusableContent(const std::wstring& reason) : std::runtime_error(WideToUtf8(reason)) {}
};

std::wstring FileIn(const std::wstring& folder, const wchar_t* name) { return folder + L"\\" + name; }

// Nothing there is an empty list; a folder that cannot be reached is a failure.
std::optional<OrganizationFileStamp> StampOf(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND) return std::nullopt;
        throw std::runtime_error(WideToUtf8(SystemErrorText(error)));
    }
    return OrganizationFileStamp{(ULONGLONG{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime,
                                 (ULONGLONG{data.nFileSizeHigh} << 32) | data.nFileSizeLow};
}

// A folder that is not there, or cannot be asked, is a failure of the whole read.
void RequireFolder(const std::wstring& folder) {
    const DWORD attributes = ::GetFileAttributesW(folder.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return;
    const DWORD error = attributes == INVALID_FILE_ATTRIBUTES ? ::GetLastError() : ERROR_DIRECTORY;
    throw std::runtime_error(WideToUtf8(SystemErrorText(error)));
}

std::string BytesOf(const std::wstring& path) { return FileExists(path) ? ReadUtf8TextFile(path) : std::string(); }

// Refused from its size alone: a giant file is not read into memory on every client.
void RefuseOversized(const std::wstring& folder, const wchar_t* name, const std::optional<OrganizationFileStamp>& stamp) {
    if (stamp && stamp->size > (kMaxFileMiB << 20))
        throw UnusableContent(L"上限の " + std::to_wstring(kMaxFileMiB) + L" MiB を超えるため読みません: " + FileIn(folder, name));
}

std::wstring TextOf(const std::string& bytes, const std::wstring& path) {
    try {
        return Utf8ToWide(bytes);
    } catch (const std::runtime_error&) {
        throw UnusableContent(L"UTF-8 として読めない内容があります: " + path);
    }
}

struct ListTexts {
    std::wstring wildcard;
    std::wstring regex;
};

}  // namespace

OrganizationFolderAccess RealOrganizationFolderAccess() {
    return {.stamps =
                [](const std::wstring& folder) {
                    RequireFolder(folder);
                    return OrganizationListStamps{StampOf(FileIn(folder, kWildcardFile)), StampOf(FileIn(folder, kRegexFile))};
                },
            .texts =
                [](const std::wstring& folder) {
                    return OrganizationListTexts{BytesOf(FileIn(folder, kWildcardFile)), BytesOf(FileIn(folder, kRegexFile))};
                }};
}

// What the worker shares with the object; it outlives the object while a read of the folder hangs.
struct OrganizationKeywords::Shared {
    Shared(const Settings& settings, const DataPaths& paths, LogWriter& log)
        : settings(settings), paths(paths), log(log), access(RealOrganizationFolderAccess()) {}

    // Held while the worker uses the settings, the paths or the log; the object sets `gone` under it.
    std::mutex life;
    bool gone = false;
    const Settings& settings;
    const DataPaths& paths;
    LogWriter& log;
    OrganizationFolderAccess access;

    std::mutex wakeMutex;
    std::condition_variable wake;
    bool stop = false;
    bool checkNow = false;

    mutable std::mutex dataMutex;
    std::shared_ptr<const KeywordSet> current = std::make_shared<KeywordSet>();

    // The worker's own.
    std::optional<OrganizationListStamps> readStamps;  // none after a folder that could not be reached
    std::wstring readFolder;
    std::optional<std::wstring> failingFolder;  // the folder of the failure streak, reported once
    bool holding = false;                       // lists (read or sealed) are published

    void Work();
    std::wstring CachePath() const { return paths.DataFile(L"_organization_keywords", L".bin"); }
    // Parses, publishes and (when it came from the folder) seals the texts. Under `life`.
    void Take(const ListTexts& texts, const std::wstring& folder);
    void Fail(const std::wstring& folder, const std::wstring& reason);
    void Publish(std::shared_ptr<const KeywordSet> set) {
        const std::lock_guard lock(dataMutex);
        current = std::move(set);
    }
    void CheckFolder();
    // Until the next check; false when stopping.
    bool Wait();
};

void OrganizationKeywords::Shared::Work() {
    {
        const std::lock_guard lock(life);
        if (gone) return;
        try {
            const nlohmann::json sealed = nlohmann::json::parse(ReadEncryptedFile(CachePath()));
            Take({Utf8ToWide(sealed.at("wildcard").get<std::string>()), Utf8ToWide(sealed.at("regex").get<std::string>())},
                 L"");
        } catch (const std::exception&) {
            // No good copy yet (or it cannot be read): the folder's read below makes one.
        }
    }
    do {
        CheckFolder();
        const std::lock_guard lock(life);
        if (gone) return;
        if (access.checked) access.checked();
    } while (Wait());
}

void OrganizationKeywords::Shared::CheckFolder() {
    std::wstring folder;
    {
        const std::lock_guard lock(life);
        if (gone) return;
        folder = settings.OrganizationKeywordFolder();
    }
    if (folder.empty()) {
        // No folder (any more): the sealed copy of an earlier one is not the organisation's word.
        if (holding) Publish(std::make_shared<KeywordSet>());
        holding = false;
        readFolder.clear();
        readStamps.reset();
        failingFolder.reset();
        return;
    }
    std::optional<OrganizationListStamps> stamps;
    std::optional<ListTexts> texts;
    std::optional<std::wstring> failure;
    try {
        // May take long or never return on a share that is gone: nothing is held meanwhile.
        stamps = access.stamps(folder);
        if (folder != readFolder || stamps != readStamps) {
            RefuseOversized(folder, kWildcardFile, stamps->wildcard);
            RefuseOversized(folder, kRegexFile, stamps->regex);
            const OrganizationListTexts read = access.texts(folder);
            texts = ListTexts{TextOf(read.wildcard, FileIn(folder, kWildcardFile)), TextOf(read.regex, FileIn(folder, kRegexFile))};
        }
    } catch (const UnusableContent&) {
        failure = CurrentErrorText();  // the stamps are kept: read again when a file changes
    } catch (...) {
        failure = CurrentErrorText();
        stamps.reset();  // read again once the folder answers, so that the lists' return is logged
    }
    const std::lock_guard lock(life);
    if (gone) return;
    if (failure) {
        Fail(folder, *failure);
    } else if (texts) {
        Take(*texts, folder);
        failingFolder.reset();
    } else {
        return;  // unchanged since the last read
    }
    readFolder = folder;
    readStamps = stamps;
}

void OrganizationKeywords::Shared::Fail(const std::wstring& folder, const std::wstring& reason) {
    // Once per streak; a new folder starts its own.
    if (failingFolder == folder) return;
    failingFolder = folder;
    log.WriteLog(LogCategory::Other, kFailureTitle, L"フォルダ: " + folder + L" / 理由: " + reason);
    log.ReportEvent(EventId::OrganizationListsFailed, {folder, reason});
}

void OrganizationKeywords::Shared::Take(const ListTexts& texts, const std::wstring& folder) {
    auto set = std::make_shared<KeywordSet>();
    const auto fileName = [&](const wchar_t* name) { return folder.empty() ? CachePath() : FileIn(folder, name); };
    set->Assign(KeywordKind::Wildcard, ParseKeywordLines(texts.wildcard, KeywordKind::Wildcard, log, fileName(kWildcardFile)));
    set->Assign(KeywordKind::Regex, ParseKeywordLines(texts.regex, KeywordKind::Regex, log, fileName(kRegexFile)));
    const std::wstring counts = L"ワイルドカード: " + std::to_wstring(set->List(KeywordKind::Wildcard).size()) +
                                L" 件 / 正規表現: " + std::to_wstring(set->List(KeywordKind::Regex).size()) + L" 件";
    Publish(std::move(set));
    holding = true;
    if (folder.empty()) return;
    log.WriteLog(LogCategory::Other, kReadTitle, L"フォルダ: " + folder + L" / " + counts);
    log.ReportEvent(EventId::OrganizationListsRead, {folder, counts});
    try {
        const nlohmann::json sealed{{"wildcard", WideToUtf8(texts.wildcard)}, {"regex", WideToUtf8(texts.regex)}};
        WriteEncryptedFile(CachePath(), sealed.dump());
    } catch (const std::exception& error) {
        log.WriteLog(LogCategory::Other, kFailureTitle,
                     L"組織キーワードの控えを保存できませんでした。 file=" + CachePath() + L", error=" + Utf8ToWide(error.what()));
    }
}

bool OrganizationKeywords::Shared::Wait() {
    std::unique_lock lock(wakeMutex);
    wake.wait_for(lock, kCheckInterval, [&] { return stop || checkNow; });
    checkNow = false;
    return !stop;
}

OrganizationKeywords::OrganizationKeywords(const Settings& settings, const DataPaths& paths, LogWriter& log)
    : shared_(std::make_shared<Shared>(settings, paths, log)) {}

OrganizationKeywords::~OrganizationKeywords() {
    {
        const std::lock_guard lock(shared_->wakeMutex);
        shared_->stop = true;
    }
    shared_->wake.notify_all();
    const std::lock_guard lock(shared_->life);
    shared_->gone = true;
}

void OrganizationKeywords::SetFolderAccess(OrganizationFolderAccess access) { shared_->access = std::move(access); }

void OrganizationKeywords::Start() {
    // Never joined: a read of a share that is gone may not return before the program ends. Out of
    // memory there, the last lists stay in use.
    StartDetachedThread([shared = shared_] { shared->Work(); });
}

void OrganizationKeywords::CheckNow() {
    {
        const std::lock_guard lock(shared_->wakeMutex);
        shared_->checkNow = true;
    }
    shared_->wake.notify_all();
}

std::shared_ptr<const KeywordSet> OrganizationKeywords::Current() const {
    const std::lock_guard lock(shared_->dataMutex);
    return shared_->current;
}

}  // namespace veltrano
