#include "import/xlsx/ReadAhead.h"

#include <algorithm>
#include <cstring>

#include "import/xlsx/ZipArchive.h"

namespace kq::xlsx {
namespace {

constexpr qint64 kChunk = qint64(1) << 20;
constexpr std::size_t kChunksAhead = 4;

}  // namespace

ReadAhead::ReadAhead(std::unique_ptr<QIODevice> source) : source_(std::move(source)) {
    QIODevice::open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    thread_ = std::thread([this] { run(); });
}

ReadAhead::~ReadAhead() {
    {
        const std::lock_guard lock(mutex_);
        stopped_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

// Nothing here may throw: an exception must not leave this thread.
void ReadAhead::run() {
    for (;;) {
        std::vector<char> chunk;
        qint64 n = -1;
        try {
            chunk.resize(std::size_t(kChunk));
            n = source_->read(chunk.data(), kChunk);
        } catch (...) {
            n = -1;
        }
        const QString why = n < 0 ? readFailure(*source_) : QString();
        std::unique_lock lock(mutex_);
        if (n <= 0) {
            done_ = true;
            failed_ = n < 0;
            failure_ = why;
            lock.unlock();
            changed_.notify_all();
            return;
        }
        chunk.resize(std::size_t(n));
        changed_.wait(lock, [this] { return stopped_ || ready_.size() < kChunksAhead; });
        if (stopped_) return;
        ready_.push_back(std::move(chunk));
        lock.unlock();
        changed_.notify_all();
    }
}

qint64 ReadAhead::readData(char* data, qint64 maxSize) {
    if (taken_ == current_.size()) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return done_ || !ready_.empty(); });
        if (ready_.empty()) {
            if (!failed_) return 0;
            setErrorString(failure_);
            return -1;
        }
        current_ = std::move(ready_.front());
        ready_.pop_front();
        taken_ = 0;
        lock.unlock();
        changed_.notify_all();
    }
    const auto n = std::min<std::size_t>(std::size_t(maxSize), current_.size() - taken_);
    std::memcpy(data, current_.data() + taken_, n);
    taken_ += n;
    return qint64(n);
}

QString ReadAhead::failure() const {
    const std::lock_guard lock(mutex_);
    return failure_;
}

}  // namespace kq::xlsx
