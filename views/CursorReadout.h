#pragma once
// What the time cursor reads, beside the position chart: the time under the pointer ("Pointeur t"),
// the values there, and the interval a drag spans. It follows every time chart that reads
// intervals; the end of a drag is kept in the session for the fit over an interval.
#include <QObject>

class QBoxLayout;
class QFrame;
class QLabel;
class QLineEdit;
class QWidget;
class TTimeChart;
class TValueLabel;
namespace pendulab {
class Session;
}

class TCursorReadout : public QObject {
    Q_OBJECT
public:
    // Makes the read-outs on `page` and puts them in `row`.
    TCursorReadout(pendulab::Session* session, QWidget* page, QBoxLayout* row);
    void follow(TTimeChart* chart);
    // Where the last drag began, seconds.
    double startTime() const { return start_; }

private:
    void pointerMoved(double t, bool inPlot);
    pendulab::Session* session_;
    QLineEdit* cursxtxt_ = nullptr;
    TValueLabel* deltalbl_ = nullptr;
    TValueLabel* survollbl_ = nullptr; // "t = 4,20 s   Y = 1,23 V" under the pointer
    QFrame* bar0_ = nullptr; // vcur0, where the drag began
    QFrame* bar1_ = nullptr; // vcur1, under the pointer
    double start_ = 0.0;
    double pointerAt_ = 0.0; // the last time read under the pointer, and whether it is on a chart
    bool pointerIn_ = false;
};
