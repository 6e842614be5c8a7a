#pragma once
// A page drawn on a time chart: the chart's span follows the runs shown (for now the active one,
// or the next recording's duration while there is none), and the report gets the chart as a
// vector drawing.
#include <QVector>
#include <functional>

#include "views/Page.h"

class QCPGraph;
namespace pendulab {
struct Run;
struct Signals;
} // namespace pendulab

class TTimeChartPage : public TPage {
    Q_OBJECT
public:
    TTimeChartPage(pendulab::Session* session, const QString& objectName, QWidget* parent = nullptr);
    TTimeChart* timeChart() const override { return chart_; }
    void paintReport(QCPPainter& painter, const QRect& target) override;

protected:
    void measurementChanged() override;
    // The page's chart, made by the page; its span follows the session from then on.
    void setChart(TTimeChart* chart);
    TTimeChart* chart() const { return chart_; }
    void followSpan(); // the chart's span, drawn with the next redraw
    // What the values are: positions (gain and shift of the unit shown) or derivatives (gain only).
    enum class Quantity { Position, Derivative };
    // The measured `values` of the other runs shown, [first … n − 1 − trimEnd] of each, in pale
    // colours under the active run's curves, in the unit shown.
    void plotOthers(std::vector<double> pendulab::Signals::*values, Quantity q, std::size_t first, std::size_t trimEnd);
    // Each other run shown, with its curve (made as needed, in its colour and name, under the
    // active run's), handed to `draw`; the curves of runs no longer shown are emptied.
    void eachOther(const std::function<void(QCPGraph*, const pendulab::Run&)>& draw);
    // The curve of values[first … last] at the run's instants in the unit shown (nothing when the
    // run is shorter).
    void plot(QCPGraph* graph, const pendulab::Run& run, const std::vector<double>& values, Quantity q, std::size_t first,
              std::size_t last) const;

private:
    TTimeChart* chart_ = nullptr;
    QList<QCPGraph*> others_; // one per other run shown, made as needed
};
