// Test programs run on the offscreen platform unless told otherwise, with the fonts the forms use.
#include "Application.h"
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    UseOffscreenUnlessSet();
    ::testing::InitGoogleTest(&argc, argv);
    TApplication app(argc, argv, QStringLiteral("ポリコロ"));
    return RUN_ALL_TESTS();
}
