#include "settings/Form2.h"

#include "app/controls/Twips.h"
#include "app/controls/WindowFonts.h"

Form2::Form2(QString programFolder, QWidget* parent)
    : QWidget(parent, Qt::Window), programFolder_(std::move(programFolder)) {
    setObjectName(QStringLiteral("Form2"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("班次设置"));
    setWindowIcon(kq::ui::programIcon());
    setFixedSize(kq::ui::twips(5490), kq::ui::twips(4980));
}
