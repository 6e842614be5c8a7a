#pragma once
// What records: the sources on offer (the card driver library, the boards on USB serial ports, a
// typed device path) and the one in use, the duration, the release trigger, "&Lancer" and its
// progress, the input's gauge, and the run under way off the window's thread. Its controls sit
// on the acquisition page; the recording it ends with goes to the session.
#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QComboBox;
class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QShortcut;
class QSlider;
class QThread;
class QTimer;
class QWidget;
class TPositionPage;
class TUnitChoice;
class TUpDown;
class TValueLabel;
// The teacher hid the simulated bench's values ("Masquer les valeurs", kept in the settings):
// the runs recorded on it say so.
bool benchValuesHidden();

namespace pendulab {
namespace textline {
struct Format;
struct Guess;
} // namespace textline
class Session;
class SampleSource;
class CardSource;
class SerialSource;
class TextLineSource;
class Recorder;
struct RecordingOutcome;
struct RecordingPlan;
} // namespace pendulab

class TRecordingControl : public QObject {
    Q_OBJECT
public:
    // `window` answers the messages; the controls go on `page`.
    TRecordingControl(pendulab::Session* session, TPositionPage* page, QWidget* window);
    ~TRecordingControl() override;

    // Loads the card driver from `driverFolder`, then lists the sources (opening `startSource`,
    // a serial device named on the command line, when there is one).
    void startUp(const QString& driverFolder, const QString& startSource);
    pendulab::SampleSource* source() const { return current_; }
    bool running() const { return acquiring_; }
    bool ready() const; // a source is there to record from, and no port is being opened

    void aqucmdClick(); // starts a recording, or stops the one under way
    void stopRecording(); // the outcome comes back as stopped; the previous measurement stays
    void stopAndWait();   // the window is closing
    void Timer2Timer();   // the gauge reads the input
    // The whole number of seconds in the duration field (raises the conversion error otherwise).
    int durationSeconds() const;
    void showDuration(int seconds); // a file's duration, in the field and its arrows

signals:
    void runningChanged(bool running);
    void readyChanged(bool ready);
    void durationStepped(); // the arrows beside the duration were used

private:
    void buildDurationControls();
    void buildGauge();
    void buildTriggerControls();
    void buildSourceControls();
    bool plan(pendulab::RecordingPlan& plan); // false, the user told why, when it cannot start
    void setRunning(bool running);
    void recordingDone(const pendulab::RecordingOutcome& outcome, int seconds, const std::string& when);
    void listSources();
    void sourcecmbChange(int index);
    void mpvtxtChange();
    void openBoard(const QString& path); // off the window's thread; the source in use changes when it answers
    // "Port série (lignes de texte)…": the dialog from what was remembered (or what the device's
    // lines look like), then the port opened off the window's thread.
    void askTextLines(const QString& path, const pendulab::textline::Guess* guess, int baud);
    void openTextLines(const QString& path, const pendulab::textline::Format& format);
    void startTimedRun(const pendulab::RecordingPlan& plan, int seconds, const std::string& when);
    // Runs `work` on a helper thread (waited for when the control goes), then `done` on this one.
    void offThread(std::function<void()> work, std::function<void()> done);
    void useSource(pendulab::SampleSource* source);
    void showCurrentSource();
    void setOpening(bool opening);

    pendulab::Session* session_;
    TPositionPage* page_;
    QWidget* window_;
    QString startSource_;
    QLabel* durationLabel_ = nullptr;
    QLineEdit* durtxt = nullptr;
    TUpDown* UpDown7 = nullptr;
    QPushButton* aqucmd = nullptr;
    QProgressBar* progbar = nullptr;
    QCheckBox* trigchk = nullptr; // start the recording at the release
    QLineEdit* trigtxt = nullptr; // the release threshold, volts
    QSlider* ea0track = nullptr;
    TValueLabel* ea0lbl = nullptr; // the gauge's value in volts
    QLabel* nocardlbl = nullptr;   // says why "Lancer" is grey
    QLabel *gaugeMin_ = nullptr, *gaugeMax_ = nullptr;
    QComboBox* sourcecmb = nullptr;
    QLineEdit* mpvtxt = nullptr;
    TUnitChoice* unitChoice_ = nullptr; // "Unité", beside the source
    QTimer* Timer2 = nullptr;
    QShortcut* escape_ = nullptr; // stops a run
    std::unique_ptr<pendulab::CardSource> card_;
    std::unique_ptr<pendulab::SerialSource> board_;
    std::unique_ptr<pendulab::TextLineSource> lines_; // a sketch's text lines
    pendulab::SampleSource* current_ = nullptr;
    QList<QThread*> helpers_; // probing or opening a port, waited for when the control goes
    bool opening_ = false;
    bool acquiring_ = false;
    std::unique_ptr<pendulab::Recorder> recorder_;
};
