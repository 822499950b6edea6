#pragma once
// The game program's world for a test: the embedded pictures and sounds, a virtual clock, recorded
// boxes and sounds, a temporary program folder (so the data folder and help file are the test's
// own), and the three forms of the shell. Subclasses register their launchers, then MakeForms().
#include "Clock.h"
#include "Dialogs.h"
#include "Sound.h"
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include "TestDoubles.h"

class ShellFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // (Re)creates the menu, the chooser and the result window, and shows the menu.
    void MakeForms();

    QTemporaryDir tmp;
    VirtualClock clock;
    RecordingDialogs dialogs;
    RecordingSoundBackend sounds;
};
