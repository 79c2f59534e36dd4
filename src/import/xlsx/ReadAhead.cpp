#include "import/xlsx/ReadAhead.h"

#include <algorithm>
#include <cstring>

#include "import/xlsx/ZipArchive.h"

namespace kq::xlsx {
namespace {

constexpr qint64 kChunk = qint64(1) << 20;
constexpr std::size_t kChunksAhead = 4;

}  // namespace

ReadAhead::ReadAhead(std::unique_ptr<QIODevice> source)
    : source_(std::move(source)), chunks_(kChunksAhead) {
    QIODevice::open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    thread_ = std::thread([this] { run(); });
}

ReadAhead::~ReadAhead() {
    chunks_.stop();
    thread_.join();
}

// Nothing here may throw: an exception must not leave this thread.
void ReadAhead::run() {
    std::vector<char> chunk;  // a new one, or one read out before
    for (;;) {
        qint64 n = -1;
        try {
            chunk.resize(std::size_t(kChunk));
            n = source_->read(chunk.data(), kChunk);
        } catch (...) {
            n = -1;
        }
        if (n <= 0) {
            failed_ = n < 0;
            if (failed_) failure_ = readFailure(*source_);
            chunks_.finish();
            return;
        }
        chunk.resize(std::size_t(n));
        if (!chunks_.give(chunk)) return;
    }
}

qint64 ReadAhead::readData(char* data, qint64 maxSize) {
    if (taken_ == current_.size()) {
        if (!chunks_.take(current_)) {
            if (!failed_) return 0;
            setErrorString(failure_);
            return -1;
        }
        taken_ = 0;
    }
    const auto n = std::min<std::size_t>(std::size_t(maxSize), current_.size() - taken_);
    std::memcpy(data, current_.data() + taken_, n);
    taken_ += n;
    return qint64(n);
}

}  // namespace kq::xlsx
