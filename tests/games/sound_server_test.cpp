// The game program against a real sound server: a private PulseAudio with a null sink, in a runtime
// folder of the test's own. The program (its own main(), driven as a user plays: see
// sound_server_driver.cpp) must reach the server on one stream while a game plays, and end with
// status 0 however it is closed, and whatever becomes of the server.
#include "Resources.h"
#include "Sound.h"
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>

namespace {

class PrivateSoundServer {
public:
    ~PrivateSoundServer() { Kill(); }
    // Empty when the server answers; else why it could not start.
    QString Start()
    {
        if (!m_dir.isValid()) return QStringLiteral("no temporary folder");
        for (const char* tool : {"pulseaudio", "pactl"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                return QStringLiteral("%1 is not installed (Debian packages pulseaudio, pulseaudio-utils)").arg(QLatin1String(tool));
        QFile::setPermissions(Folder("run"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QProcessEnvironment env = Environment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), Folder("config"));
        m_server.setProcessEnvironment(env);
        m_server.setProcessChannelMode(QProcess::MergedChannels);
        // -n: no configuration of the system's; as root it warns and runs all the same.
        m_server.start(QStringLiteral("pulseaudio"),
                       {QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"),
                        QStringLiteral("--use-pid-file=no"), QStringLiteral("--disallow-exit"), QStringLiteral("--log-target=stderr"),
                        QStringLiteral("-L"), QStringLiteral("module-null-sink"), QStringLiteral("-L"),
                        QStringLiteral("module-native-protocol-unix auth-anonymous=1 socket=") + Socket()});
        if (!m_server.waitForStarted(5000)) return QStringLiteral("pulseaudio did not start: ") + m_server.errorString();
        for (int i = 0; i < 100; ++i) {
            if (Pactl({QStringLiteral("info")}, nullptr)) return QString();
            if (m_server.waitForFinished(50)) break;
        }
        return QStringLiteral("pulseaudio did not answer: ") + QString::fromLocal8Bit(m_server.readAll()).trimmed();
    }
    // Ends the server as a crash would, leaving its socket behind.
    void Kill()
    {
        if (m_server.state() == QProcess::NotRunning) return;
        ::kill(pid_t(m_server.processId()), SIGCONT);
        m_server.kill();
        m_server.waitForFinished(5000);
    }
    // A server that takes connections and never answers them.
    void Freeze() { ::kill(pid_t(m_server.processId()), SIGSTOP); }
    QString Socket() const { return m_dir.path() + QStringLiteral("/run/native"); }
    // A home, configuration and runtime folder of the test's own, and the way to this server.
    QProcessEnvironment Environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), Folder("home"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), Folder("run"));
        env.insert(QStringLiteral("PULSE_SERVER"), QStringLiteral("unix:") + Socket());
        return env;
    }
    bool Pactl(const QStringList& args, QByteArray* out)
    {
        QProcess p;
        p.setProcessEnvironment(Environment());
        p.start(QStringLiteral("pactl"), args);
        if (!p.waitForFinished(5000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) return false;
        if (out) *out = p.readAllStandardOutput();
        return true;
    }
    QString Folder(const char* name) const
    {
        const QString f = m_dir.path() + QLatin1Char('/') + QLatin1String(name);
        QDir().mkpath(f);
        return f;
    }

private:
    QTemporaryDir m_dir;
    QProcess m_server;
};

// Counts the playback streams that clients open on the server while it watches.
class StreamWatch {
public:
    explicit StreamWatch(PrivateSoundServer& server)
    {
        m_events.setProcessEnvironment(server.Environment());
        m_events.start(QStringLiteral("pactl"), {QStringLiteral("subscribe")});
        m_events.waitForStarted(5000);
        server.Pactl({QStringLiteral("info")}, nullptr); // the subscription is in place once this is answered
    }
    ~StreamWatch()
    {
        m_events.kill();
        m_events.waitForFinished(2000);
    }
    int Streams()
    {
        while (m_events.waitForReadyRead(50)) m_seen += QString::fromLocal8Bit(m_events.readAllStandardOutput());
        m_seen += QString::fromLocal8Bit(m_events.readAllStandardOutput());
        static const QRegularExpression opened(QStringLiteral("'new' on sink-input"));
        return int(m_seen.count(opened));
    }

private:
    QProcess m_events;
    QString m_seen;
};

constexpr int kRunBudgetMs = 60000;

// The program, driven the given way, and how its run ended.
class DrivenProgram {
public:
    DrivenProgram(QProcessEnvironment env, const QString& way, const QString& closeWhen = QString()) : m_way(way)
    {
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("POLY_DRIVE"), way);
        if (!closeWhen.isEmpty()) env.insert(QStringLiteral("POLY_CLOSE_WHEN"), closeWhen);
        m_program.setProcessEnvironment(env);
        m_program.setProcessChannelMode(QProcess::ForwardedChannels);
        m_program.start(QCoreApplication::applicationDirPath() + QStringLiteral("/game_program_driven"), {});
        m_since.start();
    }
    // Waits while the program runs until `done` says so; false when the program ended or ran out of time.
    bool WaitUntil(const std::function<bool()>& done, int withinMs)
    {
        QElapsedTimer t;
        t.start();
        while (!done()) {
            if (m_program.state() == QProcess::NotRunning || t.elapsed() > withinMs) return false;
            m_program.waitForFinished(100);
        }
        return true;
    }
    // Waits for the program's own end and checks that it ended cleanly; a run that outlasts the
    // budget is stopped by the test and reported as that.
    void ExpectCleanEnd()
    {
        if (!m_program.waitForStarted(5000)) {
            ADD_FAILURE() << m_way.toStdString() << ": the program did not start";
            return;
        }
        if (!m_program.waitForFinished(int(std::max<qint64>(0, kRunBudgetMs - m_since.elapsed())))) {
            ADD_FAILURE() << m_way.toStdString() << ": the test stopped the program after " << m_since.elapsed() / 1000
                          << " s; it had not ended by itself";
            m_program.kill();
            m_program.waitForFinished(5000);
            return;
        }
        EXPECT_EQ(m_program.exitStatus(), QProcess::NormalExit) << m_way.toStdString() << ": the program was ended by a signal";
        EXPECT_EQ(m_program.exitCode(), 0) << m_way.toStdString();
    }

private:
    QString m_way;
    QProcess m_program;
    QElapsedTimer m_since;
};

