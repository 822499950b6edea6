#pragma once
// What every game's form shares, whatever the game: the play field and the game's timer, the fields
// its launcher sets, the menu's sound switches as they were when the form was made, the menu's random
// service, the services its rules ask of the program, the pause shown in the caption, and a wheel
// that does nothing on the form.
#include "Clock.h"
#include "Form.h"
#include "GameHost.h"
#include "GameServices.h"
#include "PaintBox.h"
#include <QString>
#include <functional>
#include <memory>
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
    // Gives a game's rules the services every game asks of the program; what is the game's own (its
    // sounds, its drawing, its lists) the form adds beside them. From then on the form asks for them
    // through the rules' copy, so that the form and its rules reach the program by one path.
    void ShareServices(TGameServices& rules)
    {
        rules = m_services;
        m_shared = &rules;
    }
    TGameServices& Services() { return *m_shared; }
    const TGameServices& Services() const { return *m_shared; }

    // Copies a back buffer onto the play field and shows it.
    void ShowOnField(const TBitmap& back);
    // The caption as it stands while the game is paused or runs.
    QString PauseCaption(bool paused) const;
    // The wheel turned over the visible form or any of its controls (the games swallow it, so that
    // it never turns a list's choice).
    bool WheelOnForm(QObject* o, QEvent* e) const;

private:
    TGameServices m_services;
    TGameServices* m_shared = &m_services;
};

// A launcher's run of a game's form: made owned by the host's window into the game's global (cleared
// however the run ends) and given the caption and the player's name; `before` sets what is the game's
// own, the form runs modally, and `after` hands back to the menu what it keeps. Returns the modal result.
template <class TForm>
quint16 RunGameForm(TGameHost& host, const QString& captionSuffix, TForm*& global, const std::function<void(TForm&)>& before,
                    const std::function<void(TForm&)>& after)
{
    std::unique_ptr<TForm> form(new TForm(host.OwnerWindow()));
    global = form.get();
    struct Clear {
        TForm*& g;
        ~Clear() { g = nullptr; }
    } clear{global};
    form->SetCaption(host.SeriesName() + captionSuffix);
    form->FPlayerName = host.PlayerName();
    if (before) before(*form);
    const int result = form->ShowModal();
    if (after) after(*form);
    return quint16(result);
}
