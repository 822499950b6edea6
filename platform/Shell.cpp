#include "Shell.h"

#include "Dialogs.h"
#include "Paths.h"
#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>
#include <vector>

bool ShellExecuteAndWait(QWidget* owner, const QString& program)
{
    auto* proc = new QProcess;
    proc->setProgram(program);
    proc->setProcessChannelMode(QProcess::ForwardedChannels);
    QEventLoop loop;
    bool failedToStart = false;
    QObject::connect(proc, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(proc, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart) failedToStart = true;
        loop.quit();
    });
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, &loop, &QEventLoop::quit);
    proc->start();
    // Starting takes a moment; a program that cannot be started says so here.
    if (!proc->waitForStarted(10000)) failedToStart = true;
    if (!failedToStart && proc->state() != QProcess::NotRunning) loop.exec();
    if (failedToStart) {
        const QString why = proc->errorString();
        delete proc;
        MessageBeep(MB_ICONHAND);
        MessageBox(owner,
                   QStringLiteral("\"%1\" を起動できません。\r\n\r\n%2").arg(ExtractFileName(program), why),
                   ExtractFileName(program), TMsgDlgType::mtError, TMsgButtons::OK);
        return false;
    }
    if (proc->state() == QProcess::NotRunning) {
        delete proc;
    } else {
        // This program is quitting while the other one still runs: let it run on by itself. Its
        // process object must outlive us (deleting it would kill the program), so it is kept here.
        proc->disconnect();
        static auto* runningOn = new std::vector<QProcess*>;
        runningOn->push_back(proc);
    }
    return true;
}
