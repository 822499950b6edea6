// The life of a baseball game: its start, the timer tick, the user's input and the step from one
// plate appearance to the next.
#include "BaseballGame.h"
#include "BallPlay.h"
#include "Statistics.h"

#include <QtCore/qnamespace.h>
#include <algorithm>

namespace bb {

TBaseBallGame::TBaseBallGame() : Spots(DefaultSpots()), FoulSpots(kFoulSpots), m_playRules(std::make_unique<TBallPlay>())
{
    UpdateEquipmentOffsets();
}

TBaseBallGame::~TBaseBallGame() = default;

void TBaseBallGame::Create()
{
    BallChance = RandomInt(3) + 2;
}

void TBaseBallGame::NewGame(int aiteSheetWidth, int mySheetWidth)
{
    const auto random = [this](int n) { return RandomInt(n); };
    Teams[0] = MakeTeamImages(aiteSheetWidth, random);
    Teams[1] = MakeTeamImages(mySheetWidth, random);

    for (auto& row : LineScore) row.fill(-2);
    LineScore[0][0] = -1;
    LineArchive.clear();
    Runs = {};
    Hits = {};
    Errors = {};
    OrderPosition = {};
    TagUp = {};
    BattingSide = 0;
    FieldingSide = 1;
    Inning = 0;
    StartFlag = 0;
    Outs = 0;
    Winner = kNoWinner;
    EndCounter = -1;
    Opening = true;
    OpeningTicks = 0;
    TickCount = 0;
    Paused = false;
    BaseFlags = {};
    RunnerByte = 0;
    RunnerImage.fill(-1);
    Play = TPlayState{};
    BenchOut = false;
    Reported = false;
    Stats = {};
    for (auto& side : Stats) side[stScoredEveryInning] = 1;
    StatisticsFlag = false;
    FullLineScore = false;
    CourseBuffer = kNoCourse;
    HitsThisHalf = 0;
    InningItem = 2;
    SlotAtBats = {};
    SlotHits = {};
    Spots = DefaultSpots();
    FoulSpots = kFoulSpots;

    AssignBatterPowers();
    PlaySound(TBallSound::Opening);
    StartAtBat();
    SetStartInning(InningItem);
}

bool TBaseBallGame::SetStartInning(int item)
{
    if (!Opening || item < 0 || item >= int(kStartInnings.size())) return false;
    Inning = kStartInnings[size_t(item)];
    StartFlag = item == 5 ? 1 : 0;
    for (int i = 0; i < 10; ++i)
        for (auto& row : LineScore) row[size_t(i)] = i < Inning ? 0 : -2;
    LineScore[0][size_t(Inning)] = -1;
    InningItem = item;
    return true;
}

void TBaseBallGame::Tick()
{
    if (Paused) return;
    if (Opening) {
        tickOpening();
        return;
    }
    ++TickCount;
    const int last = BenchOut ? kActorCount : kFieldActors;
    for (int i = 0; i < last; ++i) StepActor(i);
    m_playRules->MoveBall(*this);
    SortByBallDistance();
    drawScene();
    m_playRules->PlayEnd(*this);
    commitUserCourse();
}

void TBaseBallGame::tickOpening()
{
    if (OpeningTicks < kOpeningTicks) ++OpeningTicks;
    else if (!(Services.InningListDropped && Services.InningListDropped())) {
        Opening = false;
        if (Services.SetManualPlay) Services.SetManualPlay(!Auto);
        if (Services.SetOptionIndex) Services.SetOptionIndex(InningItem);
    }
    drawScene();
}

void TBaseBallGame::commitUserCourse()
{
    // The pitcher holds at the start of his wind-up until the user's course is committed; a course
    // chosen from the keys can still change until then.
    if (UserCourse != kNoCourse) return;
    Settle = std::min(Settle + 1, 3); // only whether it has passed 2 matters
    if (Settle > 2) {
        UserCourse = CourseBuffer;
        Actors[kPitcher].Action = acPitching;
        Actors[kPitcher].Step = 0;
    }
}

void TBaseBallGame::drawScene()
{
    if (Services.DrawScene) Services.DrawScene();
}

void TBaseBallGame::PlaySound(TBallSound s)
{
    const bool on = s == TBallSound::Kansei || s == TBallSound::FinalCheer ? CheerOn : SoundOn;
    if (on && Services.Sound) Services.Sound(s);
}

void TBaseBallGame::MouseDown(QPoint p)
{
    if (CourseBuffer == kNoCourse) {
        const int course = CourseAt(p, false);
        if (course >= 0) {
            CourseBuffer = course;
            PanelStage = 1;
        } else if (kTagUpButton.Contains(p)) {
            ToggleTagUp();
        }
    }
    if (kOrderToggle.Contains(p)) ShowAverage = !ShowAverage;
}

void TBaseBallGame::MouseMove(QPoint p)
{
    if (Auto) return;
    Hover = CourseAt(p, UserBats());
}

bool TBaseBallGame::KeyDown(int key)
{
    if (key == Qt::Key_Escape) {
        TogglePause();
        return true;
    }
    if (key == Qt::Key_Period) {
        ToggleTagUp();
        return true;
    }
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        DigitKey(key - Qt::Key_0);
        return true;
    }
    return false;
}

