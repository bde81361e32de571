#include "stores/history_writer.h"

#include <stdexcept>
#include <utility>

#include "base/error_text.h"
#include "storage/text_files.h"

namespace veltrano {

HistoryWriter::HistoryWriter() : sealer_(WriteEncryptedText), worker_([this] { Run(); }) {}

HistoryWriter::~HistoryWriter() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    worker_.join();
}

void HistoryWriter::SetFinishedHandler(std::function<void()> handler) {
    const std::lock_guard lock(mutex_);
    finishedHandler_ = std::move(handler);
}

void HistoryWriter::SetSealer(Sealer sealer) {
    const std::lock_guard lock(mutex_);
    sealer_ = std::move(sealer);
}

std::uint64_t HistoryWriter::QueueWrite(std::wstring path, std::wstring text) {
    std::uint64_t id = 0;
    {
        const std::lock_guard lock(mutex_);
        id = ++lastId_;
        jobs_.push_back({id, std::move(path), std::move(text)});
    }
    wake_.notify_all();
    return id;
}

void HistoryWriter::QueueRemove(std::wstring path) {
    {
        const std::lock_guard lock(mutex_);
        jobs_.push_back({0, std::move(path), std::nullopt});
    }
    wake_.notify_all();
}

void HistoryWriter::WaitUntilIdle() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [&] { return jobs_.empty() && !busy_; });
}

std::vector<FinishedHistoryWrite> HistoryWriter::TakeFinished() {
    const std::lock_guard lock(mutex_);
    return std::exchange(finished_, {});
}

void HistoryWriter::Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [&] { return !jobs_.empty() || stopping_; });
        if (jobs_.empty()) return;  // stopping, and everything is done
        Job job = std::move(jobs_.front());
        jobs_.pop_front();
        busy_ = true;
        const Sealer sealer = sealer_;
        lock.unlock();
        std::optional<FinishedHistoryWrite> finished;
        if (job.text) {
            finished = Write(std::move(job), sealer);
        } else {
            RemoveHistoryFile(job.path);
        }
        lock.lock();
        busy_ = false;
        std::function<void()> handler;
        if (finished) {
            finished_.push_back(std::move(*finished));
            handler = finishedHandler_;
        }
        idle_.notify_all();
        if (handler) {
            lock.unlock();
            handler();
            lock.lock();
        }
    }
}

FinishedHistoryWrite HistoryWriter::Write(Job job, const Sealer& sealer) noexcept {
    FinishedHistoryWrite finished{.id = job.id, .unexpected = std::nullopt};
    try {
        finished.digest = HistoryTextDigest(*job.text);
        // Taken along: the text's memory goes before its sealed form is made.
        sealer(job.path, std::move(*job.text));
    } catch (const std::runtime_error&) {
        finished.sealFailed = true;
    } catch (...) {
        finished.unexpected = CurrentErrorText();
    }
    return finished;
}

}  // namespace veltrano
