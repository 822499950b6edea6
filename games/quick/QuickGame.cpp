#include "QuickGame.h"

#include "Dialogs.h"
#include "GameHost.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QWheelEvent>
#include <algorithm>

TQuickGameForm::TQuickGameForm(QWidget* owner, const TQuickGameTable& table) : TGameForm(owner), m_table(table)
{
    GameHost().SetRandomBlock(m_table.RandomBlock);
    SetClientSize(m_table.ClientSize.width(), m_table.ClientSize.height());
    ApplyFont();

    const int fw = m_table.FieldSize.width(), fh = m_table.FieldSize.height();
    imOmote = new TPaintBox(this, fw, fh);
    imOmote->SetBounds(0, 0, fw, fh);
    imOmote->OnMouseDown = [this](TMouseButton b, TShiftState s, int x, int y) { imOmoteMouseDown(b, s, x, y); };
    imOmote->OnMouseMove = [this](TShiftState s, int x, int y) { imOmoteMouseMove(s, x, y); };
    imOmote->OnMouseUp = [this](TMouseButton b, TShiftState s, int x, int y) { imOmoteMouseUp(b, s, x, y); };
    if (m_table.RedrawOnPaint)
        imOmote->OnPaint = [this] {
            if (isVisible()) DrawScene();
        };

    Timer1 = new GameTimer(this, m_table.Interval, false);
    Timer1->OnTimer = [this] { Timer1Timer(); };
    buildOptionRow();

    m_back.SetSize(fw, fh);
    m_goalBmp.Transparent = true;
    for (const char* name : {"EFFECT0", "EFFECT1"}) imlEffect.AddMasked(ResourceBitmap(QString::fromLatin1(name)));
    for (const char* name : {"FIRE0", "FIRE1"}) imlFire.AddMasked(ResourceBitmap(QString::fromLatin1(name)));
    makeShadow();
}

void TQuickGameForm::buildOptionRow()
{
    const int y = m_table.FieldSize.height() + 6;
    int x = 8;
    if (!m_table.OptionLabel.isEmpty()) {
        Label1 = new QLabel(m_table.OptionLabel, this);
        Label1->move(x, y + 4);
        Label1->adjustSize();
        x += Label1->width() + 6;
        cobOption = new TOptionCombo(this);
        cobOption->addItems(m_table.OptionItems);
        cobOption->setEditable(false);
        cobOption->move(x, y);
        cobOption->adjustSize();
        x += cobOption->width() + 16;
        // A choice made with the mouse, with Enter in the open list, or with the keys of the closed list.
        connect(cobOption, &QComboBox::activated, this, [this](int) { cobOptionClick(); });
        cobOption->OnArrowChoice = [this] { cobOptionClick(); };
    }
    if (m_table.HasAuto) {
        cbAuto = new QCheckBox(QStringLiteral("自動進行"), this);
        cbAuto->move(x, y + 2);
        cbAuto->adjustSize();
        connect(cbAuto, &QCheckBox::clicked, this, [this] { cbAutoClick(); });
    }
}

TQuickGameForm::~TQuickGameForm()
{
    Timer1->SetEnabled(false);
}

quint16 TQuickGameForm::ResultCode(bool won) const
{
    return quint16(Services().ModeBits() + (won ? 0x2000 : 0x1000) + m_table.GameNo);
}

void TQuickGameForm::LoadSheets(TBitmap& mine, TBitmap& aite)
{
    GameHost().LoadTeamPictures(mine, aite);
}

bool TQuickGameForm::PlayEffect(const QString& name, unsigned flags)
{
    return FSoundOn && PlaySound(name, flags);
}

bool TQuickGameForm::PlayCheer(unsigned flags)
{
    return FCheerOn && PlaySound(QStringLiteral("KANSEI"), flags);
}

void TQuickGameForm::FormShow()
{
    Hint = Caption();
    MakeTeamImages();
    GameHost().AdjustFormTop(this);
    if (CentreHorizontally()) {
        const QScreen* screen = QGuiApplication::primaryScreen();
        const int sw = screen ? screen->geometry().width() : width();
        SetLeft((sw - width()) / 2);
    }
    if (FSoundOn) PlaySound(OpeningSound(), SndAsync);
    m_goalBmp.LoadFromResourceName(QStringLiteral("GOALBMP"));
    m_goalBmp.Transparent = true;
    m_opening = m_table.OpeningTicks > 0;
    m_tickCount = 0;
    GameReset();
    if (cobOption) {
        cobOption->SetItemIndex(m_table.DefaultItem);
        cobOptionClick();
    }
    m_back.Canvas().Font.Name = GameHost().FontName();
    if (m_table.DrawOnShow) DrawScene();
    Timer1->SetEnabled(true);
    if (cobOption && FSetUpOpenStart) {
        cobOption->setFocus();
        cobOption->SetDroppedDown(true);
    }
}

