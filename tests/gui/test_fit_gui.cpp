// "Ajuster" in the modelling dialog, the shift spinner as release time, and the residual curve,
// through the real windows and the virtual card (m 0.32 kg, k 18.5 N/m, h 0.12 kg/s, 7.5 V).
#include <QCheckBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QSlider>
#include <cmath>
#include <cstdlib>
#include <qcustomplot.h>

#include "Harness.h"
#include "views/Accessibility.h"
#include "views/UpDown.h"
#include "model/ParameterScales.h"

namespace {

class FitGuiTest : public PendulabTest {
protected:
    pendulab::Session* s() const { return main->session; }

    // "&Lancer", then events until the run is over (whether it runs here or on a worker thread).
    void recordRun()
    {
        aqucmd(main)->click();
        for (int guard = 0; main->running() && guard < 1000000; ++guard) QApplication::processEvents(QEventLoop::AllEvents, 5);
        settle();
        ASSERT_TRUE(s()->hasMeasurement());
    }

    QStringList readOut() const { return dialog->ajustlbl->text().split(QLatin1Char('\n')); }

    // A number of the read-out ("18,47") as a double.
    static double number(QString text) { return text.replace(QLatin1Char(','), QLatin1Char('.')).toDouble(); }

    void expectNoNaNShown() const
    {
        for (const QWidget* widget : dialog->findChildren<QWidget*>()) {
            QString text;
            if (auto* l = qobject_cast<const QLabel*>(widget)) text = l->text();
            if (auto* e = qobject_cast<const QLineEdit*>(widget)) text = e->text();
            EXPECT_FALSE(text.contains(QStringLiteral("nan"), Qt::CaseInsensitive) ||
                         text.contains(QStringLiteral("inf"), Qt::CaseInsensitive))
                << widget->objectName().toStdString() << ": " << text.toStdString();
        }
    }

    void drag(double fromSeconds, double toSeconds)
    {
        QCustomPlot* chart = Chart1(main);
        chart->replot();
        auto at = [chart](double seconds) { return chart->mapToGlobal(QPoint(qRound(chart->xAxis->coordToPixel(seconds)), 100)); };
        auto send = [chart](QEvent::Type type, QPoint global, Qt::MouseButton button, Qt::MouseButtons held) {
            QMouseEvent event(type, chart->mapFromGlobal(global), QPointF(global), button, held, Qt::NoModifier);
            QCoreApplication::sendEvent(chart, &event);
        };
        send(QEvent::MouseButtonPress, at(fromSeconds), Qt::LeftButton, Qt::LeftButton);
        send(QEvent::MouseMove, at(toSeconds), Qt::NoButton, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, at(toSeconds), Qt::LeftButton, Qt::NoButton);
    }
};

// Sets a variable of the virtual card for one test.
struct ScopedEnv {
    const char* name;
    ScopedEnv(const char* n, const char* value) : name(n) { ::setenv(n, value, 1); }
    ~ScopedEnv() { ::unsetenv(name); }
};

} // namespace

