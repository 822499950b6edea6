// Test programs run on the offscreen platform unless told otherwise, with the fonts the forms use.
#include "Application.h"
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    UseOffscreenUnlessSet();
    ::testing::InitGoogleTest(&argc, argv);
    TApplication app(argc, argv, QStringLiteral("ポリコロ"));
    // Tests close main forms again and again; the test program ends when its tests do.
    app.setQuitOnLastWindowClosed(false);
    return RUN_ALL_TESTS();
}
