// The run list through the window: a click makes a run active, its check box shows or hides it,
// rename, colour and delete; the active run is drawn in blue and the others in their own colours.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>

#include "app/Main.h"
#include "session/Session.h"
#include "tests/gui/Controls.h"
#include "tests/gui/Harness.h"
#include "views/RunList.h"

namespace {

// A flat run at `volts` over 10 s.
pendulab::Measurement flat(double volts)
{
    pendulab::Measurement m;
    m.volts.assign(2001, volts);
    m.durationSeconds = 10;
    m.origin = pendulab::Origin::File;
    return m;
}

void press(QWidget* target, QPoint at, QEvent::Type type)
{
    QMouseEvent down(type == QEvent::MouseButtonDblClick ? type : QEvent::MouseButtonPress, QPointF(at),
                     QPointF(target->mapToGlobal(at)), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &down);
    QMouseEvent up(QEvent::MouseButtonRelease, QPointF(at), QPointF(target->mapToGlobal(at)), Qt::LeftButton,
                   Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &up);
}

} // namespace

class RunListTest : public PendulabTest {
protected:
    QTreeWidget* list() const { return runlist(main); }
    // A click on the middle of a run's name, or on its check box.
    void click(int run, bool checkBox = false, QEvent::Type type = QEvent::MouseButtonPress)
    {
        const QRect r = list()->visualItemRect(list()->topLevelItem(run));
        const int x = checkBox ? r.left() + list()->style()->pixelMetric(QStyle::PM_IndicatorWidth) / 2 + 3 : r.left() + 60;
        press(list()->viewport(), QPoint(x, r.center().y()), type);
        settle();
    }
    // The colour drawn at t = 5 s, `volts` high, on the position chart as it is on screen.
    QColor drawnAt(double volts) const
    {
        QCustomPlot* c = Chart1(main);
        c->replot(QCustomPlot::rpImmediateRefresh);
        const QImage image = c->grab().toImage();
        return image.pixelColor(qRound(c->xAxis->coordToPixel(5.0)), qRound(c->yAxis->coordToPixel(volts)));
    }
};

TEST_F(RunListTest, ClicksActivateShowHideRenameRecolourAndDeleteRunsWithTheActiveOneInBlue)
{
    start();
    const QColor background = drawnAt(1.3); // off the grid's lines
    for (double v : {3.7, -3.3, 1.3}) session()->addRun(flat(v));
    ASSERT_EQ(list()->topLevelItemCount(), 3);
    EXPECT_EQ(list()->accessibleName(), QStringLiteral("Mesures"));
    EXPECT_EQ(list()->topLevelItem(1)->text(0), QStringLiteral("Mesure 2"));
    EXPECT_EQ(list()->topLevelItem(1)->text(1), QStringLiteral("10 s"));
    const QColor first(QRgb(session()->run(0).colour)), third(QRgb(session()->run(2).colour));
    EXPECT_EQ(drawnAt(1.3), QColor(0, 0, 255)); // the active run
    EXPECT_EQ(drawnAt(3.7), first);             // the others in their own colours

    click(0); // a click makes a run active: blue now, the one before in its colour
    EXPECT_EQ(session()->activeIndex(), 0);
    EXPECT_TRUE(list()->topLevelItem(0)->font(0).bold());
    EXPECT_EQ(drawnAt(3.7), QColor(0, 0, 255));
    EXPECT_EQ(drawnAt(1.3), third);

    click(2, true); // its check box hides it everywhere, and leaves the active run as it was
    EXPECT_FALSE(session()->run(2).shown);
    EXPECT_EQ(session()->activeIndex(), 0);
    EXPECT_EQ(drawnAt(1.3), background);
    click(2, true);
    EXPECT_EQ(drawnAt(1.3), third);

    auto* runs = qobject_cast<TRunList*>(list());
    ASSERT_NE(runs, nullptr);
    ui_.colourAnswer = QColor(200, 30, 30);
    runs->chooseColour(2);
    EXPECT_EQ(drawnAt(1.3), QColor(200, 30, 30));
    ui_.colourAnswer = QColor(); // cancelled: nothing changes
    runs->chooseColour(2);
    EXPECT_EQ(session()->run(2).colour, 0xC81E1Eu);

    ui_.askAnswer = QStringLiteral("  masse 100 g ");
    click(1);
    click(1, false, QEvent::MouseButtonDblClick);
    EXPECT_EQ(session()->run(1).name, "masse 100 g");
    EXPECT_EQ(list()->topLevelItem(1)->text(0), QStringLiteral("masse 100 g"));
    ui_.askAnswer = QStringLiteral("   ");
    click(1, false, QEvent::MouseButtonDblClick); // refused with a message, the name stays
    EXPECT_EQ(ui_.errors.size(), 1);
    EXPECT_EQ(session()->run(1).name, "masse 100 g");

    // Delete asks first; "Non" keeps the run.
    click(0);
    QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QApplication::sendEvent(list(), &del);
    EXPECT_EQ(ui_.questions, QStringList{QStringLiteral("Supprimer la mesure « Mesure 1 » ?")});
    EXPECT_EQ(session()->runCount(), 3);
    ui_.yesNoAnswer = true;
    QApplication::sendEvent(list(), &del);
    settle();
    ASSERT_EQ(session()->runCount(), 2);
    EXPECT_EQ(list()->topLevelItemCount(), 2);
    EXPECT_EQ(session()->run(0).name, "masse 100 g"); // the next one is active
    EXPECT_EQ(session()->activeIndex(), 0);
    EXPECT_EQ(drawnAt(-3.3), QColor(0, 0, 255));
    EXPECT_EQ(drawnAt(3.7), background);
}

TEST_F(RunListTest, ARecordingAddsARunAndTheListWaitsMeanwhile)
{
    start();
    session()->addRun(flat(3.0));
    aqucmd(main)->click();
    EXPECT_FALSE(list()->isEnabled()); // nothing moves under the growing curve
    waitForRun();
    EXPECT_TRUE(list()->isEnabled());
    ASSERT_EQ(session()->runCount(), 2);
    EXPECT_EQ(session()->activeIndex(), 1);
    EXPECT_EQ(list()->topLevelItem(1)->text(2), QString::fromStdString(session()->run(1).measurement.source));
    EXPECT_TRUE(main->measurementUnsaved());
}

TEST_F(RunListTest, ThePortraitDrawsTheOtherShownRunsOnTheActiveRunsScales)
{
    start();
    auto sine = [](double volts) {
        pendulab::Measurement m = flat(0.0);
        for (std::size_t i = 0; i < m.volts.size(); ++i) m.volts[i] = volts * std::sin(0.02 * static_cast<double>(i));
        return m;
    };
    session()->addRun(sine(4.0)); // twice as wide: outside the active run's spiral on its scales
    session()->addRun(sine(2.0));
    PageControl1(main)->setCurrentIndex(2);
    settle();
    auto count = [&](const QColor& colour) {
        const QImage image = xy(main)->image();
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) n += image.pixelColor(x, y) == colour;
        return n;
    };
    const QColor other(QRgb(session()->run(0).colour));
    EXPECT_GT(count(QColor(0, 0, 255)), 200);
    EXPECT_GT(count(other), 200);
    session()->setRunShown(0, false);
    settle();
    EXPECT_EQ(count(other), 0);
}
