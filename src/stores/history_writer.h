#pragma once
// The history's file work off the user-interface thread, so that no warning waits for an entry
// to be sealed: one worker seals and writes each new entry's file and removes files, in the order
// they were queued. The user-interface thread takes the finished writes back.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "stores/history_folder.h"

namespace veltrano {

struct FinishedHistoryWrite {
    std::uint64_t id = 0;
    HistoryDigest digest{};          // of the text as its file holds it
    bool sealFailed = false;         // the file could not be written
    std::optional<std::wstring> unexpected;  // why the write failed otherwise
};

class HistoryWriter {
public:
    // Seals a text into its file (WriteEncryptedText); a test makes it slow.
    using Sealer = std::function<void(const std::wstring& path, std::wstring text)>;

    HistoryWriter();
    // Does every queued job first: what was copied is stored before the program ends.
    ~HistoryWriter();
    HistoryWriter(const HistoryWriter&) = delete;
    HistoryWriter& operator=(const HistoryWriter&) = delete;

    // Called on the worker after each write; it should make the user-interface thread call TakeFinished.
    void SetFinishedHandler(std::function<void()> handler);
    void SetSealer(Sealer sealer);

    // Queues sealing `text` into `path`; the write comes back from TakeFinished under the id returned.
    std::uint64_t QueueWrite(std::wstring path, std::wstring text);
    // Queues deleting `path` (a failure is left to a later load).
    void QueueRemove(std::wstring path);
    // Returns when every job queued so far is done.
    void WaitUntilIdle();
    // The writes finished since the last call, in the order they were queued.
    std::vector<FinishedHistoryWrite> TakeFinished();

private:
    struct Job {
        std::uint64_t id = 0;             // 0: a removal
        std::wstring path;
        std::optional<std::wstring> text;  // the text to seal, for a write
    };
    void Run();
    FinishedHistoryWrite Write(Job job, const Sealer& sealer) noexcept;

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::deque<Job> jobs_;
    bool busy_ = false;
    bool stopping_ = false;
    std::uint64_t lastId_ = 0;
    std::vector<FinishedHistoryWrite> finished_;
    std::function<void()> finishedHandler_;
    Sealer sealer_;
    std::thread worker_;  // last: started once the state it uses exists
};

}  // namespace veltrano
