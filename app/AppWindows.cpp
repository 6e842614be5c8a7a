#include "app/AppWindows.h"

#include "app/Main.h"
#include "app/avertisit1.h"
#include "views/conf1.h"

AppWindows Windows;

AppWindows createWindows()
{
    AppWindows w;
    w.FichePrincipale = new TFichePrincipale;
    w.config = new Tconfig(w.FichePrincipale->session, w.FichePrincipale);
    w.avert = new Tavert(w.FichePrincipale);
    w.FichePrincipale->setDialogs(w.config, w.avert);
    // No fit while a recording runs.
    QObject::connect(w.FichePrincipale, &TFichePrincipale::runningChanged, w.config, &Tconfig::setRecordingRunning);
    return w;
}
