// Printing the window: where no printer is installed, the page can be saved as PDF instead.
#include <QAction>
#include <QFile>
#include <QPrinterInfo>
#include <QTemporaryDir>

#include "Harness.h"

TEST_F(PendulabTest, WithoutAPrinterThePageIsOfferedAsPdf)
{
    if (!QPrinterInfo::availablePrinters().isEmpty()) GTEST_SKIP() << "this machine has a printer";
    start();
    openDialog();
    QTemporaryDir dir;
    ui_.yesNoAnswer = false;
    Imprimecran1(main)->trigger();
    ASSERT_EQ(ui_.questions.size(), 1);
    EXPECT_TRUE(ui_.questions[0].startsWith(QStringLiteral("Aucune imprimante")));
    EXPECT_EQ(ui_.saveCalls, 0);

    ui_.yesNoAnswer = true;
    ui_.saveAnswer = dir.filePath(QStringLiteral("page.pdf"));
    Imprimecran1(main)->trigger();
    EXPECT_TRUE(ui_.errors.isEmpty()) << ui_.errors.join('\n').toStdString();
    QFile pdf(ui_.saveAnswer);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5).startsWith("%PDF"));
    EXPECT_GT(pdf.size(), 10000);
    ASSERT_EQ(ui_.messages.size(), 1);
    EXPECT_TRUE(ui_.messages[0].contains(ui_.saveAnswer));
}
