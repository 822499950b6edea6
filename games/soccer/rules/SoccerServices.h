#pragma once
// What the soccer engine asks of the world around it: the services every game asks for (random
// numbers, waits, the menu form's flags, the result report) and its own: sounds, drawing, the penalty
// kick, the form's controls and the replay files. The form fills these from the program; a test fills
// them with a seeded generator and a test clock. Every service has a harmless default, so an engine
// with none set plays silently and never waits.
#include "GameServices.h"
#include "SoccerRecords.h"
#include <QtGlobal>
#include <functional>

namespace soccer {

// A single penalty kick: the kicking team (1 - the tackler's team) and the two players that the PK
// form shows.
struct TPKRequest {
    int KickSide = 0;               // FKickSide and FMySide of the PK form
    int MyPlayerIndex = 0;          // team 0's player
    int AitePlayerIndex = 0;        // team 1's player
};
struct TPKOutcome {
    int KickDir = 0, AimDir = 0, KeeperDir = 0; // each -1, 0 or +1
    bool Scored = false;
};

struct TSoccerServices : TGameServices {
    std::function<bool(TSoccerSound, bool noStop)> Play;    // false when a no-stop sound could not start
    std::function<bool()> SoundPlaying;
    std::function<void()> StopSound;
    std::function<void()> Redraw;                           // draws the scene now
    std::function<TPKOutcome(const TPKRequest&)> PenaltyKick; // shows the PK form modally

    // The form's controls and operation state.
    std::function<bool()> OpeningHeld;                      // a settings list is dropped down
    std::function<void()> OpeningEnded;                     // takes the buttons' hover flags
    std::function<void(int hot)> UpdateCursor;              // -1 resets it to the default
    std::function<void()> ResetOperation;

    // Replay files.
    std::function<void()> SaveReplaySlot;                   // a decided match into the next slot
    // The past replay's chosen file, whole; false when none is chosen. A file that cannot be read
    // gives true and no bytes (its access error already reported).
    std::function<bool(QByteArray&)> ReadReplayFile;
    std::function<bool(QPoint&)> TakeSceneClick;            // one pending left-button press on the scene
    std::function<void(const QString&)> Warning;            // a beep and a warning box with OK
    // The goal labels' Shift-JIS; without them labels pass as Latin-1.
    std::function<QByteArray(const QString&)> ToSjis;
    std::function<QString(const QByteArray&)> FromSjis;
};

} // namespace soccer
