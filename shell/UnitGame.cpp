#include "UnitGame.h"

#include "Dialogs.h"
#include "GameRandom.h"
#include "Help.h"
#include "ListItems.h"
#include "MyFileDialogs.h"
#include "Paths.h"
#include "Shell.h"
#include "SheetLink.h"
#include "SheetLoader.h"
#include "UnitCryptAccess.h"
#include "UnitGameWinMes.h"
#include "UnitJusinFNSelect.h"
#include "WindowPlacement.h"
#include <QFrame>
#include <QGuiApplication>
#include <QScreen>
#include <map>
#include <set>

TFormGame* FormGame = nullptr;

namespace {

QPixmap iconPixmap(const char* name)
{
    return QPixmap::fromImage(ResourceBitmap(QString::fromLatin1(name)));
}

const QString kPicFilter = QStringLiteral("BMP ﾌｧｲﾙ (*.bmp)|*.bmp|JPEG ﾌｧｲﾙ (*.jpg)|*.jpg|全種類 (*.bmp, *.jpg)|*.bmp;*.jpg");

} // namespace

QString SheetDisplayName(const QString& path)
{
    return ExtractFileName(path);
}

void CreateShellForms()
{
    FormGame = new TFormGame;
    SetGameHost(FormGame);
    FormJusinFNSelect = new TFormJusinFNSelect;
    FormGameWinMes = new TFormGameWinMes;
}

void DestroyShellForms()
{
    delete FormGameWinMes;
    FormGameWinMes = nullptr;
    delete FormJusinFNSelect;
    FormJusinFNSelect = nullptr;
    if (GameHostOrNull() == FormGame) SetGameHost(nullptr);
    delete FormGame;
    FormGame = nullptr;
}

