#pragma once
// The rules of the baseball game: a plain class that a test ticks without a window. The form feeds it
// the user's choices, draws its state and lends it the random service, the sounds and the waits
// through the hooks. The computer's team "相手" is side 0 and bats first; the user's "自分" is side 1.
//
// Each plate appearance is a guessing duel on the course panel (this class); what the batted ball,
// the fielders and the runners then do, and how the play ends, plugs in through TPlayRules.
#include "BaseballPictures.h"
#include "BaseballTypes.h"
#include "GameServices.h"
#include "PlayRules.h"
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <vector>

namespace bb {

// What the game asks of the program around it: the services every game asks for (RandomInt and
// SystemRandomInt draw from the random service and the runtime generator), and its own. Each hook
// may be left empty: random draws are then 0, sounds and waits do nothing. The result report is the
// mode bits and $2007 when the user's team won, else $1007; the form then ends its run.
struct TBallServices : TGameServices {
    std::function<void(TBallSound)> Sound;
    std::function<void()> DrawScene;
    std::function<bool()> InningListDropped; // the start-inning list is open: the opening waits
    std::function<void()> StopTimer;       // the game's timer stops for good: the game is over
};

constexpr int kOpeningTicks = 40;
constexpr int kNoWinner = 255;
constexpr int kStatCount = 24; // statistics per side
// Items of the start-inning list and the inning index each starts at.
constexpr std::array<int, 6> kStartInnings{0, 2, 4, 6, 7, 8};

class TBaseBallGame {
public:
    TBaseBallGame();
    ~TBaseBallGame();

    TBallServices Services;
    // The rules of the play after the pitch (TBallPlay).
    TPlayRules& PlayRules() { return *m_playRules; }

    // Settings.
    bool Auto = false;       // "自動進行": the computer also plays the user's side
    bool SoundOn = true;     // sound effects
    bool CheerOn = true;     // crowd cheers
    int InningItem = 2;      // the start-inning list's item

    // Sides and teams.
    int BattingSide = 0;
    int FieldingSide = 1;
    std::array<TTeamPictures, 2> Teams;
    std::array<TPictureOffsets, 2> Offsets;
    TEquipment Equipment;
    int BallChance = 2;                          // 2-4, drawn once for the game's life
    std::array<std::array<int, 9>, 2> SlotPower{}; // 0-10 per side and batting-order slot, redrawn every inning
    int Power = 0;                               // the current batter's, held for the plate appearance
    std::array<int, 2> OrderPosition{};          // plate appearances per side; slot = position mod 9
    std::array<std::array<int, 9>, 2> SlotAtBats{};
    std::array<std::array<int, 9>, 2> SlotHits{};
    std::array<bool, 2> TagUp{};                 // the runner on third runs home on a caught fly

    // Score and innings.
    std::array<std::array<int, 10>, 2> LineScore{}; // -2 not played, -1 in progress without a run, else runs
    std::vector<std::array<int, 2>> LineArchive;    // one pair per inning of the boards already filled
    std::array<int, 2> Runs{}, Hits{}, Errors{};
    int Inning = 0;         // 0-based inning index
    int StartFlag = 0;      // 1 when the game began in the ninth
    int Outs = 0;
    int Winner = kNoWinner;
    int EndCounter = -1;
    int HitsThisHalf = 0;
    bool Opening = false;
    int OpeningTicks = 0;
    int TickCount = 0;
    bool Paused = false;
    bool BenchOut = false;
    bool Reported = false;     // the result has gone to the program: nothing is reported twice

    // Statistics per side (see Statistics.h for what each counts), the panel forced on by the result
    // window's link, and the whole line score shown at the end of a long game.
    std::array<std::array<int, kStatCount>, 2> Stats{};
    bool StatisticsFlag = false;
    bool FullLineScore = false;

    // Bases: which are occupied, the runner byte (bits 16, 32, 64 for first to third, low nibble the
    // count), the picture of each base's runner (index 1-3) and the bench's pictures.
    std::array<bool, 4> BaseFlags{};
    int RunnerByte = 0;
    std::array<int, 4> RunnerImage{-1, -1, -1, -1};
    std::array<int, 5> BenchImage{-1, -1, -1, -1, -1};

    // The duel.
    int CourseBuffer = kNoCourse; // set by click, digit key or the auto choice
    int UserCourse = kNoCourse;   // committed from the buffer by the tick
    int ComCourse = kNoCourse;    // the computer's, drawn at the pitch's release
    int PanelStage = 0;           // 0 nothing, 1 the user's course, 2 the computer's revealed, 3 after contact
    int Hover = -1;               // course under the mouse, 10 the tag-up button
    int Settle = 3;               // ticks before the buffer is committed
    int BatFrame = 0;             // 0 at rest, 1-5 the swing
    bool ShowAverage = false;     // the batting-order panel shows averages instead of hits/at-bats

