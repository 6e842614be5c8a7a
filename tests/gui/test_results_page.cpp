// "Résultats" through the window: a row per run, the graph's lists, the law's read-out, an own
// column typed into, and the table copied.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QShortcut>
#include <cmath>

#include "Harness.h"

TEST_F(PendulabTest, TheResultsPageFollowsTheRunsAndFitsALawThroughThem)
{
    start();
    pendulab::Measurement m;
    m.origin = pendulab::Origin::File;
    m.durationSeconds = 10;
    m.volts.assign(2001, 0.0);
    for (double mass : {0.2, 0.4}) {
        for (std::size_t i = 0; i < m.volts.size(); ++i) m.volts[i] = std::cos(std::sqrt(20.0 / mass) * 0.005 * static_cast<double>(i));
        session()->addRun(m);
        pendulab::ModelParameters p = session()->parameters();
        p.mass = mass;
        p.stiffness = 20.0;
        session()->setParameters(p);
    }
    auto* tabs = named<QTabWidget>(main, "PageControl1");
    tabs->setCurrentWidget(named<QWidget>(main, "TabSheetResults"));
    auto* table = named<QTableWidget>(main, "resultstable");
    ASSERT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->horizontalHeaderItem(3)->text(), QStringLiteral("k (N/m)"));
    EXPECT_EQ(table->item(1, 2)->text(), QStringLiteral("0,4"));

    auto* x = named<QComboBox>(main, "abscissa");
    auto* y = named<QComboBox>(main, "ordinate");
    EXPECT_EQ(x->currentText(), QStringLiteral("m"));
    EXPECT_EQ(y->currentText(), QStringLiteral("T0²"));
    named<QComboBox>(main, "law")->setCurrentIndex(1); // "Proportionnelle"
    const QString readout = named<QLabel>(main, "lawreadout")->text();
    // T0² = 4π²·m/k, set by hand: a = 4π²/20 exactly, no σ from the points.
    EXPECT_TRUE(readout.startsWith(QStringLiteral("T0² = a·m\na = 1,9739"))) << readout.toStdString();
    EXPECT_TRUE(readout.contains(QStringLiteral("Moindres carrés ordinaires"))) << readout.toStdString();
    EXPECT_EQ(session()->resultsChoice().law, pendulab::LawKind::Proportional);

    ui_.askAnswer = QStringLiteral("L0");
    named<QPushButton>(main, "addcolumn")->click();
    ASSERT_EQ(session()->ownColumns().size(), 1u);
    const int own = table->columnCount() - 1;
    table->item(0, own)->setText(QStringLiteral("12,5"));
    ASSERT_EQ(session()->run(0).ownValues.size(), 1u);
    EXPECT_EQ(*session()->run(0).ownValues[0], 12.5);
    table->item(1, own)->setText(QStringLiteral("douze"));
    EXPECT_EQ(ui_.errors.size(), 1);
    EXPECT_TRUE(session()->run(1).ownValues.empty() || !session()->run(1).ownValues[0]);

    auto* copy = table->findChild<QShortcut*>();
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->key(), QKeySequence(QKeySequence::Copy));
    emit copy->activated();
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith(QStringLiteral("Mesure\tD (s)\tm (kg)\tk (N/m)\tσ k")));
}
