// A slider step redraws only the model; what the student sees must be what a whole redraw shows.
#include <QSlider>
#include <QTabWidget>
#include <qcustomplot.h>

#include "Harness.h"
#include "views/PhaseImage.h"

namespace {
QImage shown(QWidget* w) { return w->grab().toImage().convertToFormat(QImage::Format_RGB32); }
} // namespace

TEST_F(PendulabTest, SliderStepsShowTheSamePixelsAsAWholeRedraw)
{
    start();
    record();
    openDialog();
    int wholeReplots = 0;
    QObject::connect(Chart1(main), &QCustomPlot::afterReplot, main, [&] { ++wholeReplots; });
    // Steps on the acquisition page redraw the position chart's model layer alone.
    for (int k : {30, 31, 33}) dialog->ktrack->setValue(k);
    settle();
    EXPECT_EQ(wholeReplots, 0);
    const QImage position = shown(Chart1(main));
    main->redrawAnalysisAndModel();
    settle();
    EXPECT_EQ(shown(Chart1(main)), position);
    // The same chart with all its layers in one buffer: the buffers stack as the layers do.
    for (const char* layer : {"main", "model"}) Chart1(main)->layer(QString::fromLatin1(layer))->setMode(QCPLayer::lmLogical);
    Chart1(main)->replot(QCustomPlot::rpImmediateRefresh);
    EXPECT_EQ(shown(Chart1(main)), position);
    Chart1(main)->layer(QStringLiteral("model"))->setMode(QCPLayer::lmBuffered);

    // The derivative page: a step within its range, then one that widens it (the axes move);
    // the portrait, hidden meanwhile, is drawn when its page is shown.
    PageControl1(main)->setCurrentIndex(1);
    settle();
    dialog->htrack->setValue(dialog->htrack->value() + 1);
    dialog->ktrack->setValue(dialog->ktrack->maximum());
    settle();
    const QImage derivative = shown(phichart(main));
    PageControl1(main)->setCurrentIndex(2);
    settle();
    const QImage portrait = xy(main)->image().copy();
    main->redrawAnalysisAndModel();
    settle();
    EXPECT_EQ(xy(main)->image(), portrait);
    PageControl1(main)->setCurrentIndex(1);
    settle();
    EXPECT_EQ(shown(phichart(main)), derivative);
}

TEST_F(PendulabTest, APortraitResizedWhileHiddenHoldsTheModelOfTheLastStep)
{
    start();
    record();
    openDialog();
    dialog->ktrack->setValue(30);        // the portrait, hidden, is to be drawn when looked at
    main->setGeometry(0, 0, 1300, 800); // and gets its new size at once
    settle();
    const QImage afterStep = xy(main)->image().copy(); // as the report reads it
    main->redrawAnalysisAndModel();
    EXPECT_EQ(afterStep, xy(main)->image());
}
