// "Outils > Étalonner le capteur…": the slope and offset typed, two points, the input read over half
// a second on a timer, "Zéro ici", and the refusals that change nothing.
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>

#include <optional>
#include <vector>

#include "Harness.h"
#include "core/FormatCore.h"
#include "views/CalibrationDialog.h"

namespace {

using pendulab::Calibration;

QLineEdit* box(const QObject* d, const char* name) { return named<QLineEdit>(d, name); }
QPushButton* button(const QObject* d, const char* name) { return named<QPushButton>(d, name); }

// Processes events until the dialog's readings are over (two seconds at most).
void waitForReadings(const TCalibrationDialog& d)
{
    QElapsedTimer clock;
    clock.start();
    while (d.reading() && clock.elapsed() < 2000) QApplication::processEvents(QEventLoop::AllEvents, 5);
}

// A source answering 1,0 V, 1,2 V, 1,4 V… one more 0,2 V at each reading.
struct RisingInput {
    int calls = 0;
    std::optional<double> operator()() { return 1.0 + 0.2 * calls++; }
};

class CalibrationTest : public PendulabTest {
protected:
    // A run in volts from a file, active, read at 0,005 m/V from 0 m.
    void addRun()
    {
        pendulab::Measurement m;
        m.origin = pendulab::Origin::File;
        m.durationSeconds = 10;
        m.volts.assign(2001, 0.5);
        session()->addRun(m);
    }
};

} // namespace

TEST_F(CalibrationTest, TheToolsMenuOpensTheDialogAfterTheOtherMenus)
{
    start();
    QStringList menu;
    for (QAction* a : main->menuBar()->actions()) menu << a->text();
    EXPECT_EQ(menu.mid(4), (QStringList{QStringLiteral("&Imprimer"), QStringLiteral("&Outils"), QStringLiteral("&Quitter")}));
    auto* tools = named<QMenu>(main, "Outils1");
    ASSERT_TRUE(tools);
    ASSERT_EQ(tools->actions().size(), 2);
    EXPECT_EQ(tools->actions().constFirst(), named<QAction>(main, "Etalonner1"));
    EXPECT_EQ(tools->actions().constLast(), named<QAction>(main, "BancSimule1"));
    QString readFromCard;
    ui_.onModal = [&] {
        auto* d = named<TCalibrationDialog>(main, "CalibrationDialog");
        ASSERT_TRUE(d);
        button(d, "read1")->click();
        waitForReadings(*d);
        readFromCard = box(d, "point1volts")->text();
        box(d, "slopebox")->setText(QStringLiteral("0,004"));
        box(d, "offsetbox")->setText(QStringLiteral("0,1"));
        button(d, "apply")->click();
    };
    const qsizetype before = ui_.modals.size(); // the about box at start-up
    named<QAction>(main, "Etalonner1")->trigger();
    EXPECT_EQ(ui_.modals.mid(before), QStringList{QStringLiteral("CalibrationDialog")});
    EXPECT_TRUE(ui_.messages.isEmpty()) << ui_.messages.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(pendulab::parsePlainDecimal(readFromCard.toStdString())) << readFromCard.toStdString(); // the card answered
    EXPECT_EQ(session()->nextCalibration(), (Calibration{0.004, 0.1, true}));
    EXPECT_EQ(named<TCalibrationDialog>(main, "CalibrationDialog"), nullptr); // gone with its handler
}

TEST_F(CalibrationTest, TypedSlopeAndOffsetForTheNextRecordingsAndTheActiveRunWhenAsked)
{
    TCalibrationDialog before(session(), {}, main);
    EXPECT_FALSE(named<QCheckBox>(&before, "applyactive")->isEnabled()); // no run yet
    EXPECT_EQ(box(&before, "slopebox")->text(), QStringLiteral("0,005")); // the card's sensor
    EXPECT_EQ(box(&before, "offsetbox")->text(), QStringLiteral("0"));

    addRun();
    const Calibration runs = session()->measurement().calibration;
    TCalibrationDialog first(session(), {}, main);
    box(&first, "slopebox")->setText(QStringLiteral("0,02"));
    box(&first, "offsetbox")->setText(QStringLiteral("-0.1"));
    button(&first, "apply")->click();
    EXPECT_EQ(first.result(), QDialog::Accepted);
    EXPECT_EQ(session()->nextCalibration(), (Calibration{0.02, -0.1, true}));
    EXPECT_EQ(session()->measurement().calibration, runs);

    TCalibrationDialog second(session(), {}, main);
    EXPECT_EQ(box(&second, "slopebox")->text(), QStringLiteral("0,02")); // what is in force
    EXPECT_EQ(box(&second, "offsetbox")->text(), QStringLiteral("-0,1"));
    box(&second, "slopebox")->setText(QStringLiteral("2,5e-3"));
    box(&second, "offsetbox")->setText(QStringLiteral("0,01"));
    named<QCheckBox>(&second, "applyactive")->setChecked(true);
    button(&second, "apply")->click();
    EXPECT_EQ(session()->nextCalibration(), (Calibration{0.0025, 0.01, true}));
    EXPECT_EQ(session()->measurement().calibration, (Calibration{0.0025, 0.01, true}));

    TCalibrationDialog back(session(), {}, main);
    button(&back, "sourcedefault")->click();
    EXPECT_EQ(back.result(), QDialog::Accepted);
    EXPECT_FALSE(session()->nextCalibration());
    EXPECT_EQ(session()->measurement().calibration, (Calibration{0.0025, 0.01, true}));
}

