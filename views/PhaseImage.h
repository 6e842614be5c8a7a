#pragma once
// The phase-portrait canvas `xy`: an image the size of its page, drawn with fill, pen colour,
// move-to and line-to, and shown as it is.
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QWidget>
#include <functional>

class TPhaseImage : public QWidget {
    Q_OBJECT
public:
    explicit TPhaseImage(QWidget* parent = nullptr);
    ~TPhaseImage() override;

    void fill();                      // whole image with the brush (white)
    void setPenColor(const QColor& c);
    QColor penColor() const { return pen_; }
    void moveTo(int x, int y);
    void lineTo(int x, int y);
    // A line through `points` in `color` (1 px): move to the first, line to each of the others.
    template <class Points> void polyline(const Points& points, const QColor& color);
    // Ends a drawing pass and shows the result.
    void flush();
    // The measured part of the portrait is kept, so that a model change redraws only the model:
    // keepAsBase() takes what is drawn now; restoreBase() puts it back, false (and nothing done)
    // when there is none at the image's size.
    void keepAsBase();
    bool restoreBase();
    // A drawing to make before the widget is next shown or the image read (replaces one waiting):
    // what changes while the portrait is hidden costs nothing until it is looked at.
    void setPendingDrawing(std::function<void()> draw) { pending_ = std::move(draw); }

    const QImage& image()
    {
        drawPending();
        fitImageToWidget();
        return image_;
    }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QPainter& painter();
    void drawPending();
    void fitImageToWidget();
    QImage image_;
    QImage base_;
    std::function<void()> pending_;
    QPainter painter_;
    QColor pen_ = Qt::black;
    QPoint cursor_;
    QVector<QLine> segments_;
};

template <class Points> void TPhaseImage::polyline(const Points& points, const QColor& color)
{
    if (points.empty()) return;
    segments_.clear();
    QPoint from(points.front().x, points.front().y);
    for (const auto& p : points) {
        const QPoint to(p.x, p.y);
        if (&p != &points.front()) segments_.append(QLine(from, to));
        from = to;
    }
    setPenColor(color);
    QPainter& pt = painter();
    if (segments_.isEmpty()) pt.drawPoint(from); // a portrait collapsed onto one point
    else pt.drawLines(segments_);
    cursor_ = from;
}
