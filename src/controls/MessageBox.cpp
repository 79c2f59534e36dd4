#include "controls/MessageBox.h"

#include <QApplication>
#include <QPushButton>

#include "controls/OpenFolder.h"

namespace kq::ui {
namespace {

MessageBox::Handler& handler() {
    static MessageBox::Handler instance;
    return instance;
}

const QString kPromptTitle = QStringLiteral("提示");

}  // namespace

QString MessageBox::defaultTitle() { return QCoreApplication::applicationName(); }

void MessageBox::setHandler(Handler h) { handler() = std::move(h); }

QMessageBox::StandardButton MessageBox::show(QWidget* parent, const Request& request) {
    if (handler()) return handler()(request);
    QMessageBox box(parent);
    box.setWindowTitle(request.title);
    box.setText(request.text);
    if (!request.details.isEmpty()) box.setDetailedText(request.details);
    switch (request.kind) {
        case Kind::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case Kind::Exclamation:
            box.setIcon(QMessageBox::Warning);
            break;
        case Kind::Error:
            box.setIcon(QMessageBox::Critical);
            break;
        case Kind::Plain:
        case Kind::Question:
            box.setIcon(QMessageBox::NoIcon);
            break;
    }
    if (request.kind == Kind::Question) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    if (!request.folderToOpen.isEmpty()) {
        box.addButton(QMessageBox::Open)->setText(QStringLiteral("打开文件夹"));
        box.setDefaultButton(QMessageBox::Ok);
    }
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void MessageBox::inform(QWidget* parent, const QString& text) {
    show(parent, {Kind::Information, kPromptTitle, text, {}, {}});
}

void MessageBox::warn(QWidget* parent, const QString& text) {
    show(parent, {Kind::Exclamation, kPromptTitle, text, {}, {}});
}

void MessageBox::plain(QWidget* parent, const QString& text) {
    show(parent, {Kind::Plain, defaultTitle(), text, {}, {}});
}

bool MessageBox::askYesNo(QWidget* parent, const QString& text, const QString& title,
                          const QString& details) {
    return show(parent, {Kind::Question, title, text, details, {}}) == QMessageBox::Yes;
}

namespace {

QString errorText(int number, const QString& description) {
    return QStringLiteral("运行时错误 '%1':\n\n%2").arg(number).arg(description);
}

}  // namespace

void MessageBox::error(QWidget* parent, int number, const QString& description,
                       const QString& details) {
    show(parent, {Kind::Error, defaultTitle(), errorText(number, description), details, {}});
}

void MessageBox::errorInFolder(QWidget* parent, int number, const QString& description,
                               const QString& folder) {
    const Request request{Kind::Error, defaultTitle(), errorText(number, description), {}, folder};
    if (show(parent, request) == QMessageBox::Open) openFolder(parent, folder);
}

}  // namespace kq::ui
