#pragma once

#include <QMessageBox>
#include <QString>
#include <functional>

namespace kq {
class Error;
}

namespace kq::ui {

// Every message of the program goes through here, so tests can record them
// and answer questions without a modal loop.
class MessageBox {
  public:
    enum class Kind { Information, Exclamation, Plain, Question, Error };
    struct Request {
        Kind kind;
        QString title;
        QString text;
        QString details;  // for support: behind "Show Details...", not in the text
        // When set, a button "打开文件夹" beside OK, answered as QMessageBox::Open.
        QString folderToOpen;
    };
    // Returns the button the user pressed.
    using Handler = std::function<QMessageBox::StandardButton(const Request&)>;

    // Completion messages: information icon, OK, title "提示".
    static void inform(QWidget* parent, const QString& text);
    // Input messages: exclamation icon, OK, title "提示".
    static void warn(QWidget* parent, const QString& text);
    // No icon and the program's own title.
    static void plain(QWidget* parent, const QString& text);
    // Yes and No, no icon; true only for Yes.
    static bool askYesNo(QWidget* parent, const QString& text, const QString& title,
                         const QString& details = {});
    // A failure no handler expected: its number and description.
    static void error(QWidget* parent, int number, const QString& description,
                      const QString& details = {});

    // A failure that names a folder the clerk must put a file into: as
    // error(), with a button that opens the folder and closes the message.
    static void errorInFolder(QWidget* parent, int number, const QString& description,
                              const QString& folder);

    static QString defaultTitle();

    // Test seam: replaces the modal box; an empty handler restores it.
    static void setHandler(Handler handler);

  private:
    static QMessageBox::StandardButton show(QWidget* parent, const Request& request);
};

}  // namespace kq::ui
