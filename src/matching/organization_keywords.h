#pragma once
// The organisation's keyword lists: "wildcard_keywords.txt" and "regex_keywords.txt" in the folder
// that OrganizationKeywordFolder names (usually a share, set by policy), in the user's list
// format, never encrypted, either one possibly missing. A share can be slow or gone, so the folder
// is never read on the window thread: a worker reads it at start, then compares the two files'
// last-write times and sizes every 60 s and when asked, and reads them again when they changed or
// the folder could not be reached before. A content that cannot be used (not UTF-8, over 16 MiB)
// waits for a change of its file. The last good lists are kept sealed for the user, so the guard
// starts with them whatever the share does.
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "log/log_writer.h"
#include "matching/keyword_lists.h"
#include "settings/settings.h"
#include "storage/data_paths.h"

namespace veltrano {

// The two files' bytes as read, without a byte order mark; a missing file has none.
struct OrganizationListTexts {
    std::string wildcard;
    std::string regex;
};

struct OrganizationFileStamp {
    ULONGLONG written = 0;
    ULONGLONG size = 0;
    bool operator==(const OrganizationFileStamp&) const = default;
};

// The two files' last-write times and sizes; a missing file has none.
struct OrganizationListStamps {
    std::optional<OrganizationFileStamp> wildcard;
    std::optional<OrganizationFileStamp> regex;
    bool operator==(const OrganizationListStamps&) const = default;
};

// Reading the folder; each throws std::runtime_error when the folder cannot be read. A test or
// benchmark replaces them (a read that never returns, say), and may be told when a check ended.
struct OrganizationFolderAccess {
    std::function<OrganizationListStamps(const std::wstring& folder)> stamps;
    std::function<OrganizationListTexts(const std::wstring& folder)> texts;
    std::function<void()> checked = {};  // may be empty
};
OrganizationFolderAccess RealOrganizationFolderAccess();

class OrganizationKeywords {
public:
    static constexpr std::chrono::seconds kCheckInterval{60};

    OrganizationKeywords(const Settings& settings, const DataPaths& paths, LogWriter& log);
    // Stops the worker; waits only while it parses or logs, never for a read of the folder.
    ~OrganizationKeywords();
    OrganizationKeywords(const OrganizationKeywords&) = delete;
    OrganizationKeywords& operator=(const OrganizationKeywords&) = delete;

    // Before Start.
    void SetFolderAccess(OrganizationFolderAccess access);
    // Starts the worker: the sealed copy first, then the folder at once.
    void Start();
    // Compares the files again now (the folder setting may have changed).
    void CheckNow();
    // The lists to search now; empty until the worker has read any.
    std::shared_ptr<const KeywordSet> Current() const;

private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
};

}  // namespace veltrano
