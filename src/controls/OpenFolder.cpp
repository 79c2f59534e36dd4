#include "controls/OpenFolder.h"

#include <QDesktopServices>
#include <QDir>
#include <QUrl>

#include "controls/MessageBox.h"

namespace kq::ui {

void openFolder(QWidget* parent, const QString& folder) {
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(folder))) return;
    MessageBox::warn(parent, QStringLiteral("无法启动文件管理器打开程序文件夹。\n"
                                            "请自行打开这个文件夹：\n%1")
                                 .arg(QDir::toNativeSeparators(folder)));
}

}  // namespace kq::ui
