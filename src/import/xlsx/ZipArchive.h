#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <cstdint>
#include <memory>

struct zip;
struct zip_file;

namespace kq::xlsx {

// A zip archive held in memory (libzip); the parts of an .xlsx package.
class ZipArchive {
  public:
    explicit ZipArchive(const QByteArray& data);  // NotAWorkbook when not a zip
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    bool contains(const QString& name) const;
    // The part, decompressed as it is read; damaged when the compressed data
    // is broken or the part grows past the limit.
    std::unique_ptr<QIODevice> open(const QString& name, qint64 limit) const;

  private:
    // The entry's index, or -1; a writer that stored Windows paths named
    // the parts with backslashes, which mean the same.
    std::int64_t locate(const QString& name) const;

    QByteArray data_;  // libzip reads it in place
    zip* archive_ = nullptr;
};

}  // namespace kq::xlsx
