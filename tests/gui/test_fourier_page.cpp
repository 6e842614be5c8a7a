// "Spectre": the virtual card's pendulum read off its spectrum's peak, beside the model's ω0, and
// the peak of the dragged interval alone.
#include <QLabel>
#include <QRegularExpression>
#include <QTabWidget>
#include <cmath>
#include <qcustomplot.h>

#include "Harness.h"
#include "views/FourierPage.h"

namespace {

// The frequency the read-out gives, Hz.
double peakHz(const QString& text)
{
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("f = ([0-9]+,[0-9]+) Hz")).match(text);
    return m.hasMatch() ? QLocale(QLocale::French).toDouble(m.captured(1)) : NAN;
}

} // namespace

TEST_F(PendulabTest, TheSpectrumsPeakIsThePendulumsFrequency)
{
    start();
    record(); // k 18,5 N/m, m 0,32 kg, h 0,12 kg/s: ω = √(k/m − (h/2m)²) = 7,6011 rad/s
    openDialog(); // the model drawn: k 20 N/m, m 0,3 kg
    auto* page = main->findChild<TSpectrumPage*>();
    ASSERT_NE(page, nullptr);
    PageControl1(main)->setCurrentWidget(page);
    settle();
    auto* label = main->findChild<QLabel*>(QStringLiteral("peaklbl"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->accessibleName(), QStringLiteral("Pic"));
    const double truth = std::sqrt(18.5 / 0.32 - std::pow(0.12 / 0.64, 2)) / (2 * M_PI);
    EXPECT_NEAR(peakHz(label->text()), truth, 0.002 * truth) << label->text().toStdString();
    EXPECT_TRUE(label->text().contains(QStringLiteral("modèle : ω0 = 8,165 rad/s"))) << label->text().toStdString();
    auto* chart = main->findChild<QCustomPlot*>(QStringLiteral("spectrumchart"));
    EXPECT_EQ(chart->xAxis->label(), QStringLiteral("f (Hz)"));
    EXPECT_GT(chart->xAxis->range().upper, truth);
    // Over the first two seconds only: the same pendulum, a coarser but still close peak.
    session()->setInterval(0.0, 2.0);
    settle();
    EXPECT_NEAR(peakHz(label->text()), truth, 0.02 * truth) << label->text().toStdString();
}
