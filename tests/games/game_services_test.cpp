// Every game form hands its rules the services that all games share, and those reach the host: the
// random service, the runtime generator, the wait, the manual-play flag, the option index, the mode
// bits and the result report. The forms reach the program for those through the same services: whole
// games played with the services taken over never ask the host for them.
#include "Clock.h"
#include "FakeGameHost.h"
#include "QuickGame.h"
#include "ServicesRecord.h"
#include "Sound.h"
#include "UnitBaseBall.h"
#include "UnitGolf.h"
#include "UnitHurdle.h"
#include "UnitKakure.h"
#include "UnitMato.h"
#include "UnitPK.h"
#include "UnitRun.h"
#include "UnitSoccer.h"
#include <QTemporaryDir>
#include <QTest>
#include "TestDoubles.h"
#include <gtest/gtest.h>
#include <functional>
#include <memory>
#include <type_traits>
#include <vector>

namespace {

// A game's form and the shared services its rules hold.
struct FormAndServices {
    std::unique_ptr<TGameForm> form;
    TGameServices* rules = nullptr;
};

template <class TForm>
using RulesOf = TGameServices& (*)(TForm&);

struct Row {
    const char* name;
    int gameNo, option; // the option index a whole game hands on; -1 for a game without one
    bool waits;         // a whole game pauses somewhere (the running race never does)
    std::function<FormAndServices()> make;
    // Runs the form as its launcher does, with the services its rules hold handed to the record (the
    // draws still from the host's random service), and plays the game out without the user's hand.
    std::function<quint16(TGameHost&, TServicesRecord&)> play;
};

// autoKey pressed `presses` times, once the opening has handed on the option, turns the computer's
// play on for the user's side; none for a game that plays itself out.
template <class TForm>
Row MakeRow(const char* name, int gameNo, int option, bool waits, Qt::Key autoKey, int presses, TForm*& global,
            std::type_identity_t<RulesOf<TForm>> rules)
{
    Row row{name, gameNo, option, waits, {}, {}};
    row.make = [rules] {
        auto form = std::make_unique<TForm>(nullptr);
        TGameServices* s = &rules(*form);
        return FormAndServices{std::move(form), s};
    };
    row.play = [&global, rules, autoKey, presses](TGameHost& host, TServicesRecord& rec) {
        GameTimer hand(nullptr, 100, presses > 0);
        int pressed = 0;
        hand.OnTimer = [&] {
            if (global && global->isVisible() && rec.option >= 0 && pressed < presses) {
                QTest::keyClick(global, autoKey);
                ++pressed;
            }
        };
        const std::function<void(TForm&)> takeOver = [&](TForm& f) {
            TGameServices& s = rules(f);
            rec.FillServices(s, s.Random, s.RuntimeRandom);
        };
        if constexpr (std::is_base_of_v<TQuickGameForm, TForm>) return RunQuickGameForm<TForm>(host, QString(), global, takeOver);
        else return RunGameForm<TForm>(host, QString(), global, takeOver, {});
    };
    return row;
}

const Qt::Key kNone = Qt::Key(0);
const Row kRows[] = {
    MakeRow<TFormPK>("PK", gnPK, -1, true, kNone, 0, FormPK, [](TFormPK& f) -> TGameServices& { return f.Match(); }),
    MakeRow<TFormKakure>("Kakure", gnKakure, -1, true, kNone, 0, FormKakure, [](TFormKakure& f) -> TGameServices& { return f.Game(); }),
    MakeRow<TFormRun>("Run", gnRun, 1, false, kNone, 0, FormRun, [](TFormRun& f) -> TGameServices& { return f.Race(); }),
    MakeRow<TFormGolf>("Golf", gnGolf, 1, true, Qt::Key_F3, 1, FormGolf, [](TFormGolf& f) -> TGameServices& { return f.Match(); }),
    MakeRow<TFormMato>("Mato", gnMato, 0, true, Qt::Key_F3, 1, FormMato, [](TFormMato& f) -> TGameServices& { return f.Game(); }),
    MakeRow<TFormHur>("Hurdle", gnHur, 2, true, Qt::Key_F3, 1, FormHur, [](TFormHur& f) -> TGameServices& { return f.Race(); }),
    // Baseball ends its run inside the report its form wraps: the report taken over must still be called.
    MakeRow<TFormBaseBall>("BaseBall", gnBaseBall, 2, true, Qt::Key_F3, 1, FormBaseBall,
                           [](TFormBaseBall& f) -> TGameServices& { return f.Game().Services; }),
    MakeRow<TFormSoccer>("Soccer", gnSoccer, 1, true, Qt::Key_F5, 3, FormSoccer,
                         [](TFormSoccer& f) -> TGameServices& { return f.Engine().Svc; }),
};

TEST(GameServicesTest, EveryFormsRulesReachTheHostThroughTheSharedServices)
{
    VirtualClock clock;
    clock.SetAutoRun(false);
    SetClock(&clock);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.name);
        FakeGameHost host;
        host.dataDir = dir.path() + QStringLiteral("/");
        FormAndServices game = row.make();
        TGameServices& s = *game.rules;
        ASSERT_TRUE(s.Random && s.RuntimeRandom && s.Sleep && s.ManualPlay && s.SetManualPlay && s.SetOptionIndex && s.ModeBits
                    && s.ReportResult);