void touch(const QString& path)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

class SoundServerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QString why = server.Start();
        if (!why.isEmpty()) GTEST_SKIP() << "no private sound server, so the program's sound is not tested: " << why.toStdString();
        closeWhen = server.Folder("home") + QStringLiteral("/enough");
    }
    PrivateSoundServer server;
    QString closeWhen;
};

TEST_F(SoundServerTest, TheProgramIsHeardOnOneStreamAndEndsCleanlyHoweverItIsClosed)
{
    struct Way {
        const char* name;
        bool plays; // a game, and so its sound, runs
    };
    for (const Way& w : {Way{"game", true}, Way{"early", true}, Way{"menu", false}}) {
        QFile::remove(closeWhen);
        StreamWatch streams(server);
        DrivenProgram program(server.Environment(), QString::fromLatin1(w.name), closeWhen);
        if (w.plays) {
            EXPECT_TRUE(program.WaitUntil([&] { return streams.Streams() > 0; }, 20000))
                << w.name << ": no stream of the program reached the server";
            touch(closeWhen);
        }
        program.ExpectCleanEnd();
        EXPECT_EQ(streams.Streams(), w.plays ? 1 : 0) << w.name << ": the program's sounds took more than one stream";
    }
}

// Sounds started, replaced, looped and stopped in quick turns, as a game does, go out on one stream:
// opening and closing a stream per sound raced with the server's replies and now and then aborted
// the program.
TEST_F(SoundServerTest, SoundsOneAfterAnotherShareOneStream)
{
    InitGameResources();
    const QProcessEnvironment env = server.Environment();
    for (const char* name : {"HOME", "XDG_RUNTIME_DIR", "PULSE_SERVER"})
        qputenv(name, env.value(QLatin1String(name)).toLocal8Bit());
    StreamWatch streams(server);
    SoundService sound;
    ASSERT_TRUE(sound.Play(QStringLiteral("KANSEI"), SndAsync | SndLoop));
    ASSERT_TRUE(QTest::qWaitFor([&] { return streams.Streams() > 0; }, 20000)) << "the sound never reached the server";
    const unsigned flags[] = {SndAsync, SndAsync | SndLoop, SndAsync, SndSync, SndAsync | SndLoop};
    int i = 0;
    for (const char* name : {"KICK", "KANSEI", "TACKLE", "BANT", "WHISTLE", "GOLFPAT", "CHANGE", "GOALFILEBGM"}) {
        ASSERT_TRUE(sound.Play(QString::fromLatin1(name), flags[i++ % 5])) << name;
        QTest::qWait(150);
        if (i % 3 == 0) sound.Stop();
    }
    sound.Stop();
    EXPECT_EQ(streams.Streams(), 1);
}

TEST_F(SoundServerTest, TheProgramOutlivesItsSoundServer)
{
    enum class Fate { KilledAndRestarted, NeverThere, NeverAnswers };
    for (const Fate fate : {Fate::KilledAndRestarted, Fate::NeverThere, Fate::NeverAnswers}) {
        SCOPED_TRACE(int(fate));
        QFile::remove(closeWhen);
        if (fate == Fate::NeverThere) server.Kill();
        if (fate == Fate::NeverAnswers) server.Freeze();
        DrivenProgram program(server.Environment(), QStringLiteral("game"), closeWhen);
        if (fate == Fate::KilledAndRestarted) {
            auto streams = std::make_unique<StreamWatch>(server);
            ASSERT_TRUE(program.WaitUntil([&] { return streams->Streams() > 0; }, 20000));
            streams.reset();
            server.Kill();
            QTest::qWait(500); // the game plays on with no server
            ASSERT_EQ(server.Start(), QString());
            // The stream may be back before any watch could start: the server's list tells.
            const auto playing = [&] {
                QByteArray list;
                return server.Pactl({QStringLiteral("list"), QStringLiteral("short"), QStringLiteral("sink-inputs")}, &list)
                       && !list.trimmed().isEmpty();
            };
            EXPECT_TRUE(program.WaitUntil(playing, 20000)) << "the sound did not come back on the restarted server";
        } else {
            program.WaitUntil([] { return false; }, 3000); // a few seconds of a silent game
        }
        touch(closeWhen);
        program.ExpectCleanEnd();
        server.Kill();
        ASSERT_EQ(server.Start(), QString());
    }
}

} // namespace
