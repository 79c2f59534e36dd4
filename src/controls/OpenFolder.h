#pragma once

#include <QString>

class QWidget;

namespace kq::ui {

// Shows folder in the desktop's file manager (Explorer on Windows). Where
// none can be started, a message says so and gives the folder's path, so the
// clerk can still find it.
void openFolder(QWidget* parent, const QString& folder);

}  // namespace kq::ui
