// Test programs run on the offscreen platform unless told otherwise, with the fonts the forms use.
#include "Application.h"
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <cstdio>
#include <cstdlib>

namespace {

// Every test program gets a home and XDG data, configuration, cache and state folders of its own,
// empty, in a temporary folder that goes with it: whatever a test writes there (the trash above all)
// never lands in the user's folders or the checkout. This runs before any other static initialiser
// of the program, so a test file that sets its own folders at start still has the last word.
struct UserFolders {
    QTemporaryDir dir;
    UserFolders()
    {
        if (!dir.isValid()) {
            std::fprintf(stderr, "no temporary folder for the test's user folders\n");
            std::exit(1);
        }
        const QString root = dir.path();
        for (const char* name : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"}) {
            const QString folder = root + QLatin1Char('/') + QString::fromLatin1(name).toLower();
            QDir().mkpath(folder);
            qputenv(name, QFile::encodeName(folder));
        }
    }
};
__attribute__((init_priority(101))) UserFolders g_userFolders;

} // namespace

int main(int argc, char** argv)
{
    UseOffscreenUnlessSet();
    ::testing::InitGoogleTest(&argc, argv);
    TApplication app(argc, argv, QStringLiteral("ポリコロ"));
    // Tests close main forms again and again; the test program ends when its tests do.
    app.setQuitOnLastWindowClosed(false);
    return RUN_ALL_TESTS();
}