TEST_F(FitGuiTest, FitFindsThePendulumAndTheWayBackRestoresTheSettings)
{
    start();
    openDialog();
    EXPECT_FALSE(dialog->ajustcmd->isEnabled()); // nothing recorded yet
    recordRun();
    ASSERT_TRUE(dialog->ajustcmd->isEnabled());
    emit main->runningChanged(true);
    EXPECT_FALSE(dialog->ajustcmd->isEnabled());
    emit main->runningChanged(false);
    EXPECT_TRUE(dialog->ajustcmd->isEnabled());

    dialog->mtrack->setValue(319); // the weighed 0.32 kg
    const pendulab::ModelParameters manual = s()->parameters();
    dialog->ajustcmd->click();
    settle();
    ASSERT_TRUE(ui_.messages.isEmpty()) << ui_.messages.join('\n').toStdString();

    const pendulab::ModelParameters fitted = s()->parameters();
    EXPECT_NEAR(fitted.stiffness, 18.5, 0.185);
    EXPECT_NE(fitted.stiffness, 18.5); // the fitted value itself, not a slider's
    EXPECT_NEAR(fitted.friction, 0.12, 0.006);
    EXPECT_EQ(fitted.mass, manual.mass);
    EXPECT_EQ(dialog->ktrack->value(), 37);
    EXPECT_EQ(dialog->ktxt->text(), QString::number(fitted.stiffness, 'f', 1).replace('.', ',') + QStringLiteral(" N/m"));
    EXPECT_TRUE(dialog->omlbl->text().contains(QString::number(std::sqrt(fitted.stiffness / 0.32), 'f', 2).replace('.', ',')))
        << dialog->omlbl->text().toStdString();

    // One line per quantity, each σ with two significant digits and its value to the same place.
    const QStringList lines = readOut();
    ASSERT_EQ(lines.size(), 10) << dialog->ajustlbl->text().toStdString();
    const char* symbols[] = {"k", "h", "a", "décalage", "t0", "ω0", "T", "Q"};
    for (int j = 0; j < 8; ++j) {
        const QRegularExpression form(QStringLiteral("^%1 = (-?\\d+)(,(\\d+))? ± (\\d+)(,(\\d+))?( \\S+)?$").arg(QString::fromUtf8(symbols[j])));
        const auto m = form.match(lines[j]);
        ASSERT_TRUE(m.hasMatch()) << lines[j].toStdString();
        EXPECT_EQ(m.captured(3).size(), m.captured(6).size()) << lines[j].toStdString(); // same decimal place
        QString sigmaDigits = m.captured(4) + m.captured(6);
        sigmaDigits.remove(QRegularExpression(QStringLiteral("^0+")));
        EXPECT_EQ(sigmaDigits.size(), 2) << lines[j].toStdString();
    }
    const auto km = QRegularExpression(QStringLiteral("^k = (18,\\d+) ± ")).match(lines[0]);
    ASSERT_TRUE(km.hasMatch()) << lines[0].toStdString();
    EXPECT_NEAR(number(km.captured(1)), fitted.stiffness, 0.01);
    EXPECT_TRUE(lines[5].endsWith(QStringLiteral(" rad/s")) && lines[6].endsWith(QStringLiteral(" s"))) << lines[6].toStdString();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^écart-type = 0,0[01]\\d V$")).match(lines[8]).hasMatch())
        << lines[8].toStdString();
    EXPECT_EQ(lines[9], QStringLiteral("Ajusté sur toute la mesure (2001 points)."));
    expectNoNaNShown();

    // A second fit in a row; the way back still leads to the settings made by hand.
    dialog->ajustcmd->click();
    ASSERT_TRUE(dialog->manuelcmd->isEnabled());
    dialog->manuelcmd->click();
    EXPECT_EQ(s()->parameters(), manual);
    EXPECT_EQ(dialog->ktrack->value(), pendulab::nearestPosition(pendulab::Control::Stiffness, manual.stiffness));
    EXPECT_FALSE(dialog->manuelcmd->isEnabled());

    // The read-out stays while only "Tracer" changes, and goes when a value is set by hand.
    dialog->ajustcmd->click();
    ASSERT_FALSE(dialog->ajustlbl->text().isEmpty());
    dialog->visichk->click();
    EXPECT_FALSE(dialog->ajustlbl->text().isEmpty());
    dialog->htrack->setValue(dialog->htrack->value() + 5);
    EXPECT_TRUE(dialog->ajustlbl->text().isEmpty());
}

TEST_F(FitGuiTest, OverTheDragIntervalOnly)
{
    start();
    openDialog();
    recordRun();
    dialog->mtrack->setValue(319);
    // Spoil the first five seconds: only a fit that keeps to [5 s, 10 s] still finds the pendulum.
    pendulab::Measurement m = s()->measurement();
    for (std::size_t i = 0; i < 1000; ++i) m.volts[i] = (i / 37) % 2 ? 9.0 : -9.0;
    s()->setMeasurement(m);
    dialog->intervchk->setChecked(true);
    dialog->ajustcmd->click(); // no drag on this recording yet
    ASSERT_EQ(ui_.messages.size(), 1);
    EXPECT_TRUE(ui_.messages[0].contains(QStringLiteral("intervalle"))) << ui_.messages[0].toStdString();
    EXPECT_FALSE(dialog->manuelcmd->isEnabled());

    drag(5.0, 10.0);
    ASSERT_TRUE(s()->interval().has_value());
    EXPECT_NEAR(s()->interval()->from, 5.0, 0.02);
    EXPECT_NEAR(s()->interval()->to, 10.0, 0.02);
    dialog->ajustcmd->click();
    ASSERT_EQ(ui_.messages.size(), 1) << ui_.messages.join('\n').toStdString();
    EXPECT_NEAR(s()->parameters().stiffness, 18.5, 0.185);
    EXPECT_NEAR(s()->parameters().releaseTime, 0.0, 0.05);
    EXPECT_EQ(dialog->UpDown1->position(), pendulab::nearestPosition(pendulab::Control::ReleaseTime, s()->parameters().releaseTime));
}

