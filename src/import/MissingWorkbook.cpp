#include "import/MissingWorkbook.h"

#include <QDir>
#include <QMutex>
#include <QStringList>

namespace kq {
namespace {

struct Fallback {
    QMutex mutex;
    QString used;
    QString unwritable;
};

Fallback& fallback() {
    static Fallback instance;
    return instance;
}

QString describe(const QStringList& names, const QString& folder, const QString& extra) {
    const QString which = names.size() == 1
                              ? names.front()
                              : names.mid(0, names.size() - 1).join(QStringLiteral("、")) +
                                    QStringLiteral(" 或 ") + names.back();
    const QString put = names.size() == 1 ? QStringLiteral("请把它放入该文件夹后重试。")
                                          : QStringLiteral("请把其中一个放入该文件夹后重试。");
    return QStringLiteral("找不到工作簿 %1（%2）。").arg(which, workbookFolderText(folder)) + put +
           extra;
}

}  // namespace

void noteFallbackFolder(const QString& usedFolder, const QString& unwritableProgramFolder) {
    Fallback& f = fallback();
    const QMutexLocker lock(&f.mutex);
    f.used = unwritableProgramFolder.isEmpty() ? QString() : QDir::cleanPath(usedFolder);
    f.unwritable = QDir::toNativeSeparators(QDir::cleanPath(unwritableProgramFolder));
}

QString fallbackReason(const QString& folder) {
    Fallback& f = fallback();
    const QMutexLocker lock(&f.mutex);
    if (f.used.isEmpty() || QDir::cleanPath(folder) != f.used) return {};
    return QStringLiteral("程序所在的文件夹 %1 无法写入，所以改用这里").arg(f.unwritable);
}

QString workbookFolderText(const QString& folder) {
    const QString reason = fallbackReason(folder);
    return QStringLiteral("应在文件夹 %1 中").arg(folder) +
           (reason.isEmpty() ? QString() : QStringLiteral("；") + reason);
}

MissingWorkbook::MissingWorkbook(const QStringList& names, const QString& folder,
                                 const QString& extra)
    : Error(ErrorKind::FileNotFound, describe(names, folder, extra)), folder_(folder) {}

}  // namespace kq
