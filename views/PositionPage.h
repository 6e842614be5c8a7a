#pragma once
// The acquisition page: the position chart (the smoothed recording, the model over it, the
// residuals on the right axis), the cursor's read-outs, and rows where the window places what
// starts a recording. A recording under way grows on it sample by sample.
#include <vector>

#include "core/Calibration.h"
#include "views/TimeChartPage.h"

class QBoxLayout;
class QCheckBox;
class QHBoxLayout;
class TCursorReadout;

class TPositionPage : public TTimeChartPage {
    Q_OBJECT
public:
    explicit TPositionPage(pendulab::Session* session, QWidget* parent = nullptr);
    QString title() const override;
    QString reportCaption() const override;
    void drawAll() override;
    void drawModel() override;

    // The first row, for what starts a recording; in the second, after the cursor's read-outs,
    // the place for the input's gauge.
    QHBoxLayout* recordingRow() const { return recordingRow_; }
    QHBoxLayout* gaugeRow() const { return gaugeRow_; }
    TCursorReadout* readout() const { return readout_; }

    // A recording under way: its curve starts empty and grows with each block of samples, shown
    // through `scale` (the next recording's calibration in the unit shown).
    void beginLive(const pendulab::DisplayScale& scale);
    // `instants`, when given (as many as the block), are the samples' own (seconds).
    void addLive(std::size_t first, const std::vector<double>& block, const std::vector<double>& instants = {});
    // The run has ended: `redraw` the run the session holds (a new one is drawn as it comes).
    void endLive(bool redraw);

private:
    void drawMeasured();
    void drawModelCurve();
    bool drawResiduals(); // true when they are shown
    void followUnit();
    void drawInterval(); // the session's interval as a light band
    QCPGraph* measured_ = nullptr; // Series1
    QCPGraph* model_ = nullptr;    // Series5
    QCPGraph* residuals_ = nullptr; // ResidSeries, made on the first draw
    QCheckBox* residchk_ = nullptr;
    class QCPItemRect* band_ = nullptr; // intervalband
    QHBoxLayout* recordingRow_ = nullptr;
    QHBoxLayout* gaugeRow_ = nullptr;
    TCursorReadout* readout_ = nullptr;
    std::vector<double> live_; // the samples of the run under way, as they arrive
    std::vector<double> liveTimes_; // their instants, from a source with its own
    std::size_t liveDrawn_ = 3; // next index of the measured curve to draw
    bool liveQueued_ = false;
    pendulab::DisplayScale liveScale_;
};