void TQuickGameForm::Timer1Timer()
{
    Tick();
}

void TQuickGameForm::Tick()
{
    if (m_opening) {
        bool ends;
        if (cobOption) {
            // With an option the opening ends on the first tick after its length has been counted
            // out; while the list is open it goes on, so the option can still be chosen.
            ends = m_tickCount >= m_table.OpeningTicks && !cobOption->DroppedDown();
            if (!ends && m_tickCount < m_table.OpeningTicks) ++m_tickCount;
        } else {
            ends = ++m_tickCount >= m_table.OpeningTicks;
        }
        if (ends) {
            EndOpening();
            OpeningEnded();
        }
        DrawScene();
        return;
    }
    GameTick();
}

void TQuickGameForm::EndOpening()
{
    m_opening = false;
    TGameServices& s = Services();
    if (cbAuto) s.SetManualPlay(!cbAuto->isChecked());
    if (cobOption) s.SetOptionIndex(cobOption->ItemIndex());
    m_tickCount = 0;
    if (m_table.SleepAtOpeningEnd) s.Sleep(200);
}

void TQuickGameForm::cobOptionClick()
{
    if (!cobOption) return;
    if (m_opening) {
        const int i = cobOption->ItemIndex();
        if (i >= 0 && i < int(m_table.OptionValues.size())) m_optionValue = m_table.OptionValues[size_t(i)];
        cobOption->Tag = i;
        OptionTaken(m_optionValue);
        return;
    }
    cobOption->SetItemIndex(cobOption->Tag);
    // The box takes the focus, and the open list closes as it loses it.
    cobOption->SetDroppedDown(false);
    MessageBeep(MB_ICONASTERISK);
    MessageDlg(m_table.OptionRefusal, TMsgDlgType::mtWarning, TMsgButtons::OK, this);
}

void TQuickGameForm::cbAutoClick()
{
    // Checking the box once marks the game as auto-played for good.
    if (cbAuto && Services().ManualPlay()) Services().SetManualPlay(!cbAuto->isChecked());
}

void TQuickGameForm::EndGame(bool won)
{
    Timer1->SetEnabled(false);
    Services().ReportResult(ResultCode(won));
    SetModalResult(won ? mrYes : mrNo);
}

void TQuickGameForm::FormClose(TCloseAction& /*action*/)
{
    Timer1->SetEnabled(false);
    if (ModalResult() == mrYes || ModalResult() == mrNo) return;
    // Closed before the end: reported now, as lost unless my team has already won.
    EndGame(MyTeamDecidedWinner());
}

void TQuickGameForm::ShowBackBuffer()
{
    ShowOnField(m_back);
}

bool TQuickGameForm::comboFocused() const
{
    if (!cobOption) return false;
    // With its list open the keys go to the list, which still belongs to the combo.
    return cobOption->DroppedDown() || cobOption->hasFocus();
}

void TQuickGameForm::pauseOrResume()
{
    const bool paused = Timer1->Enabled();
    Timer1->SetEnabled(!paused);
    SetCaption(PauseCaption(paused));
}

void TQuickGameForm::FormKeyDown(Word& key, TShiftState shift)
{
    switch (key) {
    case VK_ESCAPE:
        pauseOrResume();
        return;
    case VK_F1:
        // The help window takes the focus, and the open list closes as it loses it.
        if (cobOption) cobOption->SetDroppedDown(false);
        GameHost().ShowHelp(this);
        return;
    case VK_F2:
        if (cobOption) {
            cobOption->setFocus();
            cobOption->SetDroppedDown(!cobOption->DroppedDown());
            key = 0;
            return;
        }
        break;
    case VK_F3:
        if (cbAuto) {
            cbAuto->click();
            key = 0;
            return;
        }
        break;
    case VK_SPACE:
        if (comboFocused()) {
            cobOption->SetDroppedDown(!cobOption->DroppedDown());
            key = 0;
            return;
        }
        break;
    default:
        break;
    }
    GameKeyDown(key, shift);
}

bool TQuickGameForm::eventFilter(QObject* o, QEvent* e)
{
    if (m_table.SwallowWheel && WheelOnForm(o, e)) return true;
    return TGameForm::eventFilter(o, e);
}