        const int drawn = host.randomCount;
        const int r = s.Random(7);
        EXPECT_EQ(host.randomCount, drawn + 1);
        EXPECT_TRUE(r >= 0 && r < 7);
        const int runtime = s.RuntimeRandom(5);
        EXPECT_EQ(host.randomCount, drawn + 1); // the runtime generator is not the service's
        EXPECT_TRUE(runtime >= 0 && runtime < 5);

        const qint64 slept = clock.SleptMs();
        s.Sleep(250);
        EXPECT_EQ(clock.SleptMs() - slept, 250);

        host.manualPlay = true;
        EXPECT_TRUE(s.ManualPlay());
        s.SetManualPlay(false);
        EXPECT_FALSE(host.manualPlay);
        s.SetOptionIndex(3);
        EXPECT_EQ(host.optionIndex, 3);
        EXPECT_EQ(s.ModeBits(), host.GetModeBits());

        s.ReportResult(quint16(host.GetModeBits() + 0x1000 + 7));
        ASSERT_EQ(host.results.size(), 1u);
        EXPECT_EQ(host.results[0], 0x1B07); // lost, auto-played, option 3, game 7
    }
    SetClock(nullptr);
}

// A host that a game must not ask directly for what the services carry.
struct BypassedHost : FakeGameHost {
    using FakeGameHost::FakeGameHost;
    static bool Bypassed(const char* what)
    {
        ADD_FAILURE() << what << " asked of the host, not of the services";
        return true;
    }
    bool ManualPlay() const override { return Bypassed("ManualPlay"); }
    void SetManualPlay(bool) override { Bypassed("SetManualPlay"); }
    void SetOptionIndex(quint8) override { Bypassed("SetOptionIndex"); }
    quint16 GetModeBits() const override { return Bypassed("GetModeBits"); }
    void ShowGameResult(quint16) override { Bypassed("ShowGameResult"); }
};

TEST(GameServicesTest, WholeGamesHandResultFlagAndOptionToTheServicesAlone)
{
    VirtualClock clock;
    SetClock(&clock);
    RecordingSoundBackend sounds;
    Sound().SetBackend(&sounds);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.name);
        BypassedHost host(11);
        host.dataDir = dir.path() + QStringLiteral("/");
        TServicesRecord rec;
        rec.modeBits = 0x0500; // not the bits that the game's flag and option would give
        const quint16 result = row.play(host, rec);
        ASSERT_TRUE(result == mrYes || result == mrNo);
        EXPECT_EQ(rec.reports, std::vector<quint16>{quint16(0x0500 + (result == mrYes ? 0x2000 : 0x1000) + row.gameNo)});
        EXPECT_FALSE(rec.manual) << "played without the user's hand";
        EXPECT_EQ(rec.option, row.option);
        EXPECT_EQ(rec.slept > 0, row.waits);
    }
    Sound().SetBackend(nullptr);
    SetClock(nullptr);
}

} // namespace
