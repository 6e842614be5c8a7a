#include "views/FourierPage.h"

#include <QBoxLayout>
#include <QLabel>
#include <cmath>
#include <numbers>
#include <qcustomplot.h>

#include "analysis/Fourier.h"
#include "core/FormatCore.h"
#include "session/Session.h"
#include "views/Accessibility.h"
#include "views/ChartFactory.h"
#include "views/Format.h"
#include "views/Services.h"
#include "views/TimeChart.h"

namespace {
constexpr double kTwoPi = 2.0 * std::numbers::pi;
}

TSpectrumPage::TSpectrumPage(pendulab::Session* session, QWidget* parent)
    : TTimeChartPage(session, QStringLiteral("TabSheetSpectrum"), parent), transform_(std::make_unique<pendulab::SpectrumTransform>())
{
    setChart(new TTimeChart(this, QStringLiteral("spectrumchart"), QStringLiteral("A (V)"), tr("Spectre"), false));
    chart()->xAxis->setTicker(QSharedPointer<QCPAxisTicker>::create());
    chart()->xAxis->setLabel(QStringLiteral("f (Hz)"));
    measured_ = chart()->addSeries(QStringLiteral("SpectrumSeries"), charts::kMeasured);
    measured_->setName(tr("spectre"));
    peak_ = new QLabel(this);
    peak_->setObjectName(QStringLiteral("peaklbl"));
    peak_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    describe(peak_, tr("Pic"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(peak_);
    layout->addWidget(chart(), 1);
    peak_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    connect(session, &pendulab::Session::intervalChanged, this, [this] { guarded(this, [this] { drawAll(); }); });
}

TSpectrumPage::~TSpectrumPage() = default;

QString TSpectrumPage::title() const { return tr("Spectre"); }
// The report's caption carries the peak read out.
QString TSpectrumPage::reportCaption() const { return tr("Spectre") + QStringLiteral(" — ") + peak_->text(); }

void TSpectrumPage::prepareReport()
{
    if (stale_) compute(); // hidden until now: the spectrum the report shows is computed here
}
QString TSpectrumPage::peakText() const { return peak_->text(); }

void TSpectrumPage::showEvent(QShowEvent* event)
{
    TTimeChartPage::showEvent(event);
    if (stale_) guarded(this, [this] { compute(); });
}

void TSpectrumPage::drawAll()
{
    stale_ = true; // the transform waits until the page is shown (or printed)
    if (isVisible()) compute();
}

void TSpectrumPage::compute()
{
    stale_ = false;
    double topHz = 1.0;
    const pendulab::Run& active = session()->activeRun();
    peakHz_ = active.hasSamples() ? plotSpectrum(measured_, active, true, topHz) : 0.0;
    if (!active.hasSamples()) measured_->data()->clear();
    eachOther([&](QCPGraph* graph, const pendulab::Run& run) { plotSpectrum(graph, run, false, topHz); });
    chart()->yAxis->setLabel(QStringLiteral("A (%1)").arg(QString::fromStdString(session()->activeScale().unit)));
    chart()->setSpan(topHz);
    bool found = false;
    QCPRange range = measured_->getValueRange(found);
    chart()->setValueRange(found && range.upper > 0.0 && std::isfinite(range.upper) ? QCPRange(0.0, range.upper * 1.08) : QCPRange(0.0, 1.0));
    showPeak(peakHz_);
    chart()->redraw();
}

void TSpectrumPage::drawModel() { showPeak(peakHz_); }

double TSpectrumPage::plotSpectrum(QCPGraph* graph, const pendulab::Run& run, bool active, double& topHz)
{
    const pendulab::Measurement& m = run.measurement;
    std::size_t first = 0, last = m.size() ? m.size() - 1 : 0;
    if (active && run.interval) { // the dragged interval
        const auto a = run.sampleNear(run.interval->from), b = run.sampleNear(run.interval->to);
        if (a && b && *b > *a + 3) first = *a, last = *b;
    }
    const std::span<const double> values = std::span<const double>(m.volts).subspan(first, last - first + 1);
    double period = m.samplePeriod();
    std::vector<double> even;
    if (!m.constantPeriod()) even = pendulab::resampledEvenly(std::span<const double>(m.instants).subspan(first, last - first + 1), values, period);
    const pendulab::Spectrum s = transform_->spectrum(m.constantPeriod() ? values : std::span<const double>(even), period);
    const std::optional<pendulab::DisplayScale> scale = session()->scaleOf(run);
    const double gain = scale ? std::abs(scale->gain) : 1.0;
    QVector<double> keys, amplitude;
    keys.reserve(static_cast<qsizetype>(s.amplitude.size()));
    amplitude.reserve(static_cast<qsizetype>(s.amplitude.size()));
    for (std::size_t k = 0; k < s.amplitude.size(); ++k) {
        keys.push_back(static_cast<double>(k) * s.binHz);
        amplitude.push_back(gain * s.amplitude[k]);
    }
    graph->setData(keys, amplitude, true);
    const std::optional<pendulab::SpectrumPeak> peak = pendulab::mainPeak(s);
    if (!peak) return 0.0;
    // Up to four times the peak, at least 5 Hz, within what the sampling shows.
    const double nyquist = keys.isEmpty() ? 1.0 : keys.back();
    topHz = std::max(topHz, std::min(nyquist, std::max(5.0, 4.0 * peak->frequencyHz)));
    return peak->frequencyHz;
}

void TSpectrumPage::showPeak(double peakHz)
{
    if (!(peakHz > 0.0) || !std::isfinite(peakHz)) {
        peak_->setText(session()->hasMeasurement() ? tr("Pas de pic dans ce spectre.") : tr("Enregistrez une mesure pour voir son spectre."));
        return;
    }
    QString text = QStringLiteral("f = %1 Hz   ω = %2 rad/s   T = %3 s")
                       .arg(fmtFixed(peakHz, 1, 3), fmtFixed(kTwoPi * peakHz, 1, 3), fmtFixed(1.0 / peakHz, 1, 4));
    const pendulab::Run& run = session()->activeRun();
    if (run.modelShown()) text += tr("   modèle : ω0 = %1 rad/s").arg(fmtFixed(run.modelResult.omega0, 1, 3));
    peak_->setText(text);
}
