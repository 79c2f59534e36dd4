#include "import/xlsx/ZipArchive.h"

#include <zip.h>

#include <algorithm>

#include "import/workbook/FormatProblem.h"
#include "import/xlsx/ReadAhead.h"

namespace kq::xlsx {
namespace {

// A sound part never expands more than this past its first bytes: sheet XML
// deflates some 10 to 30 times. The compressed size is bounded by the bytes
// the archive really holds, so a lying directory does not lift the bound.
constexpr qint64 kFreeExpansion = qint64(64) << 20;
constexpr qint64 kMaxRatio = 100;

}  // namespace

ZipPart::ZipPart(zip_file* file, qint64 limit, qint64 compressed, QString name)
    : file_(file), limit_(limit), compressed_(compressed), name_(std::move(name)) {
    QIODevice::open(QIODevice::ReadOnly);
}

ZipPart::~ZipPart() { zip_fclose(file_); }

qint64 ZipPart::readData(char* data, qint64 maxSize) {
    if (!failure_.isEmpty()) return -1;
    const zip_int64_t n = zip_fread(file_, data, zip_uint64_t(maxSize));
    if (n < 0) return fail(QStringLiteral("%1 的压缩数据有误，无法解压").arg(name_));
    total_ += n;
    if (total_ > limit_)
        return fail(QStringLiteral("%1 解压后超过 %2 MB").arg(name_).arg(limit_ >> 20));
    if (total_ > kFreeExpansion && total_ / kMaxRatio > compressed_)
        return fail(QStringLiteral("%1 解压后是压缩大小的 %2 倍以上，不是正常的工作表")
                        .arg(name_)
                        .arg(kMaxRatio));
    return n;
}

qint64 ZipPart::fail(const QString& why) {
    failure_ = why;
    setErrorString(why);
    return -1;
}

QString readFailure(const QIODevice& device) {
    if (const auto* part = dynamic_cast<const ZipPart*>(&device)) return part->failure();
    if (const auto* ahead = dynamic_cast<const ReadAhead*>(&device)) return ahead->failure();
    return {};
}

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

std::unique_ptr<ZipPart> ZipArchive::open(const QString& name, qint64 limit) const {
    const std::int64_t index = locate(name);
    if (index < 0) damaged(QStringLiteral("缺少 %1").arg(name));
    qint64 compressed = data_.size();
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(archive_, zip_uint64_t(index), 0, &stat) == 0 &&
        (stat.valid & ZIP_STAT_COMP_SIZE) != 0)
        compressed = qint64(std::min<zip_uint64_t>(stat.comp_size, zip_uint64_t(data_.size())));
    zip_file_t* file = zip_fopen_index(archive_, zip_uint64_t(index), 0);
    if (!file) damaged(QStringLiteral("%1 无法解压").arg(name));
    return std::make_unique<ZipPart>(file, limit, compressed, name);
}

}  // namespace kq::xlsx
