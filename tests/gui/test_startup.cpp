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
    ui_.onModal = [&] { cardStartedAtAbout = main->Timer2->isActive(); };
    start();
    ASSERT_EQ(ui_.modals, QStringList{QStringLiteral("avert")});
    EXPECT_FALSE(cardStartedAtAbout);

    EXPECT_EQ(main->windowTitle(), QStringLiteral("Pendulab"));
    ASSERT_EQ(main->PageControl1->count(), 4);
    const QStringList captions = {QStringLiteral("Acquisition"), QStringLiteral("Dérivée / t"),
                                  QStringLiteral("Dérivée / x"), QStringLiteral("Etude énergétique")};
    const QStringList pages = {QStringLiteral("TabSheet1"), QStringLiteral("TabSheet3"), QStringLiteral("TabSheet2"),
                               QStringLiteral("TabSheet4")};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(main->PageControl1->tabText(i), captions[i]);
        EXPECT_EQ(main->PageControl1->widget(i)->objectName(), pages[i]);
    }
    EXPECT_EQ(main->PageControl1->tabPosition(), QTabWidget::West);
    EXPECT_EQ(main->PageControl1->currentIndex(), 0);
    EXPECT_TRUE(main->progbar->isHidden());
    EXPECT_TRUE(main->deltalbl->isHidden());
    EXPECT_TRUE(main->vcur0->isHidden());
    EXPECT_TRUE(main->vcur1->isHidden());
    EXPECT_TRUE(dialog->isHidden());
    EXPECT_EQ(main->session->parameters().mass, 0.3);
    EXPECT_EQ(main->session->parameters().friction, 0.2);
    EXPECT_EQ(main->session->parameters().stiffness, 20.0);
    EXPECT_EQ(modelRuns, 0);
    for (double v : data().MeasPos) ASSERT_EQ(v, 0.0);
    EXPECT_EQ(main->durtxt->text(), QStringLiteral("10"));
    EXPECT_EQ(main->aqucmd->text(), QStringLiteral("&Lancer"));
    EXPECT_EQ(main->Exporter1->shortcut(), QKeySequence(Qt::Key_F2));
    EXPECT_EQ(main->N1->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_EQ(main->Ouvrir1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
    EXPECT_EQ(main->Enregistrer1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));

    QStringList menu;
    for (QAction* a : main->menuBar()->actions()) menu << a->text();
    EXPECT_EQ(menu, (QStringList{QStringLiteral("&Fichier"), QStringLiteral("&Acquisition"), QStringLiteral("&Modélisation"),
                                 QStringLiteral("E&xporter"), QStringLiteral("&Imprimer"), QStringLiteral("&Quitter")}));
    for (const char* name : {"durtxt", "UpDown7", "aqucmd", "ea0track", "progbar", "Chart1", "phichart", "Chart2", "xy",
                             "vaxe", "haxe", "Label3", "Label5", "vcur0", "vcur1", "cursxtxt", "deltalbl",
                             "Acquisition1", "Modlisation1", "Exporter1", "Imprimer1", "Configurerimpression1",
                             "Imprimecran1", "N1", "Timer2", "Fichier1", "Ouvrir1", "Enregistrer1"})
        EXPECT_NE(main->findChild<QObject*>(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_EQ(main->Timer2->interval(), 333);
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
    const QString before = main->durtxt->text();
    ui_.yesNoAnswer = false;
    main->N1->trigger();
    settle();
    EXPECT_EQ(ui_.questions, QStringList{QStringLiteral("Quitter le programme ?")});
    EXPECT_TRUE(main->isVisible());
    EXPECT_EQ(main->durtxt->text(), before);
    EXPECT_TRUE(ui_.errors.isEmpty());
}

TEST_F(PendulabTest, PortraitAxesFollowThePageSize)
{
    start();
    main->PageControl1->setCurrentIndex(2);
    settle();
    const int W = main->xy->width(), H = main->xy->height();
    EXPECT_EQ(main->xy->size(), main->TabSheet2->size());
    EXPECT_EQ(main->vaxe->x(), W / 2);
    EXPECT_EQ(main->vaxe->y(), 0);
    EXPECT_EQ(main->vaxe->height(), H);
    EXPECT_EQ(main->haxe->width(), W);
    EXPECT_EQ(main->haxe->y(), H / 2);
    EXPECT_EQ(main->Label3->x(), W / 2 + 5);
    // "Y (V)" sits just above the right end of the horizontal axis, inside the page.
    EXPECT_EQ(main->Label5->geometry().right(), W - 13);
    EXPECT_EQ(main->Label5->geometry().bottom(), H / 2 - 3);

    main->resize(1201, 701);
    settle();
    EXPECT_EQ(main->vaxe->x(), main->xy->width() / 2);
    EXPECT_EQ(main->haxe->y(), main->xy->height() / 2);
    EXPECT_EQ(main->xy->image().size(), main->xy->size());
}

TEST_F(PendulabTest, DurationSpinnerWithTracerClearOnlyChangesTheText)
{
    start();
    dialog->visichk->setChecked(false);
    const int runs = modelRuns;
    main->UpDown7->click(TUpDown::btNext);
    settle();
    EXPECT_EQ(main->durtxt->text(), QStringLiteral("11"));
    EXPECT_EQ(main->session->nextDuration(), 11);
    EXPECT_EQ(modelRuns, runs);
    EXPECT_TRUE(dialog->isHidden());

    dialog->visichk->setChecked(true);
    main->UpDown7->click(TUpDown::btPrev);
    settle();
    EXPECT_EQ(main->durtxt->text(), QStringLiteral("10"));
    EXPECT_EQ(data().ModelPos[0], 10.0);
    EXPECT_TRUE(dialog->isVisible());

    main->durtxt->setText(QStringLiteral("120"));
    main->UpDown7->click(TUpDown::btNext);
    EXPECT_EQ(main->durtxt->text(), QStringLiteral("120"));
}

TEST_F(PendulabTest, DurationTextThatIsNotANumberLeavesTheModelTimeBase)
{
    start();
    openDialog();
    main->durtxt->setText(QStringLiteral("abc"));
    // The field sets the next recording only once it reads as a duration: the model keeps its time base.
    dialog->ktrack->setValue(50);
    settle();
    EXPECT_TRUE(ui_.errors.isEmpty());
    EXPECT_EQ(main->session->timeBase(), 10);
    EXPECT_TRUE(main->isVisible());
}