TFormGame::TFormGame(QWidget* parent) : Form(parent)
{
    SetClientSize(648, 593);
    Font.Name = QStringLiteral("ＭＳ ゴシック");
    Font.SetHeight(-19);
    ApplyFont();
    KeyPreview = true;
    setAttribute(Qt::WA_QuitOnClose, true);

    Label1 = new QLabel(QStringLiteral("ゲームを選んで下さい。"), this);
    Label1->setGeometry(20, 8, 400, 26);

    struct Cell {
        QPushButton** button;
        QLabel** icon;
        const char* caption;
        const char* iconName;
        int gameNo;
    };
    const Cell cells[] = {
        {&bbPK, &imPK, "ＰＫ戦", "ICONPK", gnPK},
        {&bbKakure, &imKakure, "かくれんぼ", "ICONKAKURE", gnKakure},
        {&bbRun, &imRun, "かけっこ", "ICONRUN", gnRun},
        {&bbGolf, &imGolf, "ゴルフ", "ICONGOLF", gnGolf},
        {&bbMato, &imMato, "まと当て", "ICONMATO", gnMato},
        {&bbHur, &imHur, "ハードル", "ICONHUR", gnHur},
        {&bbBaseBall, &imBaseBall, "野球", "ICONBASEBALL", gnBaseBall},
        {&bbSoccer, &imSoccer, "サッカー", "ICONSOCCER", gnSoccer},
        {&bbKongou3, &imKongou3, "３本勝負", "ICONKONGOU3", gnKongou3},
    };
    int index = 0;
    for (const Cell& c : cells) {
        const int col = index % 3, row = index / 3;
        const int cellX = 18 + col * 206, top = 38 + row * 112;
        *c.icon = new QLabel(this);
        (*c.icon)->setGeometry(cellX + 66, top, 70, 70);
        (*c.icon)->setPixmap(iconPixmap(c.iconName));
        *c.button = new QPushButton(QString::fromUtf8(c.caption), this);
        (*c.button)->setGeometry(cellX + 6, top + 73, 190, 33);
        (*c.button)->setAutoDefault(false);
        ++index;
    }

    auto* teamBox = new QFrame(this);
    teamBox->setFrameShape(QFrame::StyledPanel);
    teamBox->setGeometry(14, 378, 620, 98);
    Label4 = new QLabel(QStringLiteral("選手の画像"), this);
    Label4->setGeometry(24, 382, 200, 24);
    Label2 = new QLabel(QStringLiteral("自分"), this);
    Label2->setGeometry(28, 412, 50, 26);
    Label3 = new QLabel(QStringLiteral("相手"), this);
    Label3->setGeometry(28, 444, 50, 26);
    edMyPic = new QLineEdit(this);
    edMyPic->setGeometry(80, 410, 290, 28);
    edAitePic = new QLineEdit(this);
    edAitePic->setGeometry(80, 442, 290, 28);
    for (QLineEdit* e : {edMyPic, edAitePic}) {
        e->setReadOnly(true);
        e->setFocusPolicy(Qt::ClickFocus);
    }
    btMyPic = new QPushButton(QStringLiteral("参照"), this);
    btMyPic->setGeometry(376, 410, 72, 28);
    btAitePic = new QPushButton(QStringLiteral("参照"), this);
    btAitePic->setGeometry(376, 442, 72, 28);
    bbPlayer = new QPushButton(QStringLiteral("画像作成"), this);
    bbPlayer->setGeometry(466, 400, 156, 70);

    cbSetUpOpenStart = new QCheckBox(QStringLiteral("開始時設定表示"), this);
    cbSetUpOpenStart->setGeometry(20, 484, 200, 26);
    cbAuto = new QCheckBox(QStringLiteral("自動進行"), this);
    cbAuto->setGeometry(226, 484, 150, 26);
    cb1 = new QCheckBox(QStringLiteral("BGM一時停止"), this);
    cb1->setGeometry(420, 484, 200, 26);
    cb2 = new QCheckBox(QStringLiteral("効果音なし"), this);
    cb2->setGeometry(20, 510, 200, 26);
    cb3 = new QCheckBox(QStringLiteral("歓声なし"), this);
    cb3->setGeometry(226, 510, 150, 26);

    Label5 = new QLabel(QStringLiteral("●<Esc>ｷｰで一時停止・再開します。使い方(<F1>ｷｰ)を読むときなどにどうぞ。"), this);
    Label5->setGeometry(20, 544, 500, 20);
    Label6 = new QLabel(QStringLiteral("●ゲームの途中で終了すると負けになります。 "), this);
    Label6->setGeometry(20, 566, 500, 20);
    for (QLabel* l : {Label5, Label6}) {
        l->setTextFormat(Qt::PlainText);
        QFont f = font();
        f.setPixelSize(13);
        l->setFont(f);
    }
    btClose = new QPushButton(QStringLiteral("閉じる"), this);
    btClose->setGeometry(530, 544, 104, 40);
    for (QPushButton* b : {btMyPic, btAitePic, bbPlayer, btClose}) b->setAutoDefault(false);

    for (int i = 0; i < 12; ++i) imlAnime.AddMasked(ResourceBitmap(QStringLiteral("ANIME%1").arg(i, 2, 10, QLatin1Char('0'))));

    opd1 = new TMyOpenPictureDialog(this);
    opd1->Options = ofHideReadOnly | ofFileMustExist | ofEnableSizing;
    opd1->DirUpBtn = false;
    opd1->KeepSize = false;

    tmAutoClose = new GameTimer(this, 5000, false);
    tmAutoClose->OnTimer = [this] { tmAutoCloseTimer(); };

    connect(bbPK, &QPushButton::clicked, this, &TFormGame::bbPKClick);
    connect(bbKakure, &QPushButton::clicked, this, &TFormGame::bbKakureClick);
    connect(bbRun, &QPushButton::clicked, this, &TFormGame::bbRunClick);
    connect(bbGolf, &QPushButton::clicked, this, &TFormGame::bbGolfClick);
    connect(bbMato, &QPushButton::clicked, this, &TFormGame::bbMatoClick);
    connect(bbHur, &QPushButton::clicked, this, &TFormGame::bbHurClick);
    connect(bbBaseBall, &QPushButton::clicked, this, &TFormGame::bbBaseBallClick);
    connect(bbSoccer, &QPushButton::clicked, this, &TFormGame::bbSoccerClick);
    connect(bbKongou3, &QPushButton::clicked, this, &TFormGame::bbKongou3Click);
    connect(btMyPic, &QPushButton::clicked, this, &TFormGame::btMyPicClick);
    connect(btAitePic, &QPushButton::clicked, this, &TFormGame::btAitePicClick);
    connect(bbPlayer, &QPushButton::clicked, this, &TFormGame::bbPlayerClick);
    connect(btClose, &QPushButton::clicked, this, &TFormGame::btCloseClick);
    connect(cb2, &QCheckBox::clicked, this, &TFormGame::cb2Click);
    connect(cbSetUpOpenStart, &QCheckBox::clicked, this, &TFormGame::cb2Click);

    FormCreate();
}

