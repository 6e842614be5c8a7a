// Keyboard and screen-reader access: names, values, the value interface and the tab order.
#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <qcustomplot.h>

#include "Harness.h"
#include "views/PhaseImage.h"
#include "views/Accessibility.h"
#include "views/UpDown.h"

namespace {

QString accessibleText(QObject* o, QAccessible::Text t)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(o);
    return iface ? iface->text(t) : QStringLiteral("<no interface>");
}

} // namespace

TEST_F(PendulabTest, EveryControlAndReadOutHasItsFrenchName)
{
    start();
    openDialog();
    const std::pair<QWidget*, const char*> names[] = {
        {durtxt(main), "Durée totale d'acquisition"}, {UpDown7(main), "Durée totale d'acquisition"},
        {ea0track(main), "Tension entrée EA0"}, {cursxtxt(main), "Pointeur t"}, {deltalbl(main), "Intervalle"},
        {dialog->ktrack, "Raideur"}, {dialog->htrack, "Frottement"}, {dialog->mtrack, "Masse"}, {dialog->oetrack, "Puls"},
        {dialog->amptrack, "Amplit"}, {dialog->UpDown9, "Amplitude"}, {dialog->UpDown10, "décalage en Y"},
        {dialog->UpDown1, "déphasage sur t"}, {dialog->visichk, "Tracer"}, {dialog->excitchk, "Excit."},
        {dialog->omlbl, "Pulsation propre"}, {dialog->qlbl, "Facteur de qualité"},
        {Chart1(main), "Position mesurée et modèle"}, {phichart(main), "Dérivée"}, {Chart2(main), "Etude énergétique"},
        {xy(main), "Portrait de phase"}, {dialog->ktxt, "Raideur"}, {dialog->htxt, "Frottement"}, {dialog->mtxt, "Masse"}};
    for (const auto& [widget, name] : names)
        EXPECT_EQ(accessibleText(widget, QAccessible::Name), QString::fromUtf8(name)) << widget->objectName().toStdString();
    EXPECT_EQ(accessibleText(durtxt(main), QAccessible::Description), QStringLiteral("durée totale en secondes"));
    EXPECT_EQ(accessibleText(cursxtxt(main), QAccessible::Description), QStringLiteral("position de la souris"));
    EXPECT_EQ(accessibleText(dialog->UpDown10, QAccessible::Description), QStringLiteral("décalage en Y"));
}

TEST_F(PendulabTest, ReadOutsExposeTheirTextAsValue)
{
    start();
    openDialog();
    EXPECT_EQ(accessibleText(dialog->qlbl, QAccessible::Value), QStringLiteral("Q= 12,25"));
    EXPECT_EQ(accessibleText(dialog->omlbl, QAccessible::Value), QStringLiteral("8,16 rad/s"));
    dialog->ktrack->setValue(30);
    EXPECT_EQ(accessibleText(dialog->qlbl, QAccessible::Value), QStringLiteral("Q= 10,61"));
    EXPECT_EQ(accessibleText(dialog->ktxt, QAccessible::Value), QStringLiteral("15,0 N/m"));
    EXPECT_EQ(accessibleText(dialog->UpDown9, QAccessible::Value), QStringLiteral("100"));
    QAccessibleTextInterface* q = QAccessible::queryAccessibleInterface(dialog->qlbl)->textInterface();
    ASSERT_NE(q, nullptr);
    EXPECT_EQ(q->text(0, q->characterCount()), QStringLiteral("Q= 10,61"));
}

TEST_F(PendulabTest, ValueInterfaceMovesTheControlsLikeTheUser)
{
    start();
    openDialog();
    QAccessibleValueInterface* k = QAccessible::queryAccessibleInterface(dialog->ktrack)->valueInterface();
    ASSERT_NE(k, nullptr);
    EXPECT_EQ(k->minimumValue().toInt(), 0);
    EXPECT_EQ(k->maximumValue().toInt(), 100);
    k->setCurrentValue(50);
    EXPECT_EQ(main->session->parameters().stiffness, 25.0);
    EXPECT_EQ(dialog->ktxt->text(), QStringLiteral("25,0 N/m"));
    EXPECT_EQ(dialog->omlbl->text(), QStringLiteral("9,13 rad/s"));

    QAccessibleValueInterface* a = QAccessible::queryAccessibleInterface(dialog->UpDown9)->valueInterface();
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->maximumValue().toInt(), 300);
    EXPECT_EQ(a->currentValue().toInt(), 100);
    a->setCurrentValue(110);
    EXPECT_EQ(dialog->UpDown9->position(), 110);
    EXPECT_EQ(dialog->amplitxt->text(), QStringLiteral("11"));
    EXPECT_DOUBLE_EQ(data().ModelPos[0], 11.0);
}

TEST_F(PendulabTest, TabOrderFollowsTheDialogLayoutAndEscapeOnlyHides)
{
    start();
    openDialog();
    const QList<QWidget*> expected = {dialog->ktrack,  dialog->kspin,    dialog->htrack,  dialog->hspin,   dialog->mtrack,
                                      dialog->mspin,   dialog->visichk,  dialog->excitchk, dialog->UpDown9, dialog->ampspin,
                                      dialog->UpDown10, dialog->offspin, dialog->UpDown1, dialog->oetrack, dialog->amptrack};
    QList<QWidget*> visited;
    QWidget* step = dialog->ktrack;
    for (int guard = 0; guard < 200 && visited.size() < expected.size(); ++guard, step = step->nextInFocusChain())
        if ((step->focusPolicy() & Qt::TabFocus) && expected.contains(step) && !visited.contains(step)) visited << step;
    EXPECT_EQ(visited, expected);

    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(dialog, &escape);
    EXPECT_TRUE(dialog->isHidden());
    openDialog();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->ktrack->value(), 40);
}

TEST_F(PendulabTest, KeyboardReachesTheDurationAndTheRun)
{
    start();
    EXPECT_EQ(aqucmd(main)->text(), QStringLiteral("&Lancer"));
    EXPECT_EQ(aqucmd(main)->shortcut(), QKeySequence(QStringLiteral("Alt+L")));
    QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
    QCoreApplication::sendEvent(durtxt(main), &up);
    EXPECT_EQ(durtxt(main)->text(), QStringLiteral("11"));
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QCoreApplication::sendEvent(UpDown7(main), &down);
    EXPECT_EQ(durtxt(main)->text(), QStringLiteral("10"));
    EXPECT_TRUE(UpDown7(main)->focusPolicy() & Qt::TabFocus);
}
