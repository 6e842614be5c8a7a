#pragma once
// The list beside the source that chooses the unit positions read in ("Unité"): the units the
// active run converts to (V, m, cm for a calibrated position sensor). The choice is remembered in
// the settings and kept while a run that cannot take it is active.
#include <QObject>

class QComboBox;
class QHBoxLayout;
class QWidget;
namespace pendulab {
class Session;
}

class TUnitChoice : public QObject {
    Q_OBJECT
public:
    // The label and the list go into `row` at `position`; the remembered unit is taken at once.
    TUnitChoice(pendulab::Session* session, QWidget* parent, QHBoxLayout* row, int position);
    QComboBox* box() const { return box_; }

private:
    void refill(); // the active run's units, the one shown selected
    void chosen(int index);
    pendulab::Session* session_;
    QComboBox* box_ = nullptr;
};
