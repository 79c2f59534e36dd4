#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <cstdint>
#include <memory>

struct zip;
struct zip_file;

namespace kq::xlsx {

// One part, decompressed as it is read. A read that fails (broken data, a
// part past its limit or expanding far more than sound XML does) returns -1,
// which the XML readers see as a cut-off document; failure() says why.
class ZipPart : public QIODevice {
  public:
    ZipPart(zip_file* file, qint64 limit, qint64 compressed, QString name);
    ~ZipPart() override;
    bool isSequential() const override { return true; }
    const QString& failure() const { return failure_; }

  protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

  private:
    qint64 fail(const QString& why);

    zip_file* file_;
    qint64 limit_;
    qint64 compressed_;  // bytes the archive holds for it, whatever it claims
    QString name_;
    qint64 total_ = 0;
    QString failure_;
};

// Why a read of the device failed when it is a part; empty otherwise.
QString readFailure(const QIODevice& device);

// A zip archive held in memory (libzip); the parts of an .xlsx package.
class ZipArchive {
  public:
    explicit ZipArchive(const QByteArray& data);  // NotAWorkbook when not a zip
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    bool contains(const QString& name) const;
    // The part, decompressed as it is read, at most limit bytes of it.
    std::unique_ptr<ZipPart> open(const QString& name, qint64 limit) const;

  private:
    // The entry's index, or -1; a writer that stored Windows paths named
    // the parts with backslashes, which mean the same.
    std::int64_t locate(const QString& name) const;

    QByteArray data_;  // libzip reads it in place
    zip* archive_ = nullptr;
};

}  // namespace kq::xlsx
