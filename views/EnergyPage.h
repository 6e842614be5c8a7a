#pragma once
// "Etude énergétique": the model's kinetic energy, with its potential energy stacked on it, and the
// energies of the measured motion as three lines over them, with what a period loses.
#include "views/TimeChartPage.h"

class QLabel;
namespace pendulab {
struct EnergyStudy;
}

class TEnergyPage : public TTimeChartPage {
    Q_OBJECT
public:
    explicit TEnergyPage(pendulab::Session* session, QWidget* parent = nullptr);
    QString title() const override;
    QString reportCaption() const override;
    void drawAll() override;

private:
    double drawModelEnergy(bool shown);                      // the stacked areas; their top
    double drawMeasuredEnergy(const pendulab::EnergyStudy& study); // the three lines; their top
    void showLoss(const pendulab::EnergyStudy& study);
    QCPGraph* kinetic_ = nullptr; // Series4
    QCPGraph* total_ = nullptr;   // Series6, kinetic plus potential
    QCPGraph* measuredKinetic_ = nullptr, *measuredPotential_ = nullptr, *measuredTotal_ = nullptr;
    class QCPItemText* waiting_ = nullptr; // what the page waits for, or why it draws nothing measured
    QLabel* loss_ = nullptr;                // lossreadout: the share of energy a period loses
};
