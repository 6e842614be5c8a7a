#include "views/conf1.h"

#include <algorithm>
#include <cmath>

#include <QCheckBox>
#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QShowEvent>
#include <QSlider>
#include <QStringList>

#include <QSignalBlocker>

#include "views/Accessibility.h"
#include "views/Format.h"
#include "views/Services.h"
#include "views/UpDown.h"
#include "model/Fit.h"
#include "model/ParameterScales.h"
#include "session/Session.h"

static void loadIllustrationResource() { Q_INIT_RESOURCE(illustration); }

namespace {

QSlider* makeSlider(QWidget* parent, const QString& name, int min, int max, int position, QRect geometry)
{
    auto* s = new QSlider(Qt::Horizontal, parent);
    s->setObjectName(name);
    s->setRange(min, max);
    s->setValue(position);
    s->setGeometry(geometry);
    s->setFocusPolicy(Qt::StrongFocus);
    return s;
}

TValueLabel* makeValue(QWidget* parent, const QString& name, const QString& text, QRect geometry)
{
    auto* l = new TValueLabel(text, parent);
    l->setObjectName(name);
    l->setGeometry(geometry);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

// A box to type a value in, in the user's locale; the arrows' step told in its tooltip. Its value
// is taken when typing ends (Enter, focus leaving) or at each arrow step, not at each keystroke.
QDoubleSpinBox* makeSpin(QWidget* parent, const QString& name, const QString& accessibleName, double min, double max,
                         int decimals, double step, const QString& unit, QRect geometry)
{
    auto* s = new QDoubleSpinBox(parent);
    s->setObjectName(name);
    s->setLocale(QLocale());
    s->setDecimals(decimals);
    s->setRange(min, max);
    s->setSingleStep(step);
    s->setSuffix(QLatin1Char(' ') + unit);
    s->setKeyboardTracking(false);
    s->setAccelerated(true);
    s->setGeometry(geometry);
    s->setFocusPolicy(Qt::StrongFocus);
    describe(s, accessibleName,
             QCoreApplication::translate("Tconfig", "Flèches : ±%1 %2").arg(fmtNumber(step, 'f', decimals), unit));
    return s;
}

QString textOf(pendulab::Control c, double value)
{
    return QString::fromStdString(pendulab::valueText(c, value, userDecimalSeparator()));
}

} // namespace

QLabel* Tconfig::addLabel(const QString& name, const QString& text, int x, int y, int w, int h)
{
    auto* l = new QLabel(text, this);
    l->setObjectName(name);
    l->setGeometry(x, y, w, h);
    return l;
}

Tconfig::Tconfig(pendulab::Session* session, QWidget* parent) : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                                          Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint),
      session_(session)
{
    setObjectName(QStringLiteral("config"));
    setWindowTitle(tr("Modélisation"));
    setModal(false);
    setFixedSize(Width, StoredHeight);
    QFont small = font();
    small.setPointSizeF(8.0);
    setFont(small);

    // The illustration: a spring, a mass and a damper.
    loadIllustrationResource();
    Image3 = new QLabel(this);
    Image3->setObjectName(QStringLiteral("Image3"));
    Image3->setGeometry(4, 4, 94, 139);
    Image3->setAlignment(Qt::AlignCenter);
    QImageReader reader(QStringLiteral(":/views/illustration.jpg"));
    const QImage picture = reader.read();
    if (!picture.isNull())
        Image3->setPixmap(QPixmap::fromImage(picture.scaled(94, 139, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    describe(Image3, tr("Ressort, masse et amortisseur"));

    // Amplitude, offset and shift spinners.
    QLabel* label11 = addLabel(QStringLiteral("Label11"), tr("Amplitude"), 4, 146, 60, 16);
    amplitxt = new QLineEdit(QStringLiteral("10"), this);
    amplitxt->setObjectName(QStringLiteral("amplitxt"));
    amplitxt->setGeometry(4, 163, 40, 22);
    amplitxt->setReadOnly(true);
    label11->setBuddy(amplitxt);
    describe(amplitxt, tr("Amplitude"));
    UpDown9 = new TUpDown(Qt::Vertical, this);
    UpDown9->setObjectName(QStringLiteral("UpDown9"));
    UpDown9->setRange(0, 300);
    UpDown9->setIncrement(5);
    UpDown9->setPosition(100);
    UpDown9->setGeometry(44, 163, 17, 22);
    describe(UpDown9, tr("Amplitude"));
    ampspin = makeSpin(this, QStringLiteral("ampspin"), tr("Amplitude"), 0.0, 30.0, 1, 0.1, QStringLiteral("V"),
                       QRect(64, 163, 84, 22));

    QLabel* label12 = addLabel(QStringLiteral("Label12"), QStringLiteral("+/-"), 172, 146, 24, 16);
    label12->setToolTip(tr("décalage de la courbe"));
    UpDown10 = new TUpDown(Qt::Vertical, this);
    UpDown10->setObjectName(QStringLiteral("UpDown10"));
    UpDown10->setRange(-1000, 1000);
    UpDown10->setIncrement(2);
    UpDown10->setPosition(0);
    UpDown10->setGeometry(172, 163, 17, 22);
    describe(UpDown10, tr("décalage en Y"), tr("décalage en Y"));
    offspin = makeSpin(this, QStringLiteral("offspin"), tr("Décalage"), -10.0, 10.0, 2, 0.01, QStringLiteral("V"),
                       QRect(192, 163, 96, 22));
    label12->setBuddy(offspin);

    UpDown1 = new TUpDown(Qt::Horizontal, this);
    UpDown1->setObjectName(QStringLiteral("UpDown1"));
    UpDown1->setRange(-310, 310);
    UpDown1->setIncrement(5);
    UpDown1->setPosition(0);
    UpDown1->setGeometry(4, 190, 44, 17);
    describe(UpDown1, tr("déphasage sur t"), tr("déphasage sur t"));
    t0txt = makeValue(this, QStringLiteral("t0txt"), textOf(pendulab::Control::ReleaseTime, 0.0), QRect(50, 190, 48, 17));
    t0txt->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    t0txt->setToolTip(tr("instant du lâcher"));
    describe(t0txt, tr("déphasage sur t"), tr("instant du lâcher"));

    // Stiffness, friction and mass: each slider with the box beside it where its value is typed.
    addLabel(QStringLiteral("Label5"), tr("Raideur"), 102, 2, 70, 16);
    ktxt = makeValue(this, QStringLiteral("ktxt"), QStringLiteral("20 N/m"), QRect(172, 2, 70, 16));
    ktrack = makeSlider(this, QStringLiteral("ktrack"), 0, 100, 40, QRect(102, 18, 140, 20));
    kspin = makeSpin(this, QStringLiteral("kspin"), tr("Raideur"), 0.0, 50.0, 2, 0.01, QStringLiteral("N/m"),
                     QRect(246, 17, 96, 22));
    addLabel(QStringLiteral("Label10"), tr("Frottement"), 102, 40, 70, 16);
    htxt = makeValue(this, QStringLiteral("htxt"), tr("0,2 si"), QRect(172, 40, 70, 16));
    htrack = makeSlider(this, QStringLiteral("htrack"), 0, 100, 20, QRect(102, 56, 140, 20));
    hspin = makeSpin(this, QStringLiteral("hspin"), tr("Frottement"), 0.0, 1.0, 3, 0.001, QStringLiteral("kg/s"),
                     QRect(246, 55, 96, 22));
    addLabel(QStringLiteral("Label1"), tr("Masse"), 102, 78, 70, 16);
    mtxt = makeValue(this, QStringLiteral("mtxt"), QStringLiteral("300 g"), QRect(172, 78, 70, 16));
    mtrack = makeSlider(this, QStringLiteral("mtrack"), 0, 999, 299, QRect(102, 94, 140, 20));
    mspin = makeSpin(this, QStringLiteral("mspin"), tr("Masse"), 1.0, 1000.0, 0, 1.0, QStringLiteral("g"),
                     QRect(246, 93, 96, 22));
    describe(ktrack, tr("Raideur"));
    describe(htrack, tr("Frottement"));
    describe(mtrack, tr("Masse"));
    describe(ktxt, tr("Raideur"));
    describe(htxt, tr("Frottement"));
    describe(mtxt, tr("Masse"));

    visichk = new QCheckBox(tr("Tracer"), this);
    visichk->setObjectName(QStringLiteral("visichk"));
    visichk->setLayoutDirection(Qt::RightToLeft); // text left of the box
    visichk->setChecked(true);
    visichk->setGeometry(102, 118, 64, 20);
    describe(visichk, tr("Tracer"));
    excitchk = new QCheckBox(tr("Excit."), this);
    excitchk->setObjectName(QStringLiteral("excitchk"));
    excitchk->setLayoutDirection(Qt::RightToLeft);
    excitchk->setChecked(false);
    excitchk->setGeometry(172, 118, 64, 20);
    describe(excitchk, tr("Excit."));

    addLabel(QStringLiteral("Label2"), QStringLiteral("ω  ="), 102, 190, 30, 18);
    omlbl = makeValue(this, QStringLiteral("omlbl"), QStringLiteral("0"), QRect(132, 190, 100, 18));
    omlbl->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    qlbl = makeValue(this, QStringLiteral("qlbl"), QStringLiteral("Q = "), QRect(236, 190, 106, 18));
    qlbl->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    describe(omlbl, tr("Pulsation propre"));
    describe(qlbl, tr("Facteur de qualité"));

    // The fit to the recording: the command, its interval, the way back and the read-out.
    const QString fitHelp = tr(
        "Ajuste la raideur, le frottement, l'amplitude, le décalage et l'instant du lâcher t0 "
        "(et l'amplitude de l'excitateur à la pulsation réglée, s'il est en marche) à la mesure. "
        "La masse reste celle que vous avez réglée : pesez-la, car la seule courbe x(t) ne "
        "détermine que k/m et h/m.");
    ajustcmd = new QPushButton(tr("A&juster"), this);
    ajustcmd->setObjectName(QStringLiteral("ajustcmd"));
    ajustcmd->setGeometry(4, 212, 76, 24);
    ajustcmd->setToolTip(fitHelp);
    ajustcmd->setAutoDefault(false);
    describe(ajustcmd, tr("Ajuster"), fitHelp);
    intervchk = new QCheckBox(tr("Sur l'intervalle"), this);
    intervchk->setObjectName(QStringLiteral("intervchk"));
    intervchk->setGeometry(86, 214, 156, 20);
    intervchk->setToolTip(tr("ajuster sur l'intervalle du dernier glisser du pointeur sur la courbe de la mesure"));
    describe(intervchk, tr("Sur l'intervalle"), intervchk->toolTip());
    manuelcmd = new QPushButton(tr("Revenir aux réglages manuels"), this);
    manuelcmd->setObjectName(QStringLiteral("manuelcmd"));
    manuelcmd->setGeometry(4, 240, Width - 8, 24);
    manuelcmd->setAutoDefault(false);
    manuelcmd->setEnabled(false);
    describe(manuelcmd, tr("Revenir aux réglages manuels"));
    ajustlbl = makeValue(this, QStringLiteral("ajustlbl"), QString(), QRect(4, 268, Width - 8, 100));
    ajustlbl->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ajustlbl->setWordWrap(true);
    ajustlbl->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    ajustlbl->setTextInteractionFlags(Qt::TextSelectableByMouse);
    describe(ajustlbl, tr("Résultat de l'ajustement"));

    // The exciter, below the stored client area: shown by raising the dialog's height.
    GroupBox1 = new QGroupBox(tr("Paramètres de l'excitateur"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(4, HeightWithoutExciter + 2, Width - 8, 66);
    auto* label7 = new QLabel(tr("Puls"), GroupBox1);
    label7->setObjectName(QStringLiteral("Label7"));
    label7->setGeometry(6, 16, 40, 18);
    oetrack = makeSlider(GroupBox1, QStringLiteral("oetrack"), 0, 1999, 500, QRect(46, 16, Width - 8 - 46 - 74, 20));
    oetxt = makeValue(GroupBox1, QStringLiteral("oetxt"), QStringLiteral("10.0 rd/s"), QRect(Width - 8 - 72, 16, 66, 18));
    auto* label8 = new QLabel(tr("Amplit"), GroupBox1);
    label8->setObjectName(QStringLiteral("Label8"));
    label8->setGeometry(6, 40, 40, 18);
    amptrack = makeSlider(GroupBox1, QStringLiteral("amptrack"), 0, 20, 10, QRect(46, 40, Width - 8 - 46 - 74, 20));
    amptxt = makeValue(GroupBox1, QStringLiteral("amptxt"), QStringLiteral("5"), QRect(Width - 8 - 72, 40, 66, 18));
    describe(oetrack, tr("Puls"));
    describe(amptrack, tr("Amplit"));
    describe(oetxt, tr("Puls"));
    describe(amptxt, tr("Amplit"));

    // Keyboard order follows the visual order: the right column (each slider, then its box), then
    // the spinners and their boxes, then the exciter.
    setTabOrder(ktrack, kspin);
    setTabOrder(kspin, htrack);
    setTabOrder(htrack, hspin);
    setTabOrder(hspin, mtrack);
    setTabOrder(mtrack, mspin);
    setTabOrder(mspin, visichk);
    setTabOrder(visichk, excitchk);
    setTabOrder(excitchk, UpDown9);
    setTabOrder(UpDown9, ampspin);
    setTabOrder(ampspin, UpDown10);
    setTabOrder(UpDown10, offspin);
    setTabOrder(offspin, UpDown1);
    setTabOrder(UpDown1, ajustcmd);
    setTabOrder(ajustcmd, intervchk);
    setTabOrder(intervchk, manuelcmd);
    setTabOrder(manuelcmd, oetrack);
    setTabOrder(oetrack, amptrack);
    amplitxt->setFocusPolicy(Qt::ClickFocus);

    auto on = [this](auto handler) { return [this, handler] { guarded(this, [&] { (this->*handler)(); }); }; };
    connect(htrack, &QSlider::valueChanged, this, on(&Tconfig::htrackChange));
    connect(ktrack, &QSlider::valueChanged, this, on(&Tconfig::ktrackChange));
    connect(mtrack, &QSlider::valueChanged, this, on(&Tconfig::mtrackChange));
    connect(oetrack, &QSlider::valueChanged, this, on(&Tconfig::oetrackChange));
    connect(amptrack, &QSlider::valueChanged, this, on(&Tconfig::amptrackChange));
    // A box's value arrives once per change: when typing ends or at an arrow step (no keyboard
    // tracking); the program's own changes are made with its signals blocked.
    connect(kspin, &QDoubleSpinBox::valueChanged, this, on(&Tconfig::kspinChange));
    connect(hspin, &QDoubleSpinBox::valueChanged, this, on(&Tconfig::hspinChange));
    connect(mspin, &QDoubleSpinBox::valueChanged, this, on(&Tconfig::mspinChange));
    connect(offspin, &QDoubleSpinBox::valueChanged, this, on(&Tconfig::offspinChange));
    connect(ampspin, &QDoubleSpinBox::valueChanged, this, on(&Tconfig::ampspinChange));
    connect(UpDown9, &TUpDown::clicked, this, on(&Tconfig::UpDown9Click));
    connect(UpDown10, &TUpDown::clicked, this, on(&Tconfig::UpDown10Click));
    connect(UpDown1, &TUpDown::clicked, this, on(&Tconfig::UpDown1Click));
    // Whatever changes a box (a click, the keyboard, an assistive tool's toggle) runs its handler
    // once; the program's own changes are made with the signals blocked.
    connect(visichk, &QCheckBox::toggled, this, on(&Tconfig::visichkClick));
    connect(excitchk, &QCheckBox::toggled, this, on(&Tconfig::excitchkClick));
    connect(session_, &pendulab::Session::modelChanged, this, [this] { guarded(this, [this] { showModelResult(); }); });
    connect(ajustcmd, &QPushButton::clicked, this, on(&Tconfig::ajustcmdClick));
    connect(manuelcmd, &QPushButton::clicked, this, on(&Tconfig::manuelcmdClick));
    // A new recording: the read-out spoke of the previous one; a fit needs a recording.
    connect(session_, &pendulab::Session::measurementChanged, this, [this] {
        guarded(this, [this] {
            ajustlbl->setValueText(QString());
            updateFitCommands();
        });
    });
    updateFitCommands();
    placeControls();
}

void Tconfig::redraw() { session_->computeModel(); }

// A value set by hand: the fitted values still in force stay, but there is no way back past it.
void Tconfig::apply(const pendulab::ModelParameters& p)
{
    session_->setParameters(p);
    manual_.reset();
    updateFitCommands();
}

void Tconfig::placeControls()
{
    using pendulab::Control;
    using pendulab::nearestPosition;
    const pendulab::ModelParameters& p = session_->parameters();
    const QSignalBlocker b1(ktrack), b2(htrack), b3(mtrack), b4(oetrack), b5(amptrack), b6(visichk), b7(excitchk);
    ktrack->setValue(nearestPosition(Control::Stiffness, p.stiffness));
    htrack->setValue(nearestPosition(Control::Friction, p.friction));
    mtrack->setValue(nearestPosition(Control::Mass, p.mass));
    oetrack->setValue(nearestPosition(Control::ExciterPulsation, p.exciterPulsation));
    amptrack->setValue(nearestPosition(Control::ExciterAmplitude, p.exciterAmplitude));
    UpDown9->setPosition(nearestPosition(Control::Amplitude, p.amplitude));
    UpDown10->setPosition(nearestPosition(Control::Offset, p.offset));
    UpDown1->setPosition(nearestPosition(Control::ReleaseTime, p.releaseTime));
    visichk->setChecked(p.shown);
    excitchk->setChecked(p.excited);
    placeSpinBoxes();
}

void Tconfig::placeSpinBoxes()
{
    const pendulab::ModelParameters& p = session_->parameters();
    const QSignalBlocker b1(kspin), b2(hspin), b3(mspin), b4(offspin), b5(ampspin);
    kspin->setValue(p.stiffness);
    hspin->setValue(p.friction);
    mspin->setValue(p.mass * 1000.0);
    offspin->setValue(p.offset);
    ampspin->setValue(p.amplitude);
}

void Tconfig::showModelResult()
{
    const pendulab::OscillatorResult& r = session_->modelResult();
    setWindowTitle(r.regime == pendulab::Regime::Aperiodic ? tr("Modélisation (apériodique)")
                                                          : tr("Modélisation (pseudo-périodique)"));
    omlbl->setVisible(true);
    qlbl->setVisible(true);
    omlbl->setValueText(fmtFixed(r.omega0, 3, 2) + QStringLiteral(" rad/s"));
    qlbl->setValueText(QStringLiteral("Q= ") + (std::isinf(r.q) ? QStringLiteral("∞") : fmtFixed(r.q, 3, 2)));
}

void Tconfig::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) guarded(this, [this] { FormShow(); });
}

void Tconfig::FormShow()
{
    placeControls(); // from the values, which stay exact
    redraw();
}

void Tconfig::change(pendulab::Control c, double pendulab::ModelParameters::*field, int position, TValueLabel* label)
{
    pendulab::ModelParameters p = session_->parameters();
    p.*field = pendulab::valueAt(c, position);
    if (label) label->setValueText(textOf(c, p.*field));
    apply(p);
    placeSpinBoxes();
}

void Tconfig::typed(double pendulab::ModelParameters::*field, double value)
{
    pendulab::ModelParameters p = session_->parameters();
    p.*field = value;
    apply(p);
    placeControls(); // the sliders and spinners to their nearest positions, signals blocked
}

void Tconfig::kspinChange()
{
    typed(&pendulab::ModelParameters::stiffness, kspin->value());
    ktxt->setValueText(textOf(pendulab::Control::Stiffness, session_->parameters().stiffness));
}

void Tconfig::hspinChange()
{
    typed(&pendulab::ModelParameters::friction, hspin->value());
    htxt->setValueText(textOf(pendulab::Control::Friction, session_->parameters().friction));
}

void Tconfig::mspinChange()
{
    typed(&pendulab::ModelParameters::mass, mspin->value() / 1000.0); // whole grams: 320 g is 0.32 kg exactly
    mtxt->setValueText(textOf(pendulab::Control::Mass, session_->parameters().mass));
}

void Tconfig::offspinChange() { typed(&pendulab::ModelParameters::offset, offspin->value()); }

void Tconfig::ampspinChange()
{
    typed(&pendulab::ModelParameters::amplitude, ampspin->value());
    amplitxt->setText(textOf(pendulab::Control::Amplitude, session_->parameters().amplitude));
    amplitxt->setCursorPosition(0);
}

void Tconfig::htrackChange()
{
    change(pendulab::Control::Friction, &pendulab::ModelParameters::friction, htrack->value(), htxt);
}

void Tconfig::ktrackChange()
{
    change(pendulab::Control::Stiffness, &pendulab::ModelParameters::stiffness, ktrack->value(), ktxt);
}

void Tconfig::mtrackChange()
{
    change(pendulab::Control::Mass, &pendulab::ModelParameters::mass, mtrack->value(), mtxt);
}

void Tconfig::UpDown9Click()
{
    change(pendulab::Control::Amplitude, &pendulab::ModelParameters::amplitude, UpDown9->position(), nullptr);
    amplitxt->setText(textOf(pendulab::Control::Amplitude, session_->parameters().amplitude));
}

void Tconfig::UpDown10Click()
{
    change(pendulab::Control::Offset, &pendulab::ModelParameters::offset, UpDown10->position(), nullptr);
}

void Tconfig::UpDown1Click()
{
    change(pendulab::Control::ReleaseTime, &pendulab::ModelParameters::releaseTime, UpDown1->position(), t0txt);
}

void Tconfig::visichkClick()
{
    pendulab::ModelParameters p = session_->parameters();
    p.shown = visichk->isChecked();
    apply(p);
}

void Tconfig::excitchkClick()
{
    if (!visichk->isChecked()) {
        const QSignalBlocker blocker(excitchk);
        excitchk->setChecked(false);
        return;
    }
    setFixedHeight(excitchk->isChecked() ? HeightWithExciter : HeightWithoutExciter);
    pendulab::ModelParameters p = session_->parameters();
    p.excited = excitchk->isChecked();
    apply(p);
}

void Tconfig::oetrackChange()
{
    change(pendulab::Control::ExciterPulsation, &pendulab::ModelParameters::exciterPulsation, oetrack->value(), oetxt);
}

void Tconfig::amptrackChange()
{
    change(pendulab::Control::ExciterAmplitude, &pendulab::ModelParameters::exciterAmplitude, amptrack->value(), amptxt);
}

void Tconfig::showValueTexts()
{
    using pendulab::Control;
    const pendulab::ModelParameters& p = session_->parameters();
    ktxt->setValueText(textOf(Control::Stiffness, p.stiffness));
    htxt->setValueText(textOf(Control::Friction, p.friction));
    mtxt->setValueText(textOf(Control::Mass, p.mass));
    // The narrow amplitude field shows the value to the hundredth of a volt, from its start.
    amplitxt->setText(textOf(Control::Amplitude, std::round(p.amplitude * 100.0) / 100.0));
    amplitxt->setCursorPosition(0);
    // A release a fraction of a millisecond before the first sample reads "0,00 s", not "-0,00 s".
    t0txt->setValueText(textOf(Control::ReleaseTime, std::fabs(p.releaseTime) < 0.005 ? 0.0 : p.releaseTime));
    oetxt->setValueText(textOf(Control::ExciterPulsation, p.exciterPulsation));
    amptxt->setValueText(textOf(Control::ExciterAmplitude, p.exciterAmplitude));
}

void Tconfig::updateFitCommands()
{
    ajustcmd->setEnabled(session_->hasMeasurement() && !recording_);
    manuelcmd->setEnabled(manual_.has_value());
}

void Tconfig::setRecordingRunning(bool running)
{
    recording_ = running;
    updateFitCommands();
}

void Tconfig::ajustcmdClick()
{
    if (!session_->hasMeasurement() || recording_) return;
    const pendulab::Measurement& m = session_->measurement();
    const pendulab::ModelParameters current = session_->parameters();
    auto refuse = [this](const QString& why) {
        ajustlbl->setValueText(why);
        ui().showMessage(this, why);
    };

    pendulab::FitRequest request;
    request.volts = m.volts; // as recorded: the 8-point mean would blur what the model must match
    request.dt = m.samplePeriod();
    request.first = 0;
    request.last = m.volts.size() - 1;
    if (intervchk->isChecked()) {
        const std::optional<pendulab::Session::TimeInterval>& span = session_->interval();
        if (!span) {
            refuse(tr("Aucun intervalle choisi : faites glisser le pointeur sur la courbe de la mesure, "
                                  "puis ajustez."));
            return;
        }
        // The samples inside the span, the span held in the recording.
        const double lastIndex = static_cast<double>(m.volts.size() - 1);
        const double first = std::clamp(std::ceil(span->from / request.dt - 1e-9), 0.0, lastIndex);
        const double last = std::clamp(std::floor(span->to / request.dt + 1e-9), 0.0, lastIndex);
        request.first = static_cast<std::size_t>(first);
        request.last = static_cast<std::size_t>(last);
    }
    request.mass = current.mass;
    request.excited = current.excited;
    request.exciterPulsation = current.exciterPulsation;
    request.exciterAmplitude = current.exciterAmplitude;

    const pendulab::FitResult result = pendulab::fitOscillator(request);
    if (!result.ok) {
        refuse(QString::fromStdString(result.message));
        return;
    }
    pendulab::ModelParameters fitted = current;
    fitted.stiffness = result.stiffness.value;
    fitted.friction = result.friction.value;
    fitted.amplitude = result.amplitude.value;
    fitted.offset = result.offset.value;
    fitted.releaseTime = result.releaseTime.value;
    if (result.excited) fitted.exciterAmplitude = result.exciterAmplitude.value;
    session_->setParameters(fitted); // the model anew: ω0 and Q follow
    if (!manual_) manual_ = current;

    QStringList lines;
    for (const std::string& line : pendulab::fitReport(result, userDecimalSeparator())) lines << QString::fromStdString(line);
    ajustlbl->setValueText(lines.join(QLatin1Char('\n')));
    placeControls();
    showValueTexts();
    updateFitCommands();
}

void Tconfig::manuelcmdClick()
{
    if (!manual_) return;
    session_->setParameters(*manual_);
    manual_.reset();
    ajustlbl->setValueText(QString());
    placeControls();
    showValueTexts();
    updateFitCommands();
}
