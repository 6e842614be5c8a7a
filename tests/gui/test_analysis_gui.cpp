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

QPoint globalAt(QCustomPlot* chart, double value, int y = 100)
{
    return chart->mapToGlobal(QPoint(qRound(chart->xAxis->coordToPixel(value)), y));
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
    EXPECT_EQ(main->Series3->dataCount(), 1985);
    EXPECT_EQ(main->Series3->data()->constBegin()->key, 6.0); // same time axis as the model
    const QImage& image = main->xy->image();
    const int W = image.width(), halfW = main->TabSheet2->width() / 2, halfH = main->TabSheet2->height() / 2;
    EXPECT_EQ(QColor(image.pixel(W - 2, halfH + 3)), QColor(Qt::black));
    EXPECT_EQ(QColor(image.pixel(halfW + 3, 2)), QColor(Qt::black));
    EXPECT_EQ(QColor(image.pixel(halfW, halfH)), QColor(0, 0, 255));
    EXPECT_EQ(QColor(image.pixel(halfW + 40, halfH + 40)), QColor(Qt::white));
}

TEST_F(PendulabTest, CursorShowsTimeIntervalAndFrequency)
{
    QLocale::setDefault(QLocale::c());
    start();
    QCustomPlot* chart = main->Chart1;
    chart->replot();
    send(chart, QEvent::MouseMove, globalAt(chart, 1000), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(main->cursxtxt->text(), QStringLiteral("5.00 s"));

    send(chart, QEvent::MouseButtonPress, globalAt(chart, 1000), Qt::RightButton, Qt::RightButton);
    EXPECT_TRUE(main->vcur0->isHidden());
    EXPECT_TRUE(main->deltalbl->isHidden());
    send(chart, QEvent::MouseButtonRelease, globalAt(chart, 1000), Qt::RightButton, Qt::NoButton);

    send(chart, QEvent::MouseButtonPress, globalAt(chart, 1000), Qt::LeftButton, Qt::LeftButton);
    EXPECT_FALSE(main->vcur0->isHidden());
    EXPECT_FALSE(main->vcur1->isHidden());
    EXPECT_FALSE(main->deltalbl->isHidden());
    EXPECT_EQ(main->deltalbl->text(), QStringLiteral("dT=0 s"));
    EXPECT_EQ(main->vcur0->width(), 2);
    EXPECT_EQ(main->vcur0->y(), 25);
    EXPECT_EQ(main->vcur0->height(), chart->height() - 40);
    EXPECT_NEAR(main->cursorStartTime(), 5.0, 0.01); // to the pixel

    send(chart, QEvent::MouseMove, globalAt(chart, 1100), Qt::NoButton, Qt::LeftButton);
    expectInterval(main->deltalbl->text(), QLatin1Char('.'), 0.5);
    EXPECT_EQ(main->cursxtxt->text(), QStringLiteral("5.50 s"));
    EXPECT_EQ(main->vcur1->x(), chart->mapFromGlobal(globalAt(chart, 1100)).x());

    send(chart, QEvent::MouseMove, globalAt(chart, 1200, 5), Qt::NoButton, Qt::LeftButton); // top strip
    EXPECT_TRUE(main->cursxtxt->text().isEmpty());
    expectInterval(main->deltalbl->text(), QLatin1Char('.'), 0.5);

    send(chart, QEvent::MouseButtonRelease, globalAt(chart, 1100), Qt::LeftButton, Qt::NoButton);
    EXPECT_TRUE(main->vcur0->isHidden());
    EXPECT_TRUE(main->vcur1->isHidden());
    EXPECT_FALSE(main->deltalbl->isHidden()); // the interval stays readable after release
    expectInterval(main->deltalbl->text(), QLatin1Char('.'), 0.5);
    EXPECT_TRUE(ui_.errors.isEmpty());
}

TEST_F(PendulabTest, CursorFromTheEnergyChartKeepsItsTimeBase)
{
    start();
    main->PageControl1->setCurrentIndex(3);
    settle();
    QCustomPlot* energy = main->Chart2;
    energy->replot();
    // The time is read on the chart under the pointer.
    const QPoint at = globalAt(energy, 1000);
    send(energy, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    EXPECT_FALSE(main->vcur0->isHidden());
    EXPECT_EQ(main->deltalbl->text(), QStringLiteral("dT=0 s"));
    EXPECT_NEAR(main->cursorStartTime(), 5.0, 0.01);
    send(energy, QEvent::MouseMove, globalAt(energy, 1200), Qt::NoButton, Qt::LeftButton);
    expectInterval(main->deltalbl->text(), QLatin1Char(','), 1.0);
    send(energy, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
    expectInterval(main->deltalbl->text(), QLatin1Char(','), 1.0);

    // A field that does not read as a duration does not change the time base the cursor reads.
    main->durtxt->setText(QStringLiteral("dix"));
    send(energy, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
    send(energy, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    EXPECT_TRUE(ui_.errors.isEmpty());
    EXPECT_EQ(main->cursxtxt->text(), QStringLiteral("5,00 s"));
    EXPECT_FALSE(main->vcur0->isHidden());
}
