// Charts a student can read: time axes in seconds with titles, zoom and pan, the hover read-out.
#include <QFrame>
#include <QSlider>
#include <cmath>
#include <QLineEdit>
#include <QMouseEvent>
#include <QWheelEvent>
#include <qcustomplot.h>

#include "Harness.h"
#include "views/Accessibility.h"
#include "views/PositionPage.h"

namespace {
void mouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons,
           Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QMouseEvent e(type, at, w->mapToGlobal(at), button, buttons, mods);
    QApplication::sendEvent(w, &e);
}
QPoint at(QCustomPlot* c, double seconds) { return QPoint(qRound(c->xAxis->coordToPixel(seconds)), c->height() / 2); }
} // namespace

TEST_F(PendulabTest, TimeAxesReadSecondsOfTheRecordingWithTitles)
{
    start();
    EXPECT_EQ(Chart1(main)->xAxis->label(), QStringLiteral("t (s)"));
    EXPECT_EQ(Chart1(main)->yAxis->label(), QStringLiteral("Y (V)"));
    EXPECT_EQ(phichart(main)->yAxis->label(), QStringLiteral("dY/dt (V/s)"));
    EXPECT_EQ(Chart2(main)->yAxis->label(), QStringLiteral("E (J)"));
    // The ticks read seconds, on a nice step, from 0.
    for (int seconds : {1, 10, 120}) {
        durtxt(main)->setText(QString::number(seconds));
        record();
        Chart1(main)->replot();
        const QVector<double> ticks = Chart1(main)->xAxis->tickVector();
        const QVector<QString> labels = Chart1(main)->xAxis->tickVectorLabels();
        ASSERT_GE(ticks.size(), 3) << seconds;
        EXPECT_EQ(labels.first(), QStringLiteral("0"));
        for (int k = 0; k < ticks.size(); ++k) {
            const double shown = QLocale().toDouble(labels[k]);
            EXPECT_NEAR(shown, ticks[k], 1e-9) << seconds << " " << labels[k].toStdString();
            if (k > 0) {
                EXPECT_NEAR(shown - QLocale().toDouble(labels[k - 1]), QLocale().toDouble(labels[1]), 1e-9); // one step
            }
        }
        EXPECT_GE(ticks.last(), 0.7 * seconds); // the ticks span the record
        EXPECT_EQ(Chart1(main)->xAxis->range(), QCPRange(0, seconds));
    }
    // A decimal tick uses the French mark at D = 1 s (alone on the chart: the axis spans the longest run).
    while (main->session->runCount() > 0) main->session->removeRun(0);
    durtxt(main)->setText(QStringLiteral("1"));
    record();
    Chart1(main)->replot();
    EXPECT_TRUE(Chart1(main)->xAxis->tickVectorLabels().contains(QStringLiteral("0,2")));
}

