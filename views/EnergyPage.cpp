#include "views/EnergyPage.h"

#include <QBoxLayout>
#include <QLabel>
#include <cmath>
#include <qcustomplot.h>

#include "core/FormatCore.h"
#include "session/RunEnergy.h"
#include "session/Session.h"
#include "views/Accessibility.h"
#include "views/Format.h"
#include "views/TimeChart.h"
#include "views/ValueAxis.h"

TEnergyPage::TEnergyPage(pendulab::Session* session, QWidget* parent)
    : TTimeChartPage(session, QStringLiteral("TabSheet4"), parent)
{
    setChart(new TTimeChart(this, QStringLiteral("Chart2"), QStringLiteral("E (J)"), tr("Etude énergétique"), true));
    chart()->setValueRange(QCPRange(0, 1));
    kinetic_ = chart()->addSeries(QStringLiteral("Series4"), QColor(255, 0, 0));
    kinetic_->setName(tr("énergie cinétique"));
    kinetic_->setBrush(QColor(255, 0, 0));
    total_ = chart()->addSeries(QStringLiteral("Series6"), QColor(0, 128, 0));
    total_->setName(tr("énergie potentielle"));
    total_->setBrush(QColor(0, 128, 0));
    total_->setChannelFillGraph(kinetic_); // stacked on the kinetic band
    const auto line = [this](const QString& name, const QString& text, const QColor& colour) {
        QCPGraph* g = chart()->addSeries(name, colour);
        g->setPen(QPen(colour, 2));
        g->setName(text);
        return g;
    };
    measuredKinetic_ = line(QStringLiteral("MeasKineticSeries"), tr("Ec mesurée"), QColor(255, 200, 0));
    measuredPotential_ = line(QStringLiteral("MeasPotentialSeries"), tr("Ep mesurée"), QColor(0, 200, 255));
    measuredTotal_ = line(QStringLiteral("MeasTotalSeries"), tr("Em mesurée"), QColor(0, 0, 0));
    chart()->legend->setVisible(true);
    waiting_ = new QCPItemText(chart());
    waiting_->setObjectName(QStringLiteral("energywaitlbl"));
    waiting_->position->setType(QCPItemPosition::ptAxisRectRatio);
    waiting_->position->setCoords(0.5, 0.5);
    waiting_->setText(tr("Tracez le modèle pour voir son énergie."));
    waiting_->setFont(QFont(font().family(), 12));
    waiting_->setColor(QColor(60, 60, 60));
    chart()->axisRect()->insetLayout()->setInsetAlignment(0, Qt::AlignTop | Qt::AlignHCenter);
    loss_ = new QLabel(this);
    loss_->setObjectName(QStringLiteral("lossreadout"));
    describe(loss_, tr("Perte par période"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(loss_); // one line above the chart, which takes the rest
    layout->addWidget(chart(), 1);
    loss_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

QString TEnergyPage::title() const { return tr("Etude énergétique"); }
QString TEnergyPage::reportCaption() const { return tr("Énergies"); }

void TEnergyPage::drawAll()
{
    const pendulab::Run& run = session()->activeRun();
    const pendulab::EnergyStudy study = pendulab::energyStudy(run);
    using State = pendulab::EnergyStudy::State;
    const bool calibrated = study.state != State::NotCalibrated;
    const double modelTop = drawModelEnergy(calibrated && run.modelShown());
    const double measuredTop = drawMeasuredEnergy(study);
    if (study.state == State::NotCalibrated)
        waiting_->setText(tr("Cette mesure est en %1 sans étalonnage : pas d'énergie en joules.\n"
                             "Étalonnez le capteur (Outils › Étalonner le capteur…).")
                              .arg(QString::fromStdString(run.measurement.unit)));
    else if (study.state == State::TooCoarse)
        waiting_->setText(tr("Enregistrement trop espacé pour son énergie : la dérivée\n"
                             "s'étend sur plus d'un vingtième de période."));
    else
        waiting_->setText(tr("Tracez le modèle pour voir son énergie."));
    waiting_->setVisible(study.state == State::NotCalibrated || study.state == State::TooCoarse ||
                         (modelTop < 0.0 && measuredTop < 0.0));
    showLoss(study);
    // Energies are small (hundredths of a joule): step 1 while it shows at least two ticks, nice
    // automatic ticks below that.
    double top = std::max(modelTop, measuredTop);
    if (!(top > 0.0) || !std::isfinite(top)) top = 1.0;
    chart()->setValueRange(QCPRange(0.0, top * 1.05));
    setTickStep(chart()->yAxis, top >= 2.0 ? std::optional(1.0) : std::nullopt, QCPAxisTickerFixed::ssMultiples);
    chart()->redraw();
}

// The model's energies (nothing until the model has been asked for); −1 when none is drawn.
double TEnergyPage::drawModelEnergy(bool shown)
{
    const pendulab::Run& run = session()->activeRun();
    const pendulab::Signals& d = run.data;
    const std::size_t n = d.Kinetic.size();
    kinetic_->data()->clear();
    total_->data()->clear();
    if (!shown || n < 3) return -1.0;
    QVector<double> keys, kinetic, total;
    double top = 0.0;
    for (std::size_t i = 1; i + 1 < n; ++i) {
        keys.push_back(run.timeOf(i));
        kinetic.push_back(d.Kinetic[i]);
        total.push_back(d.Kinetic[i] + d.Potential[i]);
        top = std::max(top, total.back());
    }
    kinetic_->setData(keys, kinetic, true);
    total_->setData(keys, total, true);
    return top;
}

// The measured energies where the derivative is complete; −1 when there are none.
double TEnergyPage::drawMeasuredEnergy(const pendulab::EnergyStudy& study)
{
    for (QCPGraph* g : {measuredKinetic_, measuredPotential_, measuredTotal_}) g->data()->clear();
    if (study.state != pendulab::EnergyStudy::State::Shown) return -1.0;
    const pendulab::Run& run = session()->activeRun();
    const auto count = static_cast<qsizetype>(study.last - study.first + 1);
    QVector<double> keys(count), kinetic(count), potential(count), total(count);
    double top = 0.0;
    for (qsizetype k = 0; k < count; ++k) {
        const std::size_t i = study.first + static_cast<std::size_t>(k);
        keys[k] = run.timeOf(i);
        kinetic[k] = study.kinetic[i];
        potential[k] = study.potential[i];
        total[k] = kinetic[k] + potential[k];
        top = std::max(top, total[k]);
    }
    measuredKinetic_->setData(keys, kinetic, true);
    measuredPotential_->setData(keys, potential, true);
    measuredTotal_->setData(keys, total, true);
    return top;
}

void TEnergyPage::showLoss(const pendulab::EnergyStudy& study)
{
    const auto percent = [](const std::optional<double>& share) {
        return share && std::isfinite(*share) ? fmtFixed(100.0 * *share, 1, 1) + QStringLiteral(" %") : QStringLiteral("—");
    };
    const bool measured = study.state == pendulab::EnergyStudy::State::Shown;
    loss_->setVisible(measured);
    if (!measured) return;
    loss_->setText(tr("Perte d'énergie par période : mesurée %1, modèle (1 − e^(−h·T/m)) %2")
                       .arg(percent(study.measuredLoss), percent(study.modelLoss)));
}
