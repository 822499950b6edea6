// Plays the game program as a user does, from inside it: built together with the program's own
// main() into a helper of sound_server_test, it watches the windows on a timer and clicks and presses
// keys as POLY_DRIVE says:
//   game   checks 自動進行, starts まと当て, lets it run to its result (or closes it once the file that
//          POLY_CLOSE_WHEN names is there) and closes the result with Esc;
//   early  starts ＰＫ戦, closes its window while it plays, and clicks the result's 閉じる;
//   menu   presses Esc on the menu.
// The program then ends by its own way out, as after any run.
#include "UnitGame.h"
#include "UnitGameWinMes.h"
#include <QApplication>
#include <QFileInfo>
#include <QTest>
#include <QTimer>

namespace {

enum class Stage { Menu, Game, Result, Done };

// A click that opens a modal window returns only when that window closes; it runs from a timer of
// its own so that the watching timer goes on meanwhile.
void later(std::function<void()> act)
{
    QTimer::singleShot(0, qApp, std::move(act));
}

QWidget* runningGame()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && qobject_cast<Form*>(w) && w != FormGame && w != FormGameWinMes) return w;
    return nullptr;
}

void watch(const QByteArray& way, Stage& stage, int& ticksInGame, bool& closing)
{
    switch (stage) {
    case Stage::Menu:
        if (!FormGame || !FormGame->isVisible()) return;
        if (way == "menu") {
            later([] { QTest::keyClick(FormGame, Qt::Key_Escape); });
            stage = Stage::Done;
            return;
        }
        if (way == "game") QTest::mouseClick(FormGame->cbAuto, Qt::LeftButton);
        later([way] { QTest::mouseClick(way == "game" ? FormGame->bbMato : FormGame->bbPK, Qt::LeftButton); });
        stage = Stage::Game;
        return;
    case Stage::Game:
        if (QWidget* game = runningGame()) {
            // Long enough for the opening sound to reach the server.
            const bool early = way == "early" && ++ticksInGame == 20;
            // The test has heard what it listens for and needs no more of the game.
            const QString enough = qEnvironmentVariable("POLY_CLOSE_WHEN");
            const bool heard = !closing && !enough.isEmpty() && QFileInfo::exists(enough);
            if (early || heard) {
                closing = true;
                later([game] { game->close(); });
            }
        }
        if (FormGameWinMes && FormGameWinMes->isVisible()) stage = Stage::Result;
        return;
    case Stage::Result:
        if (way == "game") later([] { QTest::keyClick(FormGameWinMes, Qt::Key_Escape); });
        else later([] { QTest::mouseClick(FormGameWinMes->btClose, Qt::LeftButton); });
        stage = Stage::Done;
        return;
    case Stage::Done:
        return;
    }
}

void startDriving()
{
    const QByteArray way = qgetenv("POLY_DRIVE");
    auto* timer = new QTimer(QCoreApplication::instance());
    timer->setInterval(100);
    QObject::connect(timer, &QTimer::timeout, [way, stage = Stage::Menu, ticks = 0, closing = false]() mutable { watch(way, stage, ticks, closing); });
    timer->start();
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(startDriving)
