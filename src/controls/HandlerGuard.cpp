#include "controls/HandlerGuard.h"

#include <exception>

#include "controls/MessageBox.h"
#include "data/Error.h"

namespace kq::ui {

void runGuarded(QWidget* parent, const std::function<void()>& work) {
    try {
        work();
    } catch (const kq::Error& e) {
        MessageBox::error(parent, e.number(), e.description());
    } catch (const std::bad_alloc&) {
        MessageBox::error(parent, 7,
                          QStringLiteral("内存不足，操作未完成。请关闭其他程序后重试。"));
    } catch (const std::exception& e) {
        MessageBox::error(parent, 5,
                          QStringLiteral("操作未完成：%1").arg(QString::fromLocal8Bit(e.what())));
    }
}

}  // namespace kq::ui
