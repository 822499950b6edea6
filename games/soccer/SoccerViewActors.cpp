// The moving parts of the soccer scene: the pass line of an offside pause, the players and the ball
// by depth, the shot trace and flame, the replay's circle, the key labels and a question's choices,
// the chance balloons, the messages and the opening title.
#include "SoccerView.h"

#include "BitmapTools.h"
#include "SoccerReplay.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace soccer {

namespace {

constexpr int Px(int points) { return (points * 96 + 36) / 72; }
QColor qc(TColor c) { return ToQColor(c); }

const QColor kShadow(96, 110, 96);
const QColor kPassShadow(255, 255, 0);

// The team whose players celebrate: the winner's, or the scorer's after a goal.
int celebratingTeam(const TSoccerState& s)
{
    return s.FWinner >= 0 ? s.FWinner : s.FLastScorer.team;
}

bool ballAbove(const TSoccerState& s)
{
    if (s.FReplaying) return s.FReplayBallAbove;
    return s.Ball.Height > 0 || s.FHeadShot.Set() || s.KeeperHold[0] > 0 || s.KeeperHold[1] > 0;
}

} // namespace

const QImage& TSoccerView::turned(int team, int player, int fallDir, int frame)
{
    const int n = PlayerCount[team];
    const int key = team * 256 + player * 4 + fallDir * 2 + frame;
    auto it = m_turned.find(key);
    if (it != m_turned.end()) return it->second;
    // The picture of his pose facing his fall, turned by a right angle when he lies.
    const TImageList& list = team == 0 ? imlA : imlB;
    TBitmap src, dst;
    list.GetBitmap(2 * (player % n) + 2 * n * fallDir + frame, src);
    RotateBitmap(src, (90 - 180 * fallDir) * frame, TColor(-1) & 0xFFFFFF, dst);
    QImage img = dst.Image().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < img.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if ((line[x] & 0xFFFFFFu) == 0xFFFFFFu) line[x] = 0;
    }
    return m_turned.emplace(key, img.convertToFormat(QImage::Format_ARGB32_Premultiplied)).first->second;
}

void TSoccerView::drawPassLine(QPainter& p, const TSoccerState& s)
{
    if (s.FPauseTick < 0 || !s.FReceiver.Set() || !s.FLastKicker.Set()) return;
    const TSoccerPlayer& a = s.FPlayers[s.FLastKicker.team][s.FLastKicker.player];
    const TSoccerPlayer& b = s.FPlayers[s.FReceiver.team][s.FReceiver.player];
    p.setPen(QPen(qc(clYellow), 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(a.X, a.Y, b.X, b.Y);
}

void TSoccerView::drawActors(QPainter& p, const TSoccerState& s, const TSoccerViewOptions& o)
{
    // Fourteen players from the top of the pitch down, the ball among them at its depth.
    std::array<int, 14> order{};
    for (int i = 0; i < 14; ++i) order[size_t(i)] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&s](int a, int b) { return s.FPlayers[a / 7][a % 7].Y < s.FPlayers[b / 7][b % 7].Y; });
    const bool hidden = s.FGoalTick >= 0 && (NetRt[0].Contains(s.Ball.X, s.Ball.Y) || NetRt[1].Contains(s.Ball.X, s.Ball.Y));
    const bool above = ballAbove(s);
    bool ballDrawn = hidden;
    for (int i : order) {
        const TSoccerPlayer& pl = s.FPlayers[i / 7][i % 7];
        // The ball's depth is its lowest edge: at a player's feet it lies in front of them.
        if (!ballDrawn && !above && s.Ball.Y + 6 < pl.Y) {
            drawBall(p, s);
            ballDrawn = true;
        }
        drawPlayer(p, s, i / 7, i % 7, o.ShowPlayers);
    }
    if (!ballDrawn) drawBall(p, s);
}

