// The results page's graph: one result against another across runs, σ as error bars, the law
// drawn through the points and read out beside them.
#include <QLabel>
#include <algorithm>
#include <cmath>
#include <qcustomplot.h>

#include "session/Session.h"
#include "views/ChartFactory.h"
#include "views/Format.h"
#include "views/ResultsPage.h"

namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

QString axisTitle(const pendulab::AxisChoice& c)
{
    return c.unit.empty() ? qs(c.label) : QStringLiteral("%1 (%2)").arg(qs(c.label), qs(c.unit));
}

QCPErrorBars* bars(QCustomPlot* chart, QCPGraph* on, QCPErrorBars::ErrorType type)
{
    auto* b = new QCPErrorBars(chart->xAxis, chart->yAxis);
    b->setDataPlottable(on);
    b->setErrorType(type);
    b->setPen(QPen(charts::kMeasured, 1));
    return b;
}

// [lo, hi] with a margin; a single value or none spread around it.
QCPRange padded(double lo, double hi)
{
    if (!(hi > lo)) {
        const double half = std::isfinite(lo) && lo != 0.0 ? std::fabs(lo) * 0.1 : 1.0;
        return {lo - half, lo + half};
    }
    const double pad = (hi - lo) * 0.08;
    return {lo - pad, hi + pad};
}

} // namespace

void TResultsPage::setupChart()
{
    chart_->setBackground(QBrush(charts::kBackground));
    fitted_ = charts::makeSeries(chart_, tr("Mesures ajustées"), charts::kMeasured);
    set_ = charts::makeSeries(chart_, tr("Valeurs réglées à la main"), charts::kModel);
    for (QCPGraph* g : {fitted_, set_}) {
        g->setLineStyle(QCPGraph::lsNone);
        g->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, g->pen().color(), 7));
    }
    xBars_ = bars(chart_, fitted_, QCPErrorBars::etKeyError);
    yBars_ = bars(chart_, fitted_, QCPErrorBars::etValueError);
    lawCurve_ = charts::makeSeries(chart_, tr("Loi"), QColor(200, 0, 0));
}

void TResultsPage::drawGraph()
{
    const auto x = pendulab::axisChoice(table_, x_->currentText().toStdString());
    const auto y = pendulab::axisChoice(table_, y_->currentText().toStdString());
    for (QCPGraph* g : {fitted_, set_, lawCurve_}) g->data()->clear();
    xBars_->data()->clear();
    yBars_->data()->clear();
    lawLines_.clear();
    if (x && y) {
        const pendulab::ResultPoints p = pendulab::resultPoints(table_, *x, *y);
        QVector<double> sx, sy;
        for (std::size_t i = 0; i < p.x.size(); ++i) {
            (p.fitted[i] ? fitted_ : set_)->addData(p.x[i], p.y[i]);
            if (p.fitted[i]) {
                sx << (std::isfinite(p.sigmaX[i]) ? p.sigmaX[i] : 0.0);
                sy << (std::isfinite(p.sigmaY[i]) ? p.sigmaY[i] : 0.0);
            }
        }
        xBars_->setData(sx);
        yBars_->setData(sy);
        const auto [lo, hi] = std::minmax_element(p.x.begin(), p.x.end());
        const auto [ylo, yhi] = std::minmax_element(p.y.begin(), p.y.end());
        QCPRange xr = p.x.empty() ? QCPRange(0, 1) : padded(*lo, *hi);
        QCPRange yr = p.y.empty() ? QCPRange(0, 1) : padded(*ylo, *yhi);
        const pendulab::LawKind kind = static_cast<pendulab::LawKind>(std::max(0, law_->currentIndex()));
        const pendulab::LawFit law = pendulab::fitResults(p, kind);
        for (const std::string& line : pendulab::lawReport(law, *x, *y, userDecimalSeparator())) lawLines_ << qs(line);
        if (law.ok) {
            // Drawn over the points' span and to the origin where the law goes through it.
            if (kind == pendulab::LawKind::Proportional) xr.expand(0.0);
            constexpr int Steps = 400; // a resonance's peak drawn smooth
            for (int i = 0; i <= Steps; ++i) {
                const double t = xr.lower + (xr.upper - xr.lower) * i / Steps;
                if (const double v = law.at(t); std::isfinite(v)) lawCurve_->addData(t, v);
            }
            if (kind == pendulab::LawKind::Proportional) yr.expand(0.0);
        }
        chart_->xAxis->setLabel(axisTitle(*x));
        chart_->yAxis->setLabel(axisTitle(*y));
        chart_->xAxis->setRange(xr);
        chart_->yAxis->setRange(yr);
    }
    readout_->setText(lawLines_.join(QLatin1Char('\n')));
    chart_->replot();
}

int TResultsPage::reportHeight(int width) const { return table_.runs.empty() ? 0 : width * 9 / 20; }

void TResultsPage::paintReport(QCPPainter& painter, const QRect& target)
{
    if (stale_) refresh();
    painter.save();
    painter.translate(target.topLeft());
    painter.setClipRect(QRect(QPoint(0, 0), target.size()));
    chart_->toPainter(&painter, target.width(), target.height());
    painter.restore();
}
