#include "BaseballPictures.h"

#include <algorithm>
#include <numeric>

namespace bb {

int SheetPlayerCount(int sheetWidth)
{
    if (sheetWidth < kFrameSize) return 0;
    return std::min(sheetWidth / kFrameSize, kMaxSheetFrames) / 2;
}

int TTeamPictures::ImageOfPosition(int position) const
{
    if (PlayerCount <= 0 || position < 0) return -1;
    return 2 * (position % PlayerCount);
}

TTeamPictures MakeTeamImages(int sheetWidth, const std::function<int(int)>& randomInt)
{
    TTeamPictures t;
    t.PlayerCount = SheetPlayerCount(sheetWidth);
    t.Order.resize(size_t(t.PlayerCount));
    std::iota(t.Order.begin(), t.Order.end(), 0);
    for (int i = 0; i < t.PlayerCount; ++i) {
        const int j = randomInt ? randomInt(t.PlayerCount) : 0;
        if (j >= 0 && j < t.PlayerCount) std::swap(t.Order[size_t(i)], t.Order[size_t(j)]);
    }
    for (int j = 0; j < 9; ++j) t.SlotImage[size_t(j)] = t.ImageOfPosition(j);
    return t;
}

TEquipment EquipmentFrom(const TPictureOffsets& fielding, const TPictureOffsets& batting)
{
    TEquipment e;
    for (int pose = 0; pose < 2; ++pose) e.PitcherHold[size_t(pose)] = fielding.Glove[size_t(pose)] + QPoint(10, 6);
    static constexpr QPoint kSwing[6] = {{0, 0}, {10, 0}, {20, 2}, {35, -5}, {20, -25}, {-20, -10}};
    for (int f = 0; f < 6; ++f) e.BatFrames[size_t(f)] = batting.Bat + kSwing[f];
    const int gloveY = fielding.Glove[0].y();
    e.FlyCatchBox = {-16, gloveY - 23, 16, gloveY - 1};
    e.FenceCatchHold = fielding.Glove[1] + QPoint(8, -21);
    return e;
}

QString BattingOrderText(int hits, int atBats, bool average)
{
    if (!average) return QStringLiteral(" %1/%2").arg(hits).arg(atBats);
    if (hits <= 0) return QStringLiteral(" .000");
    // A bunt that reaches base is a hit without an at-bat: the average is full, never above it.
    if (hits >= atBats) return QStringLiteral("1.000");
    return QStringLiteral(" .%1").arg(int(qint64(hits) * 1000 / atBats), 3, 10, QLatin1Char('0'));
}

QString FormatGameTime(qint64 ms, int step)
{
    if (ms < 0) ms = 0;
    if (step < 1) step = 1;
    const qint64 totalSeconds = ms / 1000;
    const qint64 minutes = (totalSeconds / 60) % 60;
    const qint64 seconds = (totalSeconds % 60) / step * step;
    return QStringLiteral("%1:%2").arg(minutes, 2, 10, QLatin1Char('0')).arg(seconds, 2, 10, QLatin1Char('0'));
}

} // namespace bb
