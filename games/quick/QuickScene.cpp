// The scene pieces that the quick games share: sprites, shadows, cheering figures, the title and the
// goal banner. Each game places them where its own scene wants them.
#include "QuickGame.h"

#include <algorithm>

void TQuickGameForm::ShowResultPlayers(int myIndex, int aiteIndex)
{
    GameHost().SetResultPlayers(myIndex, aiteIndex);
}

void TQuickGameForm::LoadPictureStrip(TImageList& list, const QString& resource)
{
    list.Clear();
    const QImage strip = ResourceBitmap(resource);
    for (int x = 0; x + list.Width() <= strip.width(); x += list.Width()) list.AddMasked(strip.copy(x, 0, list.Width(), list.Height()));
}

void TQuickGameForm::LoadSprite(TBitmap& bmp, const char* resource, QSize ifMissing)
{
    bmp.LoadFromResourceName(QString::fromLatin1(resource));
    if (bmp.Empty() && !ifMissing.isEmpty()) bmp.SetSize(ifMissing.width(), ifMissing.height());
    bmp.Transparent = true;
}

void TQuickGameForm::MakeEllipseSprite(TBitmap& bmp, int w, int h, TColor fill, TColor edge)
{
    bmp.SetSize(w, h);
    TCanvas& c = bmp.Canvas();
    c.Brush.Color = clWhite;
    c.FillRect(0, 0, w, h);
    c.Brush.Color = fill;
    c.Pen.Color = edge;
    c.Ellipse(0, 0, w, h);
    bmp.Transparent = true;
}

void TQuickGameForm::CopyToBack(const TBitmap& picture)
{
    CopyImageRows(m_back.Image(), picture.Image());
}

void TQuickGameForm::makeShadow()
{
    const TColor grey = RGBColor(128, 128, 128);
    MakeEllipseSprite(m_shadow, 46, 12, grey, grey);
}

void TQuickGameForm::DrawShadow(int x, int y)
{
    m_back.Canvas().Draw(x + 12, y + 61, m_shadow);
}

void TQuickGameForm::DrawFigure(int k, int x, int y, int frame, int dy)
{
    imlMyChara.Draw(m_back.Canvas(), x, y + dy, 2 * k + frame);
}

void TQuickGameForm::DrawFigureJumping(int k, int x, int y, int phase)
{
    DrawFigure(k, x, y, phase, -10 * phase);
    imlEffect.Draw(m_back.Canvas(), x + 50 + 5 * RandomInt(2), y - 5, 1);
}

void TQuickGameForm::DrawFigureSad(int k, int x, int y)
{
    DrawFigure(k, x, y, 0);
    imlEffect.Draw(m_back.Canvas(), x + 50, y + 10, 0);
}

void TQuickGameForm::MakeTitle(int points)
{
    TFont f = m_back.Canvas().Font;
    f.Name = GameHost().FontName();
    f.SetSize(points);
    f.Color = clYellow;
    TBitmap probe(1, 1);
    probe.Canvas().Font = f;
    const int w = probe.Canvas().TextWidth(Hint) + 4, h = probe.Canvas().TextHeight(Hint) + 4;
    m_title.SetSize(std::max(1, w), std::max(1, h));
    TCanvas& c = m_title.Canvas();
    c.Brush.Color = clWhite;
    c.FillRect(0, 0, m_title.Width(), m_title.Height());
    c.Brush.Style = TBrushStyle::bsClear;
    c.Font = f;
    for (int dy = 0; dy <= 4; dy += 2)
        for (int dx = 0; dx <= 4; dx += 2)
            if (dx != 2 || dy != 2) c.TextOut(dx, dy, Hint);
    c.Font.Color = clBlue;
    c.TextOut(2, 2, Hint);
    c.Brush.Style = TBrushStyle::bsSolid;
    m_title.Transparent = true;
}

void TQuickGameForm::DrawTitle(int faceY)
{
    m_back.Canvas().Draw((m_back.Width() - m_title.Width()) / 2, faceY - 2, m_title);
}

void TQuickGameForm::DrawGoalBanner(int x, int y)
{
    m_back.Canvas().Draw(x, y, m_goalBmp);
}
