#include "controls/HandlerGuard.h"

#include <QDateTime>
#include <exception>

#include "controls/MessageBox.h"
#include "data/DamagedDatabase.h"
#include "data/DatabaseError.h"
#include "data/Error.h"
#include "import/FirstRun.h"
#include "import/MissingWorkbook.h"

namespace kq::ui {
namespace {

// A damaged database is set aside on the clerk's word, never deleted, and a
// fresh one takes its place; answering No changes nothing.
void offerFreshDatabase(QWidget* parent, const kq::DatabaseError& damage) {
    const QString folder = damage.folder();
    const QString aside = kq::damagedDatabaseName(folder, QDateTime::currentDateTime());
    const QString question =
        damage.description() + QStringLiteral(
                                   "\n\n是否把损坏的文件改名为“%1”留在程序文件夹中（不会删除），"
                                   "并新建一个空数据库？\n选“否”则一切保持原样。")
                                   .arg(aside);
    if (!MessageBox::askYesNo(parent, question, QStringLiteral("数据库已损坏"), damage.details()))
        return;
    kq::setAsideDatabase(folder, aside);
    const bool shiftTimesTaken = kq::prepareDatabaseOnFirstRun(folder);
    MessageBox::inform(
        parent, QStringLiteral("已新建空数据库，损坏的文件已改名为“%1”。\n"
                               "请依次点击“更新打卡”“更新排班”“开始统计”重新导入数据%2。")
                    .arg(aside, shiftTimesTaken ? QStringLiteral("（班次设置已从pb.xls导入）")
                                                : QString()));
}

}  // namespace

void runGuarded(QWidget* parent, const std::function<void()>& work) {
    try {
        try {
            work();
        } catch (const kq::DatabaseError& e) {
            if (e.fault() != kq::DatabaseFault::Damaged) throw;
            offerFreshDatabase(parent, e);
        }
    } catch (const kq::MissingWorkbook& e) {
        MessageBox::errorInFolder(parent, e.number(), e.description(), e.folder());
    } catch (const kq::Error& e) {
        MessageBox::error(parent, e.number(), e.description(), e.details());
    } catch (const std::bad_alloc&) {
        MessageBox::error(parent, 7,
                          QStringLiteral("内存不足，操作未完成。请关闭其他程序后重试。"));
    } catch (const std::exception& e) {
        MessageBox::error(parent, 5,
                          QStringLiteral("操作未完成：%1").arg(QString::fromLocal8Bit(e.what())));
    }
}

}  // namespace kq::ui
