// Pendulab: study of a damped or driven spring pendulum, for the physics classroom.
#include <QApplication>
#include <QFileInfo>
#include <QLocale>
#include <QScreen>
#include <exception>

#include "app/AppWindows.h"
#include "app/EndSignals.h"
#include "app/Main.h"
#include "views/Services.h"
#include "app/Translations.h"

namespace {

// Last line of defence: a failure that escaped a handler becomes a message box, never a crash.
class PendulabApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (...) {
            reportFailure(nullptr, std::current_exception());
            return false;
        }
    }
};

} // namespace

int main(int argc, char* argv[])
{
    PendulabApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pendulab"));
    QApplication::setOrganizationName(QStringLiteral("Pendulab")); // settings in ~/.config/Pendulab/Pendulab.conf
    // French, or English when that is the user's language; Qt's own dialogs follow.
    installTranslations(app, QLocale::system());
    Windows = createWindows();
    // --source <device>: start with that serial device (a udev link, a script, a test's terminal).
    const QStringList args = QApplication::arguments();
    if (const qsizetype at = args.indexOf(QStringLiteral("--source")); at >= 0 && at + 1 < args.size())
        Windows.FichePrincipale->startSource = args.at(at + 1);
    // pendulab [--source <device>] [file]: the file is opened as "Ouvrir…" would (a double click in
    // the file manager on an experiment).
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--source")) ++i;
        else if (!args.at(i).startsWith(QLatin1Char('-'))) Windows.FichePrincipale->startFile = QFileInfo(args.at(i)).absoluteFilePath();
    }
    // Maximised, also where no window manager does it for us.
    if (QScreen* screen = QGuiApplication::primaryScreen())
        Windows.FichePrincipale->setGeometry(screen->availableGeometry());
    Windows.FichePrincipale->showMaximized();
    installEndSignals([] { Windows.FichePrincipale->endBySignal(); });
    const int rc = QApplication::exec();
    delete Windows.FichePrincipale;
    Windows = {};
    return rc;
}