TEST_F(FitGuiTest, AFlatRecordingIsRefusedAndChangesNothing)
{
    ScopedEnv flat("VIRTUALCARD_AMPLITUDE", "0");
    start();
    openDialog();
    recordRun();
    const pendulab::ModelParameters before = s()->parameters();
    const int runs = modelRuns;
    dialog->ajustcmd->click();
    ASSERT_EQ(ui_.messages.size(), 1);
    EXPECT_TRUE(ui_.messages[0].contains(QStringLiteral("plat"))) << ui_.messages[0].toStdString();
    EXPECT_EQ(dialog->ajustlbl->text(), ui_.messages[0]);
    EXPECT_EQ(s()->parameters(), before);
    EXPECT_EQ(modelRuns, runs);
    EXPECT_FALSE(dialog->manuelcmd->isEnabled());
}

TEST_F(FitGuiTest, TheShiftSpinnerIsTheReleaseTime)
{
    start();
    openDialog(); // D = 10 s: 0.5 s is 100 samples
    const std::vector<double> unshifted = data().ModelPos;
    for (int i = 0; i < 10; ++i) dialog->UpDown1->click(TUpDown::btNext);
    EXPECT_EQ(s()->parameters().releaseTime, 0.5);
    EXPECT_EQ(dialog->t0txt->text(), QStringLiteral("0,50 s"));
    for (std::size_t i = 0; i < 100; ++i) ASSERT_EQ(data().ModelPos[i], unshifted[0]) << i; // at rest until released
    for (std::size_t i = 100; i < unshifted.size(); ++i) ASSERT_NEAR(data().ModelPos[i], unshifted[i - 100], 1e-9) << i;
}

TEST_F(FitGuiTest, TheResidualCurveIsTheRecordingMinusTheModel)
{
    start();
    openDialog();
    recordRun();
    EXPECT_TRUE(ResidSeries(main) == nullptr || !ResidSeries(main)->visible());
    residchk(main)->setChecked(true);
    ASSERT_NE(ResidSeries(main), nullptr);
    EXPECT_TRUE(ResidSeries(main)->visible());
    ASSERT_EQ(ResidSeries(main)->dataCount(), 2001);
    const double expected = s()->measurement().volts[1234] - pendulab::OscillatorModel(s()->modelInputs()).at(1234 * 10.0 / 2000).position;
    EXPECT_DOUBLE_EQ(ResidSeries(main)->data()->at(1234)->key, 6.17); // sample 1234 of 2001 over 10 s
    EXPECT_NEAR(ResidSeries(main)->data()->at(1234)->value, expected, 1e-9);
    // On the right axis, symmetric about zero, the largest residual at half height.
    double top = 0.0;
    for (auto it = ResidSeries(main)->data()->constBegin(); it != ResidSeries(main)->data()->constEnd(); ++it)
        top = std::max(top, std::fabs(it->value));
    EXPECT_EQ(ResidSeries(main)->valueAxis(), Chart1(main)->yAxis2);
    EXPECT_DOUBLE_EQ(Chart1(main)->yAxis2->range().upper, std::max(0.01, 2 * top));
    EXPECT_DOUBLE_EQ(Chart1(main)->yAxis2->range().lower, -Chart1(main)->yAxis2->range().upper);
    dialog->visichk->click(); // no model shown, no residuals
    EXPECT_FALSE(ResidSeries(main)->visible());
}
