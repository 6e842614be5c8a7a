// What the charts and their read-outs show after a user's gesture: the model on the axis it is
// drawn on, the pointer's read-out, the interval's band, the vertical range and zoom, the energy
// page before a model.
#include <QMouseEvent>
#include <QWheelEvent>
#include <cmath>
#include <numbers>

#include "Harness.h"

namespace {

void mouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held,
           Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QMouseEvent e(type, at, w->mapToGlobal(at), button, held, mods);
    QApplication::sendEvent(w, &e);
}

QPoint at(QCustomPlot* c, double seconds, int y = 100) { return QPoint(qRound(c->xAxis->coordToPixel(seconds)), y); }

void drag(QCustomPlot* c, double from, double to)
{
    mouse(c, QEvent::MouseButtonPress, at(c, from), Qt::LeftButton, Qt::LeftButton);
    mouse(c, QEvent::MouseMove, at(c, to), Qt::NoButton, Qt::LeftButton);
    mouse(c, QEvent::MouseButtonRelease, at(c, to), Qt::LeftButton, Qt::NoButton);
}

// Released at rest, the default damped model (m 0.3 kg, h 0.2 kg/s, k 20 N/m) has its first
// extreme at π/ω whatever the time base; the time where the drawn curve has it.
double firstExtremeOf(const QCPGraph* model)
{
    double lowest = 1e9, when = 0.0;
    for (auto it = model->data()->constBegin(); it != model->data()->constEnd() && it->key < 0.8; ++it)
        if (it->value < lowest) lowest = it->value, when = it->key;
    return when;
}
const double kFirstExtreme = std::numbers::pi / std::sqrt(20.0 / 0.3 - std::pow(0.2 / (2 * 0.3), 2));

} // namespace

TEST_F(PendulabTest, TheModelAloneFollowsTheDurationItsAxisShows)
{
    start();
    openDialog(); // the default model, shown over the next recording's 10 s
    session()->setNextDuration(20); // as the duration field does
    settle();
    const QCPGraph* model = Series5(main);
    EXPECT_NEAR((model->data()->constEnd() - 1)->key, 19.99, 1e-9);
    EXPECT_EQ(Chart1(main)->xAxis->range(), QCPRange(0, 20));
    EXPECT_NEAR(firstExtremeOf(model), kFirstExtreme, 0.011);
}

TEST_F(PendulabTest, ThePointersReadOutFollowsWhatIsDrawnAndSaysNothingOffTheChart)
{
    start();
    record();
    openDialog();
    QCustomPlot* c = Chart1(main);
    c->replot();
    const QPoint pointer = at(c, 4.2);
    mouse(c, QEvent::MouseMove, pointer, Qt::NoButton, Qt::NoButton);
    const auto modelText = [this] { return survollbl(main)->text().section(QStringLiteral("modèle = "), 1); };
    const QString before = modelText();
    dialog->UpDown9->click(TUpDown::btPrev); // amplitude 10 → 9.5 V: a new model
    settle();
    const auto i = static_cast<std::size_t>(std::lround(c->xAxis->pixelToCoord(pointer.x()) / 0.005));
    EXPECT_EQ(modelText(), QLocale().toString(data().ModelPos[i], 'f', 2) + QStringLiteral(" V"));
    EXPECT_NE(modelText(), before);
    // A pan moves the time under the pointer: the line stays under it, the text follows.
    const QPoint to(pointer.x() + 100, pointer.y());
    mouse(c, QEvent::MouseButtonPress, pointer, Qt::LeftButton, Qt::LeftButton, Qt::ControlModifier);
    mouse(c, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton, Qt::ControlModifier);
    mouse(c, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton, Qt::ControlModifier);
    c->replot(QCustomPlot::rpImmediateRefresh);
    const QFrame* line = main->findChild<QFrame*>(QStringLiteral("hoverline"));
    EXPECT_EQ(line->x(), to.x());
    const QString shown = QStringLiteral("t = ") + QLocale().toString(c->xAxis->pixelToCoord(to.x()), 'f', 2);
    EXPECT_TRUE(survollbl(main)->text().startsWith(shown)) << survollbl(main)->text().toStdString();
    // Off the chart: nothing.
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(c, &leave);
    EXPECT_TRUE(survollbl(main)->text().isEmpty());
    EXPECT_TRUE(cursxtxt(main)->text().isEmpty());
    EXPECT_FALSE(line->isVisible());
}

