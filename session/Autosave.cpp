#include "session/Autosave.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <memory>

#include "session/ExperimentFile.h"
#include "session/Session.h"

namespace pendulab {

namespace {

const QString kPrefix = QStringLiteral("autosave-");
const QString kSuffix = QStringLiteral(".pendulab");

QString lockOf(const QString& file) { return file.left(file.size() - kSuffix.size()) + QStringLiteral(".lock"); }

} // namespace

Autosave::Autosave(Session& session, QString folder, int periodMilliseconds) : session_(session), folder_(std::move(folder))
{
    if (folder_.isEmpty())
        folder_ = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Pendulab");
    QDir().mkpath(folder_);
    static int made = 0; // the window's thread makes them: one per program, more in tests
    file_ = QDir(folder_).filePath(kPrefix + QString::number(QCoreApplication::applicationPid()) + QLatin1Char('-') +
                                   QString::number(++made) + kSuffix);
    lock_ = std::make_unique<QLockFile>(lockOf(file_));
    lock_->setStaleLockTime(0); // only a dead program's lock is stale, however old
    lock_->tryLock(0);
    writer_.setMaxThreadCount(1);
    connect(&session_, &Session::runAdded, this, [this] { schedule(); });
    connect(&session_, &Session::modifiedChanged, this, [this](bool modified) {
        if (modified) timer_.start();
        else {
            timer_.stop();
            remove(); // saved: nothing to lose any more
        }
    });
    timer_.setInterval(periodMilliseconds);
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (session_.modified()) schedule();
        else timer_.stop();
    });
}

Autosave::~Autosave()
{
    writer_.waitForDone();
    if (!keep_) remove();
}

void Autosave::schedule()
{
    // The copy is the window thread's only part (a few milliseconds for a hundred runs); the
    // encoding and the writing are the writer's.
    auto e = std::make_shared<Experiment>(session_.experiment());
    const QString file = file_;
    writer_.start([this, e, file] {
        try {
            saveExperimentFile(file.toStdString(), *e);
            emit written();
        } catch (...) { // a full disk: the next write tries again; the student's work is in memory
        }
    });
}

void Autosave::writeNowAndKeep()
{
    if (session_.modified()) schedule();
    writer_.waitForDone();
    keep_ = true;
}

void Autosave::remove()
{
    writer_.waitForDone();
    QFile::remove(file_);
}

std::optional<QString> Autosave::abandoned() const
{
    const QStringList found = QDir(folder_).entryList({kPrefix + QStringLiteral("*") + kSuffix}, QDir::Files, QDir::Time);
    for (const QString& name : found) {
        const QString file = QDir(folder_).filePath(name);
        if (file == file_) continue;
        QLockFile other(lockOf(file));
        other.setStaleLockTime(0);
        if (!other.tryLock(0)) continue; // its program still runs: never offered
        other.unlock();
        return file;
    }
    return std::nullopt;
}

Experiment Autosave::take(const QString& file)
{
    Experiment e = loadExperimentFile(file.toStdString());
    discard(file);
    return e;
}

void Autosave::discard(const QString& file)
{
    QFile::remove(file);
    QFile::remove(lockOf(file));
}

} // namespace pendulab
