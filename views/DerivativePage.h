#pragma once
// "Dérivée / t": the measured derivative over the model's, on an axis that holds both.
#include "views/TimeChartPage.h"

class TDerivativePage : public TTimeChartPage {
    Q_OBJECT
public:
    explicit TDerivativePage(pendulab::Session* session, QWidget* parent = nullptr);
    QString title() const override;
    QString reportCaption() const override;
    void drawAll() override;
    void drawModel() override;
    void drawAnalysis() override;

private:
    void drawModelCurve();
    void fitAxis(); // to both curves, or the one there is
    QCPGraph* model_ = nullptr;    // Series2
    QCPGraph* measured_ = nullptr; // Series3
};
