// Start-up, the main window's pages and menu, quitting, the duration spinner, the error box.
#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <qcustomplot.h>

#include "Harness.h"
#include "views/PhaseImage.h"
#include "views/UpDown.h"
#include "app/avertisit1.h"
#include "views/Accessibility.h"

TEST_F(PendulabTest, AboutBoxComesFirstThenTheMainWindowIsReady)
{
    bool cardStartedAtAbout = true;
    ui_.onModal = [&] { cardStartedAtAbout = Timer2(main)->isActive(); };
    start();
    ASSERT_EQ(ui_.modals, QStringList{QStringLiteral("avert")});
    EXPECT_FALSE(cardStartedAtAbout);

    EXPECT_EQ(main->windowTitle(), QStringLiteral("Pendulab"));
    ASSERT_EQ(PageControl1(main)->count(), 6);
    const QStringList captions = {QStringLiteral("Acquisition"), QStringLiteral("Dérivée / t"),
                                  QStringLiteral("Dérivée / x"), QStringLiteral("Etude énergétique"),
                                  QStringLiteral("Résultats"), QStringLiteral("Spectre")};
    const QStringList pages = {QStringLiteral("TabSheet1"), QStringLiteral("TabSheet3"), QStringLiteral("TabSheet2"),
                               QStringLiteral("TabSheet4"), QStringLiteral("TabSheetResults"),
                               QStringLiteral("TabSheetSpectrum")};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(PageControl1(main)->tabText(i), captions[i]);
        EXPECT_EQ(PageControl1(main)->widget(i)->objectName(), pages[i]);
    }
    EXPECT_EQ(PageControl1(main)->tabPosition(), QTabWidget::West);
    EXPECT_EQ(PageControl1(main)->currentIndex(), 0);
    EXPECT_TRUE(progbar(main)->isHidden());
    EXPECT_TRUE(deltalbl(main)->isHidden());
    EXPECT_TRUE(vcur0(main)->isHidden());
    EXPECT_TRUE(vcur1(main)->isHidden());
    EXPECT_TRUE(dialog->isHidden());
    EXPECT_EQ(main->session->parameters().mass, 0.3);
    EXPECT_EQ(main->session->parameters().friction, 0.2);
    EXPECT_EQ(main->session->parameters().stiffness, 20.0);
    EXPECT_EQ(modelRuns, 0);
    for (double v : data().MeasPos) ASSERT_EQ(v, 0.0);
    EXPECT_EQ(durtxt(main)->text(), QStringLiteral("10"));
    EXPECT_EQ(aqucmd(main)->text(), QStringLiteral("&Lancer"));
    EXPECT_EQ(Exporter1(main)->shortcut(), QKeySequence(Qt::Key_F2));
    EXPECT_EQ(N1(main)->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_EQ(Ouvrir1(main)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
    EXPECT_EQ(Enregistrer1(main)->shortcut(), QKeySequence()); // Ctrl+S saves the experiment
    EXPECT_EQ(EnregistrerExp1(main)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    EXPECT_EQ(EnregistrerExpSous1(main)->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));

    QStringList menu;
    for (QAction* a : main->menuBar()->actions()) menu << a->text();
    EXPECT_EQ(menu, (QStringList{QStringLiteral("&Fichier"), QStringLiteral("&Acquisition"), QStringLiteral("&Modélisation"),
                                 QStringLiteral("E&xporter"), QStringLiteral("&Imprimer"), QStringLiteral("&Outils"),
                                 QStringLiteral("&Quitter")}));
    for (const char* name : {"durtxt", "UpDown7", "aqucmd", "ea0track", "progbar", "Chart1", "phichart", "Chart2", "xy",
                             "vaxe", "haxe", "Label3", "Label5", "vcur0", "vcur1", "cursxtxt", "deltalbl",
                             "Acquisition1", "Modlisation1", "Exporter1", "Imprimer1", "Configurerimpression1",
                             "Imprimecran1", "N1", "Timer2", "Fichier1", "Ouvrir1", "Enregistrer1"})
        EXPECT_NE(main->findChild<QObject*>(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_EQ(Timer2(main)->interval(), 333);
}

TEST_F(PendulabTest, AboutBoxText)
{
    const QString text = Tavert::memoText();
    EXPECT_TRUE(text.startsWith(QStringLiteral("  ")));
    EXPECT_TRUE(text.contains(QStringLiteral("PENDULAB")));
    EXPECT_TRUE(text.contains(QStringLiteral("2.0")));
    EXPECT_TRUE(text.contains(QStringLiteral("\n\n\nLogiciel pour l'étude des oscillations du pendule amorti/excité\n")));
    EXPECT_TRUE(text.endsWith(QStringLiteral("* Exportation des valeurs vers Excel.\n* Tracé du bilan énergétique de la simulation")));
    EXPECT_EQ(w.avert->size(), QSize(324, 331));
}

TEST_F(PendulabTest, QuitAnsweredNoChangesNothing)
{
    start();
    const QString before = durtxt(main)->text();
    ui_.yesNoAnswer = false;
    N1(main)->trigger();
    settle();
    EXPECT_EQ(ui_.questions, QStringList{QStringLiteral("Quitter le programme ?")});
    EXPECT_TRUE(main->isVisible());
    EXPECT_EQ(durtxt(main)->text(), before);
    EXPECT_TRUE(ui_.errors.isEmpty());
}

TEST_F(PendulabTest, PortraitAxesFollowThePageSize)
{
    start();
    PageControl1(main)->setCurrentIndex(2);
    settle();
    const int W = xy(main)->width(), H = xy(main)->height();
    EXPECT_EQ(xy(main)->size(), TabSheet2(main)->size());
    EXPECT_EQ(vaxe(main)->x(), W / 2);
    EXPECT_EQ(vaxe(main)->y(), 0);
    EXPECT_EQ(vaxe(main)->height(), H);
    EXPECT_EQ(haxe(main)->width(), W);
    EXPECT_EQ(haxe(main)->y(), H / 2);
    EXPECT_EQ(Label3(main)->x(), W / 2 + 5);
    // "Y (V)" sits just above the right end of the horizontal axis, inside the page.
    EXPECT_EQ(Label5(main)->geometry().right(), W - 13);
    EXPECT_EQ(Label5(main)->geometry().bottom(), H / 2 - 3);

    main->resize(1201, 701);
    settle();
    EXPECT_EQ(vaxe(main)->x(), xy(main)->width() / 2);
    EXPECT_EQ(haxe(main)->y(), xy(main)->height() / 2);
    EXPECT_EQ(xy(main)->image().size(), xy(main)->size());
}

TEST_F(PendulabTest, DurationSpinnerWithTracerClearOnlyChangesTheText)
{
    start();
    dialog->visichk->setChecked(false);
    const int runs = modelRuns;
    UpDown7(main)->click(TUpDown::btNext);
    settle();
    EXPECT_EQ(durtxt(main)->text(), QStringLiteral("11"));
    EXPECT_EQ(main->session->nextDuration(), 11);
    EXPECT_EQ(modelRuns, runs);
    EXPECT_TRUE(dialog->isHidden());

    dialog->visichk->setChecked(true);
    UpDown7(main)->click(TUpDown::btPrev);
    settle();
    EXPECT_EQ(durtxt(main)->text(), QStringLiteral("10"));
    EXPECT_EQ(data().ModelPos[0], 10.0);
    EXPECT_TRUE(dialog->isVisible());

    durtxt(main)->setText(QStringLiteral("120"));
    UpDown7(main)->click(TUpDown::btNext);
    EXPECT_EQ(durtxt(main)->text(), QStringLiteral("120"));
}

TEST_F(PendulabTest, DurationTextThatIsNotANumberLeavesTheModelTimeBase)
{
    start();
    openDialog();
    durtxt(main)->setText(QStringLiteral("abc"));
    // The field sets the next recording only once it reads as a duration: the model keeps its time base.
    dialog->ktrack->setValue(50);
    settle();
    EXPECT_TRUE(ui_.errors.isEmpty());
    EXPECT_EQ(main->session->timeBase(), 10);
    EXPECT_TRUE(main->isVisible());
}