void TSoccerView::drawPlayer(QPainter& p, const TSoccerState& s, int team, int player, bool showPictures)
{
    const TSoccerPlayer& pl = s.FPlayers[team][player];
    if (!showPictures) {
        const QColor c = qc(team == 0 ? clBlue : clRed);
        p.setPen(QPen(c, 1));
        p.setBrush(Qt::NoBrush);
        const TRect& r = pl.BodyRt;
        if (!r.Empty()) p.drawRect(QRect(r.Left, r.Top, r.Right - r.Left - 1, r.Bottom - r.Top - 1));
        p.fillRect(QRect(pl.X - 5, pl.Y - 5, 10, 10), c);
        return;
    }
    const bool fallen = pl.View >= 4;
    const bool moving = (pl.View & 1) != 0;
    const bool celebrating = s.FGoalTick >= 0 && !s.FReplaying && team == celebratingTeam(s);
    const bool sliding = celebrating && (pl.Celebration == 3 || pl.Celebration == 4) && pl.CelebrationCount >= 100;
    const bool paused = s.FPauseTick >= 0 && (s.FReceiver.Is(team, player) || s.FLastKicker.Is(team, player));

    // The shadow at his feet.
    const int feet = pl.Y + (player == 0 ? 20 : 0);
    QRect shadow(pl.X - 18, feet - 6, 36, 10);
    if (fallen || sliding) shadow = QRect(pl.X - 32, pl.Y - 6, 64, 11);
    else if (moving && !s.FOpening) shadow = QRect(pl.X - 13, feet - 5, 26, 8);
    p.setPen(Qt::NoPen);
    p.setBrush(paused ? kPassShadow : kShadow);
    p.drawEllipse(shadow);

    if (fallen) {
        p.drawImage(pl.X - 35, pl.Y - 50, turned(team, player, s.FFallDir, 1));
        if (s.FFoulInArea && s.FFallen.Is(team, player)) {
            if (s.FFallDir == 0) p.drawImage(pl.X - 50, pl.Y - 80, m_chance[1]);
            else p.drawImage(pl.X + 30, pl.Y - 80, m_chance[0]);
        }
        return;
    }
    if (sliding) {
        p.drawImage(pl.X - 35, pl.Y + 15 * pl.Celebration - 115, turned(team, player, team == 0 ? 1 : 0, pl.Celebration - 3));
        return;
    }
    const int n = PlayerCount[team];
    const int index = 2 * (player % n) + (moving ? 1 : 0) + ((pl.View & 2) ? 2 * n : 0);
    int top = pl.Y - 70;
    if (player == 0) top += 20;
    if (pl.HeaderCount > 0) top = pl.Y - 95;
    if (celebrating && moving) top -= 15;
    p.drawImage(pl.X - 35, top, sprite(team, index));
}

