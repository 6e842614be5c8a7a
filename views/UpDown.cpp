#include "views/UpDown.h"

#include <QAccessible>
#include <QBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

TUpDown::TUpDown(Qt::Orientation orientation, QWidget* parent) : QWidget(parent), orientation_(orientation)
{
    setFocusPolicy(Qt::StrongFocus);
    next_ = new QToolButton(this);
    prev_ = new QToolButton(this);
    for (QToolButton* b : {next_, prev_}) {
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoRepeat(true);
        b->setIconSize(QSize(8, 8));
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    }
    QBoxLayout* layout = nullptr;
    if (orientation == Qt::Vertical) {
        next_->setArrowType(Qt::UpArrow);
        prev_->setArrowType(Qt::DownArrow);
        layout = new QVBoxLayout(this);
        layout->addWidget(next_);
        layout->addWidget(prev_);
    } else {
        next_->setArrowType(Qt::RightArrow);
        prev_->setArrowType(Qt::LeftArrow);
        layout = new QHBoxLayout(this);
        layout->addWidget(prev_);
        layout->addWidget(next_);
    }
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    connect(next_, &QToolButton::clicked, this, [this] { click(btNext); });
    connect(prev_, &QToolButton::clicked, this, [this] { click(btPrev); });
}

QSize TUpDown::sizeHint() const { return orientation_ == Qt::Vertical ? QSize(17, 24) : QSize(40, 17); }

void TUpDown::setRange(int min, int max)
{
    min_ = min;
    max_ = max;
    setPosition(position_);
}

void TUpDown::setPosition(int position)
{
    const int p = position < min_ ? min_ : (position > max_ ? max_ : position);
    const bool changed = p != position_;
    position_ = p;
    if (buddy_) buddy_->setText(QString::number(position_));
    if (changed) {
        QAccessibleValueChangeEvent event(this, position_);
        QAccessible::updateAccessibility(&event);
    }
}

void TUpDown::setBuddy(QLineEdit* buddy)
{
    buddy_ = buddy;
    if (buddy_) {
        buddy_->installEventFilter(this);
        buddy_->setText(QString::number(position_));
    }
}

void TUpDown::syncFromBuddy()
{
    if (!buddy_) return;
    bool ok = false;
    const int typed = buddy_->text().trimmed().toInt(&ok);
    if (ok) position_ = typed < min_ ? min_ : (typed > max_ ? max_ : typed);
}

void TUpDown::click(Button button)
{
    syncFromBuddy();
    setPosition(position_ + (button == btNext ? increment_ : -increment_));
    emit clicked(button);
}

void TUpDown::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Right:
        click(btNext);
        break;
    case Qt::Key_Down:
    case Qt::Key_Left:
        click(btPrev);
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

bool TUpDown::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == buddy_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up) { click(btNext); return true; }
        if (key == Qt::Key_Down) { click(btPrev); return true; }
    }
    return QWidget::eventFilter(watched, event);
}
