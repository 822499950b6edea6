// Counting each plate appearance into the statistics, the pitching achievements, and the rows of the
// batting-data panel.
#include "Statistics.h"
#include "BaseballGame.h"

#include <algorithm>

namespace bb {

namespace {

// Round(count x scale / max(1, of)) with halves to even, in integers.
qint64 Ratio(int count, int of, int scale)
{
    const qint64 n = qint64(std::max(count, 0)) * scale, d = std::max(1, of);
    qint64 q = n / d;
    const qint64 twice = 2 * (n % d);
    if (twice > d || (twice == d && (q & 1))) ++q;
    return q;
}

QByteArray Percent(int count, int of)
{
    return QByteArray::number(Ratio(count, of, 100)) + '%';
}

} // namespace

int ThousandAverage(int count, int of)
{
    return int(std::min<qint64>(Ratio(count, of, 1000), 999));
}

void TBaseBallGame::UpdateBattingStats()
{
    if (Play.StatsCounted) return;
    Play.StatsCounted = true;
    const size_t s = size_t(BattingSide);
    auto& st = Stats[s];
    const int r = Ball.PlayResult;
    const size_t slot = size_t(CurrentSlot());
    const bool bunt = r == prBunt, walk = r == prWalk;
    const size_t marks = Play.OutMarks.size();
    if (Play.FoulKind == 0) {
        ++st[stPlateAppearances];
        if (!bunt && !walk) {
            ++st[stAtBats];
            ++SlotAtBats[s][slot];
        }
        st[stAverage] = ThousandAverage(Hits[s], st[stAtBats]);
        if (r == prHomeRun && !Play.FenceCatch.Robbed) ++st[stHomeRuns], ++SlotHits[s][slot];
        else if (r == prTriple) ++st[stTriples], ++SlotHits[s][slot];
        else if (r >= prGroundLeftLine && r <= prRightCentreCentre) ++st[stDoubles], ++SlotHits[s][slot];
        else if (walk) ++st[stWalks];
        else if (r == prStrikeout) ++st[stStrikeouts];
        const int singles = std::max(0, Hits[s] - st[stHomeRuns] - st[stDoubles] - st[stTriples]);
        if (singles > st[stSingles]) ++SlotHits[s][slot];
        st[stSingles] = singles;
        if ((Play.PlayKind == pkHit || Play.PlayKind == pkWalk) && marks < 2) ++st[stTimesOnBase];
        // Every plate appearance moves it, whether the batter reached base or not.
        st[stOnBaseAverage] = ThousandAverage(st[stTimesOnBase], st[stPlateAppearances]);
        if (r <= 5 && marks >= 2) ++st[marks >= 3 ? stTriplePlays : stDoublePlays];
        if (PitchingCourse() == 0) ++st[stIntentionalWalks];
        if (Outs >= 3) {
            if (HitsThisHalf > 1) ++st[stMultiHitInnings];
            const std::array<bool, 4> held = HeldBases();
            st[stLeftOnBase] += int(held[1]) + int(held[2]) + int(held[3]);
            if (LineCell(BattingSide) == -1) st[stScoredEveryInning] = 0;
        }
        if (Power >= 8) {
            ++st[stChancePlateAppearances];
            if (!bunt && !walk) ++st[stChanceAtBats];
            st[stChanceAverage] = ThousandAverage(st[stChanceHits], st[stChanceAtBats]);
        }
    }
    ++st[stCourseGuesses];
    if (CourseMatches(1, true) || CourseMatches(2, Power >= 8)) ++st[stCourseHits];
}

int TBaseBallGame::PitchingAchievement(int side) const
{
    const size_t s = size_t(side);
    if (InningItem != 0 || Stats[0][stPlateAppearances] < 27 || Runs[s] > 0) return 0;
    if (Hits[s] > 0) return 1;
    if (Errors[size_t(1 - side)] > 0 || Stats[s][stWalks] > 0) return 2;
    return 3;
}

QString TBaseBallGame::EndBannerText() const
{
    static const char* const kNames[4] = {"", "完封試合", "ﾉｰﾋｯﾄﾉｰﾗﾝ", "完全試合"};
    // Against the computer's side the user's pitchers achieved it; against the user's, the computer's.
    if (const int a = PitchingAchievement(0)) return QString::fromUtf8(kNames[a]) + QStringLiteral("達成");
    if (const int a = PitchingAchievement(1)) return QString::fromUtf8(kNames[a]);
    return QStringLiteral("試 合 終 了");
}

std::vector<QString> StatisticsRows(const TBaseBallGame& g, int column)
{
    const auto& a = g.Stats[0];
    const auto& b = g.Stats[1];
    auto pair = [&](const char* format, TStat k) { return QString::asprintf(format, a[k], b[k]); };
    if (column == 0) {
        const QByteArray walksA = QStringLiteral("%1(%2)").arg(a[stWalks]).arg(a[stIntentionalWalks]).toLatin1();
        const QByteArray walksB = QStringLiteral("%1(%2)").arg(b[stWalks]).arg(b[stIntentionalWalks]).toLatin1();
        return {pair("打数    %-4d %-4d", stAtBats),
                pair("打率   .%.3d .%.3d", stAverage),
                pair("ﾎｰﾑﾗﾝ   %-4d %-4d", stHomeRuns),
                pair("3塁打   %-4d %-4d", stTriples),
                pair("2塁打   %-4d %-4d", stDoubles),
                pair("1塁打   %-4d %-4d", stSingles),
                QString::asprintf("ﾌｫｱﾎﾞｰﾙ %-5s%-5s", walksA.constData(), walksB.constData())};
    }
    const QByteArray courseA = Percent(a[stCourseHits], a[stCourseGuesses]);
    const QByteArray courseB = Percent(b[stCourseHits], b[stCourseGuesses]);
    return {pair("三振      %-4d %-4d", stStrikeouts),
            pair("ﾀﾞﾌﾞﾙﾌﾟﾚｲ %-4d %-4d", stDoublePlays),
            pair("ﾄﾘﾌﾟﾙﾌﾟﾚｲ %-4d %-4d", stTriplePlays),
            pair("出塁率   .%.3d .%.3d", stOnBaseAverage),
            pair("ﾏﾙﾁﾋｯﾄ回  %-4d %-4d", stMultiHitInnings),
            pair("ﾁｬﾝｽ打数  %-4d %-4d", stChanceAtBats),
            pair("ﾁｬﾝｽ打率 .%.3d .%.3d", stChanceAverage),
            QString::asprintf("ｺｰｽ的中   %-4s %-4s", courseA.constData(), courseB.constData())};
}

} // namespace bb
