#pragma once
// Value axes: a fixed tick step where the range is the usual one, automatic steps otherwise.
#include <optional>
#include <qcustomplot.h>

// Ticks every `step` on `axis` (scaled as `strategy` says), or steps that suit the values for
// std::nullopt. The ticker is replaced only when that choice changes.
void setTickStep(QCPAxis* axis, std::optional<double> step,
                 QCPAxisTickerFixed::ScaleStrategy strategy = QCPAxisTickerFixed::ssNone);
