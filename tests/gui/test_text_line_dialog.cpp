// "Port série (lignes de texte)": the controls a device printing "t,x" lines is set up with, what
// Return accepts, the refusals that leave the dialog open, and the settings kept for next time.
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>

#include "Harness.h"
#include "views/TextLineDialog.h"
#include "views/TextLineSettings.h"

namespace {

using pendulab::textline::Format;
using pendulab::textline::Separator;
using pendulab::textline::TimeUnit;

const QStringList Candidates{QStringLiteral("/dev/ttyACM0"), QStringLiteral("/dev/ttyUSB0")};

// Each test starts with nothing kept and leaves nothing kept.
class TextLineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        setUiServices(&ui_);
        QSettings().remove(QStringLiteral("textlines"));
    }
    void TearDown() override
    {
        QSettings().remove(QStringLiteral("textlines"));
        setUiServices(nullptr);
        QLocale::setDefault(QLocale::c());
    }
    static QComboBox* combo(const QObject* d, const char* name) { return named<QComboBox>(d, name); }
    static QLineEdit* slope(const QObject* d) { return named<QLineEdit>(d, "linempu"); }
    RecordingUi ui_;
};

} // namespace

TEST_F(TextLineTest, TheControlsAreNamedAndShowTheFirstTimeDefaults)
{
    TTextLineDialog d(rememberedTextLinePort(), Candidates, rememberedTextLineFormat());
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Port série (lignes de texte)"));
    const std::pair<const char*, const char*> names[] = {
        {"lineport", "Port série"}, {"linebaud", "Vitesse (bauds)"}, {"linesep", "Séparateur"},
        {"linetimecol", "Colonne du temps"}, {"linetimeunit", "Unité du temps"},
        {"linevaluecol", "Colonne de la valeur"}, {"lineunit", "Unité de la valeur"}};
    for (auto [name, accessible] : names) {
        ASSERT_TRUE(combo(&d, name)) << name;
        EXPECT_EQ(combo(&d, name)->accessibleName(), QString::fromUtf8(accessible));
    }
    ASSERT_TRUE(slope(&d));
    EXPECT_EQ(slope(&d)->accessibleName(), QStringLiteral("Mètres par unité"));
    ASSERT_TRUE(named<QLabel>(&d, "linenote"));
    ASSERT_TRUE(named<QPushButton>(&d, "lineok"));
    EXPECT_TRUE(named<QPushButton>(&d, "lineok")->isDefault());

    EXPECT_EQ(combo(&d, "lineport")->currentText(), QStringLiteral("/dev/ttyACM0"));
    EXPECT_EQ(combo(&d, "linebaud")->count(), 6);
    EXPECT_EQ(combo(&d, "linebaud")->currentText(), QStringLiteral("115200"));
    EXPECT_EQ(combo(&d, "linesep")->currentText(), QStringLiteral("virgule"));
    EXPECT_EQ(combo(&d, "linetimecol")->itemText(0), QStringLiteral("aucune"));
    EXPECT_EQ(combo(&d, "linetimecol")->count(), 1 + pendulab::textline::MostColumns);
    EXPECT_EQ(combo(&d, "linetimecol")->currentText(), QStringLiteral("1"));
    EXPECT_EQ(combo(&d, "linetimeunit")->currentText(), QStringLiteral("ms"));
    EXPECT_TRUE(combo(&d, "linetimeunit")->isEnabled());
    EXPECT_EQ(combo(&d, "linevaluecol")->currentText(), QStringLiteral("2"));
    EXPECT_EQ(combo(&d, "lineunit")->currentText(), QStringLiteral("V"));
    EXPECT_EQ(slope(&d)->text(), QStringLiteral("0,005"));
    EXPECT_TRUE(slope(&d)->isEnabled());
    EXPECT_TRUE(named<QLabel>(&d, "linenote")->isHidden());
}