TEST_F(PendulabTest, WheelZoomsCtrlDragPansDoubleClickRestoresAndTheCursorStillReads)
{
    start();
    record();
    QCustomPlot* c = Chart1(main);
    c->replot();
    const QPoint middle = at(c, 5.0);
    QWheelEvent wheel(middle, c->mapToGlobal(middle), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(c, &wheel);
    const QCPRange zoomed = c->xAxis->range();
    EXPECT_LT(zoomed.size(), 10.0);
    EXPECT_NEAR(zoomed.center(), 5.0, 0.1); // around the pointer
    EXPECT_EQ(c->yAxis->range(), QCPRange(-11, 11));
    // Ctrl-drag moves the window of time and shows no cursor.
    const QPoint from = at(c, 5.0), to = QPoint(from.x() + 100, from.y());
    mouse(c, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton, Qt::ControlModifier);
    mouse(c, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton, Qt::ControlModifier);
    mouse(c, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton, Qt::ControlModifier);
    EXPECT_LT(c->xAxis->range().lower, zoomed.lower);
    EXPECT_NEAR(c->xAxis->range().size(), zoomed.size(), 1e-9);
    EXPECT_TRUE(vcur0(main)->isHidden());
    // A plain drag still reads the interval, in seconds of the record, and its read-out stays.
    c->replot();
    mouse(c, QEvent::MouseButtonPress, at(c, c->xAxis->range().center()), Qt::LeftButton, Qt::LeftButton);
    mouse(c, QEvent::MouseMove, at(c, c->xAxis->range().center() + 0.5), Qt::NoButton, Qt::LeftButton);
    mouse(c, QEvent::MouseButtonRelease, at(c, c->xAxis->range().center() + 0.5), Qt::LeftButton, Qt::NoButton);
    EXPECT_TRUE(deltalbl(main)->isVisible());
    EXPECT_TRUE(deltalbl(main)->text().startsWith(QStringLiteral("dT=0,50 s"))) << deltalbl(main)->text().toStdString();
    QMouseEvent dbl(QEvent::MouseButtonDblClick, middle, c->mapToGlobal(middle), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(c, &dbl);
    EXPECT_EQ(c->xAxis->range(), QCPRange(0, 10));
}

TEST_F(PendulabTest, HoverShowsALineAndTheValuesUnderThePointer)
{
    start();
    record();
    openDialog();
    QCustomPlot* c = Chart1(main);
    c->replot();
    const QPoint pointer = at(c, 4.2);
    mouse(c, QEvent::MouseMove, pointer, Qt::NoButton, Qt::NoButton);
    // The sample under the pointer's pixel (one pixel spans more than one sample).
    const auto i = static_cast<std::size_t>(std::lround(c->xAxis->pixelToCoord(pointer.x()) / 0.005));
    ASSERT_NEAR(static_cast<double>(i), 840.0, 2.0);
    const QFrame* line = main->findChild<QFrame*>(QStringLiteral("hoverline"));
    ASSERT_NE(line, nullptr);
    EXPECT_TRUE(line->isVisible());
    const QString expected = QStringLiteral("t = 4,20 s   Y = ") +
                             QLocale().toString(data().MeasPos[i], 'f', 2) + QStringLiteral(" V   modèle = ") +
                             QLocale().toString(data().ModelPos[i], 'f', 2) + QStringLiteral(" V");
    EXPECT_EQ(survollbl(main)->text(), expected);
}

TEST_F(PendulabTest, WithoutACardALineSaysWhyAndTheGaugeReadsVolts)
{
    ::setenv("VIRTUALCARD_ABSENT", "1", 1);
    start();
    ::unsetenv("VIRTUALCARD_ABSENT");
    QLabel* why = main->findChild<QLabel*>(QStringLiteral("nocardlbl"));
    ASSERT_NE(why, nullptr);
    EXPECT_TRUE(why->isVisible());
    EXPECT_EQ(why->text(), QStringLiteral("Aucune carte d'acquisition : choisissez une source"));
    EXPECT_FALSE(aqucmd(main)->isEnabled());
}

TEST_F(PendulabTest, TheGaugeShowsItsValueInVolts)
{
    start();
    EXPECT_TRUE(main->findChild<QLabel*>(QStringLiteral("nocardlbl"))->isHidden());
    main->Timer2Timer();
    const QString text = main->findChild<QLabel*>(QStringLiteral("ea0lbl"))->text();
    ASSERT_TRUE(text.endsWith(QStringLiteral(" V"))) << text.toStdString();
    // The gauge's 4096 steps span −10 … +10 V: the text reads the same value.
    EXPECT_NEAR(QLocale().toDouble(text.chopped(2)), (ea0track(main)->value() - 2048) / 204.8, 0.006);
}

// The portrait names its axes and shows the values at their ends: the measured spiral reaches
// about ±7,9 V (released 7,5 V above 0,36 V), so the ends read a little more than that.
TEST_F(PendulabTest, ThePortraitShowsItsScaleInVoltsAndVoltsPerSecond)
{
    start();
    record();
    PageControl1(main)->setCurrentIndex(2);
    settle();
    EXPECT_EQ(Label3(main)->text(), QStringLiteral("dY/dt (V/s)"));
    EXPECT_EQ(Label5(main)->text(), QStringLiteral("Y (V)"));
    const QLabel* right = main->findChild<QLabel*>(QStringLiteral("xmaxlbl"));
    const QLabel* top = main->findChild<QLabel*>(QStringLiteral("vmaxlbl"));
    ASSERT_TRUE(right && top);
    ASSERT_TRUE(right->text().endsWith(QStringLiteral(" V"))) << right->text().toStdString();
    const double x = QLocale().toDouble(right->text().chopped(2));
    const double v = QLocale().toDouble(top->text().chopped(4));
    // The measured positions span about −7,2 … 7,9 V over the page's width; the derivative reaches
    // about ±60 V/s (7,5 V × 7,6 rad/s), times 1.3 of margin on the vertical axis.
    double lo = 1e9, hi = -1e9, fast = 0;
    for (int i = 2; i <= 1996; ++i) {
        lo = std::min(lo, data().MeasPos[static_cast<std::size_t>(i)]);
        hi = std::max(hi, data().MeasPos[static_cast<std::size_t>(i)]);
    }
    for (int i = 5; i <= 1990; ++i) fast = std::max(fast, std::fabs(data().MeasSpeed[static_cast<std::size_t>(i)]));
    EXPECT_NEAR(x, hi - lo, 0.01 * (hi - lo)); // half the width shows the whole span
    EXPECT_GT(v, fast / 1.3 * 0.5);
    EXPECT_LT(v, fast * 2.0 / 1.3);
}

TEST_F(PendulabTest, APageDrawsTheOtherShownRunsOnTheLongestSpan)
{
    start();
    auto run = [](std::size_t n, int seconds) {
        pendulab::Measurement m;
        m.volts.assign(n, 1.0);
        m.durationSeconds = seconds;
        m.origin = pendulab::Origin::File;
        return m;
    };
    main->session->addRun(run(801, 20)); // 20 s, longer than the active one
    main->session->addRun(run(2001, 10));
    EXPECT_EQ(main->positionPage()->shownRuns(), QList<int>{0}); // the active one is drawn as such
    const QCPGraph* other = Chart1(main)->findChild<QCPGraph*>(QStringLiteral("OtherRun0"));
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other->dataCount(), 798);
    main->session->setRunShown(0, false);
    EXPECT_EQ(other->dataCount(), 0);
    EXPECT_EQ(Chart1(main)->xAxis->range(), QCPRange(0, 10));
    main->session->setRunShown(0, true);
    EXPECT_EQ(other->dataCount(), 798);
    EXPECT_DOUBLE_EQ((other->data()->constEnd() - 1)->key, 20.0);
    EXPECT_EQ(Chart1(main)->xAxis->range(), QCPRange(0, 20));
    EXPECT_EQ(Series1(main)->dataCount(), 1998); // the active run as before
    main->session->removeRun(0);
    EXPECT_TRUE(main->positionPage()->shownRuns().isEmpty());
    EXPECT_EQ(other->dataCount(), 0);
    EXPECT_EQ(Chart1(main)->xAxis->range(), QCPRange(0, 10));
}
