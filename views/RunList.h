#pragma once
// The run list beside the charts: one line per run of the experiment (its name, duration and
// source), a check box that shows or hides it on every chart, a click that makes it the active
// run; rename, colour and delete from its context menu (Delete and a double-click too).
#include <QTreeWidget>

namespace pendulab {
class Session;
}

class TRunList : public QTreeWidget {
    Q_OBJECT
public:
    explicit TRunList(pendulab::Session* session, QWidget* parent = nullptr);

    // The commands on a run's line, asking the user as needed.
    void rename(int index);
    void chooseColour(int index);
    void remove(int index); // asks first

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void rebuild(); // the lines as the session holds them
    void itemToggled(QTreeWidgetItem* item, int column);
    void describeLine(QTreeWidgetItem* item, int index);
    int currentRun() const; // -1 without one
    pendulab::Session* session_;
    bool rebuilding_ = false;
};
