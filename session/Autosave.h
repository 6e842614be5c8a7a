#pragma once
// Nothing lost on a crash: the experiment written to a folder of its own (by default
// ~/.local/share/Pendulab/) after every new run and every minute while it has changed, off the
// window's thread. Each program holds a lock beside its autosave; an autosave whose lock no live
// program holds is what an abnormal end left, and the next start offers it. Saving, or a normal
// end, removes the program's own autosave.
#include <QLockFile>
#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QTimer>

#include <memory>
#include <optional>

namespace pendulab {

class Session;
struct Experiment;

class Autosave : public QObject {
    Q_OBJECT
public:
    // `folder` empty: ~/.local/share/Pendulab (XDG_DATA_HOME is followed). `period` between two
    // writes of a changed experiment.
    explicit Autosave(Session& session, QString folder = {}, int periodMilliseconds = 60000);
    ~Autosave() override; // waits for a write under way; removes the autosave unless keepOnExit()

    // An autosave another program left behind (it has ended without removing it): its file, if any.
    std::optional<QString> abandoned() const;
    // Reads an abandoned autosave (std::runtime_error naming what is wrong), and removes it.
    static Experiment take(const QString& file);
    // Drops an abandoned autosave the student does not want back.
    static void discard(const QString& file);

    // Writes now, waiting for it (an end by signal): the program's autosave stays for the next start.
    void writeNowAndKeep();
    void keepOnExit() { keep_ = true; }
    // Waits for the writes under way (tests, benches).
    void waitForWrites() { writer_.waitForDone(); }
    const QString& file() const { return file_; }

signals:
    void written(); // from the writer's thread: an autosave is on disk

private:
    void schedule(); // a write off the window's thread, of the experiment as it is now
    void remove();
    Session& session_;
    QString folder_, file_;
    std::unique_ptr<QLockFile> lock_;
    QThreadPool writer_; // one thread: the writes in order
    QTimer timer_;
    bool keep_ = false;
};

} // namespace pendulab
