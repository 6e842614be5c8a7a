#pragma once
// "Dérivée / x": the phase portrait, the measured spiral in blue and the model's in grey over it,
// on the canvas `xy` with its two axes and the values at their ends. The measured part is kept:
// a model change redraws only the model's spiral, and while the page is hidden only when it is
// next looked at.
#include "views/Page.h"

class QFrame;
class QLabel;
class TPhaseImage;

class TPortraitPage : public TPage {
    Q_OBJECT
public:
    explicit TPortraitPage(pendulab::Session* session, QWidget* parent = nullptr);
    QString title() const override;
    QString reportCaption() const override;
    void drawAll() override;
    void drawModel() override;
    void drawAnalysis() override;
    int reportHeight(int width) const override;
    void paintReport(QCPPainter& painter, const QRect& target) override;
    void followHiddenResize() override;
    // The axes and the scale's labels where the canvas's size puts them.
    void placeAxes();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void drawMeasured(); // the measured spiral and the arrowheads, kept as the base
    void drawModelSpiral();
    void overBase(); // the kept measured spiral, the model's over it
    void showScale(double pixelsPerVolt, double pixelsPerVoltPerSecond);
    TPhaseImage* xy_ = nullptr;
    QFrame* vaxe_ = nullptr;
    QFrame* haxe_ = nullptr;
    QLabel* vTitle_ = nullptr; // Label3, "dY/dt (V/s)"
    QLabel* hTitle_ = nullptr; // Label5, "Y (V)"
    QLabel *xmin_ = nullptr, *xmax_ = nullptr, *vmin_ = nullptr, *vmax_ = nullptr;
    bool drawn_ = false;       // redrawn when the page changes size
    bool redrawQueued_ = false;
};