TFormGame::~TFormGame()
{
    if (FormGame == this) FormGame = nullptr;
}

void TFormGame::FormCreate()
{
    cbAuto->setToolTip(QStringLiteral("チェック枠のあるゲーム(瞬発系ミニゲーム)で，あらかじめ自動進行にしておくことができます。（※ゲーム開始時に決めることもできます。）"));
    cb2->setToolTip(QStringLiteral("ゲームの効果音を消します。"));
    cb3->setToolTip(QStringLiteral("ゲームの歓声を消します。"));
    cb1->setToolTip(QStringLiteral("ぱにもこのBGMが流れていても，ゲーム中だけBGMを一時停止します。"));
    cbSetUpOpenStart->setToolTip(QStringLiteral("ゲームのスタート時に，設定メニューを開いた状態にします。"));
    btMyPic->setToolTip(QStringLiteral("ゲームで使用する自分チームの画像を指定します。"));
    btAitePic->setToolTip(QStringLiteral("ゲームで使用する相手チームの画像を指定します。"));
    bbPK->setToolTip(QStringLiteral("ＰＫ … ゴール内をクリックして，ボールやキーパーの方向を決めます。"));
    bbKakure->setToolTip(QStringLiteral("かくれんぼ … かくれ場所をクリックして，選手のかくれる場所を決めます。"));
    bbRun->setToolTip(QStringLiteral("かけっこ … コース上の番号をクリックすると，ランナーがダッシュするかしないかが決まります。"));
    bbGolf->setToolTip(QStringLiteral("ゴルフ … マウスドラッグでボールを打つ方向を決めて，次に左ボタンを放してボールを打ちます。"));
    bbMato->setToolTip(QStringLiteral("まと当て … 画面上をクリックすると，的に向かってボールをけります。"));
    bbHur->setToolTip(QStringLiteral("ハードル … 画面上をクリックすると，ランナーがジャンプします。"));
    bbKongou3->setToolTip(QStringLiteral("３本勝負 … ランダムに選択されたゲーム（野球とサッカー以外）の３本勝負です。先に２勝した方が勝ちになります。"));
    bbBaseBall->setToolTip(QStringLiteral("野球 … コース番号をクリックすると，選手が投げたり打ったりします。"));
    bbSoccer->setToolTip(QStringLiteral("サッカー … パスしたい選手をクリックするとパス，ゴール枠をクリックするとシュートします。 ※試合時間が「過去リプレイ」のときは，ポイントの増減はありません。"));
    bbPlayer->setToolTip(QStringLiteral("画像作成 … ゲームで使用する選手の画像を作ります。"));
    btClose->setToolTip(QStringLiteral("このフォームを閉じます。　【ｷｰﾎﾞｰﾄﾞ】<F4>, <Esc>"));
    edMyPic->setToolTip(btMyPic->toolTip());
    edAitePic->setToolTip(btAitePic->toolTip());

    SetFileAccessContext(ProgramFile(), this, QStringLiteral("ポリコロ"));

    // A game whose form is not part of this program cannot be started.
    const std::pair<QPushButton*, int> buttons[] = {{bbPK, gnPK},     {bbKakure, gnKakure},     {bbRun, gnRun},
                                                    {bbGolf, gnGolf}, {bbMato, gnMato},         {bbHur, gnHur},
                                                    {bbBaseBall, gnBaseBall}, {bbSoccer, gnSoccer}};
    bool allQuick = true;
    for (const auto& [b, no] : buttons) {
        b->setEnabled(HasGameLauncher(no));
        if (no <= gnHur && !HasGameLauncher(no)) allQuick = false;
    }
    bbKongou3->setEnabled(allQuick);
}

