#include "views/Page.h"

#include "session/Session.h"
#include "views/Services.h"

TPage::TPage(pendulab::Session* session, const QString& objectName, QWidget* parent) : QWidget(parent), session_(session)
{
    setObjectName(objectName);
    // A new recording (or another run made active) redraws everything; new model arrays, the model.
    connect(session, &pendulab::Session::measurementChanged, this, [this] { guarded(this, [this] { measurementChanged(); }); });
    connect(session, &pendulab::Session::modelChanged, this, [this] { guarded(this, [this] { drawModel(); }); });
    connect(session, &pendulab::Session::othersChanged, this, [this] { guarded(this, [this] { measurementChanged(); }); });
    // Another unit: every value is drawn anew in it.
    connect(session, &pendulab::Session::displayUnitChanged, this, [this] { guarded(this, [this] { measurementChanged(); }); });
}

QList<int> TPage::shownRuns() const
{
    QList<int> runs;
    for (int i = 0; i < session_->runCount(); ++i)
        if (session_->run(i).shown && (i != session_->activeIndex() || recording_) && session_->scaleOf(session_->run(i)))
            runs.append(i); // a run that does not convert to the unit shown stays hidden
    return runs;
}
