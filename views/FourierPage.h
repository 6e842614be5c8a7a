#pragma once
// "Spectre": the amplitude spectrum of the active run (and of the other runs shown, in their
// colours) over the recording or the dragged interval, with its main peak read out beside the
// model's ω0. Computed when the page is shown (the transform of a long run is not free).
#include <memory>

#include "views/TimeChartPage.h"

class QLabel;
namespace pendulab {
class SpectrumTransform;
struct Run;
}

class TSpectrumPage : public TTimeChartPage {
    Q_OBJECT
public:
    explicit TSpectrumPage(pendulab::Session* session, QWidget* parent = nullptr);
    ~TSpectrumPage() override;
    QString title() const override;
    QString reportCaption() const override;
    void drawAll() override;
    void drawModel() override; // only the read-out's ω0
    QString peakText() const; // the read-out "Pic"
    void prepareReport() override;

protected:
    void measurementChanged() override { drawAll(); }
    void showEvent(QShowEvent* event) override;

private:
    void compute(); // every spectrum shown, the axes and the read-out
    // The spectrum of `run` (over the interval when it is the active one) into `graph`; its peak in Hz
    // (0: none), and the largest frequency worth showing.
    double plotSpectrum(QCPGraph* graph, const pendulab::Run& run, bool active, double& topHz);
    void showPeak(double peakHz);
    QCPGraph* measured_ = nullptr;
    QLabel* peak_ = nullptr; // peaklbl
    std::unique_ptr<pendulab::SpectrumTransform> transform_;
    bool stale_ = true; // drawn anew when next shown
    double peakHz_ = 0.0;
};
