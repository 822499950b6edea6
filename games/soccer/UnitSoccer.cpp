#include "UnitSoccer.h"

#include "Dialogs.h"
#include "GameHost.h"
#include "MyFileDialogs.h"
#include "SheetLoader.h"
#include "SoccerReplaySave.h"
#include "Sound.h"
#include "UnitPK.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

using namespace soccer;

TFormSoccer* FormSoccer = nullptr;

namespace {

// Input, and the close box, that wait while a tick runs.
bool isUserInput(QEvent::Type t)
{
    switch (t) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
    case QEvent::Close:
        return true;
    default:
        return false;
    }
}

} // namespace

TUpDownButtons::TUpDownButtons(QWidget* parent) : QWidget(parent)
{
    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    Up = new QToolButton(this);
    Down = new QToolButton(this);
    Up->setArrowType(Qt::UpArrow);
    Down->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {Up, Down}) {
        b->setFixedSize(20, 13);
        b->setFocusPolicy(Qt::NoFocus);
        box->addWidget(b);
    }
    connect(Up, &QToolButton::clicked, this, [this] {
        if (OnClick) OnClick(true);
    });
    connect(Down, &QToolButton::clicked, this, [this] {
        if (OnClick) OnClick(false);
    });
    setFixedSize(20, 26);
}

TFormSoccer::TFormSoccer(QWidget* owner) : TGameForm(owner), m_files(ReplayFolderOf(GameHost().DataDir()))
{
    GameHost().SetRandomBlock(60);
    m_files.CreateFolder();
    setMinimumSize(kClientWidth, kClientHeight);
    setMaximumWidth(kClientWidth);
    resize(kClientWidth, kClientHeight);
    Font.Name = GameHost().FontName();
    Font.PixelHeight = 14;
    ApplyFont();

    imOmote = new TPaintBox(this, kW, kH);
    imOmote->SetBounds(0, 0, kW, kH);
    imOmote->setMouseTracking(true);
    imOmote->OnMouseDown = [this](TMouseButton b, TShiftState s, int x, int y) { imOmoteMouseDown(b, s, x, y); };
    imOmote->OnMouseMove = [this](TShiftState s, int x, int y) { imOmoteMouseMove(s, x, y); };
    imOmote->OnPaint = [this] { imOmotePaint(); };
    Timer1 = new GameTimer(this, 107, false);
    Timer1->OnTimer = [this] { Timer1Timer(); };

    m_files.ReadIndex();
    m_view.SetFontName(GameHost().FontName());
    m_view.SetBoardColour(RandomInt(3));
    m_engine.FSoundOn = FSoundOn;
    m_engine.FCheerOn = FCheerOn;

    MyOpenDialog1 = std::make_unique<TMyOpenDialog>(this);
    MySaveDialog1 = std::make_unique<TMySaveDialog>(this);
    SetUpReplayDialogs(*MyOpenDialog1, *MySaveDialog1, m_files);
    buildSettingsRow();
    installServices();
    m_engine.FCanSaveReplay = false;
}

TFormSoccer::~TFormSoccer()
{
    Timer1->SetEnabled(false);
    RemoveReplayLinks();
    if (FormSoccer == this) FormSoccer = nullptr;
}

