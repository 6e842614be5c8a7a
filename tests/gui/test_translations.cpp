// The program's language: French by default, English when the user's language is English, and
// Qt's own buttons in the same language.
#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include "Harness.h"
#include "app/Translations.h"
#include "core/Text.h"

namespace {

QStringList menuTexts(TFichePrincipale* main)
{
    QStringList texts;
    for (QAction* a : main->menuBar()->actions()) texts << a->text();
    return texts;
}

// The windows made after the translators for `locale` are in place, as the program makes them.
class LanguageTest : public PendulabTest {
protected:
    virtual QLocale locale() const = 0;
    void SetUp() override
    {
        language = installTranslations(*qApp, locale());
        PendulabTest::SetUp();
    }
    void TearDown() override
    {
        PendulabTest::TearDown();
        removeTranslations();
    }
    QString language;
};

// The environment's language, as the program reads it at start-up (QLocale::system()). CTest runs
// this under LANG=en_US.UTF-8 and LANG=fr_FR.UTF-8 (translations.menu_en / translations.menu_fr),
// with PENDULAB_TEST_LANGUAGE naming the language expected.
class EnvironmentLanguageTest : public LanguageTest {
    QLocale locale() const override { return QLocale::system(); }
};

// The French locale, whatever the environment.
class FrenchTest : public LanguageTest {
    QLocale locale() const override { return QLocale(QLocale::French, QLocale::France); }
};

class EnglishTest : public LanguageTest {
    QLocale locale() const override { return QLocale(QLocale::English, QLocale::UnitedStates); }
};

} // namespace

TEST(ProgramLanguage, EnglishOnlyWhenEnglishComesBeforeFrench)
{
    EXPECT_EQ(programLanguage({QStringLiteral("en-US"), QStringLiteral("en")}), QStringLiteral("en"));
    EXPECT_EQ(programLanguage({QStringLiteral("en-GB")}), QStringLiteral("en"));
    EXPECT_EQ(programLanguage({QStringLiteral("fr-FR"), QStringLiteral("fr")}), QStringLiteral("fr"));
    EXPECT_EQ(programLanguage({QStringLiteral("C")}), QStringLiteral("fr"));
    EXPECT_EQ(programLanguage({QStringLiteral("de-DE")}), QStringLiteral("fr"));
    EXPECT_EQ(programLanguage({QStringLiteral("de-DE"), QStringLiteral("en-US")}), QStringLiteral("en"));
    EXPECT_EQ(programLanguage({QStringLiteral("fr-CA"), QStringLiteral("en-US")}), QStringLiteral("fr"));
    EXPECT_EQ(programLanguage({}), QStringLiteral("fr"));
}

TEST(CoreText, PlaceholdersFilledInOnePass)
{
    EXPECT_EQ(pendulab::withArgs("%2 après %1", {"a", "b"}), "b après a");
    EXPECT_EQ(pendulab::withArgs("« %1 » %2", {"%2", "x"}), "« %2 » x");
    EXPECT_EQ(pendulab::withArgs("%1 et %3 à 100%", {"un"}), "un et %3 à 100%");
}

TEST_F(EnvironmentLanguageTest, MenuInTheUsersLanguage)
{
    const QByteArray expected = qgetenv("PENDULAB_TEST_LANGUAGE");
    if (expected.isEmpty()) GTEST_SKIP() << "run by CTest as translations.menu_en and translations.menu_fr";
    ASSERT_EQ(language, QString::fromLatin1(expected));
    start();
    if (expected == "en") {
        EXPECT_EQ(menuTexts(main), (QStringList{QStringLiteral("&File"), QStringLiteral("&Record"), QStringLiteral("&Model"),
                                                QStringLiteral("E&xport"), QStringLiteral("&Print"), QStringLiteral("&Tools"), QStringLiteral("&Quit")}));
        EXPECT_EQ(Fichier1(main)->actions().constFirst()->text(), QStringLiteral("&Open…"));
        EXPECT_EQ(PageControl1(main)->tabText(3), QStringLiteral("Energy study"));
        EXPECT_EQ(dialog->windowTitle().section(QLatin1Char(' '), 0, 0), QStringLiteral("Model"));
        // A text made by a plain C++ core: the card's name in the source list.
        EXPECT_EQ(sourcecmb(main)->itemText(0), QStringLiteral("SYSAM PCI card (simulation)"));
    } else {
        EXPECT_EQ(menuTexts(main), (QStringList{QStringLiteral("&Fichier"), QStringLiteral("&Acquisition"),
                                                QStringLiteral("&Modélisation"), QStringLiteral("E&xporter"),
                                                QStringLiteral("&Imprimer"), QStringLiteral("&Outils"), QStringLiteral("&Quitter")}));
        EXPECT_EQ(PageControl1(main)->tabText(3), QStringLiteral("Etude énergétique"));
        EXPECT_EQ(sourcecmb(main)->itemText(0), QStringLiteral("Carte SYSAM PCI (simulation)"));
    }
}

TEST_F(FrenchTest, QuitQuestionAnswersOuiOrNon)
{
    ASSERT_EQ(language, QStringLiteral("fr"));
    setUiServices(nullptr); // Qt's own message box
    QString title, question;
    QStringList buttons;
    QTimer answer;
    answer.setInterval(20);
    int tries = 0;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            if (++tries > 500) answer.stop();
            return;
        }
        answer.stop();
        title = box->windowTitle();
        question = box->text();
        for (QAbstractButton* b : box->buttons()) buttons << b->text().remove(QLatin1Char('&'));
        box->button(QMessageBox::No)->click();
    });
    answer.start();
    main->N1Click();
    answer.stop();
    setUiServices(&ui_);
    EXPECT_EQ(title, QStringLiteral("Confirmation"));
    EXPECT_EQ(question, QStringLiteral("Quitter le programme ?"));
    buttons.sort();
    EXPECT_EQ(buttons, (QStringList{QStringLiteral("Non"), QStringLiteral("Oui")}));
}

TEST_F(EnglishTest, MeasurementFileKeepsItsKeywordsAndReadsBack)
{
    ASSERT_EQ(language, QStringLiteral("en"));
    start();
    record();
    ASSERT_TRUE(session()->hasMeasurement());
    const std::vector<double> volts = session()->measurement().volts;
    QTemporaryDir dir;
    ui_.saveAnswer = dir.filePath(QStringLiteral("m.csv"));
    Enregistrer1(main)->trigger();
    ASSERT_TRUE(ui_.errors.isEmpty()) << ui_.errors.join('\n').toStdString();
    EXPECT_EQ(ui_.messages, QStringList{QStringLiteral("File %1 saved.").arg(ui_.saveAnswer)});
    QFile f(ui_.saveAnswer);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(f.readAll());
    for (const char* key : {"# durée en s", "# mètres par volt", "# modèle affiché", "# origine"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(key))) << key;

    durtxt(main)->setText(QStringLiteral("3"));
    record();
    ui_.openAnswer = ui_.saveAnswer;
    Ouvrir1(main)->trigger(); // added beside the 3 s recording
    ASSERT_TRUE(ui_.errors.isEmpty()) << ui_.errors.join('\n').toStdString();
    EXPECT_TRUE(ui_.questions.isEmpty());
    EXPECT_EQ(session()->measurement().durationSeconds, 10);
    EXPECT_EQ(session()->measurement().volts, volts);
}