TEST_F(CalibrationTest, TwoPointsInCentimetres)
{
    TCalibrationDialog d(session(), {}, main);
    named<QTabWidget>(&d, "calibrationways")->setCurrentIndex(1);
    box(&d, "point1pos")->setText(QStringLiteral("2"));
    box(&d, "point1volts")->setText(QStringLiteral("1"));
    box(&d, "point2pos")->setText(QStringLiteral("12"));
    box(&d, "point2volts")->setText(QStringLiteral("3"));
    button(&d, "apply")->click();
    ASSERT_TRUE(session()->nextCalibration());
    // 10 cm over 2 V: 0,05 m/V; 2 cm at 1 V puts 0 V at 2 − 5 = −3 cm.
    EXPECT_NEAR(session()->nextCalibration()->slope, 0.05, 1e-12);
    EXPECT_NEAR(session()->nextCalibration()->offset, -0.03, 1e-12);
}

TEST_F(CalibrationTest, ReadTakesTenReadingsOnATimerAndShowsTheirMean)
{
    RisingInput input;
    TCalibrationDialog d(session(), [&input] { return input(); }, main);
    box(&d, "point2volts")->setText(QStringLiteral("7"));
    button(&d, "read2")->click();
    EXPECT_TRUE(d.reading());
    EXPECT_EQ(input.calls, 0); // nothing read before the timer runs: the click returned at once
    EXPECT_FALSE(button(&d, "apply")->isEnabled());
    waitForReadings(d);
    ASSERT_FALSE(d.reading());
    EXPECT_EQ(input.calls, 10);
    // 1,0 … 2,8 V: their mean is (1,0 + 2,8) / 2.
    EXPECT_EQ(box(&d, "point2volts")->text(), QStringLiteral("1,9"));
    EXPECT_TRUE(box(&d, "point1volts")->text().isEmpty());
    EXPECT_TRUE(button(&d, "apply")->isEnabled());
}

TEST_F(CalibrationTest, ZeroHereMakesThePresentReadingTheOrigin)
{
    TCalibrationDialog d(session(), [] { return std::optional<double>(2.0); }, main);
    box(&d, "slopebox")->setText(QStringLiteral("0,005"));
    box(&d, "offsetbox")->setText(QStringLiteral("0,3"));
    button(&d, "zerohere")->click();
    waitForReadings(d);
    EXPECT_EQ(box(&d, "offsetbox")->text(), QStringLiteral("-0,01")); // 0,005 m/V × 2 V below
    EXPECT_EQ(box(&d, "slopebox")->text(), QStringLiteral("0,005"));
    EXPECT_FALSE(session()->nextCalibration()); // until "Appliquer"
}

TEST_F(CalibrationTest, RefusalsAreShownAndChangeNothing)
{
    TCalibrationDialog d(session(), {}, main);
    named<QTabWidget>(&d, "calibrationways")->setCurrentIndex(1);
    box(&d, "point1pos")->setText(QStringLiteral("5"));
    box(&d, "point2pos")->setText(QStringLiteral("10"));
    box(&d, "point1volts")->setText(QStringLiteral("1,5"));
    box(&d, "point2volts")->setText(QStringLiteral("1.5"));
    button(&d, "apply")->click();
    ASSERT_EQ(ui_.messages.size(), 1);
    EXPECT_TRUE(ui_.messages[0].contains(QStringLiteral("même tension"))) << ui_.messages[0].toStdString();

    named<QTabWidget>(&d, "calibrationways")->setCurrentIndex(0);
    box(&d, "slopebox")->setText(QStringLiteral("0,0O5"));
    button(&d, "apply")->click();
    ASSERT_EQ(ui_.messages.size(), 2);
    EXPECT_EQ(ui_.messages[1], QStringLiteral("« Pente (m/V) » : « 0,0O5 » n'est pas un nombre."));
    EXPECT_EQ(d.result(), QDialog::Rejected);
    EXPECT_FALSE(session()->nextCalibration());
    EXPECT_TRUE(ui_.errors.isEmpty());
}

TEST_F(CalibrationTest, ASilentSourceAsksForTheVoltage)
{
    int calls = 0;
    TCalibrationDialog d(session(), [&calls]() -> std::optional<double> { ++calls; return std::nullopt; }, main);
    box(&d, "point1volts")->setText(QStringLiteral("0,8"));
    button(&d, "read1")->click();
    waitForReadings(d);
    EXPECT_EQ(calls, 1); // the first silence ends the reading: a board may take a second to say nothing
    EXPECT_EQ(ui_.messages, QStringList{QStringLiteral("La source ne répond pas : tapez la tension.")});
    EXPECT_EQ(box(&d, "point1volts")->text(), QStringLiteral("0,8"));
}