void TFormSoccer::buildSettingsRow()
{
    const int y = kH + 8;
    int x = 8;
    auto place = [&](QWidget* w, int dy = 0, int gap = 10) {
        w->move(x, y + dy);
        w->adjustSize();
        x += w->width() + gap;
    };
    Label1 = new QLabel(QStringLiteral("試合時間"), this);
    place(Label1, 5, 4);
    cobTime = new TOptionCombo(this);
    cobTime->addItems({QStringLiteral("前半から"), QStringLiteral("後半から"), QStringLiteral("サドンデス"), QStringLiteral("過去リプレイ")});
    place(cobTime);
    connect(cobTime, &QComboBox::activated, this, [this](int) { cobTimeClick(); });
    cobTime->OnArrowChoice = [this] { cobTimeClick(); };
    Label3 = new QLabel(QStringLiteral("操作方法"), this);
    place(Label3, 5, 4);
    cobSousa = new TOptionCombo(this);
    cobSousa->addItems({QStringLiteral("マウス"), QStringLiteral("キーボード"), QStringLiteral("ときどき選択"), QStringLiteral("自動進行")});
    place(cobSousa);
    connect(cobSousa, &QComboBox::activated, this, [this](int) { cobSousaChange(); });
    cobSousa->OnArrowChoice = [this] { cobSousaChange(); };

    cbReplay = new QCheckBox(QStringLiteral("ﾘﾌﾟﾚｲ"), this);
    cbReplay->setChecked(true);
    place(cbReplay, 3, 6);
    connect(cbReplay, &QCheckBox::clicked, this, [this] { cbReplayClick(); });
    cbKiseki = new QCheckBox(QStringLiteral("ｼｭｰﾄ軌跡"), this);
    place(cbKiseki, 3, 6);
    cbPlayer = new QCheckBox(QStringLiteral("選手"), this);
    cbPlayer->setChecked(true);
    place(cbPlayer, 3, 6);
    cbReplaySpeed = new QCheckBox(QStringLiteral("通常速度"), this);
    place(cbReplaySpeed, 3, 6);
    connect(cbReplaySpeed, &QCheckBox::clicked, this, [this] { cbReplaySpeedClick(); });
    bbtOpenGoalFile = new QPushButton(QStringLiteral("ファイル"), this);
    bbtOpenGoalFile->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    place(bbtOpenGoalFile, 0, 2);
    connect(bbtOpenGoalFile, &QPushButton::clicked, this, [this] { bbtOpenGoalFileClick(); });
    udOpenGoalFile = new TUpDownButtons(this);
    place(udOpenGoalFile, 1);
    udOpenGoalFile->OnClick = [this](bool up) { udOpenGoalFileClick(up); };
    // The boxes that change only what is drawn show it at once.
    for (QCheckBox* b : {cbKiseki, cbPlayer})
        connect(b, &QCheckBox::toggled, this, [this] {
            if (isVisible()) DrawScene();
        });
    // The past replay's controls wait for its time mode.
    for (QWidget* w : std::initializer_list<QWidget*>{bbtOpenGoalFile, udOpenGoalFile, cbReplaySpeed}) w->setEnabled(false);
}

void TFormSoccer::installServices()
{
    TSoccerServices& s = m_engine.Svc;
    ShareServices(s);
    s.Play = [this](TSoccerSound snd, bool noStop) { return playSound(snd, noStop); };
    s.SoundPlaying = [] { return Sound().Playing(); };
    s.StopSound = [] { Sound().Stop(); };
    s.Redraw = [this] { DrawScene(); };
    s.PenaltyKick = [this](const TPKRequest& r) { return playPenaltyKick(r); };
    s.OpeningHeld = [this] { return cobTime->DroppedDown() || cobSousa->DroppedDown(); };
    s.OpeningEnded = [this] {
        const QPoint p = imOmote->mapFromGlobal(QCursor::pos());
        if (imOmote->rect().contains(p)) m_engine.UserHover(p);
    };
    s.UpdateCursor = [this](int hot) { UpdateCursor(hot); };
    const auto playerName = [this] { return FPlayerName; };
    InstallReplayServices(m_engine, m_files, playerName);
    s.TakeSceneClick = [this](QPoint& p) { return takeSceneClick(p); };
    InstallReplayLinks(m_engine, *MySaveDialog1, playerName);
}

bool TFormSoccer::playSound(TSoccerSound s, bool noStop)
{
    // The engine has applied the two switches already. The music of the past replay loops.
    unsigned flags = SndAsync;
    if (noStop) flags |= SndNoStop;
    if (s == TSoccerSound::GoalFileBgm) flags |= SndLoop;
    return PlaySound(QString::fromLatin1(SoundName(s)), flags);
}

TPKOutcome TFormSoccer::playPenaltyKick(const TPKRequest& r)
{
    // No tick runs while the kick is shown.
    Timer1->SetEnabled(false);
    TFormPK pk(this);
    pk.SetCaption(QStringLiteral("ＰＫ"));
    pk.FSoccerMode = true;
    pk.FKickSide = r.KickSide;
    pk.FMySide = r.KickSide;
    pk.FMyPlayerIndex = r.MyPlayerIndex;
    pk.FAitePlayerIndex = r.AitePlayerIndex;
    pk.SetLeft(r.KickSide == 1 ? Left() + width() - pk.width() + 20 : Left() - 20);
    const int result = pk.ShowModal();
    TPKOutcome o;
    o.KickDir = pk.FKickDir;
    o.AimDir = pk.FAimDir;
    o.KeeperDir = pk.FKeeperDir;
    o.Scored = result == mrYes;
    return o;
}

