#include "GameHost.h"

#include <map>

namespace {

TGameHost* g_host = nullptr;

std::map<int, GameLauncher>& launchers()
{
    static std::map<int, GameLauncher> table;
    return table;
}

} // namespace

TResultLinks& ResultLinks()
{
    static TResultLinks links;
    return links;
}

TGameHost* GameHostOrNull()
{
    return g_host;
}

TGameHost& GameHost()
{
    Q_ASSERT(g_host);
    return *g_host;
}

void SetGameHost(TGameHost* host)
{
    g_host = host;
}

void RegisterGameLauncher(int gameNo, GameLauncher launcher)
{
    launchers()[gameNo] = std::move(launcher);
}

bool HasGameLauncher(int gameNo)
{
    return launchers().count(gameNo) != 0;
}

quint16 LaunchGame(int gameNo, TGameHost& host)
{
    auto it = launchers().find(gameNo);
    if (it == launchers().end()) return 0;
    // A copy: a launcher may register others while it runs (tests do).
    GameLauncher l = it->second;
    return l(host);
}

void ClearGameLaunchers()
{
    launchers().clear();
}

bool OpenSettingsAtStart(const TGameHost& host, bool autoProgress)
{
    return host.SetUpOpenStart() && !(autoProgress && host.MatchLength() > 1);
}
