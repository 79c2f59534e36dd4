#include "import/workbook/RowsInBackground.h"

#include <utility>

namespace kq {
namespace {

// Large enough that handing a batch over costs nothing beside reading it,
// small enough that the first rows are stored at once.
constexpr std::size_t kBatchRows = 2048;

}  // namespace

RowsInBackground::RowsInBackground(std::function<void(const RowSink&)> read)
    : thread_([this, read = std::move(read)] { run(read); }) {}

RowsInBackground::~RowsInBackground() {
    batches_.stop();
    thread_.join();
}

void RowsInBackground::run(const std::function<void(const RowSink&)>& read) {
    try {
        std::vector<SheetRow> batch;
        batch.reserve(kBatchRows);
        const auto hand = [&] {
            if (!batches_.give(batch)) throw Abandoned{};
            batch.clear();  // the rows of a batch taken before, freed here
            batch.reserve(kBatchRows);
        };
        read([&](SheetRow&& row) {
            batch.push_back(std::move(row));
            if (batch.size() >= kBatchRows) hand();
        });
        if (!batch.empty()) hand();
    } catch (const Abandoned&) {
    } catch (...) {
        failure_ = std::current_exception();
    }
    batches_.finish();
}

bool RowsInBackground::next(std::vector<SheetRow>& batch) {
    if (batches_.take(batch)) return true;
    if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
    return false;
}

}  // namespace kq
