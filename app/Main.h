#pragma once
// The main window: four pages (acquisition, derivative, phase portrait, energies), the menu and
// the start-up sequence. It draws what the session holds and turns the user's commands into
// requests to the session and the sample source.
#include <QMainWindow>
#include <QPoint>
#include <QString>
#include <qcustomplot.h>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "views/ChartLayers.h"
#include "export/XLSfile.h"

class QAction;
class QCheckBox;
class QComboBox;
class QHBoxLayout;
class QThread;
class QShortcut;
class QCPGraph;
class QCustomPlot;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPrinter;
class QProgressBar;
class QPushButton;
class QSlider;
class QTabWidget;
class QTimer;
class QWidget;
class TPhaseImage;
class TUpDown;
class TValueLabel;
class Tconfig;
class Tavert;
namespace pendulab {
class Session;
class SampleSource;
class CardSource;
class SerialSource;
class Recorder;
struct RecordingOutcome;
} // namespace pendulab

class TFichePrincipale : public QMainWindow {
    Q_OBJECT
public:
    explicit TFichePrincipale(QWidget* parent = nullptr);
    ~TFichePrincipale() override;
    void setDialogs(Tconfig* config, Tavert* about) { config_ = config; about_ = about; }
    Tconfig* config() const { return config_; }

    // The measurement, the model's parameters and the derived arrays.
    pendulab::Session* session = nullptr;
    // The device the recordings come from (null until the card has started).
    pendulab::SampleSource* source() const { return current_; }

    // Folder searched for the card driver at start-up (the program's own folder by default).
    QString driverFolder;

    // Controls.
    QTabWidget* PageControl1 = nullptr;
    QWidget *TabSheet1 = nullptr, *TabSheet2 = nullptr, *TabSheet3 = nullptr, *TabSheet4 = nullptr;
    QLineEdit* durtxt = nullptr;
    TUpDown* UpDown7 = nullptr;
    QLineEdit* cursxtxt = nullptr;
    TValueLabel* deltalbl = nullptr;
    TValueLabel* survollbl = nullptr; // "t = 4,20 s   Y = 1,23 V" under the pointer
    QPushButton* aqucmd = nullptr;
    QSlider* ea0track = nullptr;
    QProgressBar* progbar = nullptr;
    QCheckBox* trigchk = nullptr;  // start the recording at the release
    QLineEdit* trigtxt = nullptr;  // the release threshold, volts
    QCustomPlot* Chart1 = nullptr;
    QCustomPlot* phichart = nullptr;
    QCustomPlot* Chart2 = nullptr;
    QCPGraph *Series1 = nullptr, *Series2 = nullptr, *Series3 = nullptr, *Series4 = nullptr, *Series5 = nullptr,
             *Series6 = nullptr;
    TPhaseImage* xy = nullptr;
    QFrame *vaxe = nullptr, *haxe = nullptr;
    QLabel *Label3 = nullptr, *Label5 = nullptr;
    // The portrait's scale: the values at the ends of its axes.
    QLabel *xminlbl = nullptr, *xmaxlbl = nullptr, *vminlbl = nullptr, *vmaxlbl = nullptr;
    void showPortraitScale(double pixelsPerVolt, double pixelsPerVoltPerSecond);
    QFrame *vcur0 = nullptr, *vcur1 = nullptr;
    QAction *Acquisition1 = nullptr, *Modlisation1 = nullptr, *Exporter1 = nullptr, *Configurerimpression1 = nullptr,
            *Imprimecran1 = nullptr, *N1 = nullptr;
    QMenu* Imprimer1 = nullptr;
    QTimer* Timer2 = nullptr;
    pendulab::TXLSfile xls1;

    // Start-up and shell.
    void FormShow();
    void N1Click();
    void PageControl1Change(int index);
    void UpDown7Click();
    void Modlisation1Click();
    void Imprimecran1Click();
    void Configurerimpression1Click();
    // Acquisition.
    void cardStartUp();
    void aqucmdClick();
    void Acquisition1Click();
    void Timer2Timer();
    // Sample sources: "Source" list, the sensor's metres per volt, the gauge's ends.
    QComboBox* sourcecmb = nullptr;
    QLineEdit* mpvtxt = nullptr;
    QLabel *gaugeMin_ = nullptr, *gaugeMax_ = nullptr;
    TValueLabel* ea0lbl = nullptr;    // the gauge's value in volts
    QLabel* nocardlbl = nullptr;      // says why "Lancer" is grey
    QString startSource; // a serial device to start with (--source)
    void sourcecmbChange(int index);
    void mpvtxtChange();
    // Ends a recording under way ("A&rrêter", Escape); the previous measurement stays.
    void stopRecording();
    // Measured analysis (drawn from the session) and time cursor.
    void Mesures();
    void fitDerivativeAxis();
    void Chart1MouseDown(QWidget* sender, Qt::MouseButton button, int x, int y, QPoint globalPos);
    void Chart1MouseMove(QWidget* sender, int x, int y, QPoint globalPos);
    void Chart1MouseUp(QWidget* sender, Qt::MouseButton button, int x, int y);
    // Draws the measured analysis then the model as the session holds them; the derivative chart,
    // which both draw on, is replotted once. Computes nothing.
    void redrawAnalysisAndModel();
    // Model: Calcourb computes it (through the session), Theoric draws it.
    void Calcourb();
    void Theoric();
    // Export.
    void Exporter1Click();

