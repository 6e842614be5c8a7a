#include "views/Page.h"

#include "session/Session.h"
#include "views/Services.h"

TPage::TPage(pendulab::Session* session, const QString& objectName, QWidget* parent) : QWidget(parent), session_(session)
{
    setObjectName(objectName);
    // A new recording (or another run made active) redraws everything; new model arrays, the model.
    connect(session, &pendulab::Session::measurementChanged, this, [this] { guarded(this, [this] { measurementChanged(); }); });
    connect(session, &pendulab::Session::modelChanged, this, [this] { guarded(this, [this] { drawModel(); }); });
    connect(session, &pendulab::Session::runRemoved, this, [this](int index) { followRemoval(index); });
}

void TPage::setShownRuns(const QList<int>& runs)
{
    QList<int> kept;
    for (int i : runs)
        if (i >= 0 && i < session_->runCount() && i != session_->activeIndex() && !kept.contains(i)) kept.append(i);
    if (kept == shown_) return;
    shown_ = kept;
    guarded(this, [this] { measurementChanged(); });
}

void TPage::followRemoval(int index)
{
    QList<int> kept;
    for (int i : shown_)
        if (i != index) kept.append(i > index ? i - 1 : i);
    const bool wasShown = kept.size() != shown_.size();
    shown_ = kept;
    if (wasShown) guarded(this, [this] { measurementChanged(); });
}
