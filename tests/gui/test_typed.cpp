// The modelling dialog's boxes where each parameter is typed: the exact value reaches the model,
// the slider or spinner follows without rounding it, and the boxes follow the sliders and the fit.
#include <QAccessible>
#include <QDoubleSpinBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <cmath>

#include "Harness.h"
#include "views/Accessibility.h"
#include "views/UpDown.h"
#include "model/Oscillator.h"

namespace {

Qt::Key keyOf(QChar c)
{
    if (c.isDigit()) return static_cast<Qt::Key>(Qt::Key_0 + c.digitValue());
    if (c == QLatin1Char(',')) return Qt::Key_Comma;
    if (c == QLatin1Char('.')) return Qt::Key_Period;
    if (c == QLatin1Char('-')) return Qt::Key_Minus;
    if (c == QLatin1Char(' ')) return Qt::Key_Space;
    if (c.isLetter()) return static_cast<Qt::Key>(Qt::Key_A + (c.toUpper().unicode() - 'A'));
    return Qt::Key_unknown;
}

void sendKey(QWidget* to, Qt::Key key, const QString& text = {})
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(to, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(to, &release);
}

// Types `text` over the box's number, key by key as the user does, then Enter.
void typeInto(QDoubleSpinBox* box, const QString& text)
{
    box->selectAll();
    for (const QChar c : text) sendKey(box, keyOf(c), QString(c));
    sendKey(box, Qt::Key_Return);
}

QString fixed(double value, int decimals) { return QLocale().toString(value, 'f', decimals); }

class TypedTest : public PendulabTest {
protected:
    const pendulab::ModelParameters& p() const { return session()->parameters(); }

    // The windows made anew under `locale`, as the program starts under the user's locale.
    void remakeWindowsIn(const QLocale& locale)
    {
        QLocale::setDefault(locale);
        delete w.FichePrincipale;
        w = createWindows();
        main = w.FichePrincipale;
        dialog = w.config;
        QObject::connect(main->session, &pendulab::Session::modelChanged, main, [this] { ++modelRuns; });
    }
};

} // namespace

TEST_F(TypedTest, TypedStiffnessReachesTheModelExactly)
{
    start();
    openDialog();
    const int runs = modelRuns;
    typeInto(dialog->kspin, QStringLiteral("18,47"));
    EXPECT_EQ(p().stiffness, 18.47); // not the slider's 18.5
    EXPECT_EQ(modelRuns, runs + 1);
    EXPECT_EQ(dialog->ktrack->value(), 37);
    EXPECT_EQ(dialog->kspin->text(), QStringLiteral("18,47 N/m"));
    EXPECT_EQ(dialog->ktxt->text(), QStringLiteral("18,5 N/m"));
    EXPECT_EQ(dialog->omlbl->text(), fixed(std::sqrt(18.47 / 0.3), 2) + QStringLiteral(" rad/s"));

    pendulab::OscillatorInputs in; // D = 10 s, 10 V, 0.3 kg, 0.2 kg/s, no offset, at rest until 0 s
    in.durationSeconds = 10;
    in.amplitude = 10.0;
    in.mass = 0.3;
    in.friction = 0.2;
    in.stiffness = 18.47;
    const pendulab::OscillatorModel expected(in);
    for (const std::size_t i : {std::size_t{0}, std::size_t{137}, std::size_t{1000}, std::size_t{2000}})
        EXPECT_NEAR(data().ModelPos[i], expected.at(static_cast<double>(i) * 10.0 / 2000.0).position, 1e-12) << i;

    // Enter again with nothing changed: no new computation.
    sendKey(dialog->kspin, Qt::Key_Return);
    EXPECT_EQ(modelRuns, runs + 1);
    EXPECT_TRUE(ui_.errors.isEmpty()) << ui_.errors.join('\n').toStdString();
}