void TFormSoccer::makeTeamImages()
{
    TBitmap sheets[2];
    GameHost().LoadTeamPictures(sheets[0], sheets[1]);
    int shown[2] = {0, 0};
    for (int t = 0; t < 2; ++t) {
        const int frames = std::min(sheets[t].Width() / kFrameSize, 14);
        const std::vector<int> order = ShuffledPlayers(std::max(frames / 2, 1));
        shown[t] = order.front();
        m_engine.FirstShuffled[t] = order.front();
        m_engine.LastShuffled[t] = order.back();
        m_view.MakeTeamImages(t, sheets[t], order);
    }
    GameHost().SetResultPlayers(shown[0], shown[1]);
}

void TFormSoccer::FormShow()
{
    Hint = Caption();
    makeTeamImages();
    GameHost().AdjustFormTop(this);
    const QScreen* screen = QGuiApplication::primaryScreen();
    SetLeft(((screen ? screen->geometry().width() : width()) - width()) / 2);
    cobTime->SetItemIndex(tmSecondHalf);
    cobTime->Tag = tmSecondHalf;
    m_engine.FOperation = std::max(cobSousa->ItemIndex(), 0);
    m_engine.FShowReplay = cbReplay->isChecked();
    m_engine.FReplayNormalSpeed = cbReplaySpeed->isChecked();
    m_engine.Show();
    cobTimeClick();
    syncTimer();
    DrawScene();
    if (FSetUpOpenStart) dropDown(cobTime);
}

void TFormSoccer::dropDown(TOptionCombo* combo)
{
    combo->setFocus();
    combo->SetDroppedDown(!combo->DroppedDown());
}

void TFormSoccer::Timer1Timer()
{
    if (m_loading) return;
    m_engine.Tick();
    releaseHeldInput();
    syncTimer();
}

void TFormSoccer::syncTimer()
{
    Timer1->SetInterval(m_engine.TimerInterval);
    Timer1->SetEnabled(m_engine.TimerEnabled && !m_paused && !m_engine.MatchOver);
    if (m_engine.MatchOver && (m_engine.ModalResult == mrYes || m_engine.ModalResult == mrNo) && ModalResult() == mrNone)
        SetModalResult(m_engine.ModalResult);
}

void TFormSoccer::DrawScene()
{
    TSoccerViewOptions o;
    o.Title = Hint;
    o.ShowPlayers = cbPlayer->isChecked();
    o.ShowTrace = cbKiseki->isEnabled() && cbKiseki->isChecked();
    o.ReplayChosen = !m_files.FReplayFile.isEmpty();
    o.ReplaySlot = m_files.FReplaySlot;
    o.LatestSlotText = m_files.FLatestSlotText;
    if (o.ReplayChosen && m_engine.FTimeMode == tmPastReplay) o.ReplayLabel = m_files.MakeReplayLabel();
    m_view.Draw(m_engine, o);
    imOmotePaint();
}

void TFormSoccer::imOmotePaint()
{
    ShowOnField(m_view.BackBuffer());
}

// ---- Mouse ----------------------------------------------------------------------------------------

void TFormSoccer::imOmoteMouseDown(TMouseButton button, TShiftState, int x, int y)
{
    if (button != TMouseButton::mbLeft) return;
    if (m_engine.FTimeMode == tmPastReplay) {
        if (m_engine.PickGoalScene({x, y})) syncTimer();
        return;
    }
    m_engine.UserClick({x, y});
    if (isVisible()) DrawScene();
}

void TFormSoccer::imOmoteMouseMove(TShiftState, int x, int y)
{
    if (m_engine.FTimeMode == tmPastReplay) {
        const int before = m_engine.FSceneCount;
        m_engine.HoverGoalScene({x, y});
        if (m_engine.FSceneCount != before && isVisible()) DrawScene();
        return;
    }
    m_engine.UserHover({x, y});
}

void TFormSoccer::clickAt(QPoint p)
{
    imOmoteMouseMove(TShiftState(), p.x(), p.y());
    imOmoteMouseDown(TMouseButton::mbLeft, TShiftState(), p.x(), p.y());
}

void TFormSoccer::UpdateCursor(int hot)
{
    if (m_engine.FTimeMode == tmPastReplay) return;
    const bool forbidden = m_engine.CursorForbidden(hot);
    if (forbidden == m_forbidden) return;
    m_forbidden = forbidden;
    imOmote->setCursor(forbidden ? Qt::ForbiddenCursor : Qt::ArrowCursor);
}

