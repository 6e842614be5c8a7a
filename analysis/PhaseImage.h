#pragma once
// The phase-portrait canvas `xy`: an image the size of its page, drawn with fill, pen colour,
// move-to and line-to, and shown as it is.
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QWidget>

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
    // Ends a drawing pass and shows the result.
    void flush();

    const QImage& image() { fitImageToWidget(); return image_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QPainter& painter();
    void fitImageToWidget();
    QImage image_;
    QPainter painter_;
    QColor pen_ = Qt::black;
    QPoint cursor_;
};
