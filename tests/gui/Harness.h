#pragma once
// Creates the program's windows for one test, with the user's dialogs answered by the test.
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLocale>
#include <QPushButton>
#include <QStringList>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "app/AppWindows.h"
#include "tests/gui/Controls.h"
#include "app/Main.h"
#include "views/Services.h"
#include "views/conf1.h"
#include "session/Session.h"

class RecordingUi : public UiServices {
public:
    QStringList messages, errors, questions, modals;
    bool yesNoAnswer = false;
    bool okCancelAnswer = true;
    QString saveAnswer;
    int saveCalls = 0;
    std::function<void()> onModal; // runs while a modal dialog would be open

    void showMessage(QWidget*, const QString& text) override { messages << text; }
    void showError(QWidget*, const QString& text) override { errors << text; }
    bool confirmYesNo(QWidget*, const QString& text) override
    {
        questions << text;
        return yesNoAnswer;
    }
    SaveChoice saveChoice = SaveChoice::Cancel;
    SaveChoice askSaveDiscardCancel(QWidget*, const QString& text) override
    {
        questions << text;
        return saveChoice;
    }
    QString notesAnswer; // with notesGiven: the text the user leaves in the notes
    bool notesGiven = false;
    bool editText(QWidget*, const QString&, const QString&, QString& text) override
    {
        if (notesGiven) text = notesAnswer;
        return notesGiven;
    }
    bool confirmOkCancel(QWidget*, const QString& text) override
    {
        questions << text;
        return okCancelAnswer;
    }
    QString saveFileName(QWidget*, const QString& caption, const QString& proposed, const QString& filter, const QString&) override
    {
        ++saveCalls;
        saveCaptions << caption;
        saveProposals << proposed;
        saveFilters << filter;
        return saveAnswer;
    }
    // Measurement files: the file to open, the item picked from a list (-1: cancelled).
    QStringList saveCaptions, saveFilters, saveProposals, openFolders, chooseLists;
    QString openAnswer;
    int openCalls = 0;
    int chooseAnswer = 0;
    QString openFileName(QWidget*, const QString&, const QString& folder, const QString&) override
    {
        ++openCalls;
        openFolders << folder;
        return openAnswer;
    }
    int chooseItem(QWidget*, const QString&, const QString&, const QStringList& items) override
    {
        chooseLists << items.join(QLatin1Char('|'));
        return chooseAnswer;
    }
    QString askAnswer;
    QString askText(QWidget*, const QString&, const QString&, const QString&) override { return askAnswer; }
    QColor colourAnswer; // invalid: cancelled
    QColor chooseColour(QWidget*, const QString&, const QColor&) override { return colourAnswer; }
    int execModal(QDialog* dialog) override
    {
        modals << dialog->objectName();
        if (onModal) onModal();
        return QDialog::Accepted;
    }
    QStringList openedDocuments; // what the program would have shown in the desktop's viewer
    void openDocument(const QString& file) override { openedDocuments << file; }
};

class PendulabTest : public ::testing::Test {
protected:
    RecordingUi ui_;
    AppWindows w;
    TFichePrincipale* main = nullptr;
    Tconfig* dialog = nullptr;
    int modelRuns = 0; // models computed by the session

    const pendulab::Signals& data() const { return main->session->data(); }
    pendulab::Session* session() const { return main->session; }

    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        ::setenv("VIRTUALCARD_PACE", "none", 1);
        setUiServices(&ui_);
        w = createWindows();
        main = w.FichePrincipale;
        dialog = w.config;
        QObject::connect(main->session, &pendulab::Session::modelChanged, main, [this] { ++modelRuns; });
    }

    void TearDown() override
    {
        delete w.FichePrincipale;
        setUiServices(nullptr);
        QLocale::setDefault(QLocale::c());
    }

    // Shows the main window as the program does (about box, parameters, card start-up).
    void start(const QString& driverFolder = {})
    {
        if (!driverFolder.isEmpty()) main->driverFolder = driverFolder;
        main->setGeometry(0, 0, 1600, 900);
        main->show();
        settle();
    }

    static void settle()
    {
        for (int i = 0; i < 3; ++i) QApplication::processEvents();
    }

    // Processes events until the recording under way has ended (recordings run on a worker thread).
    void waitForRun(int seconds = 60)
    {
        QElapsedTimer clock;
        clock.start();
        while (main->running() && clock.elapsed() < seconds * 1000) QApplication::processEvents(QEventLoop::AllEvents, 5);
        settle();
    }

    // "&Lancer" and the whole recording.
    void record()
    {
        aqucmd(main)->click();
        waitForRun();
    }

    // Shows the modelling dialog as "&Modélisation" does.
    void openDialog()
    {
        Modlisation1(main)->trigger();
        settle();
    }
};
