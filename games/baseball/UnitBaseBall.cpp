#include "UnitBaseBall.h"

#include "Dialogs.h"
#include "GameHost.h"
#include "Sound.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>

using namespace bb;

TFormBaseBall* FormBaseBall = nullptr;

namespace {

QString soundName(TBallSound s)
{
    switch (s) {
    case TBallSound::Opening: return QStringLiteral("OPENING");
    case TBallSound::Bant: return QStringLiteral("BANT");
    case TBallSound::Batting: return QStringLiteral("BATTING");
    case TBallSound::Tackle: return QStringLiteral("TACKLE");
    case TBallSound::Kick: return QStringLiteral("KICK");
    case TBallSound::Kansei:
    case TBallSound::FinalCheer: return QStringLiteral("KANSEI");
    case TBallSound::Change: return QStringLiteral("CHANGE");
    }
    return {};
}

// The rules' key for a form key: digits and '.' of the main keys and the keypad, and Esc.
int rulesKeyOf(Word key)
{
    if (key >= '0' && key <= '9') return Qt::Key_0 + (key - '0');
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) return Qt::Key_0 + (key - VK_NUMPAD0);
    if (key == VK_OEM_PERIOD || key == VK_DECIMAL) return Qt::Key_Period;
    return 0;
}

} // namespace

TFormBaseBall::TFormBaseBall(QWidget* owner) : TGameForm(owner)
{
    GameHost().SetRandomBlock(100);
    // Fixed width; the height leaves the developer settings under the visible row cut off.
    SetClientSize(kFieldWidth, kClientHeight);
    Font.PixelHeight = 16;
    ApplyFont();

    imOmote = new TPaintBox(this, kFieldWidth, kFieldHeight);
    imOmote->SetBounds(0, 0, kFieldWidth, kFieldHeight);
    imOmote->setMouseTracking(true);
    imOmote->OnMouseDown = [this](TMouseButton b, TShiftState s, int x, int y) { imOmoteMouseDown(b, s, x, y); };
    imOmote->OnMouseMove = [this](TShiftState s, int x, int y) { imOmoteMouseMove(s, x, y); };
    imOmote->OnPaint = [this] {
        if (isVisible()) DrawScene();
    };
    Timer1 = new GameTimer(this, 100, false);
    Timer1->OnTimer = [this] { Timer1Timer(); };
    buildSettingsRow();

    m_scene.SetFontName(GameHost().FontName());
    LoadPictureOffsets();

    TBallServices& s = m_game.Services;
    ShareServices(s);
    s.Sound = [this](TBallSound snd) { playSound(snd); };
    s.DrawScene = [this] { DrawScene(); };
    s.InningListDropped = [this] { return cobInning->DroppedDown(); };
    s.StopTimer = [this] { Timer1->SetEnabled(false); };
    ResultLinks().ShowGameRecord = [this] { ShowGameRecord(); };
    m_game.SoundOn = FSoundOn;
    m_game.CheerOn = FCheerOn;
    m_game.Create();
}

TFormBaseBall::~TFormBaseBall()
{
    Timer1->SetEnabled(false);
    ResultLinks().ShowGameRecord = nullptr;
    if (FormBaseBall == this) FormBaseBall = nullptr;
}

void TFormBaseBall::buildSettingsRow()
{
    const int y = kFieldHeight + 7;
    int x = 8;
    auto place = [&](QWidget* w, int dy = 0) {
        w->move(x, y + dy);
        w->adjustSize();
        x += w->width() + 12;
    };
    Label1 = new QLabel(QStringLiteral("開始イニング"), this);
    place(Label1, 4);
    x -= 6;
    cobInning = new TOptionCombo(this);
    cobInning->addItems({QStringLiteral("１回から"), QStringLiteral("３回から"), QStringLiteral("５回から"), QStringLiteral("７回から"),
                         QStringLiteral("８回から"), QStringLiteral("９回から")});
    cobInning->setEditable(false);
    place(cobInning);
    connect(cobInning, &QComboBox::activated, this, [this](int) { cobInningClick(); });
    cobInning->OnArrowChoice = [this] { cobInningClick(); };
    cbAuto = new QCheckBox(QStringLiteral("自動進行"), this);
    place(cbAuto, 2);
    connect(cbAuto, &QCheckBox::clicked, this, [this] { cbAutoClick(); });
    cbData = new QCheckBox(QStringLiteral("攻撃データ表示"), this);
    place(cbData, 2);
    cbShowComSelect = new QCheckBox(QStringLiteral("相手選択番号表示"), this);
    place(cbShowComSelect, 2);
    btAdjust = new QPushButton(QStringLiteral("選手画像の調節"), this);
    place(btAdjust, -1);
    connect(btAdjust, &QPushButton::clicked, this, [this] { btAdjustClick(); });
    // The boxes change only what is drawn: the next tick shows it.
    for (QCheckBox* b : {cbData, cbShowComSelect})
        connect(b, &QCheckBox::toggled, this, [this] {
            if (isVisible()) DrawScene();
        });
}

void TFormBaseBall::playSound(TBallSound s)
{
    // The rules have applied the two switches already; the opening and the closing cheer cut nothing
    // off. "CHANGE" waits until the sound that plays has ended, then plays once.
    if (s == TBallSound::Change) {
        m_changePending = !PlaySound(soundName(s), SndAsync | SndNoStop);
        return;
    }
    const bool noStop = s == TBallSound::Opening || s == TBallSound::FinalCheer;
    PlaySound(soundName(s), SndAsync | (noStop ? unsigned(SndNoStop) : 0u));
}

