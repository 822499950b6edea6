// The boards over the field: the batting-data panel with the game time, the whole line score of a
// long game, and the banner of the game's end.
#include "BaseBallScene.h"

#include "Statistics.h"

#include <algorithm>

using namespace bb;

namespace {

constexpr int kFieldRight = 605; // the field left of the right-hand panel
constexpr TColor kPanelBack = RGBColor(20, 26, 50);
constexpr TColor kPanelFrame = RGBColor(160, 174, 214);
constexpr TColor kPanelText = RGBColor(236, 240, 252);
constexpr TColor kTimeText = RGBColor(255, 214, 64);
constexpr TColor kAiteColor = RGBColor(255, 120, 110);
constexpr TColor kMyColor = RGBColor(120, 190, 255);
constexpr TColor kBoardYellow = RGBColor(255, 236, 110);
constexpr TColor kBoardInk = RGBColor(40, 30, 10);

// Panel geometry: two columns of rows in a fixed-pitch font, the figures under "相手 自分"; at the
// bottom right of the field, clear of the batter's box.
constexpr int kDataPixels = 15;  // size 11
constexpr int kDataRight = 600, kDataTop = 410, kDataBottom = 589;
constexpr int kRowTop = 467, kRowBottom = 570;

} // namespace

void TBaseBallScene::drawData(const TBaseBallGame& g, const TSceneOptions& o)
{
    TCanvas& c = m_back.Canvas();
    c.Font.Name = m_fontName;
    c.Font.PixelHeight = kDataPixels;
    c.Font.Bold = false;
    const int cw = std::max(1, c.TextWidth(QStringLiteral("0"))); // one half-width column
    const int left = kDataRight - 40 * cw - 14;
    const int leftX = left + 8, rightX = leftX + 20 * cw;
    c.Brush.Color = kPanelBack;
    c.FillRect(left, kDataTop, kDataRight, kDataBottom);
    c.Brush.Color = kPanelFrame;
    c.FrameRect(left, kDataTop, kDataRight, kDataBottom);
    text(c, leftX, 418, QStringLiteral("試合時間"), kDataPixels, kPanelText, true);
    text(c, leftX + 10 * cw, 418, FormatGameTime(o.GameTimeMs, 1), kDataPixels, kTimeText, true);
    // Column heads over each column's two figures: the labels are 8 and 10 columns wide.
    for (const auto& [x, labelCols] : {std::pair{leftX, 8}, std::pair{rightX, 10}}) {
        text(c, x + labelCols * cw, 446, QStringLiteral("相手"), kDataPixels, kAiteColor, true);
        text(c, x + (labelCols + 5) * cw, 446, QStringLiteral("自分"), kDataPixels, kMyColor, true);
    }
    for (int column = 0; column < 2; ++column) {
        const std::vector<QString> rows = StatisticsRows(g, column);
        const int n = int(rows.size());
        for (int i = 0; i < n; ++i) {
            const int y = kRowTop + i * (kRowBottom - kRowTop) / 7;
            text(c, column == 0 ? leftX : rightX, y, rows[size_t(i)], kDataPixels, kPanelText);
        }
    }
}

void TBaseBallScene::drawFullLineScore(const TBaseBallGame& g)
{
    constexpr int kCell = 23, kGap = 9, kRow = 26, kPixels = 19; // size 14
    const std::vector<std::array<int, 2>> innings = g.AllInnings();
    const int n = int(innings.size());
    TBitmap probe(1, 1);
    probe.Canvas().Font.Name = m_fontName;
    probe.Canvas().Font.PixelHeight = kPixels;
    probe.Canvas().Font.Bold = true;
    const int labelW = probe.Canvas().TextWidth(QStringLiteral("相手")) + 12;
    const int totalW = probe.Canvas().TextWidth(QStringLiteral("888")) + 12;
    auto cellX = [&](int i) { return labelW + 4 + i * kCell + (i / 3) * kGap; };
    const int width = cellX(n) + 4 + totalW, height = 2 * kRow + 4;

    TBitmap board(width, height);
    TCanvas& c = board.Canvas();
    c.Brush.Color = kBoardYellow;
    c.FillRect(0, 0, width, height);
    c.Pen.Color = kBoardInk;
    c.MoveTo(0, 2 + kRow);
    c.LineTo(width, 2 + kRow);
    c.MoveTo(labelW, 0);
    c.LineTo(labelW, height);
    c.MoveTo(width - totalW, 0);
    c.LineTo(width - totalW, height);
    for (int side = 0; side < 2; ++side) {
        const int y = 2 + side * kRow + (kRow - kPixels) / 2; // "相手" on top, the user's row below
        centredText(c, 0, labelW, y, side == 0 ? QStringLiteral("相手") : QStringLiteral("自分"), kPixels, kBoardInk, true);
        for (int i = 0; i < n; ++i) {
            const int runs = innings[size_t(i)][size_t(side)];
            QString cell = runs >= 0 ? QString::number(runs) : QString();
            if (side == 1 && i == n - 1 && g.LastCellMarked()) cell += QLatin1Char('x');
            if (!cell.isEmpty()) centredText(c, cellX(i), cellX(i) + kCell, y, cell, kPixels, kBoardInk);
        }
        centredText(c, width - totalW, width, y, QString::number(g.Runs[size_t(side)]), kPixels, kBoardInk, true);
    }
    // Centred over the field in a frame.
    const int x = std::max(4, (kFieldRight - width) / 2), y = 115;
    TCanvas& back = m_back.Canvas();
    back.Brush.Color = RGBColor(120, 60, 20);
    back.FillRect(x - 4, y - 4, x + width + 4, y + height + 4);
    back.Draw(x, y, board);
}

void TBaseBallScene::drawEndBanner(const TBaseBallGame& g)
{
    const QString s = g.EndBannerText();
    if (s != m_endBannerText || m_endBanner.Empty()) {
        m_endBannerText = s;
        constexpr int kPixels = 40;
        TBitmap probe(1, 1);
        probe.Canvas().Font.Name = m_fontName;
        probe.Canvas().Font.PixelHeight = kPixels;
        probe.Canvas().Font.Bold = true;
        const int w = probe.Canvas().TextWidth(s) + 56, h = kPixels + 28;
        m_endBanner.SetSize(w, h);
        TCanvas& c = m_endBanner.Canvas();
        c.Brush.Color = clWhite;
        c.FillRect(0, 0, w, h);
        c.Brush.Color = RGBColor(120, 16, 24);
        c.FillRect(0, 4, w, h - 4);
        c.Brush.Color = RGBColor(214, 36, 44);
        c.FillRect(4, 8, w - 4, h - 8);
        c.Brush.Color = RGBColor(255, 226, 40);
        c.FrameRect(8, 12, w - 8, h - 12);
        for (int dy = -2; dy <= 2; dy += 2)
            for (int dx = -2; dx <= 2; dx += 2)
                if (dx || dy) centredText(c, 0, w, (h - kPixels) / 2 + dy, s, kPixels, RGBColor(90, 10, 10), true);
        centredText(c, 0, w, (h - kPixels) / 2, s, kPixels, RGBColor(255, 236, 90), true);
        m_endBanner.Transparent = true;
    }
    m_back.Canvas().Draw((kFieldRight - m_endBanner.Width()) / 2, 250, m_endBanner);
}
