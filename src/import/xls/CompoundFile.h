#pragma once

#include <QString>
#include <vector>

#include "import/xls/Bytes.h"

namespace kq::xls {

// The OLE2 compound file that holds an .xls workbook's streams: header,
// FAT with its DIFAT chain, directory, mini stream; 512- and 4096-byte
// sectors. Every sector number and size is checked against the file, and
// every chain is walked at most once per sector.
class CompoundFile {
  public:
    explicit CompoundFile(Bytes file);

    bool hasStream(const QString& name) const { return find(name) != nullptr; }
    // The whole stream of that name (letter case ignored); damaged if absent.
    std::vector<unsigned char> stream(const QString& name) const;

  private:
    struct Entry {
        QString name;
        unsigned char type = 0;  // 1 storage, 2 stream, 5 root
        std::uint32_t start = 0;
        std::uint64_t size = 0;
    };

    Bytes sector(std::uint32_t id) const;
    std::vector<std::uint32_t> chain(std::uint32_t start,
                                     const std::vector<std::uint32_t>& table) const;
    std::vector<unsigned char> readChain(std::uint32_t start, std::uint64_t size) const;
    void readFat();
    void readDirectory();
    void readMiniStream();
    const Entry* find(const QString& name) const;

    Bytes file_;
    std::size_t sectorSize_ = 512;
    std::uint32_t sectorCount_ = 0;
    std::uint32_t miniCutoff_ = 4096;
    std::vector<std::uint32_t> fat_;
    std::vector<std::uint32_t> miniFat_;
    std::vector<unsigned char> miniStream_;
    std::vector<Entry> entries_;
};

}  // namespace kq::xls
