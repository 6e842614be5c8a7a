// The model as the student sees it: caption, ω0 and Q, the four model series and "Tracer".
#include <QCheckBox>
#include <QSlider>
#include <qcustomplot.h>

#include "Harness.h"
#include "views/PhaseImage.h"
#include "views/Accessibility.h"
#include "views/UpDown.h"

TEST_F(PendulabTest, DefaultsShowOmegaZeroQualityFactorAndTheFourSeries)
{
    start();
    openDialog();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Modélisation (pseudo-périodique)"));
    EXPECT_EQ(dialog->omlbl->text(), QStringLiteral("8,16 rad/s"));
    EXPECT_EQ(dialog->qlbl->text(), QStringLiteral("Q= 12,25"));
    EXPECT_TRUE(dialog->omlbl->isVisible());
    EXPECT_EQ(Series5(main)->dataCount(), 1999);
    EXPECT_EQ(Series2(main)->dataCount(), 1998);
    EXPECT_EQ(Series4(main)->dataCount(), 1999);
    EXPECT_EQ(Series6(main)->dataCount(), 1999);
    EXPECT_DOUBLE_EQ(Series5(main)->data()->constBegin()->key, 0.005); // sample 1 of 2001 over 10 s
    EXPECT_DOUBLE_EQ(Series2(main)->data()->constBegin()->key, 0.01);
    EXPECT_EQ(Series4(main)->name(), QStringLiteral("énergie cinétique"));
    EXPECT_EQ(Series6(main)->name(), QStringLiteral("énergie potentielle"));
    EXPECT_TRUE(Chart2(main)->legend->visible());
    EXPECT_DOUBLE_EQ(data().ModelPos[0], 10.0);
    // Stacked: the upper band's edge is the total energy, ½·k·(0.005·x)² at the start.
    const double total = Series6(main)->data()->constBegin()->value;
    EXPECT_NEAR(total, 0.5 * 20 * std::pow(0.005 * data().ModelPos[1], 2) +
                           0.5 * 0.3 * std::pow(0.005 * data().ModelSpeed[1], 2), 1e-12);
    EXPECT_EQ(Chart2(main)->yAxis->range().lower, 0.0);
    // The curves end at sample 1999 (no stray point back at t = 0), the energy axis 5 % over the top.
    EXPECT_DOUBLE_EQ((Series5(main)->data()->constEnd() - 1)->key, 9.995);
    EXPECT_EQ((Series5(main)->data()->constEnd() - 1)->value, data().ModelPos[1999]);
    EXPECT_DOUBLE_EQ((Series6(main)->data()->constEnd() - 1)->key, 9.995);
    double top = 0.0;
    for (int i = 1; i <= 1999; ++i) top = std::max(top, data().Kinetic[i] + data().Potential[i]);
    EXPECT_NEAR(Chart2(main)->yAxis->range().upper, 1.05 * top, 1e-12);
    EXPECT_TRUE(ui_.errors.isEmpty());
}

TEST_F(PendulabTest, CaptionNamesTheRegimeAndQIsInfiniteWithoutFriction)
{
    QLocale::setDefault(QLocale::c());
    start();
    openDialog();
    dialog->ktrack->setValue(0);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Modélisation (apériodique)"));
    EXPECT_EQ(dialog->omlbl->text(), QStringLiteral("0.00 rad/s"));
    EXPECT_EQ(dialog->qlbl->text(), QStringLiteral("Q= 0.00"));
    dialog->htrack->setValue(0); // stiffness 0 and friction 0: exactly critical, no error
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Modélisation (pseudo-périodique)"));
    EXPECT_EQ(dialog->qlbl->text(), QStringLiteral("Q= ∞"));
    EXPECT_TRUE(ui_.errors.isEmpty()) << ui_.errors.join('\n').toStdString();
    dialog->ktrack->setValue(40);
    EXPECT_EQ(dialog->qlbl->text(), QStringLiteral("Q= ∞"));
    EXPECT_EQ(dialog->omlbl->text(), QStringLiteral("8.16 rad/s"));
}

TEST_F(PendulabTest, TracerClearEmptiesTheSeriesButTheBuffersFollow)
{
    start();
    openDialog();
    dialog->visichk->click();
    dialog->UpDown9->click(TUpDown::btPrev);
    for (QCPGraph* g : {Series5(main), Series2(main), Series4(main), Series6(main)}) EXPECT_EQ(g->dataCount(), 0);
    EXPECT_DOUBLE_EQ(data().ModelPos[0], 9.5);
    dialog->visichk->click();
    EXPECT_EQ(Series5(main)->dataCount(), 1999);
}

TEST_F(PendulabTest, ModelPortraitIsGreyOverTheMeasuredOne)
{
    start();
    openDialog();
    const QImage& image = xy(main)->image();
    int grey = 0;
    for (int y = 0; y < image.height(); y += 1)
        for (int x = 0; x < image.width(); x += 1)
            if (QColor(image.pixel(x, y)) == QColor(128, 128, 128)) ++grey;
    EXPECT_GT(grey, 500);
}
