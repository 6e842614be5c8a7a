// The model appears only when asked for, follows a new recording, and runs one handler per change.
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QCheckBox>
#include <QSlider>
#include <QTabWidget>
#include <cmath>
#include <qcustomplot.h>

#include "Harness.h"
#include "views/PhaseImage.h"
#include "views/Accessibility.h"
#include <numbers>

TEST_F(PendulabTest, ARunAndThePortraitPageShowNoModelNobodyAskedFor)
{
    start();
    record();
    PageControl1(main)->setCurrentIndex(2); // the portrait page's pending resize
    settle();
    main->resize(1400, 800);
    settle();
    EXPECT_EQ(modelRuns, 0);
    for (QCPGraph* g : {Series5(main), Series2(main), Series4(main), Series6(main)}) EXPECT_EQ(g->dataCount(), 0);
    for (double v : data().ModelPos) ASSERT_EQ(v, 0.0);
    const QImage& image = xy(main)->image();
    int grey = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) grey += QColor(image.pixel(x, y)) == QColor(128, 128, 128);
    EXPECT_EQ(grey, 0);
    EXPECT_GT(Series1(main)->dataCount(), 0);
}

TEST_F(PendulabTest, AShownModelFollowsTheDurationOfANewRecording)
{
    start();
    openDialog();
    for (int seconds : {1, 30}) {
        durtxt(main)->setText(QString::number(seconds));
        record();
        settle();
        // The last model sample is the model at t = D, the first grey point on the chart too.
        pendulab::OscillatorInputs in = main->session->modelInputs();
        EXPECT_EQ(in.durationSeconds, seconds);
        EXPECT_DOUBLE_EQ(data().ModelPos[2000], pendulab::OscillatorModel(in).at(seconds).position) << seconds;
        EXPECT_DOUBLE_EQ(Series5(main)->data()->at(999)->value, pendulab::OscillatorModel(in).at(seconds / 2.0).position);
    }
}

TEST_F(PendulabTest, AnAssistiveToggleRunsTheBoxHandlerOnce)
{
    start();
    openDialog();
    const int runs = modelRuns;
    QAccessibleActionInterface* action = QAccessible::queryAccessibleInterface(dialog->excitchk)->actionInterface();
    ASSERT_NE(action, nullptr);
    action->doAction(QAccessibleActionInterface::toggleAction());
    settle();
    EXPECT_TRUE(dialog->excitchk->isChecked());
    EXPECT_TRUE(main->session->parameters().excited);
    EXPECT_EQ(dialog->height(), Tconfig::HeightWithExciter);
    EXPECT_EQ(modelRuns, runs + 1);
    QAccessible::queryAccessibleInterface(dialog->visichk)->actionInterface()->doAction(
        QAccessibleActionInterface::toggleAction());
    EXPECT_FALSE(main->session->parameters().shown);
    EXPECT_EQ(Series5(main)->dataCount(), 0);
}

// The exciter's label and the model's steady drive agree: one mapping for both.
TEST_F(PendulabTest, TheSteadyDriveHasThePulsationTheLabelShows)
{
    start();
    openDialog();
    dialog->htrack->setValue(100); // 1 kg/s: the free motion has died out after 5 s
    dialog->excitchk->click();
    dialog->oetrack->setValue(617);
    const double shown = dialog->oetxt->text().section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty)
                             .replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
    ASSERT_NEAR(shown, 12.34, 1e-9);
    // Upward zero crossings of the model around its mean over the last 5 s, interpolated.
    const auto& y = data().ModelPos;
    const double dt = 10.0 / 2000.0;
    double mean = 0;
    for (int i = 1000; i <= 2000; ++i) mean += y[static_cast<std::size_t>(i)] / 1001.0;
    std::vector<double> ups;
    for (std::size_t i = 1000; i < 2000; ++i)
        if (y[i] < mean && y[i + 1] >= mean) ups.push_back((static_cast<double>(i) + (mean - y[i]) / (y[i + 1] - y[i])) * dt);
    ASSERT_GE(ups.size(), 5u);
    const double pulsation = 2 * std::numbers::pi * static_cast<double>(ups.size() - 1) / (ups.back() - ups.front());
    EXPECT_NEAR(pulsation, shown, 0.01 * shown);
}

TEST_F(PendulabTest, TheMassLabelRoundsToTheGram)
{
    start();
    openDialog();
    dialog->mtrack->setValue(9);
    EXPECT_EQ(dialog->mtxt->text(), QStringLiteral("10 gr"));
    EXPECT_EQ(main->session->parameters().mass, 0.01);
}