void TSoccerView::drawBall(QPainter& p, const TSoccerState& s)
{
    const TBall& b = s.Ball;
    int frame = 0;
    if (b.Speed > 11) frame = std::cos(b.Angle) >= 0 ? 3 : 4;
    else if (b.Speed > 0) frame = 1 + s.FTick % 2;
    const int raise = 9 * std::clamp(b.Height, 0, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(kShadow);
    const int w = raise > 0 ? 9 : 13;
    p.drawEllipse(QRect(b.X - w / 2, b.Y - 2, w, 5));
    p.drawImage(b.X - 11, b.Y - 14 - raise, m_ball[frame]);
}

void TSoccerView::drawTrace(QPainter& p, const TSoccerState& s, const TSoccerViewOptions& o)
{
    if (s.FReplaying && o.ShowTrace) {
        const int length = s.FRingCount > 0 ? s.FRingCount : kRingFrames;
        const int start = s.FTimeMode == tmPastReplay ? 0 : s.FReplayStart;
        const int shown = std::min(s.FReplayFrames, length);
        for (int i = 0; i < shown; ++i) {
            const TFrameEntry& e = s.FRing[(start + i) % length][kBallEntry];
            if (e.Flags & kBallAbove) continue;
            p.drawImage(e.X - 11, e.Y - 14, m_ball[0]);
        }
    }
    const int team = std::clamp(s.FHolder.team, 0, 1);
    if (s.FReplaying) {
        if (s.FReplayFlash) p.drawImage(s.Ball.X - 15, s.Ball.Y - 26, m_fire[team]);
    } else if (ShotFlashShown(s)) {
        p.drawImage(s.Ball.KickStart.x() - 15, s.Ball.KickStart.y() - 26, m_fire[team]);
    }
}

void TSoccerView::drawMarkers(QPainter& p, const TSoccerState& s)
{
    if (s.FReplaying && s.FReplayFrames <= 12) {
        p.setPen(QPen(qc(clRed), 3));
        p.setBrush(Qt::NoBrush);
        if (s.FHolder.player == 0) {
            p.drawEllipse(QRect(s.Ball.X - 60, s.Ball.Y - 60, 120, 120));
        } else if (s.FNearest.Set()) {
            const TSoccerPlayer& pl = s.FPlayers[s.FNearest.team][s.FNearest.player];
            p.drawEllipse(QRect(pl.X - 60, pl.Y - 88, 120, 120));
        }
    }
    const bool match = s.FTimeMode != tmPastReplay && !s.FReplaying && !s.FOpening;
    if (match && s.FOperation == 1) {
        const TColor ground = s.FHolder.team == 0 ? clYellow : clSilver;
        auto label = [&](int x, int y, const QString& t) {
            const QSize size = textSize(t, Px(18), true);
            p.fillRect(QRect(x - 2, y, size.width() + 4, size.height()), qc(ground));
            drawText(p, x, y, t, Px(18), clBlack, true);
        };
        label(NetRt[1].Left + 14, NetRt[1].Top - 28, QStringLiteral("0"));
        for (int q = 1; q <= 6; ++q) label(s.FPlayers[0][q].X + 20, s.FPlayers[0][q].Y - 85, QString::number(q));
    }
    if (match && s.FAskPending) drawQuestion(p, s);
    if (s.FLofted && s.FHolder.team >= 0) {
        const int h = s.FHolder.team;
        const TSoccerPlayer& pl = s.FPlayers[h][s.Order[h][0]];
        if (h == 1) p.drawImage(pl.X - 38, pl.Y - 81, m_chance[1]);
        else p.drawImage(pl.X + 26, pl.Y - 81, m_chance[0]);
    }
}

void TSoccerView::drawQuestion(QPainter& p, const TSoccerState& s)
{
    auto option = [&](const QRect& box, int choice, bool square) {
        p.setPen(QPen(qc(s.FHoverChoice == choice ? clRed : clBlue), 3));
        p.setBrush(qc(clYellow));
        if (square) p.drawRect(box);
        else p.drawEllipse(box);
        const QString t = QString::number(choice);
        const QSize size = textSize(t, Px(18), true);
        drawText(p, box.center().x() - size.width() / 2 + 1, box.center().y() - size.height() / 2 + 1, t, Px(18), clBlack, true);
    };
    for (int q = 1; q <= 6; ++q) {
        const TSoccerPlayer& pl = s.FPlayers[0][q];
        const int lift = pl.HeaderCount > 0 ? 25 : 0;
        option(QRect(pl.X - 14, pl.Y - 104 - lift, 30, 34), q, s.Order[0][0] == q);
    }
    // The shot's and the loop shot's choices lie where the pointer chooses them: in the goal mouth
    // and on the loop button.
    const QPoint goal((GoalRt[1].Left + GoalRt[1].Right) / 2, (GoalRt[1].Top + GoalRt[1].Bottom) / 2);
    option(QRect(goal.x() - 15, goal.y() - 17, 30, 34), 0, false);
    const TRect& loop = OperationRt[1][0];
    option(QRect((loop.Left + loop.Right) / 2 - 15, (loop.Top + loop.Bottom) / 2 - 17, 30, 34), 7, false);
}

void TSoccerView::drawBalloon(QPainter& p, const TSoccerState& s, int kind, const QString& t)
{
    if (kind == 1) {
        const QSize size = textSize(t, Px(18), true);
        const QRect box(kW - size.width() - 34, kH - size.height() - 26, size.width() + 24, size.height() + 14);
        p.setPen(QPen(qc(0x0080C0), 2));
        p.setBrush(qc(clYellow));
        p.drawRoundedRect(box, 10, 10);
        drawText(p, box.left() + 12, box.top() + 7, t, Px(18), clBlack, true);
        return;
    }
    if (s.FNearest.Set()) {
        const TSoccerPlayer& pl = s.FPlayers[s.FNearest.team][s.FNearest.player];
        p.setPen(QPen(qc(clRed), 3));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRect(pl.X - 55, pl.Y - 83, 110, 110));
    }
    const QSize size = textSize(t, Px(28), true);
    const QRect box(kW - size.width() - 40, kH - size.height() - 80, size.width() + 28, size.height() + 16);
    p.setPen(QPen(qc(clRed), 3));
    p.setBrush(Qt::white);
    p.drawRoundedRect(box, 12, 12);
    drawText(p, box.left() + 14, box.top() + 8, t, Px(28), clRed, true);
}

