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
    QObject::connect(main->Chart1, &QCustomPlot::afterReplot, main, [&] { ++wholeReplots; });
    // Steps on the acquisition page redraw the position chart's model layer alone.
    for (int k : {30, 31, 33}) dialog->ktrack->setValue(k);
    settle();
    EXPECT_EQ(wholeReplots, 0);
    const QImage position = shown(main->Chart1);
    main->redrawAnalysisAndModel();
    settle();
    EXPECT_EQ(shown(main->Chart1), position);
    // The same chart with all its layers in one buffer: the buffers stack as the layers do.
    for (const char* layer : {"main", "model"}) main->Chart1->layer(QString::fromLatin1(layer))->setMode(QCPLayer::lmLogical);
    main->Chart1->replot(QCustomPlot::rpImmediateRefresh);
    EXPECT_EQ(shown(main->Chart1), position);
    main->Chart1->layer(QStringLiteral("model"))->setMode(QCPLayer::lmBuffered);

    // The derivative page: a step within its range, then one that widens it (the axes move);
    // the portrait, hidden meanwhile, is drawn when its page is shown.
    main->PageControl1->setCurrentIndex(1);
    settle();
    dialog->htrack->setValue(dialog->htrack->value() + 1);
    dialog->ktrack->setValue(dialog->ktrack->maximum());
    settle();
    const QImage derivative = shown(main->phichart);
    main->PageControl1->setCurrentIndex(2);
    settle();
    const QImage portrait = main->xy->image().copy();
    main->redrawAnalysisAndModel();
    settle();
    EXPECT_EQ(main->xy->image(), portrait);
    main->PageControl1->setCurrentIndex(1);
    settle();
    EXPECT_EQ(shown(main->phichart), derivative);
}

TEST_F(PendulabTest, APortraitResizedWhileHiddenHoldsTheModelOfTheLastStep)
{
    start();
    record();
    openDialog();
    dialog->ktrack->setValue(30);        // the portrait, hidden, is to be drawn when looked at
    main->setGeometry(0, 0, 1300, 800); // and gets its new size at once
    settle();
    const QImage afterStep = main->xy->image().copy(); // as the report reads it
    main->redrawAnalysisAndModel();
    EXPECT_EQ(afterStep, main->xy->image());
}