void TBaseBallGame::DigitKey(int digit)
{
    if (!Auto && digit >= 0 && digit <= 9) CourseBuffer = digit;
}

QString TBaseBallGame::CaptionFor(const QString& hint) const
{
    return Paused ? hint + QStringLiteral("  ※Pause※") : hint;
}

void TBaseBallGame::SetAuto(bool on)
{
    Auto = on;
    if (on) {
        if (UserBats()) TagUp[1] = ChooseTagUp(1);
        CourseBuffer = ChooseCourse(1);
    } else if (!Play.PlanMade && Actors[kPitcher].Step <= 10) {
        // Before the wind-up is far along the user takes over the choice.
        UserCourse = ComCourse = kNoCourse;
        CourseBuffer = kNoCourse;
        Hover = -1;
    }
    if (Services.ManualPlay && Services.SetManualPlay && Services.ManualPlay()) Services.SetManualPlay(!Auto);
}

void TBaseBallGame::ClosePlateAppearance()
{
    UpdateBattingStats();
    // After a foul the same batter bats again with the runners where they stood.
    if (Play.FoulKind == 0) {
        const int batted = BattingSide;
        if (Outs >= 3) {
            ChangeSides();
        } else {
            std::array<int, 4> images = RunnerImage;
            BaseFlags = HeldBases(&images);
            RunnerImage = images;
        }
        ++OrderPosition[size_t(batted)];
    }
    StartAtBat();
}

std::array<bool, 4> TBaseBallGame::HeldBases(std::array<int, 4>* images) const
{
    std::array<bool, 4> held{};
    for (int i = kBatter; i < kBench0; ++i) {
        const TBallActor& a = Actors[size_t(i)];
        if (a.BasesToRun == kNotRunning || a.Picture < 0 || (i == kBatter && Play.BatterOut)) continue;
        int base = a.Base;
        // A runner still on his way to his last base will stand on it; one running elsewhere will not.
        if (a.Action == acMoveToPos && a.Role != spOverrun) base = a.Role >= spRunFirst && a.Role <= spRunThird && a.BasesToRun == 1 ? a.Role - 13 : 0;
        if (base < 1 || base > 3 || !Play.BaseFlags[size_t(base)]) continue;
        held[size_t(base)] = true;
        const int m = Teams[size_t(a.Side)].MirrorOffset();
        if (images && m > 0) (*images)[size_t(base)] = (a.Picture % m) / 2 * 2;
    }
    return held;
}

void TBaseBallGame::ChangeSides()
{
    Outs = 0;
    if (LineCell(BattingSide) == -1) LineCell(BattingSide) = 0;
    BaseFlags = {};
    if (BattingSide == 1) {
        BattingSide = 0;
        ++Inning;
        AssignBatterPowers();
        if (Inning % 10 == 0) {
            // The board shows ten innings; a full one goes to the archive and starts empty.
            for (int i = 0; i < 10; ++i) LineArchive.push_back({LineScore[0][size_t(i)], LineScore[1][size_t(i)]});
            for (auto& row : LineScore) row.fill(-2);
        }
    } else {
        BattingSide = 1;
    }
    FieldingSide = 1 - BattingSide;
    if (LineCell(BattingSide) == -2) LineCell(BattingSide) = -1;
    HitsThisHalf = 0;
    PlaySound(TBallSound::Change);
}

} // namespace bb
