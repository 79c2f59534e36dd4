#include "import/xlsx/ZipArchive.h"

#include <zip.h>

#include "import/workbook/FormatProblem.h"

namespace kq::xlsx {
namespace {

// A part read straight from the archive. Reading past the limit or a broken
// stream ends with an error that the XML reader sees as a cut-off document.
class PartDevice : public QIODevice {
  public:
    PartDevice(zip_file_t* file, qint64 limit) : file_(file), limit_(limit) {
        QIODevice::open(QIODevice::ReadOnly);
    }
    ~PartDevice() override { zip_fclose(file_); }
    bool isSequential() const override { return true; }

  protected:
    qint64 readData(char* data, qint64 maxSize) override {
        if (failed_) return -1;
        const zip_int64_t n = zip_fread(file_, data, zip_uint64_t(maxSize));
        if (n < 0 || (total_ += n) > limit_) {
            failed_ = true;
            return -1;
        }
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

  private:
    zip_file_t* file_;
    qint64 limit_;
    qint64 total_ = 0;
    bool failed_ = false;
};

}  // namespace

ZipArchive::ZipArchive(const QByteArray& data) : data_(data) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source =
        zip_source_buffer_create(data_.constData(), zip_uint64_t(data_.size()), 0, &error);
    if (source) {
        archive_ = zip_open_from_source(source, ZIP_RDONLY, &error);
        if (!archive_) zip_source_free(source);
    }
    zip_error_fini(&error);
    if (!archive_) damaged(QStringLiteral("压缩包目录无法读取"));
}

ZipArchive::~ZipArchive() {
    if (archive_) zip_discard(archive_);
}

std::int64_t ZipArchive::locate(const QString& name) const {
    const zip_int64_t index = zip_name_locate(archive_, name.toUtf8().constData(), ZIP_FL_NOCASE);
    if (index >= 0 || !name.contains(QLatin1Char('/'))) return index;
    QString windows = name;
    windows.replace(QLatin1Char('/'), QLatin1Char('\\'));
    return zip_name_locate(archive_, windows.toUtf8().constData(), ZIP_FL_NOCASE);
}

bool ZipArchive::contains(const QString& name) const { return locate(name) >= 0; }

std::unique_ptr<QIODevice> ZipArchive::open(const QString& name, qint64 limit) const {
    const std::int64_t index = locate(name);
    if (index < 0) damaged(QStringLiteral("缺少 %1").arg(name));
    zip_file_t* file = zip_fopen_index(archive_, zip_uint64_t(index), 0);
    if (!file) damaged(QStringLiteral("%1 无法解压").arg(name));
    return std::make_unique<PartDevice>(file, limit);
}

}  // namespace kq::xlsx
