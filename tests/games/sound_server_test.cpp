// The game program against a real sound server: a private PulseAudio with a null sink, in a runtime
// folder of the test's own. The program (its own main(), driven as a user plays: see
// sound_server_driver.cpp) must reach the server while a game plays and end with status 0 however it
// is closed.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class PrivateSoundServer {
public:
    ~PrivateSoundServer()
    {
        if (m_server.state() == QProcess::NotRunning) return;
        m_server.terminate();
        if (!m_server.waitForFinished(5000)) m_server.kill();
        m_server.waitForFinished(2000);
    }
    // Empty when the server answers; else why it could not start.
    QString Start()
    {
        if (!m_dir.isValid()) return QStringLiteral("no temporary folder");
        for (const char* tool : {"pulseaudio", "pactl"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                return QStringLiteral("%1 is not installed (Debian packages pulseaudio, pulseaudio-utils)").arg(QLatin1String(tool));
        const QString run = Folder("run");
        QFile::setPermissions(run, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
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

private:
    QString Folder(const char* name) const
    {
        const QString f = m_dir.path() + QLatin1Char('/') + QLatin1String(name);
        QDir().mkpath(f);
        return f;
    }
    QTemporaryDir m_dir;
    QProcess m_server;
};

struct ProgramRun {
    bool heard = false; // a stream of the program's reached the server
    QProcess::ExitStatus status = QProcess::CrashExit;
    int code = -1;
};

// Runs the program driven the given way to its end, watching the server's streams meanwhile.
ProgramRun playAgainst(PrivateSoundServer& server, const QString& way)
{
    ProgramRun r;
    QProcess program;
    QProcessEnvironment env = server.Environment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("POLY_DRIVE"), way);
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(QCoreApplication::applicationDirPath() + QStringLiteral("/game_program_driven"), {});
    if (!program.waitForStarted(5000)) return r;
    QElapsedTimer since;
    since.start();
    while (!program.waitForFinished(100) && program.state() != QProcess::NotRunning) {
        QByteArray streams;
        if (!r.heard && server.Pactl({QStringLiteral("list"), QStringLiteral("short"), QStringLiteral("sink-inputs")}, &streams))
            r.heard = !streams.trimmed().isEmpty();
        if (since.elapsed() > 120000) {
            ADD_FAILURE() << way.toStdString() << ": the program did not end within two minutes";
            program.kill();
            program.waitForFinished(5000);
            return r;
        }
    }
    r.status = program.exitStatus();
    r.code = program.exitCode();
    return r;
}

TEST(SoundServerTest, TheProgramIsHeardAndEndsCleanlyHoweverItIsClosed)
{
    PrivateSoundServer server;
    const QString why = server.Start();
    if (!why.isEmpty()) GTEST_SKIP() << "no private sound server, so the program's sound is not tested: " << why.toStdString();

    struct Way {
        const char* name;
        bool plays; // a game, and so its sound, runs
    };
    for (const Way& w : {Way{"game", true}, Way{"early", true}, Way{"menu", false}}) {
        const ProgramRun r = playAgainst(server, QString::fromLatin1(w.name));
        EXPECT_EQ(r.status, QProcess::NormalExit) << w.name << ": the program was ended by a signal";
        EXPECT_EQ(r.code, 0) << w.name;
        if (w.plays) {
            EXPECT_TRUE(r.heard) << w.name << ": no stream of the program reached the server";
        }
    }
}

} // namespace
