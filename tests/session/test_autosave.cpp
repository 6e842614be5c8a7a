// The autosave: written after a new run, removed once saved or at a normal end, kept for the next
// start by an end by signal (or a crash), and never offered while its program still runs.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QTemporaryDir>

#include "session/Autosave.h"
#include "session/ExperimentFile.h"
#include "session/Session.h"

using namespace pendulab;

namespace {
Measurement flat(double volts)
{
    Measurement m;
    m.volts.assign(2001, volts);
    return m;
}
} // namespace

TEST(Autosave, AnUnsavedExperimentOutlivesItsProgramAndComesBackExactlyOnce)
{
    QTemporaryDir dir;
    QString left;
    {
        Session s;
        Autosave a(s, dir.path());
        EXPECT_FALSE(a.abandoned());
        s.addRun(flat(1.0));
        a.waitForWrites();
        ASSERT_TRUE(QFileInfo::exists(a.file()));
        s.markSaved(); // saved: nothing to lose
        EXPECT_FALSE(QFileInfo::exists(a.file()));
        s.addRun(flat(2.0));
        s.renameRun(1, "masse 200 g");
        a.writeNowAndKeep(); // as an end by SIGTERM does
        left = a.file();
    }
    ASSERT_TRUE(QFileInfo::exists(left));

    Session next;
    Autosave b(next, dir.path());
    const std::optional<QString> offered = b.abandoned();
    ASSERT_TRUE(offered.has_value());
    EXPECT_EQ(*offered, left);
    next.setExperiment(Autosave::take(*offered), false);
    ASSERT_EQ(next.runCount(), 2);
    EXPECT_EQ(next.run(1).name, "masse 200 g"); // the change after the last write, written on the way out
    EXPECT_EQ(next.run(0).measurement.volts, flat(1.0).volts);
    EXPECT_TRUE(next.modified()); // restored, still to be saved
    EXPECT_FALSE(b.abandoned());  // offered once
}

TEST(Autosave, ANormalEndRemovesItAndARunningProgramsOneIsNeverOffered)
{
    QTemporaryDir dir;
    QString file;
    {
        Session s;
        Autosave a(s, dir.path());
        s.addRun(flat(1.0));
        a.waitForWrites();
        file = a.file();
        ASSERT_TRUE(QFileInfo::exists(file));
    }
    EXPECT_FALSE(QFileInfo::exists(file));

    // Another program's autosave, its lock held by a program that runs (this one).
    Session other;
    other.addRun(flat(3.0));
    saveExperimentFile(QDir(dir.path()).filePath("autosave-1.pendulab").toStdString(), other.experiment());
    QLockFile running(QDir(dir.path()).filePath("autosave-1.lock"));
    ASSERT_TRUE(running.tryLock(0));
    Session s;
    Autosave b(s, dir.path());
    EXPECT_FALSE(b.abandoned());
    running.unlock(); // that program has ended without removing it
    EXPECT_TRUE(b.abandoned());
}
