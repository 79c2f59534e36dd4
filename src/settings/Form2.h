#pragma once

#include <QString>
#include <QWidget>

// The shift settings window. Loading it reads the shift-window times.
class Form2 : public QWidget {
    Q_OBJECT
public:
    Form2(QString programFolder, QWidget* parent = nullptr);

private:
    QString programFolder_;
};
