#pragma once
// The modelling dialog: sliders and spinners that tune the theoretical oscillator.
#include <QDialog>

#include <optional>

#include "model/ParameterScales.h"
#include "session/Session.h"
#include "views/ValueBox.h"

class QCheckBox;

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class TUpDown;
class TValueLabel;

class Tconfig : public QDialog {
    Q_OBJECT
public:
    // The dialog edits the session's model parameters and shows its ω0 and Q.
    explicit Tconfig(pendulab::Session* session, QWidget* parent = nullptr);

    QLineEdit* amplitxt = nullptr;
    TUpDown* UpDown9 = nullptr;
    TUpDown* UpDown10 = nullptr;
    TUpDown* UpDown1 = nullptr;
    QSlider* ktrack = nullptr;
    QSlider* htrack = nullptr;
    QSlider* mtrack = nullptr;
    TValueLabel* ktxt = nullptr;
    TValueLabel* htxt = nullptr;
    TValueLabel* mtxt = nullptr;
    QCheckBox* visichk = nullptr;
    QCheckBox* excitchk = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QSlider* oetrack = nullptr;
    QSlider* amptrack = nullptr;
    TValueLabel* oetxt = nullptr;
    TValueLabel* amptxt = nullptr;
    TValueLabel* omlbl = nullptr;
    TValueLabel* qlbl = nullptr;
    QLabel* Image3 = nullptr;
    TValueLabel* t0txt = nullptr; // the release time set by UpDown1
    // The fit of the model to the recording.
    QPushButton* ajustcmd = nullptr;
    QCheckBox* intervchk = nullptr;
    QPushButton* manuelcmd = nullptr;
    TValueLabel* ajustlbl = nullptr;
    // Every parameter typed exactly, beside its slider or spinner: N/m, kg/s, g, V, V; the boxes
    // take the physical range (up to 1000 N/m, 100 kg/s, 1 g to 10 kg), beyond the sliders' own.
    TValueBox* kspin = nullptr;
    TValueBox* hspin = nullptr;
    TValueBox* mspin = nullptr;
    TValueBox* offspin = nullptr;
    TValueBox* ampspin = nullptr;

    // Handlers; each ends with the model computed anew (the views then redraw the measured
    // analysis and the model) unless it says otherwise.
    void FormShow();
    void htrackChange();
    void ktrackChange();
    void mtrackChange();
    void UpDown9Click();
    void UpDown10Click();
    void UpDown1Click();
    void visichkClick();
    void excitchkClick();
    void oetrackChange();
    void amptrackChange();
    // A value typed (or stepped with the arrows) in a box: the exact value into the parameters, its
    // slider or spinner to the nearest position without running its own handler.
    void kspinChange();
    void hspinChange();
    void mspinChange();
    void offspinChange();
    void ampspinChange();
    // Fits stiffness, friction, amplitude, offset, release time (and the exciter's amplitude when
    // it is on) to the recording, the mass held; the fitted values become the parameters.
    void ajustcmdClick();
    // Back to the parameters set by hand before the first of consecutive fits.
    void manuelcmdClick();
    // The parameters were replaced from outside the dialog (a measurement opened with its model,
    // another run made active): every control, box and label follows them, and the fit's read-out.
    void followSession();
    // A recording is under way: no fit meanwhile.
    void setRecordingRunning(bool running);

    static constexpr int Width = 346;
    // The fit's read-out (ten lines, eleven with the exciter) takes 160 px below the controls.
    static constexpr int HeightWithExciter = 527;
    static constexpr int HeightWithoutExciter = 455;
    static constexpr int StoredHeight = 432;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showFit(); // the active run's fit, while its model is the fitted one
    void redraw();
    void apply(const pendulab::ModelParameters& p); // new values, then the model computed anew
    void showModelResult();                          // ω0, Q and the regime in the title
    void placeControls();                            // sliders, spinners and boxes at the session's values
    void placeSpinBoxes();                           // the typed-value boxes at the session's values
    // The amplitude and offset boxes take the unit shown (its suffix, decimals and range); its scale.
    pendulab::DisplayScale followUnit();
    // The amplitude field's text in the unit shown (in volts, rounded to the hundredth when `rounded`).
    QString amplitudeText(bool rounded) const;
    // A typed value: the parameters take it, the label and the control follow, the model anew.
    void typed(double pendulab::ModelParameters::*field, double value);
    // One control moved: its exact value into the parameters, its text into its label, the model anew.
    void change(pendulab::Control c, double pendulab::ModelParameters::*field, int position, TValueLabel* label);
    QLabel* addLabel(const QString& name, const QString& text, int x, int y, int w, int h);
    static QString textOf(pendulab::Control c, double value); // a value as its label shows it
    // The controls, made in the order the dialog shows them (views/conf1Build.cpp).
    void buildIllustration();
    void buildPositionControls(); // amplitude, offset, release time
    void buildModelControls();    // stiffness, friction, mass, "Tracer", "Excit.", ω0 and Q
    void buildFitControls();
    void buildExciterControls();
    void setKeyboardOrder();
    void connectControls();
    void showValueTexts();     // every value label from the session's exact values
    void updateFitCommands();  // ajustcmd and manuelcmd enabled as the state allows
    pendulab::Session* session_ = nullptr;
    std::optional<pendulab::ModelParameters> manual_; // set by hand, before the current fit(s)
    bool recording_ = false;
    pendulab::DisplayScale boxScale_; // how the amplitude and offset boxes read (volts to start with)
};
