#pragma once
// What every game's form shares, whatever the game: the play field and the game's timer, the fields
// its launcher sets, the menu's sound switches as they were when the form was made, the menu's random
// service, the pause shown in the caption, and a wheel that does nothing on the form.
#include "Clock.h"
#include "Form.h"
#include "PaintBox.h"
#include <QString>
#include <vector>

class TGameForm : public Form {
    Q_OBJECT
public:
    explicit TGameForm(QWidget* owner);

    // Components; each game makes them to its own size and interval.
    TPaintBox* imOmote = nullptr;
    GameTimer* Timer1 = nullptr;

    // Fields the launcher sets.
    QString FPlayerName;
    bool FSoundOn = true;
    bool FCheerOn = true;
    bool FSetUpOpenStart = false;

    // The random service of the menu form.
    static int RandomInt(int n);
    // Players of a sheet in a random order: each place swapped with a random one.
    static std::vector<int> ShuffledPlayers(int count);

protected:
    // The caption as it stands while the game is paused or runs.
    QString PauseCaption(bool paused) const;
    // The wheel turned over the visible form or any of its controls (the games swallow it, so that
    // it never turns a list's choice).
    bool WheelOnForm(QObject* o, QEvent* e) const;
};
