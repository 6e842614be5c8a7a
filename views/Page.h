#pragma once
// A page of the main window: a view of the session. It draws what the session holds when its
// measurement or its model changes (it computes nothing), and draws itself into the report.
// Adding a page: a class on this base (or on TTimeChartPage for a time chart) and one line where
// the window registers its pages.
#include <QList>
#include <QWidget>

class QCPPainter;
class TTimeChart;
namespace pendulab {
class Session;
}

class TPage : public QWidget {
    Q_OBJECT
public:
    TPage(pendulab::Session* session, const QString& objectName, QWidget* parent = nullptr);

    virtual QString title() const = 0; // the tab's text
    // The measured analysis and the model, as the session holds them.
    virtual void drawAll() = 0;
    // The model alone has changed.
    virtual void drawModel() { drawAll(); }
    // The measured analysis (the derivative, the portrait), where the page shows it.
    virtual void drawAnalysis() {}
    // The window has resized the page while it is hidden (Qt tells a hidden widget only when shown).
    virtual void followHiddenResize() {}
    // The time chart the page shows, if it has one (the window's cursor read-out may follow it).
    virtual TTimeChart* timeChart() const { return nullptr; }

    // The other runs the page draws beside the active one: those the run list shows that convert to
    // the unit shown (indices into the session's runs). While a recording grows, the active run is one of them.
    QList<int> shownRuns() const;
    // A recording grows in the active run's place (the pages drawing it say so).
    void setRecording(bool recording) { recording_ = recording; }

    // In the report: the caption, the drawing's height for a width (0: nothing drawn yet), the drawing.
    virtual QString reportCaption() const = 0;
    // Before the report asks for the caption and the drawing: a page that computes only when shown
    // computes now.
    virtual void prepareReport() {}
    virtual int reportHeight(int width) const { return width * 9 / 20; }
    virtual void paintReport(QCPPainter& painter, const QRect& target) = 0;

protected:
    pendulab::Session* session() const { return session_; }
    // A new measurement (or another run made active): everything is drawn anew.
    virtual void measurementChanged() { drawAll(); }

private:
    pendulab::Session* session_;
    bool recording_ = false;
};