    // The whole number of seconds in the duration field (raises the conversion error otherwise).
    int durationSeconds() const;
    // Redraws a chart now when it is on screen, otherwise when its page is next shown.
    void replotChart(QCustomPlot* chart);
    // Where the last press on a chart began, seconds.
    double cursorStartTime() const { return cursorStart_; }
    // True once FormShow has run.
    bool started() const { return started_; }
    // True while a recording runs: what must not start meanwhile follows runningChanged.
    bool running() const { return acquiring_; }

    // Lab report
    QAction* Rapport1 = nullptr; // "&Rapport PDF…" in the "&Imprimer" menu
    // Asks for a file name, writes the A4 report there (app/Report.h) and opens it.
    void Rapport1Click();

    // Fit residuals
    // "Résidus": the recording minus the model, on Chart1's right axis, while a model is shown.
    class QCheckBox* residchk = nullptr;
    QCPGraph* ResidSeries = nullptr; // made on the first draw
    void drawResiduals();
    void buildResiduals(class QBoxLayout* row); // the box, at the end of the acquisition page's row

    // Measurement files
    QMenu* Fichier1 = nullptr;
    QAction *Ouvrir1 = nullptr, *Enregistrer1 = nullptr;
    // Reads a Pendulab CSV file, or a column of delimited text from another tool, as the measurement.
    void Ouvrir1Click();
    // Writes the measurement as a Pendulab CSV file in the user's decimal convention.
    void Enregistrer1Click();
    // True while a device recording is neither saved nor exported as .csv or .xlsx.
    bool measurementUnsaved() const { return unsaved_; }
    // Asks before an unsaved recording is dropped; true when there is none or the user agrees.
    bool confirmDiscardUnsaved();
private:
    void buildFileMenu(class QMenuBar* bar); // "&Fichier", first in the bar
    // The session's measurement (zeros before the first one) and its arrays as .csv or .xlsx.
    void writeMeasurementFile(const QString& file, bool xlsx);
    // The position chart's vertical axis: the values' unit, and a range that holds them.
    void followMeasurementUnit();
    bool unsaved_ = false;

signals:
    void runningChanged(bool running);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildAcquisitionPage();
    class QLabel* buildDurationControls();
    void buildGauge();
    void buildTriggerControls();
    void buildPositionChart();
    void connectTimeChart(QCustomPlot* chart, bool cursor);
    void buildDerivativePage();
    void buildPortraitPage();
    void buildEnergyPage();
    void buildMenu();
    void placePortraitAxes();
    void drawRecording(); // Series1 from the session's smoothed position
    // onlyModel (a change of the model alone): its curves' layers, and its spiral over the kept
    // measured portrait; otherwise right after the measured analysis.
    void drawModel(bool onlyModel);
    void drawModelPortrait();       // the model's spiral over the measured portrait
    void drawMeasuredPortrait();    // the measured portrait, kept as the base of the model's
    // Redraws one layer of a chart on screen (the whole chart if it is stale); marks it stale if hidden.
    void replotLayer(QCustomPlot* chart, const QString& layer, bool now = true);
    void setRunning(bool running);
    void buildSourceControls(QHBoxLayout* row);
    void listSources();                 // the card, "Port série…", then the boards as they answer
    void openBoard(const QString& path); // off the window's thread; the source in use changes when it answers
    // Runs `work` on a helper thread (waited for when the window goes), then `done` on this one.
    void offThread(std::function<void()> work, std::function<void()> done);
    void useSource(pendulab::SampleSource* source);
    void showCurrentSource();
    // Time axes, zoom and hover.
    void updateTimeAxes();
    void resetTimeView(QCustomPlot* chart);
    void showHover(QWidget* chart, int x, double t, bool inPlot);
    void liveBlock(std::size_t first, const std::vector<double>& block);
    void recordingDone(const pendulab::RecordingOutcome& outcome, int seconds, const std::string& when);
    double timeUnderPointer(QPoint globalPos, QCustomPlot* chart = nullptr) const;
    QPrinter& printer();

    Tconfig* config_ = nullptr;
    Tavert* about_ = nullptr;
    bool started_ = false;
    std::unique_ptr<QPrinter> printer_;
    bool printerConfigured_ = false;
    bool portraitDrawn_ = false; // the portrait is redrawn when its page changes size
    bool redrawQueued_ = false;
    bool acquiring_ = false; // an acquisition run is under way
    bool modelFollows_ = false; // Theoric runs right after Mesures and replots the shared chart
    ChartRefresh refresh_;      // what each chart last drew whole
    bool liveReplotQueued_ = false;
    double cursorStart_ = 0.0; // seconds, where the last drag began
    QCustomPlot* panning_ = nullptr; // the chart a Ctrl-drag moves
    int panFrom_ = 0;                // pixel where it began
    QCPRange panRange_;              // the time range then
    QFrame* hoverline_ = nullptr;    // thin line under the pointer
    // Sample sources: the card, a board on a serial port, and the one in use.
    std::unique_ptr<pendulab::CardSource> card_;
    std::unique_ptr<pendulab::SerialSource> board_;
    pendulab::SampleSource* current_ = nullptr;
    QList<QThread*> helpers_; // probing or opening a port, waited for when the window goes
    bool opening_ = false;
    std::unique_ptr<pendulab::Recorder> recorder_;
    std::vector<double> liveVolts_; // the samples of the run under way, as they arrive
    int liveDrawn_ = 3;             // next index of Series1 to draw during the run
    QShortcut* escape_ = nullptr;   // stops a run
};