void TFormGame::FormShow()
{
    FPlayerName = QStringLiteral("もこ太郎");
    FDataDir = ProgramDir() + QStringLiteral("/画像と音声/");

    const QString fontName = Font.Name;
    for (QWidget* w : std::initializer_list<QWidget*>{Label1, cbSetUpOpenStart, cbAuto, cb2, cb3, cb1, Label5, Label6}) {
        QFont f = w->font();
        f.setFamily(fontName);
        w->setFont(f);
    }

    AdjustFormTop(this);
    if (QScreen* s = screen()) SetLeft(s->geometry().left() + (s->geometry().width() - frameGeometry().width()) / 2);

    FPresentedBy = QStringLiteral(" ～ presented by ぱにもこ");
    SetCaption(QStringLiteral("ポリコロ") + FPresentedBy);
    FSeriesName = QStringLiteral("ぱにもこ");

    FGameNo = 0;
    FMatchLength = 1;
    FWinCount = 0;
    FLoseCount = 0;
    FOptionIndex = 0;
    FManualPlay = true;

    if (FMyPicFile.isEmpty()) FMyPicFile = FDataDir + QStringLiteral("ゲームの選手画像/サンプル選手画像11.bmp");
    edMyPic->setText(SheetDisplayName(FMyPicFile));
    if (FAitePicFile.isEmpty()) FAitePicFile = FDataDir + QStringLiteral("ゲームの選手画像/サンプル選手画像12.bmp");
    edAitePic->setText(SheetDisplayName(FAitePicFile));
    FThirdPicFile = FDataDir + QStringLiteral("ゲームの選手画像/サンプル選手画像03.bmp");

    LcgRandomize();
    MTRandomize();
}

void TFormGame::FormKeyDown(Word& key, TShiftState)
{
    if (key == VK_ESCAPE || key == VK_F4) {
        btClose->click();
        key = 0;
    } else if (key == VK_MENU) {
        key = 0;
    } else if (key == VK_F1) {
        ShowHelp(this);
    }
}

void TFormGame::btCloseClick()
{
    Close();
}

void TFormGame::tmAutoCloseTimer()
{
    if (FormGameWinMes && FormGameWinMes->isVisible()) FormGameWinMes->Close();
    tmAutoClose->SetEnabled(false);
}

quint16 TFormGame::PlayPK() { return LaunchGame(gnPK, *this); }
quint16 TFormGame::PlayKakure() { return LaunchGame(gnKakure, *this); }
quint16 TFormGame::PlayRun() { return LaunchGame(gnRun, *this); }
quint16 TFormGame::PlayGolf() { return LaunchGame(gnGolf, *this); }
quint16 TFormGame::PlayMato() { return LaunchGame(gnMato, *this); }
quint16 TFormGame::PlayHurdle() { return LaunchGame(gnHur, *this); }
quint16 TFormGame::PlayBaseBall() { return LaunchGame(gnBaseBall, *this); }
quint16 TFormGame::PlaySoccer() { return LaunchGame(gnSoccer, *this); }

void TFormGame::playSingle(int gameNo, quint16 (TFormGame::*launcher)())
{
    FGameNo = gameNo;
    FMatchLength = 1;
    (this->*launcher)();
    Close();
}

