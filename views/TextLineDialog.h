#pragma once
// "Port série (lignes de texte)": a device of the teacher's own that prints its readings as lines
// of text ("t,x" from an Arduino): its port, its speed, how its lines are laid out and what unit
// its values are in. A refusal says why, changes nothing and leaves the dialog open.
#include <QDialog>
#include <QString>
#include <QStringList>

#include "acquisition/TextLines.h"

class QComboBox;
class QLabel;
class QLineEdit;

class TTextLineDialog : public QDialog {
    Q_OBJECT
public:
    // `candidates`: the ports to offer; `port` is shown whether it is one of them or not.
    TTextLineDialog(const QString& port, const QStringList& candidates, const pendulab::textline::Format& start,
                    QWidget* parent = nullptr);

    // "OK" (Return): the values chosen, checked, kept, then the dialog closes; a refusal is shown
    // and the dialog stays as it was.
    void okClick();
    // The values as last accepted (or as started from).
    QString port() const { return port_; }
    const pendulab::textline::Format& format() const { return format_; }

private:
    void buildControls(const QStringList& candidates);
    void showFormat(const pendulab::textline::Format& f);
    void timeColumnChanged();
    void unitChanged();
    // The values the controls hold; false (and a message shown) when they cannot be used.
    bool typedFormat(QString& typedPort, pendulab::textline::Format& f);

    QString port_;
    pendulab::textline::Format format_;
    QString typedSlope_; // what was in the calibration box before a length unit filled it
    QComboBox* portBox_ = nullptr;
    QComboBox* baud_ = nullptr;
    QComboBox* separator_ = nullptr;
    QComboBox* timeColumn_ = nullptr;
    QComboBox* timeUnit_ = nullptr;
    QComboBox* valueColumn_ = nullptr;
    QComboBox* unit_ = nullptr;
    QLineEdit* slope_ = nullptr;
    QLabel* note_ = nullptr;
};
