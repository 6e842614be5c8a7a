#pragma once
// "Etude énergétique": the model's kinetic energy, with its potential energy stacked on it.
#include "views/TimeChartPage.h"

class TEnergyPage : public TTimeChartPage {
    Q_OBJECT
public:
    explicit TEnergyPage(pendulab::Session* session, QWidget* parent = nullptr);
    QString title() const override;
    QString reportCaption() const override;
    void drawAll() override;

private:
    QCPGraph* kinetic_ = nullptr; // Series4
    QCPGraph* total_ = nullptr;   // Series6, kinetic plus potential
    class QCPItemText* waiting_ = nullptr; // until a model is shown
};