void TFormGame::bbPKClick() { playSingle(gnPK, &TFormGame::PlayPK); }
void TFormGame::bbKakureClick() { playSingle(gnKakure, &TFormGame::PlayKakure); }
void TFormGame::bbRunClick() { playSingle(gnRun, &TFormGame::PlayRun); }
void TFormGame::bbGolfClick() { playSingle(gnGolf, &TFormGame::PlayGolf); }
void TFormGame::bbMatoClick() { playSingle(gnMato, &TFormGame::PlayMato); }
void TFormGame::bbHurClick() { playSingle(gnHur, &TFormGame::PlayHurdle); }
void TFormGame::bbBaseBallClick() { playSingle(gnBaseBall, &TFormGame::PlayBaseBall); }
void TFormGame::bbSoccerClick() { playSingle(gnSoccer, &TFormGame::PlaySoccer); }

void TFormGame::bbKongou3Click()
{
    FGameNo = gnKongou3;
    FMatchLength = 3;
    FWinCount = 0;
    FLoseCount = 0;
    FMatchDecided = false;
    std::set<int> unplayed{0, 1, 2, 3, 4, 5};

    auto PlayRandomGame = [&] {
        int n;
        do {
            n = LcgRandom(6);
        } while (!unplayed.count(n));
        static quint16 (TFormGame::*const games[])() = {&TFormGame::PlayPK,   &TFormGame::PlayKakure,
                                                        &TFormGame::PlayRun,  &TFormGame::PlayGolf,
                                                        &TFormGame::PlayMato, &TFormGame::PlayHurdle};
        (this->*games[n])();
        unplayed.erase(n);
    };

    PlayRandomGame();
    PlayRandomGame();
    if (!FMatchDecided) PlayRandomGame();
    Close();
}

void TFormGame::cb2Click()
{
    if (cb2->isChecked()) cb3->setChecked(true);
}

void TFormGame::chooseTeamPicture(bool mine)
{
    const QString title = mine ? QStringLiteral("自分チームの画像") : QStringLiteral("相手チームの画像");
    QString& file = mine ? FMyPicFile : FAitePicFile;
    opd1->Title = title;
    opd1->InitialDir = FDataDir + QStringLiteral("ゲームの選手画像");
    opd1->Filter = kPicFilter;
    opd1->DefaultExt = QStringLiteral("bmp");
    opd1->FilterIndex = 3;
    opd1->FileName = file;
    if (!opd1->Execute()) return;
    const QString chosen = opd1->FileName;
    if (chosen.isEmpty()) return;
    file = CompleteFileExt(chosen, QStringLiteral("bmp,jpg"));
    (mine ? edMyPic : edAitePic)->setText(SheetDisplayName(file));
}

void TFormGame::btMyPicClick()
{
    chooseTeamPicture(true);
}

void TFormGame::btAitePicClick()
{
    chooseTeamPicture(false);
}

void TFormGame::bbPlayerClick()
{
    FReceivedFileName.clear();
    if (!ShellExecuteAndWait(this, ProgramDir() + QStringLiteral("/ピクモ"))) return;
    if (FReceivedFileName.isEmpty()) return;
    MessageBeep(MB_ICONEXCLAMATION);
    if (FormJusinFNSelect->ShowModal() != mrOk) return;
    if (FormJusinFNSelect->rb1->isChecked()) {
        FMyPicFile = CompleteFileExt(FReceivedFileName, QStringLiteral("bmp,jpg"));
        edMyPic->setText(SheetDisplayName(FMyPicFile));
    } else if (FormJusinFNSelect->rb2->isChecked()) {
        FAitePicFile = CompleteFileExt(FReceivedFileName, QStringLiteral("bmp,jpg"));
        edAitePic->setText(SheetDisplayName(FAitePicFile));
    }
}

int TFormGame::WMCopyData(quint32, const QByteArray& data)
{
    QString path;
    // A path that arrived cut or without its end is refused; the last good one stays.
    if (!PathFromCopyData(data, path)) return 0;
    FReceivedFileName = path;
    return 1;
}

void TFormGame::ListenForEditor()
{
    if (!m_link) {
        m_link = std::make_unique<SheetLinkServer>();
        m_link->OnCopyData = [this](const CopyDataMessage& m) { return WMCopyData(m.dwData, m.data); };
    }
    m_link->Listen();
}

