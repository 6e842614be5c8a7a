#pragma once
// The about box shown once at start-up.
#include <QDialog>

class QPlainTextEdit;
class QPushButton;

class Tavert : public QDialog {
    Q_OBJECT
public:
    explicit Tavert(QWidget* parent = nullptr);
    QPlainTextEdit* Memo1 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    static QString memoText();
};
