// The measured derivative on screen, the portrait's arrow heads, and the time cursor.
#include <QFrame>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRegularExpression>
#include <qcustomplot.h>

#include "Harness.h"
#include "views/PhaseImage.h"
#include "views/Accessibility.h"

namespace {

QPoint globalAt(QCustomPlot* chart, double seconds, int y = 100)
{
    return chart->mapToGlobal(QPoint(qRound(chart->xAxis->coordToPixel(seconds)), y));
}

void send(QCustomPlot* target, QEvent::Type type, QPoint global, Qt::MouseButton button, Qt::MouseButtons held)
{
    const QPointF local = target->mapFromGlobal(global);
    QMouseEvent event(type, local, QPointF(global), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}

// The pointer sits on whole pixels (about 1.4 samples each here): the numbers are checked to that
// precision, the layout of the text exactly.
void expectInterval(const QString& text, QChar separator, double interval)
{
    const QString sep = QRegularExpression::escape(QString(separator));
    const QRegularExpression pattern(QStringLiteral("^dT=(\\d+%1\\d\\d) s   f=(\\d+%1\\d\\d) hz$").arg(sep));
    const auto match = pattern.match(text);
    ASSERT_TRUE(match.hasMatch()) << text.toStdString();
    auto number = [&](int i) { return match.captured(i).replace(separator, QLatin1Char('.')).toDouble(); };
    EXPECT_NEAR(number(1), interval, 0.011);
    EXPECT_NEAR(number(2), 1.0 / interval, 0.015 / interval);
}

} // namespace

TEST_F(PendulabTest, ZerosGiveAFlatDerivativeADotAndTheArrowHeads)
{
    start();
    main->Mesures();
    EXPECT_EQ(Series3(main)->dataCount(), 1985);
    EXPECT_DOUBLE_EQ(Series3(main)->data()->constBegin()->key, 0.03); // sample 6 of 2001 over 10 s
    const QImage& image = xy(main)->image();
    const int W = image.width(), halfW = TabSheet2(main)->width() / 2, halfH = TabSheet2(main)->height() / 2;
    EXPECT_EQ(QColor(image.pixel(W - 2, halfH + 3)), QColor(Qt::black));
    EXPECT_EQ(QColor(image.pixel(halfW + 3, 2)), QColor(Qt::black));
    EXPECT_EQ(QColor(image.pixel(halfW, halfH)), QColor(0, 0, 255));
    EXPECT_EQ(QColor(image.pixel(halfW + 40, halfH + 40)), QColor(Qt::white));
}

TEST_F(PendulabTest, CursorShowsTimeIntervalAndFrequency)
{
    QLocale::setDefault(QLocale::c());
    start();
    QCustomPlot* chart = Chart1(main);
    chart->replot();
    send(chart, QEvent::MouseMove, globalAt(chart, 5.0), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(cursxtxt(main)->text(), QStringLiteral("5.00 s"));

    send(chart, QEvent::MouseButtonPress, globalAt(chart, 5.0), Qt::RightButton, Qt::RightButton);
    EXPECT_TRUE(vcur0(main)->isHidden());
    EXPECT_TRUE(deltalbl(main)->isHidden());
    send(chart, QEvent::MouseButtonRelease, globalAt(chart, 5.0), Qt::RightButton, Qt::NoButton);

    send(chart, QEvent::MouseButtonPress, globalAt(chart, 5.0), Qt::LeftButton, Qt::LeftButton);
    EXPECT_FALSE(vcur0(main)->isHidden());
    EXPECT_FALSE(vcur1(main)->isHidden());
    EXPECT_FALSE(deltalbl(main)->isHidden());
    EXPECT_EQ(deltalbl(main)->text(), QStringLiteral("dT=0 s"));
    EXPECT_EQ(vcur0(main)->width(), 2);
    EXPECT_EQ(vcur0(main)->y(), 25);
    EXPECT_EQ(vcur0(main)->height(), chart->height() - 40);
    EXPECT_NEAR(main->cursorStartTime(), 5.0, 0.01); // to the pixel

    send(chart, QEvent::MouseMove, globalAt(chart, 5.5), Qt::NoButton, Qt::LeftButton);
    expectInterval(deltalbl(main)->text(), QLatin1Char('.'), 0.5);
    EXPECT_EQ(cursxtxt(main)->text(), QStringLiteral("5.50 s"));
    EXPECT_EQ(vcur1(main)->x(), chart->mapFromGlobal(globalAt(chart, 5.5)).x());

    send(chart, QEvent::MouseMove, globalAt(chart, 6.0, 5), Qt::NoButton, Qt::LeftButton); // top strip
    EXPECT_TRUE(cursxtxt(main)->text().isEmpty());
    expectInterval(deltalbl(main)->text(), QLatin1Char('.'), 0.5);

    send(chart, QEvent::MouseButtonRelease, globalAt(chart, 5.5), Qt::LeftButton, Qt::NoButton);
    EXPECT_TRUE(vcur0(main)->isHidden());
    EXPECT_TRUE(vcur1(main)->isHidden());
    EXPECT_FALSE(deltalbl(main)->isHidden()); // the interval stays readable after release
    expectInterval(deltalbl(main)->text(), QLatin1Char('.'), 0.5);
    EXPECT_TRUE(ui_.errors.isEmpty());
}

TEST_F(PendulabTest, CursorFromTheEnergyChartKeepsItsTimeBase)
{
    start();
    PageControl1(main)->setCurrentIndex(3);
    settle();
    QCustomPlot* energy = Chart2(main);
    energy->replot();
    // The time is read on the chart under the pointer.
    const QPoint at = globalAt(energy, 5.0);
    send(energy, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    EXPECT_FALSE(vcur0(main)->isHidden());
    EXPECT_EQ(deltalbl(main)->text(), QStringLiteral("dT=0 s"));
    EXPECT_NEAR(main->cursorStartTime(), 5.0, 0.01);
    send(energy, QEvent::MouseMove, globalAt(energy, 6.0), Qt::NoButton, Qt::LeftButton);
    expectInterval(deltalbl(main)->text(), QLatin1Char(','), 1.0);
    send(energy, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
    expectInterval(deltalbl(main)->text(), QLatin1Char(','), 1.0);

    // A field that does not read as a duration does not change the time base the cursor reads.
    durtxt(main)->setText(QStringLiteral("dix"));
    send(energy, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
    send(energy, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    EXPECT_TRUE(ui_.errors.isEmpty());
    EXPECT_EQ(cursxtxt(main)->text(), QStringLiteral("5,00 s"));
    EXPECT_FALSE(vcur0(main)->isHidden());
}
