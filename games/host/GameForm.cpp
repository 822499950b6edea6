#include "GameForm.h"

#include "GameHost.h"
#include "GameRandom.h"

#include <QEvent>
#include <algorithm>
#include <numeric>

TGameForm::TGameForm(QWidget* owner) : Form(owner)
{
    FSoundOn = !GameHost().SoundEffectsOff();
    FCheerOn = !GameHost().CheersOff();

    m_services.Random = [](int n) { return RandomInt(n); };
    m_services.RuntimeRandom = [](int n) { return LcgRandom(n); };
    m_services.Sleep = [](int ms) { Sleep(ms); };
    m_services.ManualPlay = [] { return GameHost().ManualPlay(); };
    m_services.SetManualPlay = [](bool on) { GameHost().SetManualPlay(on); };
    m_services.SetOptionIndex = [](int i) { GameHost().SetOptionIndex(quint8(i)); };
    m_services.ModeBits = [] { return GameHost().GetModeBits(); };
    m_services.ReportResult = [](quint16 code) { GameHost().ShowGameResult(code); };
}

int TGameForm::RandomInt(int n)
{
    return GameHost().GameRandom(-1, n);
}

std::vector<int> TGameForm::ShuffledPlayers(int count)
{
    const int n = std::max(1, count);
    std::vector<int> order(static_cast<size_t>(n));
    std::iota(order.begin(), order.end(), 0);
    for (int i = 0; i < count; ++i) std::swap(order[size_t(i)], order[size_t(RandomInt(n))]);
    return order;
}

void TGameForm::ShowOnField(const TBitmap& back)
{
    CopyImageRows(imOmote->Surface(), back.Image());
    imOmote->Changed();
}

QString TGameForm::PauseCaption(bool paused) const
{
    return paused ? Hint + QStringLiteral("  ※Pause※") : Hint;
}

bool TGameForm::WheelOnForm(QObject* o, QEvent* e) const
{
    if (e->type() != QEvent::Wheel || !isVisible()) return false;
    auto* w = qobject_cast<QWidget*>(o);
    return w && (w == this || isAncestorOf(w));
}