int TFormGame::GameRandom(int, int n)
{
    const int r = PickRandom(n);
    ++FRandomCount;
    return r;
}

int TFormGame::PickRandom(int n)
{
    return BlockRandom(FRandomCount, FRandomBlock, n);
}

void TFormGame::AdjustFormTop(QWidget* form)
{
    QScreen* s = form->screen() ? form->screen() : QGuiApplication::primaryScreen();
    if (!s) return;
    const int top = AdjustedFormTop(s->geometry(), s->availableGeometry(), form->frameGeometry().height(), form->y());
    form->move(form->x(), top);
}

void TFormGame::ShowHelp(QWidget* form)
{
    FHelpFile = ProgramDir() + QStringLiteral("/ポリコロヘルプ.chm");
    if (FileExists(FHelpFile)) {
        HtmlHelpDisplay(form, FHelpFile);
        return;
    }
    MessageBeep(MB_ICONASTERISK);
    MessageDlg(QStringLiteral("\"%1\"ファイルが見つかりません。\n\n\"%2\"ファイルと同じフォルダにあるか確認して下さい。")
                   .arg(ExtractFileName(FHelpFile), QStringLiteral("ちびポリコロ")),
               TMsgDlgType::mtWarning, TMsgButtons::OK, form);
}

void TFormGame::SetResultPlayers(int myIndex, int aiteIndex)
{
    FormGameWinMes->FMyPlayerIndex = myIndex;
    FormGameWinMes->FAitePlayerIndex = aiteIndex;
}

void TFormGame::LoadTeamPictures(TBitmap& mySheet, TBitmap& aiteSheet)
{
    LoadTeamSheet(FMyPicFile, QStringLiteral("PLAYER0"), mySheet);
    LoadTeamSheet(FAitePicFile, QStringLiteral("PLAYER1"), aiteSheet);
}

QString TFormGame::CompleteFileExt(const QString& fileName, const QString& extList)
{
    return ::CompleteFileExt(fileName, extList);
}

quint16 TFormGame::GetModeBits() const
{
    return quint16((FManualPlay ? 0 : 0x800) + FOptionIndex * 256);
}

QString TFormGame::ResultCodeText(quint16 code, int digits) const
{
    auto hex = [digits](int v) { return QStringLiteral("%1").arg(v, digits, 16, QLatin1Char('0')).toUpper(); };
    return hex((code >> 13) & 1) + hex((code >> 11) & 1) + hex((code >> 8) & 7);
}

void TFormGame::ShowGameResult(quint16 code)
{
    TFormGameWinMes* w = FormGameWinMes;
    w->SetCaption(QStringLiteral("ポリコロ"));
    w->FCodeText = ResultCodeText(code, 1);
    const bool won = code & 0x2000;
    int n;
    int kind;
    QString mainText;
    if (won) {
        n = ++FWinCount;
        kind = 0;
        mainText = QStringLiteral("勝ちました～");
    } else {
        n = ++FLoseCount;
        kind = 1;
        mainText = QStringLiteral("負けました...");
    }
    w->FGameNo = FGameNo;
    w->FMainText = mainText;
    if (FMatchLength <= 1) {
        w->FScreenKind = kind;
        w->FSubText.clear();
    } else if (n > FMatchLength / 2) {
        tmAutoClose->SetEnabled(false);
        FMatchDecided = true;
        w->FScreenKind = kind;
        w->FSubText = QStringLiteral("%1 勝 %2 敗で勝負あり！").arg(FWinCount).arg(FLoseCount);
    } else {
        tmAutoClose->SetEnabled(true);
        w->SetCaption(w->Caption() + QStringLiteral(" （5秒後に自動で閉じます。）"));
        w->FScreenKind = 2;
        w->FSubText = QStringLiteral("%1 勝 %2 敗").arg(FWinCount).arg(FLoseCount);
    }
    w->ShowModal();
}
