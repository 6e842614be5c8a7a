// The unit list beside the source: a recording of the card read in centimetres on every page and
// in the modelling dialog, the model's curve where it was, and the measured energies drawn.
#include <QComboBox>
#include <QLabel>
#include <qcustomplot.h>

#include "Harness.h"
#include "views/ValueBox.h"

namespace {

std::vector<double> valuesOf(const QCPGraph* g)
{
    std::vector<double> v;
    for (auto it = g->data()->constBegin(); it != g->data()->constEnd(); ++it) v.push_back(it->value);
    return v;
}

QCPGraph* graphNamed(QCustomPlot* chart, const QString& name)
{
    return chart->findChild<QCPGraph*>(name);
}

} // namespace

TEST_F(PendulabTest, CentimetresOnEveryPageWithTheModelWhereItWas)
{
    start();
    record(); // the card's sensor: 0,005 m/V from 0 m, so 1 V reads 0,5 cm
    openDialog();
    auto* unit = main->findChild<QComboBox*>(QStringLiteral("unitcmb"));
    ASSERT_NE(unit, nullptr);
    ASSERT_EQ(unit->count(), 3);
    EXPECT_EQ(unit->itemText(0), QStringLiteral("V"));
    EXPECT_EQ(unit->currentText(), QStringLiteral("V"));
    const std::vector<double> volts = valuesOf(Series5(main));
    const std::vector<double> speeds = valuesOf(Series3(main));
    const double amplitude = session()->parameters().amplitude;

    unit->setCurrentIndex(2);
    emit unit->activated(2);
    settle();
    EXPECT_EQ(Chart1(main)->yAxis->label(), QStringLiteral("Y (cm)"));
    EXPECT_EQ(phichart(main)->yAxis->label(), QStringLiteral("dY/dt (cm/s)"));
    EXPECT_EQ(Label5(main)->text(), QStringLiteral("Y (cm)"));
    const std::vector<double> cm = valuesOf(Series5(main));
    ASSERT_EQ(cm.size(), volts.size());
    for (std::size_t i = 0; i < cm.size(); i += 97) EXPECT_NEAR(cm[i], 0.5 * volts[i], 1e-12 * std::abs(volts[i]) + 1e-15);
    EXPECT_NEAR(valuesOf(Series3(main))[500], 0.5 * speeds[500], 1e-12 * std::abs(speeds[500]));
    // The dialog's boxes read centimetres; a value typed there is the same model in volts.
    EXPECT_EQ(dialog->ampspin->suffix(), QStringLiteral(" cm"));
    EXPECT_NEAR(dialog->ampspin->value(), 0.5 * amplitude, 0.005);
    dialog->ampspin->setValue(2.0);
    settle();
    EXPECT_NEAR(session()->parameters().amplitude, 4.0, 1e-12);

    // Another calibration of the active run: the boxes read through it at once, within new ranges.
    pendulab::ModelParameters p = session()->parameters();
    p.offset = 2.0;
    session()->setParameters(p);
    session()->setRunCalibration(0, pendulab::Calibration{0.05, 0.3, true});
    settle();
    EXPECT_NEAR(dialog->ampspin->value(), 20.0, 1e-9); // 100·0,05·4 V
    EXPECT_NEAR(dialog->offspin->value(), 40.0, 1e-9); // 100·(0,05·2 V + 0,3 m)
    dialog->offspin->stepBy(1);
    settle();
    EXPECT_NEAR(session()->parameters().offset, 2.0 + 0.01 / 5.0, 1e-9); // 0,01 cm is 0,002 V here
    session()->setRunCalibration(0, pendulab::Calibration{});

    unit->setCurrentIndex(0);
    emit unit->activated(0);
    settle();
    EXPECT_EQ(dialog->ampspin->suffix(), QStringLiteral(" V"));
    EXPECT_NEAR(dialog->ampspin->value(), 4.0, 1e-12);
    // The measured energies beside the model's: three lines, from a calibrated recording.
    QCPGraph* total = graphNamed(Chart2(main), QStringLiteral("MeasTotalSeries"));
    ASSERT_NE(total, nullptr);
    EXPECT_EQ(total->name(), QStringLiteral("Em mesurée"));
    EXPECT_GT(total->dataCount(), 1900);
    auto* loss = main->findChild<QLabel*>(QStringLiteral("lossreadout"));
    ASSERT_NE(loss, nullptr);
    EXPECT_TRUE(loss->text().contains(QStringLiteral(" %"))) << loss->text().toStdString();
}
