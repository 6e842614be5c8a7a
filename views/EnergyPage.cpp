#include "views/EnergyPage.h"

#include <QBoxLayout>
#include <cmath>
#include <qcustomplot.h>

#include "session/Session.h"
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
    chart()->legend->setVisible(true);
    waiting_ = new QCPItemText(chart());
    waiting_->setObjectName(QStringLiteral("energywaitlbl"));
    waiting_->position->setType(QCPItemPosition::ptAxisRectRatio);
    waiting_->position->setCoords(0.5, 0.5);
    waiting_->setText(tr("Tracez le modèle pour voir son énergie."));
    waiting_->setFont(QFont(font().family(), 12));
    waiting_->setColor(QColor(60, 60, 60));
    chart()->axisRect()->insetLayout()->setInsetAlignment(0, Qt::AlignTop | Qt::AlignHCenter);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(chart());
}

QString TEnergyPage::title() const { return tr("Etude énergétique"); }
QString TEnergyPage::reportCaption() const { return tr("Énergies"); }

// All model: drawn whole, nothing until the model has been asked for.
void TEnergyPage::drawAll()
{
    const pendulab::Run& run = session()->activeRun();
    const pendulab::Signals& d = run.data;
    const std::size_t n = d.Kinetic.size();
    kinetic_->data()->clear();
    total_->data()->clear();
    const bool shown = run.modelShown() && n >= 3;
    waiting_->setVisible(!shown); // says what the page waits for
    if (shown) {
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
        // Energies are small (hundredths of a joule): step 1 while it shows at least two ticks,
        // nice automatic ticks below that.
        if (!(top > 0.0) || !std::isfinite(top)) top = 1.0;
        chart()->setValueRange(QCPRange(0.0, top * 1.05));
        setTickStep(chart()->yAxis, top >= 2.0 ? std::optional(1.0) : std::nullopt, QCPAxisTickerFixed::ssMultiples);
    }
    chart()->redraw();
}