void TFormBaseBall::ShowGameRecord()
{
    m_game.ShowGameRecord();
}

void TFormBaseBall::makeTeamImages()
{
    TBitmap mine, aite;
    GameHost().LoadTeamPictures(mine, aite);
    m_game.NewGame(aite.Width(), mine.Width());
    m_scene.MakeTeamList(0, aite, m_game.Teams[0]);
    m_scene.MakeTeamList(1, mine, m_game.Teams[1]);
    const auto first = [](const TTeamPictures& t) { return t.Order.empty() ? 0 : t.Order[0]; };
    GameHost().SetResultPlayers(first(m_game.Teams[1]), first(m_game.Teams[0]));
}

void TFormBaseBall::FormShow()
{
    Hint = Caption();
    m_game.Auto = cbAuto->isChecked();
    // The result window shows first; the run ends once it is closed. The report is wrapped as the run
    // starts, so that it is the one the launcher left in the services.
    TBallServices& s = m_game.Services;
    s.ReportResult = [this, report = s.ReportResult](quint16 code) {
        report(code);
        SetModalResult(m_game.Winner == 1 ? mrYes : mrNo);
    };
    // The pictures and a new game: the shuffles, the powers, the opening sound and the first batter.
    makeTeamImages();
    GameHost().AdjustFormTop(this);
    const QScreen* screen = QGuiApplication::primaryScreen();
    SetLeft(((screen ? screen->geometry().width() : width()) - width()) / 2);
    m_gameStart = Clock().NowMs();
    cobInning->SetItemIndex(m_game.InningItem);
    cobInning->Tag = m_game.InningItem;
    Timer1->SetEnabled(true);
    DrawScene();
    if (FSetUpOpenStart) {
        cobInning->setFocus();
        cobInning->SetDroppedDown(true);
    }
}

void TFormBaseBall::Timer1Timer()
{
    if (m_changePending && !Sound().Playing()) m_changePending = !PlaySound(soundName(TBallSound::Change), SndAsync | SndNoStop);
    m_game.Tick();
}

void TFormBaseBall::DrawScene()
{
    TSceneOptions o;
    o.ShowComCourse = cbShowComSelect->isChecked();
    o.ShowData = cbData->isChecked();
    o.GameTimeMs = Clock().NowMs() - m_gameStart;
    o.Title = Hint;
    m_scene.Draw(m_game, o);
    ShowOnField(m_scene.BackBuffer());
}

void TFormBaseBall::imOmoteMouseDown(TMouseButton button, TShiftState, int x, int y)
{
    if (button != TMouseButton::mbLeft) return;
    m_game.MouseDown(QPoint(x, y));
}

void TFormBaseBall::imOmoteMouseMove(TShiftState, int x, int y)
{
    m_game.MouseMove(QPoint(x, y));
}

void TFormBaseBall::cbAutoClick()
{
    m_game.SetAuto(cbAuto->isChecked());
}

void TFormBaseBall::cobInningClick()
{
    const int item = cobInning->ItemIndex();
    if (m_game.SetStartInning(item)) {
        cobInning->Tag = item;
        return;
    }
    cobInning->SetItemIndex(cobInning->Tag);
    // The box takes the focus, and the open list closes as it loses it.
    cobInning->SetDroppedDown(false);
    MessageBeep(MB_ICONASTERISK);
    MessageDlg(QStringLiteral("開始イニングを変更できるのは，オープニングのときだけです。"), TMsgDlgType::mtWarning, TMsgButtons::OK, this);
}

void TFormBaseBall::FormClose(TCloseAction&)
{
    Timer1->SetEnabled(false);
    if (ModalResult() == mrYes || ModalResult() == mrNo) return;
    // Closed during play: a loss, unless the user's team has already won.
    m_game.CloseEarly();
}

bool TFormBaseBall::comboFocused() const
{
    return cobInning->DroppedDown() || cobInning->hasFocus();
}

void TFormBaseBall::pauseOrResume()
{
    m_game.TogglePause();
    Timer1->SetEnabled(!m_game.Paused);
    SetCaption(m_game.CaptionFor(Hint));
}

void TFormBaseBall::FormKeyDown(Word& key, TShiftState shift)
{
    const bool shifted = shift.testFlag(ShiftFlag::Shift);
    switch (key) {
    case VK_ESCAPE:
        pauseOrResume();
        return;
    case VK_SPACE:
        if (comboFocused()) {
            cobInning->SetDroppedDown(!cobInning->DroppedDown());
            key = 0;
        }
        return;
    case VK_F1:
        cobInning->SetDroppedDown(false);
        GameHost().ShowHelp(this);
        return;
    case VK_F2:
        if (shifted) return;
        cobInning->setFocus();
        cobInning->SetDroppedDown(!cobInning->DroppedDown());
        key = 0;
        return;
    case VK_F3:
        cbAuto->click();
        return;
    case VK_F4:
        cbData->setChecked(!cbData->isChecked());
        key = 0;
        return;
    case VK_F5:
        if (!shifted && btAdjust->isEnabled()) btAdjustClick();
        return;
    default:
        break;
    }
    if (const int k = rulesKeyOf(key)) m_game.KeyDown(k);
}

bool TFormBaseBall::eventFilter(QObject* o, QEvent* e)
{
    // The wheel does nothing anywhere on the form (not even in the start-inning list's box).
    if (WheelOnForm(o, e)) return true;
    return TGameForm::eventFilter(o, e);
}
