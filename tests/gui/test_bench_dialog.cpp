// "Outils > Banc simulé…": the virtual card's pendulum and exciter set from the dialog (the card's
// log shows them), a recording that keeps them, and the teacher's hidden values, which a screen
// reader never reads.
#include <QAccessible>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QSettings>
#include <QKeyEvent>

#include <fstream>
#include <sstream>

#include "Harness.h"
#include "acquisition/AcqData.h"
#include "acquisition/SampleSource.h"
#include "views/BenchDialog.h"

namespace {

// Every name, value and description the accessibility tree under `o` exposes.
void accessibleTexts(QAccessibleInterface* iface, QStringList& out)
{
    if (!iface) return;
    for (QAccessible::Text t : {QAccessible::Name, QAccessible::Value, QAccessible::Description, QAccessible::Help})
        if (const QString s = iface->text(t); !s.isEmpty()) out << s;
    for (int i = 0; i < iface->childCount(); ++i) accessibleTexts(iface->child(i), out);
}

std::string fileText(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class BenchTest : public PendulabTest {
protected:
    void TearDown() override
    {
        if (pendulab::CardEcrireBanc != nullptr) pendulab::CardEcrireBanc(nullptr, 0); // the card is the process's: back to its own
        QSettings().remove(QStringLiteral("bench/hidden"));
        ::unsetenv("VIRTUALCARD_LOG");
        PendulabTest::TearDown();
    }
    QLineEdit* box(const QObject* d, const char* name) { return named<QLineEdit>(d, name); }
    std::optional<pendulab::BenchSettings> before_;
};

} // namespace

TEST_F(BenchTest, TheTeachersValuesReachTheCardAndStayHiddenFromTheStudents)
{
    const std::string log = ::testing::TempDir() + "bench_dialog.log";
    std::remove(log.c_str());
    ::setenv("VIRTUALCARD_LOG", log.c_str(), 1);
    start();
    ASSERT_TRUE(main->source() && main->source()->bench());
    before_ = main->source()->bench();
    ui_.onModal = [&] {
        auto* d = named<TBenchDialog>(main, "BenchDialog");
        ASSERT_TRUE(d);
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Banc simulé"));
        const std::pair<const char*, const char*> names[] = {
            {"benchmass", "Masse (kg)"}, {"benchstiffness", "Raideur (N/m)"}, {"benchfriction", "Frottement (kg/s)"},
            {"benchamplitude", "Amplitude au lâcher (V)"}, {"benchrest", "Position de repos (V)"},
            {"benchpulsation", "Pulsation de l'excitateur (rad/s)"}, {"benchexciteramplitude", "Amplitude de l'excitateur (V)"}};
        for (auto [name, accessible] : names) {
            ASSERT_TRUE(box(d, name)) << name;
            EXPECT_EQ(box(d, name)->accessibleName(), QString::fromUtf8(accessible));
        }
        EXPECT_EQ(box(d, "benchmass")->text(), QStringLiteral("0,32")); // as the card reports it
        EXPECT_FALSE(named<QCheckBox>(d, "benchexciter")->isChecked());
        box(d, "benchmass")->setText(QStringLiteral("0,41"));
        box(d, "benchfriction")->setText(QStringLiteral("0,65"));
        named<QCheckBox>(d, "benchexciter")->setChecked(true);
        box(d, "benchpulsation")->setText(QStringLiteral("6,5"));
        named<QCheckBox>(d, "benchhide")->setChecked(true); // what was typed stays, behind the dots
        EXPECT_EQ(box(d, "benchmass")->text(), QString::fromUtf8(TBenchDialog::Dots));
        d->show(); // as exec shows it: its default button takes Return
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(box(d, "benchpulsation"), &enter);
    };
    named<QAction>(main, "BancSimule1")->trigger();
    EXPECT_TRUE(ui_.messages.isEmpty()) << ui_.messages.join(QLatin1Char('|')).toStdString();
    EXPECT_NE(fileText(log).find("PendulabEcrireBanc(mass=0.41,stiffness=18.5,friction=0.65,amplitude=7.5,"
                                 "equilibrium=0.36,exciter=1,pulsation=6.5,"),
              std::string::npos)
        << fileText(log);
    EXPECT_TRUE(QSettings().value(QStringLiteral("bench/hidden")).toBool());

    record(); // the run keeps the bench it was recorded on, hidden as the teacher left it
    ASSERT_TRUE(session()->measurement().bench.has_value());
    EXPECT_EQ(session()->measurement().bench->mass, 0.41);
    EXPECT_TRUE(session()->measurement().bench->hidden);
    EXPECT_TRUE(session()->activeRun().steady.has_value()) << "a run on the exciter is driven";

    QStringList read;
    QString unhidden;
    ui_.onModal = [&] {
        auto* d = named<TBenchDialog>(main, "BenchDialog");
        ASSERT_TRUE(d);
        accessibleTexts(QAccessible::queryAccessibleInterface(d), read);
        named<QCheckBox>(d, "benchhide")->setChecked(false);
        unhidden = box(d, "benchmass")->text();
        d->reject();
    };
    named<QAction>(main, "BancSimule1")->trigger();
    EXPECT_TRUE(read.contains(QString::fromUtf8(TBenchDialog::Dots)));
    EXPECT_TRUE(read.contains(QStringLiteral("6,5"))) << "the exciter stays a control";
    for (const char* secret : {"0,41", "0.41", "0,65", "18,5", "7,5", "0,36"})
        EXPECT_FALSE(read.join(QLatin1Char('|')).contains(QString::fromLatin1(secret))) << secret << ": " << read.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(unhidden, QStringLiteral("0,41"));
    EXPECT_TRUE(QSettings().value(QStringLiteral("bench/hidden")).toBool()) << "cancelled: nothing changes";
}

TEST_F(BenchTest, ABadValueIsRefusedAndChangesNothing)
{
    start();
    before_ = main->source()->bench();
    ui_.onModal = [&] {
        auto* d = named<TBenchDialog>(main, "BenchDialog");
        ASSERT_TRUE(d);
        box(d, "benchmass")->setText(QStringLiteral("0"));
        d->okClick();
        box(d, "benchmass")->setText(QStringLiteral("lourd"));
        d->okClick();
        EXPECT_TRUE(d->isVisible() || !d->result()) << "the dialog stays";
        d->reject();
    };
    named<QAction>(main, "BancSimule1")->trigger();
    ASSERT_EQ(ui_.messages.size(), 2);
    EXPECT_EQ(ui_.messages[0], QStringLiteral("La masse doit être supérieure à 0 kg."));
    EXPECT_EQ(ui_.messages[1], QStringLiteral("« Masse (kg) » : « lourd » n'est pas un nombre."));
    EXPECT_EQ(main->source()->bench()->mass, before_->mass);
}
