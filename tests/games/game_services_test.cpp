// Every game form hands its rules the services that all games share, and those reach the host: the
// random service, the runtime generator, the wait, the manual-play flag, the option index, the mode
// bits and the result report.
#include "Clock.h"
#include "FakeGameHost.h"
#include "UnitBaseBall.h"
#include "UnitGolf.h"
#include "UnitHurdle.h"
#include "UnitKakure.h"
#include "UnitMato.h"
#include "UnitPK.h"
#include "UnitRun.h"
#include "UnitSoccer.h"
#include <QTemporaryDir>
#include "TestDoubles.h"
#include <gtest/gtest.h>
#include <functional>
#include <memory>

namespace {

// A game's form and the shared services its rules hold.
struct FormAndServices {
    std::unique_ptr<TGameForm> form;
    TGameServices* rules = nullptr;
};

template <class TForm>
FormAndServices Make(const std::function<TGameServices&(TForm&)>& rules)
{
    auto form = std::make_unique<TForm>(nullptr);
    TGameServices* s = &rules(*form);
    return {std::move(form), s};
}

struct Row {
    const char* name;
    std::function<FormAndServices()> make;
};

const Row kRows[] = {
    {"PK", [] { return Make<TFormPK>([](TFormPK& f) -> TGameServices& { return f.Match(); }); }},
    {"Kakure", [] { return Make<TFormKakure>([](TFormKakure& f) -> TGameServices& { return f.Game(); }); }},
    {"Run", [] { return Make<TFormRun>([](TFormRun& f) -> TGameServices& { return f.Race(); }); }},
    {"Golf", [] { return Make<TFormGolf>([](TFormGolf& f) -> TGameServices& { return f.Match(); }); }},
    {"Mato", [] { return Make<TFormMato>([](TFormMato& f) -> TGameServices& { return f.Game(); }); }},
    {"Hurdle", [] { return Make<TFormHur>([](TFormHur& f) -> TGameServices& { return f.Race(); }); }},
    {"BaseBall", [] { return Make<TFormBaseBall>([](TFormBaseBall& f) -> TGameServices& { return f.Game().Services; }); }},
    {"Soccer", [] { return Make<TFormSoccer>([](TFormSoccer& f) -> TGameServices& { return f.Engine().Svc; }); }},
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

} // namespace
