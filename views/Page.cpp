#include "views/Page.h"

#include "session/Session.h"
#include "views/Services.h"

TPage::TPage(pendulab::Session* session, const QString& objectName, QWidget* parent) : QWidget(parent), session_(session)
{
    setObjectName(objectName);
    // A new recording (or another run made active) redraws everything; new model arrays, the model.
    connect(session, &pendulab::Session::measurementChanged, this, [this] { guarded(this, [this] { measurementChanged(); }); });
    connect(session, &pendulab::Session::modelChanged, this, [this] { guarded(this, [this] { drawModel(); }); });
}