// What is typed is taken as typed, in the whole physical range (the slider resting at its end), or
// refused visibly with the model left as it was.
TEST_F(TypedTest, TypedTextIsTakenAsTypedOrRefusedVisibly)
{
    start();
    openDialog();
    typeInto(dialog->kspin, QStringLiteral("18.5")); // the point, in French too
    EXPECT_EQ(p().stiffness, 18.5);
    EXPECT_EQ(dialog->kspin->text(), QStringLiteral("18,50 N/m"));
    typeInto(dialog->kspin, QStringLiteral("250"));
    EXPECT_EQ(p().stiffness, 250.0);
    EXPECT_EQ(dialog->ktrack->value(), dialog->ktrack->maximum());
    typeInto(dialog->hspin, QStringLiteral("100"));
    EXPECT_EQ(p().friction, 100.0);
    typeInto(dialog->mspin, QStringLiteral("1200"));
    EXPECT_EQ(p().mass, 1.2);
    EXPECT_EQ(dialog->mtrack->value(), 999);
    EXPECT_TRUE(dialog->mspin->refusal().isEmpty());

    const int runs = modelRuns;
    for (const char* bad : {"1e3", "-5", "1 000", "12000", "abc"}) {
        typeInto(dialog->mspin, QString::fromLatin1(bad));
        EXPECT_EQ(p().mass, 1.2) << bad;
        EXPECT_EQ(dialog->mspin->text(), QStringLiteral("1200 g")) << bad;
        EXPECT_FALSE(dialog->mspin->refusal().isEmpty()) << bad;
        EXPECT_EQ(dialog->mspin->toolTip(), dialog->mspin->refusal()) << bad;
        EXPECT_TRUE(dialog->mspin->styleSheet().contains(QStringLiteral("border"))) << bad;
    }
    EXPECT_EQ(modelRuns, runs);
    EXPECT_TRUE(dialog->mspin->refusal().contains(QStringLiteral("abc")));
    typeInto(dialog->mspin, QStringLiteral("-5"));
    EXPECT_TRUE(dialog->mspin->refusal().contains(QStringLiteral("hors des limites"))) << dialog->mspin->refusal().toStdString();
    sendKey(dialog->mspin, Qt::Key_Left); // moving in the text: still refused
    EXPECT_FALSE(dialog->mspin->refusal().isEmpty());
    sendKey(dialog->mspin, Qt::Key_Up); // an arrow steps from the value kept
    EXPECT_EQ(p().mass, 1.201);
    EXPECT_TRUE(dialog->mspin->refusal().isEmpty());
    EXPECT_TRUE(dialog->mspin->problemWith(QStringLiteral("250")).isEmpty()); // with or without its unit
    EXPECT_TRUE(dialog->mspin->problemWith(QStringLiteral("250 g")).isEmpty());
    EXPECT_FALSE(dialog->mspin->problemWith(QStringLiteral("12000")).isEmpty());
    typeInto(dialog->mspin, QStringLiteral("1")); // the range's own ends are values
    EXPECT_EQ(p().mass, 0.001);
    typeInto(dialog->mspin, QStringLiteral("10000"));
    EXPECT_EQ(p().mass, 10.0);
    typeInto(dialog->mspin, QStringLiteral("-5"));
    typeInto(dialog->mspin, QStringLiteral("250"));
    EXPECT_EQ(p().mass, 0.25);
    EXPECT_TRUE(dialog->mspin->refusal().isEmpty());
    EXPECT_EQ(dialog->mspin->toolTip(), QStringLiteral("Flèches : ±1 g"));
    EXPECT_TRUE(dialog->mspin->styleSheet().isEmpty());
    EXPECT_TRUE(ui_.errors.isEmpty()) << ui_.errors.join('\n').toStdString();
}

TEST_F(TypedTest, TypedMassInGramsIsExactInKilograms)
{
    start();
    openDialog();
    typeInto(dialog->mspin, QStringLiteral("320"));
    EXPECT_EQ(p().mass, 0.32);
    EXPECT_EQ(dialog->mtrack->value(), 319);
    EXPECT_EQ(dialog->mtxt->text(), QStringLiteral("320 gr"));
    EXPECT_EQ(dialog->omlbl->text(), fixed(std::sqrt(20.0 / 0.32), 2) + QStringLiteral(" rad/s"));
}

TEST_F(TypedTest, OffsetAmplitudeAndFrictionTypedInACLocale)
{
    remakeWindowsIn(QLocale::c());
    start();
    openDialog();
    typeInto(dialog->offspin, QStringLiteral("-1.23"));
    EXPECT_EQ(p().offset, -1.23);
    EXPECT_EQ(dialog->UpDown10->position(), -123);
    EXPECT_EQ(dialog->offspin->text(), QStringLiteral("-1.23 V"));
    typeInto(dialog->ampspin, QStringLiteral("7.5"));
    EXPECT_EQ(p().amplitude, 7.5);
    EXPECT_EQ(dialog->UpDown9->position(), 75);
    EXPECT_EQ(dialog->amplitxt->text(), QStringLiteral("7.5"));
    EXPECT_DOUBLE_EQ(data().ModelPos[0], 7.5 - 1.23); // released at rest from offset + amplitude
    typeInto(dialog->hspin, QStringLiteral("0.137"));
    EXPECT_EQ(p().friction, 0.137);
    EXPECT_EQ(dialog->htrack->value(), 14);
    EXPECT_EQ(dialog->htxt->text(), QStringLiteral("0.14 si"));
    EXPECT_EQ(dialog->qlbl->text(), QStringLiteral("Q= ") + fixed(std::sqrt(20.0 * 0.3) / 0.137, 2));
}