// ---- Settings -------------------------------------------------------------------------------------

void TFormSoccer::cobTimeClick()
{
    const int item = cobTime->ItemIndex();
    if (!m_engine.FOpening) {
        cobTime->SetItemIndex(cobTime->Tag);
        cobTime->SetDroppedDown(false);
        MessageBeep(MB_ICONASTERISK);
        MessageDlg(QStringLiteral("試合時間を変更できるのは，オープニングのときだけです。"), TMsgDlgType::mtWarning, TMsgButtons::OK, this);
        return;
    }
    const bool past = item == tmPastReplay;
    if (past) {
        m_forbidden = false;
        imOmote->setCursor(Qt::ArrowCursor);
    }
    if (past && !m_files.IndexAvailable()) {
        // The opening starts over with the list open for another choice. Left on this item, the
        // form shows past replays with no file until one is opened.
        m_engine.FTick = 0;
        Timer1->SetEnabled(false);
        cobTime->SetDroppedDown(false);
        MessageBeep(MB_ICONASTERISK);
        MessageDlg(QStringLiteral("リプレイファイルが見つかりません。"), TMsgDlgType::mtWarning, TMsgButtons::OK, this);
        syncTimer();
        dropDown(cobTime);
    }
    m_engine.ApplyTimeMode(item);
    bbtOpenGoalFile->setEnabled(past);
    udOpenGoalFile->setEnabled(past);
    cbReplaySpeed->setEnabled(past);
    cbReplay->setEnabled(!past);
    cbKiseki->setEnabled(cbReplay->isChecked());
    cobTime->Tag = item;
}

void TFormSoccer::cobSousaChange()
{
    m_engine.ClearAction(0, -1);
    m_engine.ClearQuestion();
    m_engine.FOperation = std::max(cobSousa->ItemIndex(), 0);
    if (!m_engine.FOpening && m_engine.FOperation >= 2 && Services().ManualPlay()) Services().SetManualPlay(false);
    UpdateCursor(m_engine.FHolder.team);
}

void TFormSoccer::cbReplayClick()
{
    cbKiseki->setEnabled(cbReplay->isChecked());
    m_engine.FShowReplay = cbReplay->isChecked();
}

void TFormSoccer::cbReplaySpeedClick()
{
    m_engine.FReplayNormalSpeed = cbReplaySpeed->isChecked();
    m_engine.TimerInterval = cbReplaySpeed->isChecked() ? 107 : 200;
    syncTimer();
}

void TFormSoccer::bbtOpenGoalFileClick()
{
    if (m_engine.FTimeMode != tmPastReplay || m_loading) return;
    const QScopedValueRollback loading(m_loading, true);
    m_engine.FOpening = false;
    const bool was = Timer1->Enabled();
    Timer1->SetEnabled(false);
    const bool changed = ChooseReplayFile(*MyOpenDialog1, m_files);
    m_engine.OpenPastReplay(changed);
    Timer1->SetEnabled(was);
    syncTimer();
}

void TFormSoccer::udOpenGoalFileClick(bool up)
{
    if (m_engine.FTimeMode != tmPastReplay || m_loading) return;
    const QScopedValueRollback loading(m_loading, true);
    m_engine.FOpening = false;
    const bool was = Timer1->Enabled();
    Timer1->SetEnabled(false);
    StepReplaySlot(m_engine, m_files, up ? 1 : -1);
    Timer1->SetEnabled(was);
    syncTimer();
}

// ---- Closing --------------------------------------------------------------------------------------

void TFormSoccer::FormClose(TCloseAction&)
{
    Timer1->SetEnabled(false);
    releaseHeldInput();
    const int result = m_engine.Close();
    if (result != ModalResult()) SetModalResult(result);
}

// ---- Keys -----------------------------------------------------------------------------------------

void TFormSoccer::pauseOrResume()
{
    m_paused = !m_paused;
    SetCaption(PauseCaption(m_paused));
    syncTimer();
}

bool TFormSoccer::arrowKey(Word key, TShiftState shift)
{
    if (m_engine.FTimeMode != tmPastReplay || m_engine.FOpening) return false;
    const int dir = key == VK_LEFT || key == VK_UP ? -1 : 1;
    if (shift.testFlag(ShiftFlag::Shift)) {
        if (!udOpenGoalFile->isEnabled()) return false;
        udOpenGoalFileClick(dir > 0);
    } else {
        m_engine.StepGoalScene(dir);
        syncTimer();
        if (isVisible()) DrawScene();
    }
    return true;
}