    // The field.
    TSpotTable Spots;
    std::array<QPoint, 7> FoulSpots;
    std::array<TBallActor, kActorCount> Actors;
    TBallRecord Ball;
    TPlayState Play;
    std::array<int, kFieldActors> Nearest{}; // actors 0-12 by ball distance, nearest first

    // Life of the game.
    void Create();                                    // the ball chance; before the first game
    void NewGame(int aiteSheetWidth, int mySheetWidth); // pictures, powers, first plate appearance, opening
    bool SetStartInning(int item);                    // false once the opening is over
    void Tick();                                      // one timer tick (100 ms)

    // The plate appearance.
    void StartAtBat();
    void AssignBatterPowers();
    int ChooseCourse(int side);
    bool ChooseTagUp(int side);
    bool CourseMatches(int kind, bool allowed) const;
    void StepActor(int actor);
    void DecideOutcome();                             // the batter's contact
    void SendRunner(int actor, int bases, bool cheer);

    // Pictures.
    void UpdateEquipmentOffsets();
    void SelectActorImage(int actor);
    void SetActorFrame(int actor, int frame);

    // Input from the form.
    void MouseDown(QPoint p);                         // left button on the field
    void MouseMove(QPoint p);
    bool KeyDown(int key);                            // true when the key was the rules' (Esc, '.', digits)
    void DigitKey(int digit);
    void ToggleTagUp() { TagUp[1] = !TagUp[1]; }
    void TogglePause() { Paused = !Paused; }
    QString CaptionFor(const QString& hint) const;
    void SetAuto(bool on);                            // the auto-progress check box was clicked

    // For the play rules: helpers of the actors' and the ball's moves, and the end of a plate appearance.
    void MoveActor(int actor);                        // one step towards the target; never overshoots
    void RenewBallDistance(int actor);
    void SortByBallDistance();
    void ClosePlateAppearance();                      // next batter (the same after a foul), sides change on three outs
    void ChangeSides();
    // The bases a batter or runner holds as the play leaves them (index 1-3), and the picture of each.
    std::array<bool, 4> HeldBases(std::array<int, 4>* images = nullptr) const;

    // Statistics, the end of the game and the result.
    void UpdateBattingStats();                        // counts the plate appearance that just ended, once
    int PitchingAchievement(int side) const;          // 0 none, 1 shutout, 2 no-hit no-run, 3 perfect game against side
    QString EndBannerText() const;                    // "試 合 終 了", or the pitching achievement
    void ShowGameRecord();                            // the result window's link: the statistics and the whole board
    std::vector<std::array<int, 2>> AllInnings() const; // every inning's cells so far, archived ones first
    bool LastCellMarked() const;                      // the user's last cell gets "x": the user's team won
    bool ShowsEndBanner() const;                      // the first ticks of the celebration
    void EndGame(int winner);                         // the end of the game begins (end counter 0)
    void Celebrate();                                 // one tick of the closing celebration
    void CloseEarly();                                // the window closes before the end: a loss unless already won
    int& LineCell(int side) { return LineScore[size_t(side)][size_t(Inning % 10)]; }
    void PlaySound(TBallSound s);

    // Questions about the state.
    bool UserBats() const { return BattingSide == 1; }
    int BattingCourse() const { return UserBats() ? UserCourse : ComCourse; }
    int PitchingCourse() const { return UserBats() ? ComCourse : UserCourse; }
    bool RunnerOn(int base) const { return BaseFlags[size_t(base)]; }
    int RunnerCount() const { return int(BaseFlags[1]) + int(BaseFlags[2]) + int(BaseFlags[3]); }
    bool BattingTrails() const { return Runs[size_t(BattingSide)] < Runs[size_t(FieldingSide)]; }
    int NextBatterPower() const;
    int CurrentSlot() const { return OrderPosition[size_t(BattingSide)] % 9; }

    int RandomInt(int n) { return Services.Random ? Services.Random(n) : 0; }
    int SystemRandomInt(int n) { return Services.RuntimeRandom ? Services.RuntimeRandom(n) : 0; }

private:
    std::unique_ptr<TPlayRules> m_playRules;

    void setUpActors();
    void setUpRunner(int base);
    void setUpBench();
    void stepPitcher();
    void stepBatter();
    void releasePitch();
    void batterLeaves();
    int batterCourseChoice();
    int pitcherCourseChoice();
    void decideBunt();
    void decideExactMatch(int k);
    void decideGoodContact(int k);
    void decideWeakContact();
    void tickOpening();
    void commitUserCourse();
    void drawScene();
    void startCelebration();
    void report();
    // The whole result code to the program: its mode bits and the winner.
    void reportResult();
};

// The kind of play and the bases the batter is sent for, from a settled outcome.
int PlayKindOf(const TBallRecord& ball, const TPlayState& play);
int BasesToAdvanceOf(const TBallRecord& ball, const TPlayState& play);

} // namespace bb