void TSoccerView::drawMessages(QPainter& p, const TSoccerState& s)
{
    const bool past = s.FTimeMode == tmPastReplay;
    const auto setPieceName = [&s] { return QString::fromUtf8(kSetPieceName[std::clamp(s.FSetPieceKind, 0, 2)]); };
    if (s.FReplaying && s.FReplayPause >= 0 && s.FSetPieceKind >= 0) {
        drawBalloon(p, s, 0, setPieceName());
    } else if (past && !s.FScenePlaying) {
        if (!s.FOpening) drawBalloon(p, s, 1, QStringLiteral("ゴール時間をクリックして下さい。"));
    } else if (s.FReplaying || past) {
        return;
    } else if (s.FPauseTick >= 0) {
        drawBalloon(p, s, 1, QStringLiteral("このパスはオフサイドになります。"));
    } else if (s.FFreeKickTick >= 0) {
        if (s.FFreeKickTick <= 15 && s.FSetPieceKind >= 0) drawBalloon(p, s, 0, setPieceName());
        else if (s.FFreeKickTick > 15) drawBalloon(p, s, 1, QStringLiteral("フリーキック"));
    } else if (s.FPKTick >= 0) {
        if (s.FPKTick % 4 < 2 && s.FWinner < 0) p.drawImage((kW - m_pk.width()) / 2, 155 - m_pk.height() / 2, m_pk);
    } else if (s.FGoalTick >= 0 && s.FFinalWinner < 0) {
        p.drawImage(kW - 40 * s.FGoalTick, 170, m_goalBanner);
    }
}

void TSoccerView::drawOpening(QPainter& p, const TSoccerViewOptions& o)
{
    const QString title = o.Title;
    const QSize size = textSize(title, Px(30), true);
    const QRect box((kW - size.width()) / 2 - 16, 185 - 8, size.width() + 32, size.height() + 16);
    p.setPen(QPen(qc(0x0080C0), 2));
    p.setBrush(qc(clYellow));
    p.drawRect(box);
    drawText(p, (kW - size.width()) / 2, 185, title, Px(30), clRed, true);
    const QString by = QStringLiteral("presented by panimoko");
    const int w = textSize(by, Px(20), true).width();
    const int x = (kW - w) / 2, y = box.bottom() + 14;
    for (int dx : {-2, 2})
        for (int dy : {-2, 2}) drawText(p, x + dx, y + dy, by, Px(20), clWhite, true);
    drawText(p, x, y, by, Px(20), clPurple, true);
}

} // namespace soccer
