#include "views/PhaseImage.h"

#include <QPaintEvent>
#include <QResizeEvent>
#include <QShowEvent>
#include <cstring>

TPhaseImage::TPhaseImage(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    image_ = QImage(QSize(1, 1), QImage::Format_RGB32);
    image_.fill(Qt::white);
}

TPhaseImage::~TPhaseImage()
{
    if (painter_.isActive()) painter_.end();
}

void TPhaseImage::fitImageToWidget()
{
    // A hidden widget gets its new size at once but its resize event only when shown.
    const QSize wanted = size().expandedTo(QSize(1, 1));
    if (image_.size() == wanted) return;
    if (painter_.isActive()) painter_.end();
    QImage resized(wanted, QImage::Format_RGB32);
    resized.fill(Qt::white);
    QPainter p(&resized);
    p.drawImage(0, 0, image_);
    p.end();
    image_ = resized;
}

QPainter& TPhaseImage::painter()
{
    if (!painter_.isActive()) {
        fitImageToWidget();
        painter_.begin(&image_);
        painter_.setRenderHint(QPainter::Antialiasing, false);
        painter_.setPen(QPen(pen_, 1));
    }
    return painter_;
}

void TPhaseImage::fill() { painter().fillRect(image_.rect(), Qt::white); }

void TPhaseImage::setPenColor(const QColor& c)
{
    if (c == pen_) return;
    pen_ = c;
    if (painter_.isActive()) painter_.setPen(QPen(pen_, 1));
}

void TPhaseImage::moveTo(int x, int y) { cursor_ = QPoint(x, y); }

void TPhaseImage::lineTo(int x, int y)
{
    const QPoint to(x, y);
    painter().drawLine(cursor_, to);
    cursor_ = to;
}

void TPhaseImage::flush()
{
    if (painter_.isActive()) painter_.end();
    update();
}

void TPhaseImage::keepAsBase()
{
    if (painter_.isActive()) painter_.end();
    fitImageToWidget();
    base_ = image_.copy();
}

bool TPhaseImage::restoreBase()
{
    fitImageToWidget();
    if (base_.size() != image_.size() || base_.format() != image_.format()) return false;
    if (painter_.isActive()) painter_.end();
    std::memcpy(image_.bits(), base_.constBits(), static_cast<std::size_t>(image_.sizeInBytes()));
    return true;
}

void TPhaseImage::drawPending()
{
    if (!pending_) return;
    const std::function<void()> draw = std::move(pending_);
    pending_ = nullptr;
    draw();
}

void TPhaseImage::showEvent(QShowEvent* event)
{
    drawPending(); // before the first paint, never during one
    QWidget::showEvent(event);
}

void TPhaseImage::paintEvent(QPaintEvent* event)
{
    if (painter_.isActive()) painter_.end();
    QPainter p(this);
    p.fillRect(event->rect(), Qt::white);
    p.drawImage(event->rect(), image_, event->rect());
}

void TPhaseImage::resizeEvent(QResizeEvent* event)
{
    fitImageToWidget();
    QWidget::resizeEvent(event);
}
