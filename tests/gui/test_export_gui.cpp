// "E&xporter" through the real window, read back by an independent spreadsheet reader (xlrd).
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSlider>
#include <QTemporaryDir>

#include <bit>
#include <cmath>
#include <map>

#include "Harness.h"

namespace {

struct Sheet {
    std::map<std::pair<int, int>, QString> text;
    std::map<std::pair<int, int>, double> numbers;
    int cells() const { return static_cast<int>(text.size() + numbers.size()); }
};

Sheet readWithXlrd(const QString& file)
{
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral(PENDULAB_SOURCE_DIR "tests/xlrd_dump.py"), file});
    EXPECT_TRUE(python.waitForFinished(60000));
    EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    Sheet sheet;
    const QStringList lines = QString::fromUtf8(python.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        const QStringList parts = line.split(QLatin1Char(' '));
        const auto key = std::make_pair(parts[0].toInt(), parts[1].toInt());
        const QString value = parts.mid(3).join(QLatin1Char(' '));
        if (parts[2] == QLatin1String("n")) sheet.numbers[key] = std::strtod(value.toLatin1().constData(), nullptr);
        else sheet.text[key] = value;
    }
    return sheet;
}

bool sameBits(double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); }

} // namespace

TEST_F(PendulabTest, ExportIsReadBackExactlyByASpreadsheetReader)
{
    start();
    openDialog(); // the model at the defaults
    QTemporaryDir dir;
    ui_.saveAnswer = dir.filePath(QStringLiteral("oscill.xls"));
    Exporter1(main)->trigger();
    ASSERT_TRUE(ui_.errors.isEmpty()) << ui_.errors.join('\n').toStdString();
    ASSERT_EQ(ui_.messages.size(), 1);
    EXPECT_EQ(ui_.messages[0], QStringLiteral("Fichier ") + ui_.saveAnswer + QStringLiteral(" sauvegardé."));

    const Sheet sheet = readWithXlrd(ui_.saveAnswer);
    EXPECT_EQ(sheet.cells(), 7968);
    EXPECT_EQ(sheet.text.at({0, 0}), QStringLiteral("Y mes"));
    EXPECT_EQ(sheet.text.at({0, 1}), QStringLiteral("dY/dt mes"));
    EXPECT_EQ(sheet.text.at({0, 2}), QStringLiteral("Y theor"));
    EXPECT_EQ(sheet.text.at({0, 3}), QStringLiteral("dY/dt theor"));
    const auto& b = data();
    for (int i = 5; i <= 1995; ++i) {
        const int row = i - 4;
        ASSERT_TRUE(sameBits(sheet.numbers.at({row, 0}), b.MeasPos[i])) << i;
        ASSERT_TRUE(sameBits(sheet.numbers.at({row, 1}), b.MeasSpeed[i])) << i;
        ASSERT_TRUE(sameBits(sheet.numbers.at({row, 2}), b.ModelPos[i])) << i;
        ASSERT_TRUE(sameBits(sheet.numbers.at({row, 3}), b.ModelSpeed[i])) << i;
        ASSERT_EQ(sheet.numbers.at({row, 0}), 0.0); // nothing measured yet
    }
    EXPECT_NE(sheet.numbers.at({1, 2}), 0.0);
}

TEST_F(PendulabTest, EachExportHoldsOnlyItsOwnSheet)
{
    start();
    openDialog();
    QTemporaryDir dir;
    ui_.saveAnswer = dir.filePath(QStringLiteral("first.xls"));
    Exporter1(main)->trigger();
    dialog->ktrack->setValue(60);
    ui_.saveAnswer = dir.filePath(QStringLiteral("second.xls"));
    Exporter1(main)->trigger();
    ASSERT_EQ(ui_.messages.size(), 2);
    const Sheet first = readWithXlrd(dir.filePath(QStringLiteral("first.xls")));
    const Sheet second = readWithXlrd(dir.filePath(QStringLiteral("second.xls")));
    EXPECT_EQ(first.cells(), 7968);
    EXPECT_EQ(second.cells(), 7968);
    EXPECT_TRUE(sameBits(second.numbers.at({100, 2}), data().ModelPos[104]));
    EXPECT_FALSE(sameBits(first.numbers.at({100, 2}), second.numbers.at({100, 2})));
}

TEST_F(PendulabTest, FailedExportSaysWhyAndLeavesNothing)
{
    start();
    QTemporaryDir dir;
    ui_.saveAnswer = dir.filePath(QStringLiteral("absent/oscill.xls"));
    Exporter1(main)->trigger();
    EXPECT_TRUE(ui_.messages.isEmpty());
    ASSERT_EQ(ui_.errors.size(), 1);
    EXPECT_TRUE(ui_.errors[0].contains(ui_.saveAnswer)) << ui_.errors[0].toStdString();
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden).isEmpty());

    // A folder standing where the file should go: the rename fails, the folder is untouched.
    QDir(dir.path()).mkdir(QStringLiteral("taken.xls"));
    ui_.saveAnswer = dir.filePath(QStringLiteral("taken.xls"));
    Exporter1(main)->trigger();
    EXPECT_EQ(ui_.errors.size(), 2);
    EXPECT_TRUE(ui_.messages.isEmpty());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
              QStringList{QStringLiteral("taken.xls")});

    // The program goes on: a good export works afterwards.
    ui_.saveAnswer = dir.filePath(QStringLiteral("ok.xls"));
    Exporter1(main)->trigger();
    EXPECT_EQ(ui_.messages.size(), 1);
    EXPECT_EQ(QFile(ui_.saveAnswer).size(), 26 + 4 * 12 + 5 + 9 + 7 + 11 + 7964 * 19);
}

TEST_F(PendulabTest, CancelledExportWritesNothing)
{
    start();
    ui_.saveAnswer.clear();
    Exporter1(main)->trigger();
    EXPECT_EQ(ui_.saveCalls, 1);
    EXPECT_TRUE(ui_.messages.isEmpty());
    EXPECT_TRUE(ui_.errors.isEmpty());
    EXPECT_EQ(main->xlsFile().RecordCount(), 2u);
}
