#pragma once
// What the running race and the hurdle race share: the runners' pictures, the race's rules on the
// program's random service, the winner, the end of the opening and the photo finish.
#include "ImageList.h"
#include "QuickGame.h"
#include <utility>

// One random player of each team (mine first) in six pictures: 0 standing, 1 running, 2 and 3 the
// same facing left, 4 and 5 the same turned on their side for a fall. Returns the players chosen,
// mine and the opponent's, for the result window.
std::pair<int, int> MakeRunnerImages(TImageList& mine, TImageList& aite);

// The frame of a race's form; TRace is the race's rules (run::TRunRace, hur::THurdleRace).
template <class TRace>
class TRaceForm : public TQuickGameForm {
public:
    TBitmap imAsimotoA, imAsimotoB; // the photo of a close finish: my win, the opponent's

    TRace& Race() { return m_race; }
    const TRace& Race() const { return m_race; }

protected:
    TRaceForm(QWidget* owner, const TQuickGameTable& row) : TQuickGameForm(owner, row)
    {
        imAsimotoA.LoadFromResourceName(QStringLiteral("ASIMOTOABMP"));
        imAsimotoB.LoadFromResourceName(QStringLiteral("ASIMOTOBBMP"));
        ShareServices(m_race);
    }
    void MakeTeamImages() override
    {
        const auto [mine, aite] = MakeRunnerImages(imlA, imlB);
        ShowResultPlayers(mine, aite);
    }
    bool MyTeamDecidedWinner() const override { return m_race.Winner == 0; }
    void OpeningEnded() override { m_race.EndOpening(); }

    // "写真判定！" across the field while the photo is looked at, the photo at `photo` once it has
    // decided, and the goal banner at height bannerY sliding in by bannerStep a tick once the race
    // is decided.
    void DrawPhotoFinish(int textY, QPoint photo, int bannerStep, int bannerY)
    {
        TCanvas& c = m_back.Canvas();
        if (m_race.PhotoRunning()) {
            const QString text = QStringLiteral("写真判定！");
            c.Font.SetSize(32);
            c.Font.Bold = false;
            c.Font.Color = clBlue;
            c.Brush.Style = TBrushStyle::bsClear;
            c.TextOut((Table().FieldSize.width() - c.TextWidth(text)) / 2, textY, text);
            c.Brush.Style = TBrushStyle::bsSolid;
        }
        if (m_race.PhotoDecided()) c.Draw(photo.x(), photo.y(), m_race.Winner == 0 ? imAsimotoA : imAsimotoB);
        if (m_race.Decided()) DrawGoalBanner(imOmote->width() - bannerStep * m_race.FinishCounter, bannerY);
    }

    TRace m_race;
};
