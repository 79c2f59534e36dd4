#include "import/xlsx/XmlScanner.h"

#include <algorithm>
#include <cstring>

#include "import/workbook/FormatProblem.h"
#include "import/xlsx/EscapedText.h"
#include "import/xlsx/ZipArchive.h"

namespace kq::xlsx {
namespace {

constexpr std::size_t kChunk = 256 * 1024;
// One tag or one text is never longer in a sound sheet: 32,767 characters
// at most, each at most a 10-byte character reference.
constexpr std::size_t kLongest = 8 * 1024 * 1024;

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view local(std::string_view name) {
    const std::size_t colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

}  // namespace

XmlScanner::XmlScanner(QIODevice& device, QString partName)
    : device_(device), partName_(std::move(partName)) {
    buffer_.resize(kChunk);
}

void XmlScanner::fail() const { damaged(QStringLiteral("%1 的内容不完整或有误").arg(partName_)); }

// Keeps the unread bytes and reads more after them; false at the end.
bool XmlScanner::fill() {
    if (eof_) return false;
    if (pos_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + pos_, end_ - pos_);
        end_ -= pos_;
        pos_ = 0;
    }
    if (buffer_.size() - end_ < kChunk / 2) {
        if (buffer_.size() >= kLongest) fail();
        buffer_.resize(buffer_.size() * 2);
    }
    const qint64 n = device_.read(buffer_.data() + end_, qint64(buffer_.size() - end_));
    if (n < 0) {
        const QString why = readFailure(device_);  // broken, oversized or overexpanded
        if (!why.isEmpty()) damaged(why);
        fail();
    }
    if (n == 0) {
        eof_ = true;
        return false;
    }
    end_ += std::size_t(n);
    return true;
}

namespace {

// memchr, looking at the first bytes itself: in a sheet the next '<' or '>'
// is mostly a few bytes on, nearer than a call to the library pays for.
const char* findByte(const char* from, char c, std::size_t length) {
    const std::size_t near = std::min<std::size_t>(length, 16);
    for (std::size_t i = 0; i < near; ++i)
        if (from[i] == c) return from + i;
    if (near == length) return nullptr;
    return static_cast<const char*>(std::memchr(from + near, c, length - near));
}

}  // namespace

// The offset (from pos_) of c at or after `from`, reading on as needed.
std::size_t XmlScanner::find(char c, std::size_t from) {
    for (;;) {
        if (pos_ + from < end_) {
            const char* hit = findByte(buffer_.data() + pos_ + from, c, end_ - pos_ - from);
            if (hit) return std::size_t(hit - buffer_.data()) - pos_;
            from = end_ - pos_;
        }
        if (!fill()) fail();
    }
}

std::size_t XmlScanner::find(std::string_view s, std::size_t from) {
    for (;;) {
        const std::size_t at = find(s[0], from);
        while (pos_ + at + s.size() > end_)
            if (!fill()) fail();
        if (std::string_view(buffer_.data() + pos_ + at, s.size()) == s) return at;
        from = at + 1;
    }
}

XmlScanner::Token XmlScanner::next() {
    for (;;) {
        // Text between tags outside elementText() is layout or ignored content.
        std::size_t lt;
        for (;;) {
            const char* hit =
                pos_ < end_ ? findByte(buffer_.data() + pos_, '<', end_ - pos_) : nullptr;
            if (hit) {
                lt = std::size_t(hit - buffer_.data()) - pos_;
                break;
            }
            pos_ = end_;
            if (!fill()) {
                if (!open_.empty()) fail();  // cut off inside an element
                token_ = Token::EndOfDocument;
                return token_;
            }
        }
        pos_ += lt;
        while (pos_ + 2 > end_)
            if (!fill()) fail();
        const char kind = buffer_[pos_ + 1];
        if (kind == '?') {
            pos_ += find("?>", 2) + 2;
        } else if (kind == '!') {
            while (pos_ + 4 > end_)
                if (!fill()) fail();
            if (std::string_view(buffer_.data() + pos_, 4) == "<!--")
                pos_ += find("-->", 4) + 3;
            else
                pos_ += find('>', 2) + 1;  // a DOCTYPE; no entities are declared in a sheet
        } else {
            readTag();
            return token_;
        }
    }
}

void XmlScanner::readTag() {
    const std::size_t gt = find('>', 1);  // may move the buffer: views are taken after it
    const char* tag = buffer_.data() + pos_;
    std::size_t i = 1;
    const bool closing = tag[1] == '/';
    if (closing) ++i;
    const std::size_t nameStart = i;
    while (i < gt && !isSpace(tag[i]) && tag[i] != '/') ++i;
    if (i == nameStart) fail();
    name_ = local(std::string_view(tag + nameStart, i - nameStart));
    selfClosing_ = tag[gt - 1] == '/' && !closing;
    attributes_.clear();

    if (closing) {
        if (open_.empty() || open_.back() != name_) fail();
        open_.pop_back();
        token_ = Token::End;
    } else {
        const std::size_t last = selfClosing_ ? gt - 1 : gt;
        while (i < last) {
            while (i < last && isSpace(tag[i])) ++i;
            if (i >= last) break;
            const std::size_t attrStart = i;
            while (i < last && tag[i] != '=' && !isSpace(tag[i])) ++i;
            const std::string_view attrName(tag + attrStart, i - attrStart);
            while (i < last && isSpace(tag[i])) ++i;
            if (i >= last || tag[i] != '=') fail();
            ++i;
            while (i < last && isSpace(tag[i])) ++i;
            if (i >= last || (tag[i] != '"' && tag[i] != '\'')) fail();
            const char quote = tag[i++];
            const std::size_t valueStart = i;
            while (i < last && tag[i] != quote) ++i;
            if (i >= last) fail();
            attributes_.emplace_back(local(attrName),
                                     std::string_view(tag + valueStart, i - valueStart));
            ++i;
        }
        if (!selfClosing_) {
            if (open_.size() > 64) fail();  // no sheet nests this deep
            open_.emplace_back(name_);
        }
        token_ = Token::Start;
    }
    pos_ += gt + 1;
}

std::string_view XmlScanner::attribute(std::string_view name) const {
    for (const auto& [n, v] : attributes_)
        if (n == name) return v;
    return {};
}

void XmlScanner::appendDecoded(std::string& out, std::size_t from, std::size_t to) {
    const char* p = buffer_.data() + pos_;
    for (std::size_t i = from; i < to;) {
        const char* amp = findByte(p + i, '&', to - i);
        const std::size_t stop = amp ? std::size_t(amp - p) : to;
        appendXmlLineEnds(out, p + i, stop - i);
        if (!amp) break;
        const char* semi = findByte(p + stop, ';', to - stop);
        if (!semi) fail();
        const std::string_view entity(p + stop + 1, std::size_t(semi - p) - stop - 1);
        if (entity == "lt") {
            out += '<';
        } else if (entity == "gt") {
            out += '>';
        } else if (entity == "amp") {
            out += '&';
        } else if (entity == "quot") {
            out += '"';
        } else if (entity == "apos") {
            out += '\'';
        } else if (entity.size() >= 2 && entity.size() <= 8 && entity[0] == '#') {
            const bool hex = entity[1] == 'x';
            char32_t c = 0;
            for (std::size_t k = hex ? 2 : 1; k < entity.size(); ++k) {
                const char d = entity[k];
                int digit = -1;
                if (d >= '0' && d <= '9') digit = d - '0';
                if (hex && d >= 'a' && d <= 'f') digit = d - 'a' + 10;
                if (hex && d >= 'A' && d <= 'F') digit = d - 'A' + 10;
                if (digit < 0) fail();
                c = c * (hex ? 16 : 10) + char32_t(digit);
            }
            if (c == 0 || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) fail();
            appendUtf8(out, c);
        } else {
            fail();
        }
        i = std::size_t(semi - p) + 1;
    }
}

QString XmlScanner::elementText() {
    const std::string& bytes = elementBytes();
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

const std::string& XmlScanner::elementBytes() {
    if (token_ != Token::Start) fail();
    std::string& bytes = text_;
    bytes.clear();
    if (selfClosing_) return bytes;
    for (;;) {
        const std::size_t lt = find('<', 0);
        appendDecoded(bytes, 0, lt);
        pos_ += lt;
        while (pos_ + 2 > end_)
            if (!fill()) fail();
        if (buffer_[pos_ + 1] == '!') {
            while (pos_ + 9 > end_)
                if (!fill()) fail();
            if (std::string_view(buffer_.data() + pos_, 9) != "<![CDATA[") fail();
            const std::size_t close = find("]]>", 9);
            appendXmlLineEnds(bytes, buffer_.data() + pos_ + 9, close - 9);
            pos_ += close + 3;
            continue;
        }
        if (buffer_[pos_ + 1] != '/') fail();
        readTag();  // the end tag, checked against the open element
        return bytes;
    }
}

}  // namespace kq::xlsx
