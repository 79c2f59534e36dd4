#pragma once

class QCoreApplication;

namespace kq::ui {

// Installs Qt's own Chinese translations, so that the standard buttons of
// message boxes and dialogs read 确定, 是 and 否 like the rest of the program.
// Returns false, and leaves Qt's English texts, when the translation file is
// not installed.
bool installChineseQtTranslations(QCoreApplication& app);

}  // namespace kq::ui
