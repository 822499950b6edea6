// Starting the picture editor and waiting for it. In a program of its own: quitting ends every
// event loop of the process, so it must be the last thing that happens.
#include "Dialogs.h"
#include "Shell.h"
#include "TestSupport.h"
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>
#include <gtest/gtest.h>
#include "TestDoubles.h"

namespace {

TEST(ShellStart, ReportsAProgramThatCannotStart)
{
    RecordingDialogs dialogs;
    EXPECT_FALSE(ShellExecuteAndWait(nullptr, QStringLiteral("/nonexistent/ピクモ")));
    ASSERT_EQ(dialogs.Boxes().size(), 1u);
    EXPECT_TRUE(dialogs.Boxes()[0].text.contains(QStringLiteral("ピクモ")));
}

TEST(ShellStart, WaitsForTheProgramAndEndsWhenThisOneQuits)
{
    RecordingDialogs dialogs;
    QElapsedTimer t;
    t.start();
    EXPECT_TRUE(ShellExecuteAndWait(nullptr, QStringLiteral("/bin/true")));
    int ticks = 0;
    QTimer pulse;
    QObject::connect(&pulse, &QTimer::timeout, [&] { ++ticks; });
    pulse.start(5);
    QTemporaryDir dir;
    const QString slow = dir.path() + QStringLiteral("/slow");
    WriteFile(slow, "#!/bin/sh\nsleep 2\n");
    QFile::setPermissions(slow, QFile::ReadOwner | QFile::ExeOwner);
    QTimer::singleShot(150, [] { QCoreApplication::exit(0); });
    EXPECT_TRUE(ShellExecuteAndWait(nullptr, slow));
    EXPECT_LT(t.elapsed(), 3000);
    EXPECT_GT(ticks, 5); // the loop kept running while waiting
    EXPECT_TRUE(dialogs.Boxes().empty());
}

} // namespace