TEST_F(PendulabTest, TheFittedIntervalStaysVisibleAsABandUntilADoubleClick)
{
    start();
    record();
    QCustomPlot* c = Chart1(main);
    c->replot();
    drag(c, 2.0, 4.0);
    EXPECT_TRUE(vcur0(main)->isHidden());
    ASSERT_TRUE(session()->interval().has_value());
    const auto* band = main->findChild<QCPItemRect*>(QStringLiteral("intervalband"));
    ASSERT_NE(band, nullptr);
    EXPECT_TRUE(band->visible());
    // The band's colour inside the interval, the chart's grey outside, high in the plot (clear of the curves).
    const QImage image = c->grab().toImage();
    const int y = c->axisRect()->top() + 3;
    EXPECT_EQ(QColor(image.pixel(qRound(c->xAxis->coordToPixel(3.0)), y)), QColor(255, 236, 170));
    EXPECT_EQ(QColor(image.pixel(qRound(c->xAxis->coordToPixel(6.0)), y)), QColor(210, 210, 210));
    QMouseEvent dbl(QEvent::MouseButtonDblClick, at(c, 5.0), c->mapToGlobal(at(c, 5.0)), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
    QApplication::sendEvent(c, &dbl);
    EXPECT_FALSE(session()->interval().has_value()); // the report no longer prints it
    EXPECT_FALSE(band->visible());
}

TEST_F(PendulabTest, AnotherUnitGetsARangeFittedToItsValuesAndEveryAxisZooms)
{
    start();
    pendulab::Measurement m;
    m.volts.resize(2001);
    for (std::size_t i = 0; i < m.volts.size(); ++i) m.volts[i] = 0.03 * std::sin(0.01 * static_cast<double>(i));
    m.unit = "m";
    m.calibration = pendulab::calibrationOfUnit("m"); // as a file in metres is read
    m.origin = pendulab::Origin::File;
    session()->setMeasurement(m);
    QCustomPlot* c = Chart1(main);
    EXPECT_EQ(c->yAxis->label(), QStringLiteral("Y (m)"));
    EXPECT_NEAR(c->yAxis->range().lower, -0.033, 1e-6); // 5 % of the 6 cm span either side
    EXPECT_NEAR(c->yAxis->range().upper, 0.033, 1e-6);
    // Shift+wheel zooms the values, a double-click restores them; the wheel alone zooms time.
    for (QCustomPlot* chart : {Chart1(main), phichart(main), Chart2(main)}) {
        chart->replot();
        const QCPRange home = chart->yAxis->range();
        const QPoint middle(chart->axisRect()->center());
        QWheelEvent wheel(middle, chart->mapToGlobal(middle), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::ShiftModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(chart, &wheel);
        EXPECT_LT(chart->yAxis->range().size(), home.size()) << chart->objectName().toStdString();
        EXPECT_EQ(chart->xAxis->range(), QCPRange(0, 10));
        QMouseEvent dbl(QEvent::MouseButtonDblClick, middle, chart->mapToGlobal(middle), Qt::LeftButton, Qt::LeftButton,
                        Qt::NoModifier);
        QApplication::sendEvent(chart, &dbl);
        EXPECT_EQ(chart->yAxis->range(), home);
    }
    // A recording in volts within ±11 V: the card's scale, titled like the derivative.
    record();
    EXPECT_EQ(c->yAxis->label(), QStringLiteral("Y (V)"));
    EXPECT_EQ(c->yAxis->range(), QCPRange(-11, 11));
}

TEST_F(PendulabTest, TheEnergyPageSaysWhatItWaitsFor)
{
    start();
    const auto* waiting = main->findChild<QCPItemText*>(QStringLiteral("energywaitlbl"));
    ASSERT_NE(waiting, nullptr);
    EXPECT_TRUE(waiting->visible());
    EXPECT_EQ(waiting->text(), QStringLiteral("Tracez le modèle pour voir son énergie."));
    openDialog();
    EXPECT_FALSE(waiting->visible());
    dialog->visichk->click(); // "Tracer" off
    EXPECT_TRUE(waiting->visible());
}

TEST_F(PendulabTest, DuringARecordingTheShownModelKeepsItsOwnTimeOnTheNewAxis)
{
    start();
    durtxt(main)->setText(QStringLiteral("4"));
    record();
    openDialog();
    durtxt(main)->setText(QStringLiteral("2"));
    main->session->setRunShown(0, false); // shown, the 4 s run would stay in view under the new one
    aqucmd(main)->click(); // the run starts: its axis spans 2 s before a sample has come
    EXPECT_EQ(Chart1(main)->xAxis->range(), QCPRange(0, 2));
    EXPECT_NEAR(firstExtremeOf(Series5(main)), kFirstExtreme, 0.003); // at its own time, not stretched to the axis
    waitForRun();
}