TEST_F(TypedTest, AnArrowStepIsOneChangeOfOneHundredth)
{
    start();
    openDialog();
    const int runs = modelRuns;
    sendKey(dialog->kspin, Qt::Key_Up);
    EXPECT_EQ(p().stiffness, 20.01);
    EXPECT_EQ(modelRuns, runs + 1);
    EXPECT_EQ(dialog->ktrack->value(), 40);
    EXPECT_EQ(dialog->kspin->toolTip(), QStringLiteral("Flèches : ±0,01 N/m"));
    EXPECT_EQ(dialog->hspin->toolTip(), QStringLiteral("Flèches : ±0,001 kg/s"));
    EXPECT_EQ(dialog->mspin->toolTip(), QStringLiteral("Flèches : ±1 g"));
    EXPECT_EQ(dialog->offspin->toolTip(), QStringLiteral("Flèches : ±0,01 V"));
    EXPECT_EQ(dialog->ampspin->toolTip(), QStringLiteral("Flèches : ±0,1 V"));
}

TEST_F(TypedTest, TheBoxesFollowTheSlidersAndSpinners)
{
    start();
    openDialog();
    EXPECT_EQ(dialog->kspin->text(), QStringLiteral("20,00 N/m"));
    EXPECT_EQ(dialog->hspin->text(), QStringLiteral("0,200 kg/s"));
    EXPECT_EQ(dialog->mspin->text(), QStringLiteral("300 g"));
    EXPECT_EQ(dialog->offspin->text(), QStringLiteral("0,00 V"));
    EXPECT_EQ(dialog->ampspin->text(), QStringLiteral("10,0 V"));
    int runs = modelRuns;
    dialog->ktrack->setValue(41);
    EXPECT_EQ(dialog->kspin->text(), QStringLiteral("20,50 N/m"));
    dialog->htrack->setValue(7);
    EXPECT_EQ(dialog->hspin->text(), QStringLiteral("0,070 kg/s"));
    dialog->mtrack->setValue(0);
    EXPECT_EQ(dialog->mspin->text(), QStringLiteral("1 g"));
    dialog->UpDown9->click(TUpDown::btNext);
    EXPECT_EQ(dialog->ampspin->text(), QStringLiteral("10,5 V"));
    dialog->UpDown10->click(TUpDown::btPrev);
    EXPECT_EQ(dialog->offspin->text(), QStringLiteral("-0,02 V"));
    EXPECT_EQ(modelRuns, runs + 5); // one computation per change: the boxes did not answer back
    EXPECT_EQ(p().stiffness, 20.5);
    EXPECT_EQ(p().friction, 0.07);
    EXPECT_EQ(p().mass, 0.001);
    EXPECT_EQ(p().amplitude, 10.5);
    EXPECT_EQ(p().offset, -0.02);
}

TEST_F(TypedTest, AFitFillsTheBoxesAndLeavingThemKeepsTheFittedValues)
{
    start();
    openDialog();
    record();
    ASSERT_TRUE(session()->hasMeasurement());
    typeInto(dialog->mspin, QStringLiteral("320")); // the virtual card's weighed mass
    const pendulab::ModelParameters manual = p();
    dialog->ajustcmd->click();
    settle();
    ASSERT_TRUE(ui_.messages.isEmpty()) << ui_.messages.join('\n').toStdString();
    const pendulab::ModelParameters fitted = p();
    ASSERT_NE(fitted.stiffness, manual.stiffness);
    EXPECT_EQ(dialog->kspin->text(), fixed(fitted.stiffness, 2) + QStringLiteral(" N/m"));
    EXPECT_EQ(dialog->hspin->text(), fixed(fitted.friction, 3) + QStringLiteral(" kg/s"));
    EXPECT_EQ(dialog->ampspin->text(), fixed(fitted.amplitude, 1) + QStringLiteral(" V"));
    EXPECT_NEAR(dialog->offspin->value(), fitted.offset, 0.005 + 1e-12); // a fitted -0.001 may show as -0,00 or 0,00
    EXPECT_EQ(dialog->mspin->text(), QStringLiteral("320 g"));

    // Enter in a box that shows a rounded fitted value leaves the exact value alone.
    const int runs = modelRuns;
    for (QDoubleSpinBox* box : {dialog->kspin, dialog->hspin, dialog->ampspin, dialog->offspin, dialog->mspin})
        sendKey(box, Qt::Key_Return);
    EXPECT_EQ(p(), fitted);
    EXPECT_EQ(modelRuns, runs);

    dialog->manuelcmd->click();
    EXPECT_EQ(dialog->kspin->text(), fixed(manual.stiffness, 2) + QStringLiteral(" N/m"));
    EXPECT_EQ(dialog->hspin->text(), fixed(manual.friction, 3) + QStringLiteral(" kg/s"));
}

TEST_F(TypedTest, TheBoxesHaveTheirFrenchNames)
{
    start();
    openDialog();
    const std::pair<QWidget*, const char*> names[] = {{dialog->kspin, "Raideur"},    {dialog->hspin, "Frottement"},
                                                      {dialog->mspin, "Masse"},      {dialog->offspin, "Décalage"},
                                                      {dialog->ampspin, "Amplitude"}};
    for (const auto& [box, name] : names) {
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(box);
        ASSERT_NE(iface, nullptr) << box->objectName().toStdString();
        EXPECT_EQ(iface->text(QAccessible::Name), QString::fromUtf8(name)) << box->objectName().toStdString();
    }
}