TEST_F(TextLineTest, ReturnAcceptsWhatWasChosen)
{
    TTextLineDialog d(QStringLiteral("/dev/ttyACM0"), Candidates, Format{});
    combo(&d, "lineport")->setEditText(QStringLiteral("/dev/ttyUSB3"));
    combo(&d, "linebaud")->setCurrentText(QStringLiteral("9600"));
    combo(&d, "linesep")->setCurrentText(QStringLiteral("point-virgule"));
    combo(&d, "linetimecol")->setCurrentText(QStringLiteral("aucune"));
    EXPECT_FALSE(combo(&d, "linetimeunit")->isEnabled());
    EXPECT_FALSE(named<QLabel>(&d, "linenote")->isHidden());
    EXPECT_TRUE(named<QLabel>(&d, "linenote")->text().startsWith(QStringLiteral("Sans colonne de temps, chaque ligne")));
    combo(&d, "linevaluecol")->setCurrentText(QStringLiteral("3"));
    slope(&d)->setText(QStringLiteral("0,004"));
    combo(&d, "lineunit")->setCurrentText(QStringLiteral("cm"));
    EXPECT_EQ(slope(&d)->text(), QStringLiteral("0,01"));
    EXPECT_FALSE(slope(&d)->isEnabled());
    combo(&d, "lineunit")->setCurrentText(QStringLiteral("V")); // what was typed comes back
    EXPECT_EQ(slope(&d)->text(), QStringLiteral("0,004"));
    combo(&d, "lineunit")->setCurrentText(QStringLiteral("cm"));

    d.show(); // as exec shows it: its default button takes Return, even from the port's text
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(combo(&d, "lineport")->lineEdit(), &enter);
    EXPECT_TRUE(ui_.messages.isEmpty()) << ui_.messages.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(d.port(), QStringLiteral("/dev/ttyUSB3"));
    const Format f = d.format();
    EXPECT_EQ(f.baud, 9600);
    EXPECT_EQ(f.separator, Separator::Semicolon);
    EXPECT_EQ(f.timeUnit, TimeUnit::None);
    EXPECT_EQ(f.valueColumn, 3);
    EXPECT_NE(f.timeColumn, f.valueColumn);
    EXPECT_EQ(f.unit, "cm");
    EXPECT_EQ(f.metresPerUnit, 0.01);
}

TEST_F(TextLineTest, ARefusalSaysWhyAndLeavesTheDialogOpen)
{
    const Format start;
    TTextLineDialog d(QStringLiteral("/dev/ttyACM0"), Candidates, start);
    d.show();
    combo(&d, "lineport")->setEditText(QStringLiteral("  "));
    d.okClick();
    combo(&d, "lineport")->setEditText(QStringLiteral("/dev/ttyUSB0"));
    combo(&d, "linetimecol")->setCurrentText(QStringLiteral("2"));
    d.okClick();
    combo(&d, "linevaluecol")->setCurrentText(QStringLiteral("3"));
    combo(&d, "lineunit")->setEditText(QString());
    d.okClick();
    combo(&d, "lineunit")->setEditText(QStringLiteral("mV"));
    slope(&d)->setText(QStringLiteral("0"));
    d.okClick();
    slope(&d)->setText(QStringLiteral("beaucoup"));
    d.okClick();

    ASSERT_EQ(ui_.messages.size(), 5) << ui_.messages.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(ui_.messages[0], QStringLiteral("Donnez le chemin du port série, par exemple /dev/ttyACM0."));
    EXPECT_EQ(ui_.messages[1], QStringLiteral("Le temps et la valeur ne peuvent pas être dans la même colonne."));
    EXPECT_FALSE(ui_.messages[2].isEmpty());
    EXPECT_EQ(ui_.messages[3], QStringLiteral("Étalonnage invalide : « 0 ». Donnez un nombre de mètres par unité positif."));
    EXPECT_EQ(ui_.messages[4], QStringLiteral("Étalonnage invalide : « beaucoup ». Donnez un nombre de mètres par unité positif."));
    EXPECT_TRUE(d.isVisible());
    EXPECT_NE(d.result(), QDialog::Accepted);
    EXPECT_EQ(d.format(), start);
    EXPECT_EQ(d.port(), QStringLiteral("/dev/ttyACM0"));
}

TEST_F(TextLineTest, TheSettingsComeBackAndABadValueGivesWayToItsDefault)
{
    EXPECT_EQ(rememberedTextLineFormat(), Format{});
    EXPECT_EQ(rememberedTextLinePort(), QStringLiteral("/dev/ttyACM0"));
    const Format chosen{57600, Separator::Tab, TimeUnit::Microseconds, 4, 1, "mV", 0.0037};
    rememberTextLineFormat(chosen);
    rememberTextLinePort(QStringLiteral("/dev/ttyUSB1"));
    EXPECT_EQ(rememberedTextLineFormat(), chosen);
    EXPECT_EQ(rememberedTextLinePort(), QStringLiteral("/dev/ttyUSB1"));

    QSettings().setValue(QStringLiteral("textlines/baud"), 12345);
    QSettings().setValue(QStringLiteral("textlines/timeColumn"), pendulab::textline::MostColumns + 1);
    QSettings().setValue(QStringLiteral("textlines/metresPerUnit"), -0.5);
    Format expected = chosen;
    expected.baud = 115200;
    expected.timeColumn = 1; // the default, and then the value leaves column 1 for its own default
    expected.valueColumn = 2;
    expected.metresPerUnit = 0.005;
    EXPECT_EQ(rememberedTextLineFormat(), expected);
}
