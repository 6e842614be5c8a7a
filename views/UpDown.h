#pragma once
// A small up/down spinner: min, max, position, increment, an optional buddy edit whose text it
// rewrites, and a click signal.
#include <QWidget>

class QLineEdit;
class QToolButton;

class TUpDown : public QWidget {
    Q_OBJECT
public:
    enum Button { btNext, btPrev };
    explicit TUpDown(Qt::Orientation orientation, QWidget* parent = nullptr);

    void setRange(int min, int max);
    int minimum() const { return min_; }
    int maximum() const { return max_; }
    void setIncrement(int step) { increment_ = step; }
    int increment() const { return increment_; }
    int position() const { return position_; }
    // Sets the position (held in range) and rewrites the buddy; no click.
    void setPosition(int position);
    void setBuddy(QLineEdit* buddy);
    QLineEdit* buddy() const { return buddy_; }
    Qt::Orientation orientation() const { return orientation_; }

    // One step as a click does: up/right for btNext, down/left for btPrev.
    void click(Button button);

    QSize sizeHint() const override;

signals:
    void clicked(TUpDown::Button button);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void syncFromBuddy();
    Qt::Orientation orientation_;
    int min_ = 0, max_ = 100, position_ = 0, increment_ = 1;
    QLineEdit* buddy_ = nullptr;
    QToolButton* next_ = nullptr;
    QToolButton* prev_ = nullptr;
};
