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
#include "views/ValueBox.h"
#include "model/Fit.h"
#include "model/ParameterScales.h"
#include "session/Session.h"

QString Tconfig::textOf(pendulab::Control c, double value)
{
    return QString::fromStdString(pendulab::valueText(c, value, userDecimalSeparator()));
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

    buildIllustration();
    buildPositionControls();
    buildModelControls();
    buildFitControls();
    buildExciterControls();
    setKeyboardOrder();
    connectControls();
    updateFitCommands();
    placeControls();
    // Another unit: the boxes, the amplitude's field and the fit's read-out read in it.
    connect(session_, &pendulab::Session::displayUnitChanged, this, [this] {
        guarded(this, [this] {
            placeSpinBoxes();
            amplitxt->setText(amplitudeText(true));
            amplitxt->setCursorPosition(0);
            showFit();
        });
    });
}

void Tconfig::redraw() { session_->computeModel(); }

// A value set by hand: the fitted values still in force stay, but there is no way back past it.
void Tconfig::apply(const pendulab::ModelParameters& p)
{
    // The fit's read-out no longer describes a model changed by hand ("Tracer" changes no value).
    using Physical = pendulab::OscillatorParameters;
    if (static_cast<const Physical&>(p) != static_cast<const Physical&>(session_->parameters()))
        ajustlbl->setValueText(QString());
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
    // The amplitude and the offset in the unit shown; the model itself stays in the samples' unit.
    const pendulab::DisplayScale scale = followUnit();
    offspin->setValue(scale.position(p.offset));
    ampspin->setValue(scale.difference(p.amplitude));
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

void Tconfig::followSession()
{
    const bool wasExcited = excitchk->isChecked();
    manual_.reset();
    showFit();
    placeControls();
    showValueTexts();
    if (excitchk->isChecked() != wasExcited)
        setFixedHeight(excitchk->isChecked() ? HeightWithExciter : HeightWithoutExciter);
    updateFitCommands();
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

void Tconfig::offspinChange()
{
    typed(&pendulab::ModelParameters::offset, session_->activeScale().fromPosition(offspin->value()));
}

void Tconfig::ampspinChange()
{
    typed(&pendulab::ModelParameters::amplitude, session_->activeScale().fromDifference(ampspin->value()));
    amplitxt->setText(amplitudeText(false));
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
    amplitxt->setText(amplitudeText(false));
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
    amplitxt->setText(amplitudeText(true));
    amplitxt->setCursorPosition(0);
    t0txt->setValueText(textOf(Control::ReleaseTime, p.releaseTime));
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
    const pendulab::ModelParameters current = session_->parameters();
    const pendulab::FitResult result = session_->fit(intervchk->isChecked()); // the model anew when it succeeds
    if (!result.ok) {
        const QString why = QString::fromStdString(result.message);
        ajustlbl->setValueText(why);
        ui().showMessage(this, why);
        return;
    }
    if (!manual_) manual_ = current;
    showFit();
    placeControls();
    showValueTexts();
    updateFitCommands();
}

// The read-out of the active run's fit while its model is the fitted one; empty otherwise.
void Tconfig::showFit()
{
    QStringList lines;
    if (session_->fitInForce())
        for (const std::string& line : pendulab::fitReport(*session_->fitResult(), userDecimalSeparator(), session_->activeScale()))
            lines << QString::fromStdString(line);
    ajustlbl->setValueText(lines.join(QLatin1Char('\n')));
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
