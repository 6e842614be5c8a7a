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

namespace {
void mouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons,
           Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QMouseEvent e(type, at, w->mapToGlobal(at), button, buttons, mods);
    QApplication::sendEvent(w, &e);
}
QPoint at(QCustomPlot* c, double sample) { return QPoint(qRound(c->xAxis->coordToPixel(sample)), c->height() / 2); }
} // namespace

TEST_F(PendulabTest, TimeAxesReadSecondsOfTheRecordingWithTitles)
{
    start();
    EXPECT_EQ(main->Chart1->xAxis->label(), QStringLiteral("t (s)"));
    EXPECT_EQ(main->Chart1->yAxis->label(), QStringLiteral("Y (V)"));
    EXPECT_EQ(main->phichart->yAxis->label(), QStringLiteral("dY/dt (V/s)"));
    EXPECT_EQ(main->Chart2->yAxis->label(), QStringLiteral("E (J)"));
    // Each tick at sample i reads i·D/2000 seconds, on a nice step, from 0.
    for (int seconds : {1, 10, 120}) {
        main->durtxt->setText(QString::number(seconds));
        record();
        main->Chart1->replot();
        const QVector<double> ticks = main->Chart1->xAxis->tickVector();
        const QVector<QString> labels = main->Chart1->xAxis->tickVectorLabels();
        ASSERT_GE(ticks.size(), 3) << seconds;
        EXPECT_EQ(labels.first(), QStringLiteral("0"));
        for (int k = 0; k < ticks.size(); ++k) {
            const double shown = QLocale().toDouble(labels[k]);
            EXPECT_NEAR(shown, ticks[k] * seconds / 2000.0, 1e-9) << seconds << " " << labels[k].toStdString();
            if (k > 0) {
                EXPECT_NEAR(shown - QLocale().toDouble(labels[k - 1]), QLocale().toDouble(labels[1]), 1e-9); // one step
            }
        }
        EXPECT_GE(ticks.last() * seconds / 2000.0, 0.7 * seconds); // the ticks span the record
    }
    // A decimal tick uses the French mark at D = 1 s.
    main->durtxt->setText(QStringLiteral("1"));
    record();
    main->Chart1->replot();
    EXPECT_TRUE(main->Chart1->xAxis->tickVectorLabels().contains(QStringLiteral("0,2")));
}

TEST_F(PendulabTest, WheelZoomsCtrlDragPansDoubleClickRestoresAndTheCursorStillReads)
{
    start();
    record();
    QCustomPlot* c = main->Chart1;
    c->replot();
    const QPoint middle = at(c, 1000);
    QWheelEvent wheel(middle, c->mapToGlobal(middle), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(c, &wheel);
    const QCPRange zoomed = c->xAxis->range();
    EXPECT_LT(zoomed.size(), 2000.0);
    EXPECT_NEAR(zoomed.center(), 1000.0, 20.0); // around the pointer
    EXPECT_EQ(c->yAxis->range(), QCPRange(-11, 11));
    // Ctrl-drag moves the window of time and shows no cursor.
    const QPoint from = at(c, 1000), to = QPoint(from.x() + 100, from.y());
    mouse(c, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton, Qt::ControlModifier);
    mouse(c, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton, Qt::ControlModifier);
    mouse(c, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton, Qt::ControlModifier);
    EXPECT_LT(c->xAxis->range().lower, zoomed.lower);
    EXPECT_NEAR(c->xAxis->range().size(), zoomed.size(), 1e-9);
    EXPECT_TRUE(main->vcur0->isHidden());
    // A plain drag still reads the interval, in seconds of the record, and its read-out stays.
    c->replot();
    mouse(c, QEvent::MouseButtonPress, at(c, c->xAxis->range().center()), Qt::LeftButton, Qt::LeftButton);
    mouse(c, QEvent::MouseMove, at(c, c->xAxis->range().center() + 100), Qt::NoButton, Qt::LeftButton);
    mouse(c, QEvent::MouseButtonRelease, at(c, c->xAxis->range().center() + 100), Qt::LeftButton, Qt::NoButton);
    EXPECT_TRUE(main->deltalbl->isVisible());
    EXPECT_TRUE(main->deltalbl->text().startsWith(QStringLiteral("dT=0,50 s"))) << main->deltalbl->text().toStdString();
    QMouseEvent dbl(QEvent::MouseButtonDblClick, middle, c->mapToGlobal(middle), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(c, &dbl);
    EXPECT_EQ(c->xAxis->range(), QCPRange(0, 2000));
}

TEST_F(PendulabTest, HoverShowsALineAndTheValuesUnderThePointer)
{
    start();
    record();
    openDialog();
    QCustomPlot* c = main->Chart1;
    c->replot();
    const QPoint pointer = at(c, 840);
    mouse(c, QEvent::MouseMove, pointer, Qt::NoButton, Qt::NoButton);
    // The sample under the pointer's pixel (one pixel spans more than one sample).
    const auto i = static_cast<std::size_t>(std::lround(c->xAxis->pixelToCoord(pointer.x())));
    ASSERT_NEAR(static_cast<double>(i), 840.0, 2.0);
    const QFrame* line = main->findChild<QFrame*>(QStringLiteral("hoverline"));
    ASSERT_NE(line, nullptr);
    EXPECT_TRUE(line->isVisible());
    const QString expected = QStringLiteral("t = 4,20 s   Y = ") +
                             QLocale().toString(data().MeasPos[i], 'f', 2) + QStringLiteral(" V   modèle = ") +
                             QLocale().toString(data().ModelPos[i], 'f', 2) + QStringLiteral(" V");
    EXPECT_EQ(main->survollbl->text(), expected);
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
    EXPECT_FALSE(main->aqucmd->isEnabled());
}

TEST_F(PendulabTest, TheGaugeShowsItsValueInVolts)
{
    start();
    EXPECT_TRUE(main->findChild<QLabel*>(QStringLiteral("nocardlbl"))->isHidden());
    main->Timer2Timer();
    const QString text = main->findChild<QLabel*>(QStringLiteral("ea0lbl"))->text();
    ASSERT_TRUE(text.endsWith(QStringLiteral(" V"))) << text.toStdString();
    // The gauge's 4096 steps span −10 … +10 V: the text reads the same value.
    EXPECT_NEAR(QLocale().toDouble(text.chopped(2)), (main->ea0track->value() - 2048) / 204.8, 0.006);
}

// The portrait names its axes and shows the values at their ends: the measured spiral reaches
// about ±7,9 V (released 7,5 V above 0,36 V), so the ends read a little more than that.
TEST_F(PendulabTest, ThePortraitShowsItsScaleInVoltsAndVoltsPerSecond)
{
    start();
    record();
    main->PageControl1->setCurrentIndex(2);
    settle();
    EXPECT_EQ(main->Label3->text(), QStringLiteral("dY/dt (V/s)"));
    EXPECT_EQ(main->Label5->text(), QStringLiteral("Y (V)"));
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
