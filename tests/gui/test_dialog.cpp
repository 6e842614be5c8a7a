// The modelling dialog's handlers: parameters and texts, in a French and in a C locale.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <qcustomplot.h>

#include "Harness.h"
#include "views/Accessibility.h"
#include "views/UpDown.h"

namespace {

struct Expected {
    QString htxt, ktxt, mtxt, amplitude, oetxt, amptxt;
};

void checkHandlers(PendulabTest* t, Tconfig* dialog, TFichePrincipale* main, const Expected& e)
{
    (void)t;
    dialog->htrack->setValue(35);
    EXPECT_EQ(main->session->parameters().friction, 0.35);
    EXPECT_EQ(dialog->htxt->text(), e.htxt);
    dialog->ktrack->setValue(41);
    EXPECT_EQ(main->session->parameters().stiffness, 20.5);
    EXPECT_EQ(dialog->ktxt->text(), e.ktxt);
    dialog->mtrack->setValue(0);
    EXPECT_EQ(main->session->parameters().mass, 0.001);
    EXPECT_EQ(dialog->mtxt->text(), e.mtxt);
    dialog->UpDown9->click(TUpDown::btNext);
    EXPECT_EQ(dialog->UpDown9->position(), 105);
    EXPECT_EQ(dialog->amplitxt->text(), e.amplitude);
    EXPECT_DOUBLE_EQ(main->session->data().ModelPos[0], 10.5);
    dialog->oetrack->setValue(501);
    EXPECT_EQ(dialog->oetxt->text(), e.oetxt);
    dialog->amptrack->setValue(11);
    EXPECT_EQ(dialog->amptxt->text(), e.amptxt);
}

} // namespace

TEST_F(PendulabTest, StoredTextsStayUntilTheFirstChange)
{
    start();
    openDialog();
    EXPECT_EQ(dialog->ktxt->text(), QStringLiteral("20 N/m"));
    EXPECT_EQ(dialog->htxt->text(), QStringLiteral("0,2 si"));
    EXPECT_EQ(dialog->mtxt->text(), QStringLiteral("300 g"));
    EXPECT_EQ(dialog->oetxt->text(), QStringLiteral("10.0 rd/s"));
    EXPECT_EQ(dialog->amptxt->text(), QStringLiteral("5"));
    EXPECT_EQ(dialog->amplitxt->text(), QStringLiteral("10"));
    EXPECT_EQ(dialog->height(), Tconfig::StoredHeight);
}

TEST_F(PendulabTest, HandlersInAFrenchLocale)
{
    start();
    openDialog();
    checkHandlers(this, dialog, main,
                  {QStringLiteral("0,35 si"), QStringLiteral("20,5 N/m"), QStringLiteral("1 gr"), QStringLiteral("10,5"),
                   QStringLiteral("10,02 rd/s"), QStringLiteral(" 5,5")});
    EXPECT_TRUE(ui_.errors.isEmpty()) << ui_.errors.join('\n').toStdString();
}

TEST_F(PendulabTest, HandlersInACLocale)
{
    QLocale::setDefault(QLocale::c());
    start();
    openDialog();
    checkHandlers(this, dialog, main,
                  {QStringLiteral("0.35 si"), QStringLiteral("20.5 N/m"), QStringLiteral("1 gr"), QStringLiteral("10.5"),
                   QStringLiteral("10.02 rd/s"), QStringLiteral(" 5.5")});
    dialog->mtrack->setValue(999);
    EXPECT_EQ(dialog->mtxt->text(), QStringLiteral("1000 gr"));
}

TEST_F(PendulabTest, ExciterCannotBeTickedWhileTracerIsClear)
{
    start();
    openDialog();
    dialog->visichk->click(); // clear "Tracer"
    ASSERT_FALSE(dialog->visichk->isChecked());
    const int height = dialog->height();
    const int runs = modelRuns;
    dialog->excitchk->click();
    EXPECT_FALSE(dialog->excitchk->isChecked());
    EXPECT_EQ(dialog->height(), height);
    EXPECT_EQ(modelRuns, runs); // no redraw
    EXPECT_FALSE(main->session->parameters().excited);
}

TEST_F(PendulabTest, ExciterShowsItsGroupAndDrivesTheModel)
{
    start();
    openDialog();
    dialog->excitchk->click();
    EXPECT_TRUE(dialog->excitchk->isChecked());
    EXPECT_EQ(dialog->height(), Tconfig::HeightWithExciter);
    EXPECT_LT(dialog->GroupBox1->geometry().bottom(), Tconfig::HeightWithExciter);
    EXPECT_GT(dialog->GroupBox1->geometry().top(), Tconfig::HeightWithoutExciter - 2);
    EXPECT_NE(data().ModelPos[0], 10.0); // the driven term moves the start
    dialog->visichk->click(); // clearing "Tracer" keeps "Excit."
    EXPECT_TRUE(dialog->excitchk->isChecked());
    EXPECT_EQ(Series5(main)->dataCount(), 0);
    dialog->visichk->click();
    dialog->excitchk->click();
    EXPECT_EQ(dialog->height(), Tconfig::HeightWithoutExciter);
}

TEST_F(PendulabTest, ShiftSpinnerDelaysTheReleaseOnce)
{
    start();
    openDialog();
    const auto before = data().ModelPos;
    const int runs = modelRuns;
    dialog->UpDown1->click(TUpDown::btNext); // 0.05 s: ten samples at D = 10 s
    EXPECT_EQ(data().ModelPos[10], before[0]);
    EXPECT_NE(data().ModelPos[20], before[20]);
    EXPECT_EQ(modelRuns, runs + 1);
    dialog->UpDown10->click(TUpDown::btNext);
    EXPECT_DOUBLE_EQ(data().ModelPos[0], 10.02);
}

TEST_F(PendulabTest, IllustrationIsDecoded)
{
    start();
    openDialog();
    EXPECT_FALSE(dialog->Image3->pixmap().isNull());
    EXPECT_LE(dialog->Image3->pixmap().width(), 94);
    EXPECT_LE(dialog->Image3->pixmap().height(), 139);
}
