#pragma once
// What the window benchmarks share: the program's windows shown with silent dialogs, a clock in
// milliseconds, and a recording of the virtual card's kind.
#include <QApplication>
#include <QDialog>

#include <chrono>
#include <cmath>

#include "app/AppWindows.h"
#include "app/Main.h"
#include "core/SharedState.h"
#include "views/Services.h"

using Clock = std::chrono::steady_clock;

class SilentUi : public UiServices {
public:
    void showMessage(QWidget*, const QString&) override {}
    void showError(QWidget*, const QString&) override {}
    int execModal(QDialog*) override { return QDialog::Accepted; }
};

inline SilentUi silent;

// The program's windows at 1600×900, shown as the program shows them, the user's dialogs silent.
inline AppWindows shownWindows()
{
    setUiServices(&silent);
    AppWindows w = createWindows();
    w.FichePrincipale->setGeometry(0, 0, 1600, 900);
    w.FichePrincipale->show();
    QApplication::processEvents();
    return w;
}

inline double ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// A damped oscillation sampled 2001 times over 10 s; `phase` and `decay` tell runs apart.
inline pendulab::Signal decayingSine(double phase = 0.0, double decay = 0.19)
{
    pendulab::Signal pos{};
    for (std::size_t i = 0; i < pos.size(); ++i) {
        const double t = static_cast<double>(i) * 0.005;
        pos[i] = 0.36 + 7.5 * std::exp(-decay * t) * std::cos(7.6 * t + phase);
    }
    return pos;
}
