#include "import/xls/BiffRecords.h"

namespace kq::xls {

RecordReader::RecordReader(Bytes stream, std::size_t offset) : stream_(stream), at_(offset) {
    if (offset > stream.size()) damaged(QStringLiteral("工作表位置超出文件"));
}

bool RecordReader::next(Record& record) {
    if (at_ + 4 > stream_.size()) return false;
    record.type = xls::u16(stream_, at_);
    const std::uint16_t length = xls::u16(stream_, at_ + 2);
    need(stream_, at_ + 4, length, "记录被截断");
    record.data = stream_.subspan(at_ + 4, length);
    at_ += 4 + std::size_t(length);
    record.continued.clear();
    if (record.type == rec::kSst || record.type == rec::kString || record.type == rec::kLabel ||
        record.type == rec::kRString) {
        record.continued.push_back(record.data);
        while (at_ + 4 <= stream_.size() && xls::u16(stream_, at_) == rec::kContinue) {
            const std::uint16_t more = xls::u16(stream_, at_ + 2);
            need(stream_, at_ + 4, more, "记录被截断");
            record.continued.push_back(stream_.subspan(at_ + 4, more));
            at_ += 4 + std::size_t(more);
        }
    }
    return true;
}

ContinuedReader::ContinuedReader(const Record& record) : segments_(&record.continued) {
    if (record.continued.empty()) {
        own_.push_back(record.data);
        segments_ = &own_;
    }
    for (const Bytes& b : *segments_) total_ += b.size();
}

std::size_t ContinuedReader::remaining() const { return total_ - consumed_; }

bool ContinuedReader::atEnd() const { return remaining() == 0; }

std::uint8_t ContinuedReader::u8() {
    while (segment_ < segments_->size() && at_ >= (*segments_)[segment_].size()) {
        ++segment_;
        at_ = 0;
    }
    if (segment_ >= segments_->size()) damaged(QStringLiteral("记录被截断"));
    ++consumed_;
    return (*segments_)[segment_][at_++];
}

std::uint16_t ContinuedReader::u16() {
    const std::uint16_t lo = u8();
    return std::uint16_t(lo | (u8() << 8));
}

std::uint32_t ContinuedReader::u32() {
    const std::uint32_t lo = u16();
    return lo | (std::uint32_t(u16()) << 16);
}

void ContinuedReader::skip(std::size_t count) {
    while (count > 0) {
        if (segment_ >= segments_->size()) damaged(QStringLiteral("记录被截断"));
        const std::size_t here = (*segments_)[segment_].size() - at_;
        const std::size_t step = std::min(here, count);
        at_ += step;
        consumed_ += step;
        count -= step;
        if (at_ >= (*segments_)[segment_].size() && count > 0) {
            ++segment_;
            at_ = 0;
        }
    }
}

QString ContinuedReader::string(bool eightBitCount) {
    const std::size_t count = eightBitCount ? u8() : u16();
    std::uint8_t flags = u8();
    std::size_t runs = 0;
    std::size_t phonetic = 0;
    if (flags & 0x08) runs = u16();
    if (flags & 0x04) phonetic = u32();
    // At least one byte per character must be there before anything is kept.
    if (count > remaining()) damaged(QStringLiteral("字符串长度超出记录"));

    QString text;
    text.reserve(qsizetype(count));
    std::size_t read = 0;
    while (read < count) {
        if (segment_ >= segments_->size()) damaged(QStringLiteral("字符串长度超出记录"));
        const Bytes seg = (*segments_)[segment_];
        if (at_ >= seg.size()) {
            // The characters go on in the next CONTINUE record, which starts
            // with its own flags byte (the width may change there).
            ++segment_;
            at_ = 0;
            if (segment_ >= segments_->size()) damaged(QStringLiteral("字符串长度超出记录"));
            flags = u8();
            continue;
        }
        const bool wide = flags & 0x01;
        const std::size_t width = wide ? 2 : 1;
        const std::size_t here = std::min((seg.size() - at_) / width, count - read);
        if (here == 0) damaged(QStringLiteral("字符串被截断"));
        const unsigned char* p = seg.data() + at_;
        if (wide) {
            for (std::size_t i = 0; i < here; ++i)
                text += QChar(char16_t(p[2 * i] | (p[2 * i + 1] << 8)));
        } else {
            text += QLatin1StringView(reinterpret_cast<const char*>(p), qsizetype(here));
        }
        at_ += here * width;
        consumed_ += here * width;
        read += here;
    }
    skip(runs * 4);
    skip(phonetic);
    return text;
}

}  // namespace kq::xls