void TFormSoccer::FormKeyDown(Word& key, TShiftState shift)
{
    const bool shifted = shift.testFlag(ShiftFlag::Shift);
    const bool past = m_engine.FTimeMode == tmPastReplay;
    switch (key) {
    case VK_ESCAPE: pauseOrResume(); key = 0; return;
    case VK_SPACE:
        for (TOptionCombo* c : {cobTime, cobSousa})
            if (c->hasFocus() || c->DroppedDown()) {
                c->SetDroppedDown(!c->DroppedDown());
                key = 0;
            }
        return;
    case VK_LEFT: case VK_UP: case VK_RIGHT: case VK_DOWN:
        if (arrowKey(key, shift)) key = 0;
        return;
    case VK_F1:
        // The help window takes the focus, and an open list closes as it loses it.
        cobTime->SetDroppedDown(false);
        cobSousa->SetDroppedDown(false);
        GameHost().ShowHelp(this);
        return;
    case VK_F2: dropDown(cobTime); key = 0; return;
    case VK_F3:
        if (bbtOpenGoalFile->isEnabled()) bbtOpenGoalFileClick();
        return;
    case VK_F4:
        if (cbReplaySpeed->isEnabled()) cbReplaySpeed->click();
        key = 0;
        return;
    case VK_F5:
        cobSousa->SetItemIndex((std::max(cobSousa->ItemIndex(), 0) + 1) % cobSousa->count());
        cobSousaChange();
        return;
    case VK_F6:
        if (shifted) return;
        cbPlayer->setChecked(!cbPlayer->isChecked());
        key = 0;
        return;
    case VK_F7:
        if (cbReplay->isEnabled()) cbReplay->click();
        return;
    case VK_F8:
        if (cbKiseki->isEnabled()) cbKiseki->click();
        return;
    default: break;
    }
    int digit = -1;
    if (key >= '0' && key <= '7') digit = key - '0';
    else if (key >= VK_NUMPAD0 && key <= VK_NUMPAD7) digit = key - VK_NUMPAD0;
    else if (key == VK_RETURN) digit = 0;
    if (digit < 0) return;
    if (digit == 0 && past) {
        m_engine.PlayCurrentScene();
        syncTimer();
        key = 0;
        return;
    }
    QPoint p;
    if (!past && m_engine.KeyClickPoint(digit, p)) clickAt(p);
    if (digit == 0 || digit == 7) key = 0;
}

// ---- Input held during a tick ---------------------------------------------------------------------

bool TFormSoccer::takeSceneClick(QPoint& p)
{
    // What waits in the queue is looked at without being handled: the scene's left presses can be
    // taken, everything else is held and handed on after the tick.
    m_holding = true;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    m_holding = false;
    for (THeldEvent& h : m_held)
        if (h.sceneClick && !h.taken) {
            h.taken = true;
            p = h.at;
            return true;
        }
    return false;
}

void TFormSoccer::releaseHeldInput()
{
    // Handed on here and now, one at a time: a box that one of them opens has closed again before
    // the next is handled, and none reaches the form while another window is modal (a tick that ran
    // inside a box); those wait for a later tick.
    while (!m_held.empty()) {
        const QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal != this) return;
        THeldEvent h = std::move(m_held.front());
        m_held.pop_front();
        if (h.taken || !h.target) continue;
        QCoreApplication::sendEvent(h.target, h.event.get());
    }
}

bool TFormSoccer::eventFilter(QObject* o, QEvent* e)
{
    const auto* w = qobject_cast<QWidget*>(o);
    const bool ours = w && (w == this || isAncestorOf(w));
    if (m_holding && ours && isUserInput(e->type())) {
        THeldEvent h;
        h.target = o;
        h.event.reset(e->clone());
        if (e->type() == QEvent::MouseButtonPress && o == imOmote) {
            const auto* me = static_cast<QMouseEvent*>(e);
            h.sceneClick = me->button() == Qt::LeftButton;
            h.at = me->position().toPoint();
        }
        m_held.push_back(std::move(h));
        return true;
    }
    // The wheel does nothing anywhere on the form, so that it never turns a list's choice.
    if (WheelOnForm(o, e)) return true;
    return TGameForm::eventFilter(o, e);
}
