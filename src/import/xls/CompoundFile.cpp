#include "import/xls/CompoundFile.h"

namespace kq::xls {
namespace {

constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kFreeSector = 0xFFFFFFFF;
constexpr std::size_t kHeaderDifat = 109;
constexpr std::size_t kMiniSectorSize = 64;
constexpr std::size_t kEntrySize = 128;

}  // namespace

CompoundFile::CompoundFile(Bytes file) : file_(file) {
    need(file_, 0, 512, "文件头不完整");
    const std::uint16_t shift = u16(file_, 0x1E);
    if (shift != 9 && shift != 12) damaged(QStringLiteral("扇区大小无效"));
    if (u16(file_, 0x20) != 6) damaged(QStringLiteral("小扇区大小无效"));
    sectorSize_ = std::size_t(1) << shift;
    if (file_.size() <= sectorSize_) damaged(QStringLiteral("文件不完整"));
    sectorCount_ = std::uint32_t((file_.size() - sectorSize_ + sectorSize_ - 1) / sectorSize_);
    miniCutoff_ = u32(file_, 0x38);
    readFat();
    readDirectory();
    readMiniStream();
}

Bytes CompoundFile::sector(std::uint32_t id) const {
    if (id >= sectorCount_) damaged(QStringLiteral("扇区编号超出文件"));
    const std::size_t offset = (std::size_t(id) + 1) * sectorSize_;
    return file_.subspan(offset, std::min(sectorSize_, file_.size() - offset));
}

void CompoundFile::readFat() {
    const std::uint32_t fatCount = u32(file_, 0x2C);
    if (fatCount > sectorCount_) damaged(QStringLiteral("FAT 扇区数超出文件"));
    std::vector<std::uint32_t> fatSectors;
    for (std::size_t i = 0; i < kHeaderDifat && fatSectors.size() < fatCount; ++i)
        fatSectors.push_back(u32(file_, 0x4C + 4 * i));

    // The DIFAT chain: each sector lists FAT sectors and ends with the next
    // DIFAT sector. A chain that comes back on itself is damage, not data.
    std::uint32_t difat = u32(file_, 0x44);
    std::vector<bool> seen(sectorCount_);
    const std::size_t perSector = sectorSize_ / 4 - 1;
    while (fatSectors.size() < fatCount) {
        if (difat >= sectorCount_) damaged(QStringLiteral("DIFAT 链无效"));
        if (seen[difat]) damaged(QStringLiteral("DIFAT 链循环"));
        seen[difat] = true;
        const Bytes s = sector(difat);
        for (std::size_t i = 0; i < perSector && fatSectors.size() < fatCount; ++i)
            fatSectors.push_back(u32(s, 4 * i));
        difat = u32(s, 4 * perSector);
    }

    fat_.reserve(fatSectors.size() * (sectorSize_ / 4));
    for (const std::uint32_t id : fatSectors) {
        const Bytes s = sector(id);
        for (std::size_t at = 0; at + 4 <= s.size(); at += 4) fat_.push_back(u32(s, at));
    }
}

std::vector<std::uint32_t> CompoundFile::chain(std::uint32_t start,
                                               const std::vector<std::uint32_t>& table) const {
    std::vector<std::uint32_t> ids;
    std::vector<bool> seen(table.size());
    for (std::uint32_t id = start; id != kEndOfChain;) {
        if (id >= table.size()) {
            if (id == kFreeSector && ids.empty()) break;  // an empty stream
            damaged(QStringLiteral("扇区链无效"));
        }
        if (seen[id]) damaged(QStringLiteral("扇区链循环"));
        seen[id] = true;
        ids.push_back(id);
        id = table[id];
    }
    return ids;
}

std::vector<unsigned char> CompoundFile::readChain(std::uint32_t start, std::uint64_t size) const {
    const std::vector<std::uint32_t> ids = chain(start, fat_);
    if (size > std::uint64_t(ids.size()) * sectorSize_)
        damaged(QStringLiteral("流的长度超出其扇区"));
    std::vector<unsigned char> out;
    out.reserve(std::size_t(size));
    for (const std::uint32_t id : ids) {
        if (out.size() >= size) break;
        const Bytes s = sector(id);
        const std::size_t take = std::min<std::size_t>(s.size(), std::size_t(size) - out.size());
        if (take < std::min<std::size_t>(sectorSize_, std::size_t(size) - out.size()))
            damaged(QStringLiteral("文件被截断"));
        out.insert(out.end(), s.begin(), s.begin() + std::ptrdiff_t(take));
    }
    return out;
}

void CompoundFile::readDirectory() {
    const std::vector<std::uint32_t> ids = chain(u32(file_, 0x30), fat_);
    for (const std::uint32_t id : ids) {
        const Bytes s = sector(id);
        for (std::size_t at = 0; at + kEntrySize <= s.size(); at += kEntrySize) {
            const Bytes e = s.subspan(at, kEntrySize);
            Entry entry;
            entry.type = e[0x42];
            if (entry.type == 0) continue;  // unused
            const std::uint16_t nameBytes = u16(e, 0x40);
            if (nameBytes > 64 || nameBytes % 2 != 0)
                damaged(QStringLiteral("目录项的名称长度无效"));
            for (std::size_t i = 0; i + 2 < nameBytes; i += 2) entry.name += QChar(u16(e, i));
            entry.start = u32(e, 0x74);
            entry.size = u32(e, 0x78);
            if (sectorSize_ == 4096) entry.size |= std::uint64_t(u32(e, 0x7C)) << 32;
            entries_.push_back(std::move(entry));
        }
    }
    if (entries_.empty() || entries_.front().type != 5) damaged(QStringLiteral("缺少根目录项"));
}

void CompoundFile::readMiniStream() {
    const Entry& root = entries_.front();
    // Only a file with a small stream has a mini stream worth reading.
    bool small = false;
    for (const Entry& e : entries_)
        if (e.type == 2 && e.size < miniCutoff_ && e.size > 0) small = true;
    if (!small) return;
    miniStream_ = readChain(root.start, root.size);
    const std::vector<std::uint32_t> ids = chain(u32(file_, 0x3C), fat_);
    for (const std::uint32_t id : ids) {
        const Bytes s = sector(id);
        for (std::size_t at = 0; at + 4 <= s.size(); at += 4) miniFat_.push_back(u32(s, at));
    }
}

const CompoundFile::Entry* CompoundFile::find(const QString& name) const {
    for (const Entry& e : entries_)
        if (e.type == 2 && e.name.compare(name, Qt::CaseInsensitive) == 0) return &e;
    return nullptr;
}

std::vector<unsigned char> CompoundFile::stream(const QString& name) const {
    const Entry* entry = find(name);
    if (!entry) damaged(QStringLiteral("缺少 %1 流").arg(name));
    if (entry->size >= miniCutoff_) return readChain(entry->start, entry->size);

    const std::vector<std::uint32_t> ids = chain(entry->start, miniFat_);
    if (entry->size > std::uint64_t(ids.size()) * kMiniSectorSize)
        damaged(QStringLiteral("流的长度超出其扇区"));
    std::vector<unsigned char> out;
    out.reserve(std::size_t(entry->size));
    for (const std::uint32_t id : ids) {
        if (out.size() >= entry->size) break;
        const std::size_t offset = std::size_t(id) * kMiniSectorSize;
        const std::size_t take =
            std::min<std::size_t>(kMiniSectorSize, std::size_t(entry->size) - out.size());
        if (offset > miniStream_.size() || take > miniStream_.size() - offset)
            damaged(QStringLiteral("小扇区超出其容器"));
        out.insert(out.end(), miniStream_.begin() + std::ptrdiff_t(offset),
                   miniStream_.begin() + std::ptrdiff_t(offset + take));
    }
    return out;
}

}  // namespace kq::xls
