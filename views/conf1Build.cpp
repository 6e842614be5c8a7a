// The modelling dialog's controls, made and placed: the illustration, the position controls,
// the oscillator's sliders and boxes, the fit, the exciter; their keyboard order and connections.
#include <QCheckBox>
#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSlider>

#include "session/Session.h"
#include "views/Accessibility.h"
#include "views/Format.h"
#include "views/Services.h"
#include "views/UpDown.h"
#include "views/ValueBox.h"
#include "views/conf1.h"

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

TUpDown* makeUpDown(QWidget* parent, const QString& name, Qt::Orientation orientation, int min, int max, int increment,
                    int position, QRect geometry)
{
    auto* u = new TUpDown(orientation, parent);
    u->setObjectName(name);
    u->setRange(min, max);
    u->setIncrement(increment);
    u->setPosition(position);
    u->setGeometry(geometry);
    return u;
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
TValueBox* makeSpin(QWidget* parent, const QString& name, const QString& accessibleName, double min, double max,
                         int decimals, double step, const QString& unit, QRect geometry)
{
    auto* s = new TValueBox(parent);
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

} // namespace

QLabel* Tconfig::addLabel(const QString& name, const QString& text, int x, int y, int w, int h)
{
    auto* l = new QLabel(text, this);
    l->setObjectName(name);
    l->setGeometry(x, y, w, h);
    return l;
}

void Tconfig::buildIllustration()
{
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
}

void Tconfig::buildPositionControls()
{
    // Amplitude, offset and shift spinners.
    QLabel* label11 = addLabel(QStringLiteral("Label11"), tr("Amplitude"), 4, 146, 60, 16);
    amplitxt = new QLineEdit(QStringLiteral("10"), this);
    amplitxt->setObjectName(QStringLiteral("amplitxt"));
    amplitxt->setGeometry(4, 163, 40, 22);
    amplitxt->setReadOnly(true);
    label11->setBuddy(amplitxt);
    describe(amplitxt, tr("Amplitude"));
    UpDown9 = makeUpDown(this, QStringLiteral("UpDown9"), Qt::Vertical, 0, 300, 5, 100, QRect(44, 163, 17, 22));
    describe(UpDown9, tr("Amplitude"));
    ampspin = makeSpin(this, QStringLiteral("ampspin"), tr("Amplitude"), 0.0, 30.0, 1, 0.1, QStringLiteral("V"),
                       QRect(64, 163, 84, 22));

    QLabel* label12 = addLabel(QStringLiteral("Label12"), QStringLiteral("+/-"), 172, 146, 24, 16);
    label12->setToolTip(tr("décalage de la courbe"));
    UpDown10 = makeUpDown(this, QStringLiteral("UpDown10"), Qt::Vertical, -1000, 1000, 2, 0, QRect(172, 163, 17, 22));
    describe(UpDown10, tr("décalage en Y"), tr("décalage en Y"));
    offspin = makeSpin(this, QStringLiteral("offspin"), tr("Décalage"), -10.0, 10.0, 2, 0.01, QStringLiteral("V"),
                       QRect(192, 163, 96, 22));
    label12->setBuddy(offspin);

    UpDown1 = makeUpDown(this, QStringLiteral("UpDown1"), Qt::Horizontal, -310, 310, 5, 0, QRect(4, 190, 44, 17));
    describe(UpDown1, tr("déphasage sur t"), tr("déphasage sur t"));
    t0txt = makeValue(this, QStringLiteral("t0txt"), Tconfig::textOf(pendulab::Control::ReleaseTime, 0.0), QRect(50, 190, 48, 17));
    t0txt->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    t0txt->setToolTip(tr("instant du lâcher"));
    describe(t0txt, tr("déphasage sur t"), tr("instant du lâcher"));
}

void Tconfig::buildModelControls()
{
    // Stiffness, friction and mass: each slider with the box beside it where its value is typed.
    addLabel(QStringLiteral("Label5"), tr("Raideur"), 102, 2, 70, 16);
    ktxt = makeValue(this, QStringLiteral("ktxt"), QStringLiteral("20 N/m"), QRect(172, 2, 70, 16));
    ktrack = makeSlider(this, QStringLiteral("ktrack"), 0, 100, 40, QRect(102, 18, 140, 20));
    kspin = makeSpin(this, QStringLiteral("kspin"), tr("Raideur"), 0.0, 1000.0, 2, 0.01, QStringLiteral("N/m"),
                     QRect(246, 17, 96, 22));
    addLabel(QStringLiteral("Label10"), tr("Frottement"), 102, 40, 70, 16);
    htxt = makeValue(this, QStringLiteral("htxt"), tr("0,2 si"), QRect(172, 40, 70, 16));
    htrack = makeSlider(this, QStringLiteral("htrack"), 0, 100, 20, QRect(102, 56, 140, 20));
    hspin = makeSpin(this, QStringLiteral("hspin"), tr("Frottement"), 0.0, 100.0, 3, 0.001, QStringLiteral("kg/s"),
                     QRect(246, 55, 96, 22));
    addLabel(QStringLiteral("Label1"), tr("Masse"), 102, 78, 70, 16);
    mtxt = makeValue(this, QStringLiteral("mtxt"), QStringLiteral("300 g"), QRect(172, 78, 70, 16));
    mtrack = makeSlider(this, QStringLiteral("mtrack"), 0, 999, 299, QRect(102, 94, 140, 20));
    mspin = makeSpin(this, QStringLiteral("mspin"), tr("Masse"), 1.0, 10000.0, 0, 1.0, QStringLiteral("g"),
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
}

void Tconfig::buildFitControls()
{
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
    ajustlbl = makeValue(this, QStringLiteral("ajustlbl"), QString(), QRect(4, 268, Width - 8, 160));
    ajustlbl->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ajustlbl->setWordWrap(true);
    ajustlbl->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    ajustlbl->setTextInteractionFlags(Qt::TextSelectableByMouse);
    describe(ajustlbl, tr("Résultat de l'ajustement"));
}

void Tconfig::buildExciterControls()
{
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
}

void Tconfig::setKeyboardOrder()
{
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
}

void Tconfig::connectControls()
{
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
    // Another run: its own model and fit.
    connect(session_, &pendulab::Session::activeRunChanged, this, [this] { guarded(this, [this] { followSession(); }); });
    // A new recording: the read-out spoke of the previous one (the run's own fit, if any, after a
    // switch); a fit needs a recording.
    connect(session_, &pendulab::Session::measurementChanged, this, [this] {
        guarded(this, [this] {
            showFit();
            updateFitCommands();
            placeSpinBoxes(); // another calibration: the amplitude and the offset read anew
            amplitxt->setText(amplitudeText(true));
            amplitxt->setCursorPosition(0);
        });
    });
}
