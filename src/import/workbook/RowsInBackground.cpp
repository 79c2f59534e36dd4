#include "import/workbook/RowsInBackground.h"

#include <utility>

namespace kq {
namespace {

// Large enough that handing a batch over costs nothing beside reading it,
// small enough that the first rows are stored at once.
constexpr std::size_t kBatchRows = 2048;
constexpr std::size_t kWaitingBatches = 8;

}  // namespace

RowsInBackground::RowsInBackground(std::function<void(const RowSink&)> read)
    : thread_([this, read = std::move(read)] { run(read); }) {}

RowsInBackground::~RowsInBackground() {
    {
        const std::lock_guard lock(mutex_);
        abandoned_ = true;
        waiting_.clear();
    }
    changed_.notify_all();
    thread_.join();
}

void RowsInBackground::run(const std::function<void(const RowSink&)>& read) {
    std::exception_ptr failure;
    try {
        std::vector<SheetRow> batch;
        batch.reserve(kBatchRows);
        read([&](SheetRow&& row) {
            batch.push_back(std::move(row));
            if (batch.size() < kBatchRows) return;
            hand(std::exchange(batch, {}));
            batch.reserve(kBatchRows);
        });
        if (!batch.empty()) hand(std::move(batch));
    } catch (const Abandoned&) {
    } catch (...) {
        failure = std::current_exception();
    }
    {
        const std::lock_guard lock(mutex_);
        done_ = true;
        failure_ = failure;
    }
    changed_.notify_all();
}

void RowsInBackground::hand(std::vector<SheetRow>&& batch) {
    std::vector<std::vector<SheetRow>> spent;
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return abandoned_ || waiting_.size() < kWaitingBatches; });
    if (abandoned_) throw Abandoned{};
    waiting_.push_back(std::move(batch));
    spent.swap(spent_);
    lock.unlock();
    changed_.notify_all();
}

bool RowsInBackground::next(std::vector<SheetRow>& batch) {
    std::unique_lock lock(mutex_);
    if (!batch.empty() && !done_) spent_.push_back(std::move(batch));
    changed_.wait(lock, [this] { return done_ || !waiting_.empty(); });
    if (waiting_.empty()) {
        if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
        return false;
    }
    batch = std::move(waiting_.front());
    waiting_.pop_front();
    lock.unlock();
    changed_.notify_all();
    return true;
}

}  // namespace kq
