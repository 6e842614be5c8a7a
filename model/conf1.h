#pragma once
// The modelling dialog: sliders and spinners that tune the theoretical oscillator.
#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QSlider;
class TUpDown;
class TValueLabel;
class TFichePrincipale;

class Tconfig : public QDialog {
    Q_OBJECT
public:
    explicit Tconfig(QWidget* parent = nullptr);
    void setMainWindow(TFichePrincipale* main) { main_ = main; }

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

    // Handlers; each ends with the redraw (measured analysis, then the model) unless it says otherwise.
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

    static constexpr int HeightWithExciter = 306;
    static constexpr int HeightWithoutExciter = 234;
    static constexpr int StoredHeight = 211;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void redraw();
    QLabel* addLabel(const QString& name, const QString& text, int x, int y, int w, int h);
    TFichePrincipale* main_ = nullptr;
};
