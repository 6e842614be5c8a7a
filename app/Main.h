#pragma once
// The main window, the shell: the menus, the pages registered in one place, the recording's
// controls, files, printing and the report. The pages draw what the session holds; the shell
// turns the user's commands into requests to the session and the recording.
#include <QList>
#include <QMainWindow>
#include <QString>
#include <memory>

#include "export/XLSfile.h"

class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QPrinter;
class QTabWidget;
class TPage;
class TPositionPage;
class TRecordingControl;
class TRunList;
class QSplitter;
class Tconfig;
class Tavert;
namespace pendulab {
class Autosave;
class Session;
class SampleSource;
} // namespace pendulab

class TFichePrincipale : public QMainWindow {
    Q_OBJECT
public:
    explicit TFichePrincipale(QWidget* parent = nullptr);
    ~TFichePrincipale() override;
    void setDialogs(Tconfig* config, Tavert* about) { config_ = config; about_ = about; }
    Tconfig* config() const { return config_; }

    // The experiment: its runs, the active one's model and the derived arrays.
    pendulab::Session* session = nullptr;
    // The device the recordings come from (null until the card has started).
    pendulab::SampleSource* source() const;
    // Folder searched for the card driver at start-up (the program's own folder by default).
    QString driverFolder;
    QString startSource; // a serial device to start with (--source)
    QString startFile;   // an experiment or a measurement to open at start (the file manager's)

    // The pages, in the order of their tabs.
    const QList<TPage*>& pages() const { return pages_; }
    TPositionPage* positionPage() const { return position_; }
    TRecordingControl* recording() const { return recording_; }
    TRunList* runList() const { return runList_; }
    // The last .xls export, as written (empty once written).
    const pendulab::TXLSfile& xlsFile() const { return xls1; }

    // Start-up and shell.
    void FormShow();
    void N1Click();
    void PageControl1Change(int index);
    void UpDown7Click();
    void Modlisation1Click();
    void Imprimecran1Click();
    void Configurerimpression1Click();
    // Acquisition.
    void aqucmdClick();
    void Acquisition1Click();
    void Timer2Timer();
    void stopRecording(); // "A&rrêter", Escape; the previous measurement stays
    // The pages draw the measured analysis (Mesures), the model (Theoric), or both as the session
    // holds them; Calcourb has the session compute the model.
    void Mesures();
    void Theoric();
    void redrawAnalysisAndModel();
    void Calcourb();
    void Exporter1Click();
    // Asks for a file name, writes the A4 report there (app/Report.h) and opens it.
    void Rapport1Click();
    // Reads a Pendulab CSV file, or a column of delimited text from another tool, as the measurement.
    void Ouvrir1Click();
    // Writes the active run as a Pendulab CSV file in the user's decimal convention.
    void Enregistrer1Click();
    // The experiment file (app/MainExperiment.cpp): saved where it was last (asking a name the
    // first time), under a new name, opened in place of the experiment; the notes.
    void EnregistrerExp1Click();
    void EnregistrerExpSous1Click();
    void openExperiment(const QString& file);
    // An experiment file (by its extension) in place of the experiment, or a measurement added as a run.
    void openFile(const QString& file);
    void Notes1Click();
    // "&Outils" (app/MainTools.cpp): the sensor's calibration dialog, reading the source in use;
    // the simulated bench of the virtual card ("Banc simulé…", only with that source).
    void Etalonner1Click();
    void BancSimule1Click();
    // Every run in one .xlsx workbook: a sheet each and "Résultats".
    void ExporterExp1Click();
    // Asks before a modified experiment is dropped (save, drop, or cancel); true when it may go.
    bool confirmDiscardExperiment();
    // An end by SIGTERM or SIGHUP: as a close, without a question, the autosave kept.
    void endBySignal();
    pendulab::Autosave* autosave() const { return autosave_.get(); }
    // The experiment's file, empty until first saved or opened.
    const QString& experimentFile() const { return experimentFile_; }

    // The whole number of seconds in the duration field (raises the conversion error otherwise).
    int durationSeconds() const;
    // Where the last drag of the time cursor began, seconds.
    double cursorStartTime() const;
    bool started() const { return started_; }
    // True while a recording runs: what must not start meanwhile follows runningChanged.
    bool running() const;
    // True while a device recording of the experiment is neither saved nor exported as .csv or .xlsx.
    bool measurementUnsaved() const;

signals:
    void runningChanged(bool running);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void registerPages();
    void addPage(TPage* page);
    void buildMenu();
    void buildFileMenu(QMenuBar* bar); // "&Fichier", first in the bar
    void buildToolsMenu(QMenuBar* bar); // "&Outils", after the other menus
    // The session's measurement (zeros before the first one) and its arrays as .csv or .xlsx.
    void writeMeasurementFile(const QString& file, bool xlsx);
    bool saveExperimentAs(const QString& file); // false when the user cancelled
    void showExperimentState();                 // the status bar's file name and saved state
    QPrinter& printer();

    QTabWidget* PageControl1 = nullptr;
    QList<TPage*> pages_;
    TPositionPage* position_ = nullptr;
    TRecordingControl* recording_ = nullptr;
    TRunList* runList_ = nullptr;
    QSplitter* beside_ = nullptr; // the pages and the run list
    QAction *Acquisition1 = nullptr, *Modlisation1 = nullptr, *Exporter1 = nullptr, *Configurerimpression1 = nullptr,
            *Imprimecran1 = nullptr, *N1 = nullptr, *Rapport1 = nullptr, *Ouvrir1 = nullptr, *Enregistrer1 = nullptr,
            *EnregistrerExp1 = nullptr, *EnregistrerExpSous1 = nullptr, *Notes1 = nullptr, *ExporterExp1 = nullptr;
    QString experimentFile_;
    std::unique_ptr<pendulab::Autosave> autosave_;
    void offerAutosave(); // after an abnormal end
    QLabel* experimentState_ = nullptr;
    QMenu *Imprimer1 = nullptr, *Fichier1 = nullptr, *Outils1 = nullptr;
    QAction* Etalonner1 = nullptr;
    QAction* BancSimule1 = nullptr;
    pendulab::TXLSfile xls1;
    Tconfig* config_ = nullptr;
    Tavert* about_ = nullptr;
    bool started_ = false;
    std::unique_ptr<QPrinter> printer_;
    bool printerConfigured_ = false;
};
