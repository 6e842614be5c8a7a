#pragma once
// "Résultats": one row per run with what its fit gave (or the values set, in grey), the
// student's own columns, and a graph of one result against another with a law through the points.
// Refreshed as runs are added, renamed, refitted or removed; while hidden, when it is next shown.
#include "session/Results.h"
#include "views/Page.h"

class QComboBox;
class QCPErrorBars;
class QCPGraph;
class QCustomPlot;
class QLabel;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;

class TResultsPage : public TPage {
    Q_OBJECT
public:
    explicit TResultsPage(pendulab::Session* session, QWidget* parent = nullptr);
    QString title() const override;
    QString reportCaption() const override;
    void drawAll() override;
    int reportHeight(int width) const override;
    void paintReport(QCPPainter& painter, const QRect& target) override;

    // "Ajouter une colonne…": a name and a unit asked.
    void addColumn();
    // The table as tab-separated text on the clipboard (Ctrl+C).
    void copyTable();
    // The law's read-out, a coefficient a line (empty without a law).
    QStringList lawLines() const { return lawLines_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void refresh();           // everything from the session, now
    void refreshWhenShown();  // now if shown, else at the next show
    void fillTable();
    void fillChoices();
    void setupChart();        // views/ResultsChart.cpp
    void drawGraph();         // the points, their error bars and the law
    void chosen();            // a list changed: the session keeps the choice
    void ownValueTyped(QTableWidgetItem* item);

    pendulab::ResultsTable table_;
    std::vector<pendulab::AxisChoice> choices_;
    QTableWidget* grid_ = nullptr;
    QComboBox* x_ = nullptr;
    QComboBox* y_ = nullptr;
    QComboBox* law_ = nullptr;
    QPushButton* add_ = nullptr;
    QCustomPlot* chart_ = nullptr;
    QCPGraph* fitted_ = nullptr;   // the points of fitted runs
    QCPGraph* set_ = nullptr;      // the points of runs whose values are set by hand
    QCPErrorBars* xBars_ = nullptr;
    QCPErrorBars* yBars_ = nullptr;
    QCPGraph* lawCurve_ = nullptr;
    QLabel* readout_ = nullptr;
    QLabel* steady_ = nullptr; // the active run's steady state, when it is driven
    QStringList lawLines_;
    QStringList choiceLabels_; // what the axis lists offer
    QStringList headers_; // the table's headers as last laid out
    int sizedRows_ = -1;  // the rows the widths were last measured for
    bool stale_ = true;
    bool filling_ = false; // the widgets are being filled from the session: their signals are ours
};
