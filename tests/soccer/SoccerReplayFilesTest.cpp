// The replay files on disk: slot and player names, the index in CP932 with CR LF, the 30 slots in
// turn with only this program's slot files deleted, failed writes, pipes named like slots, the past
// replay's slot stepper, and the manual save through its real dialog.
#include "MyFileDialogs.h"
#include "SoccerHarness.h"
#include "SoccerReplayFile.h"
#include "SoccerReplaySave.h"
#include "GameHost.h"
#include "Sjis.h"
#include "TestDoubles.h"
#include "TestSupport.h"
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace soccer;

namespace {

// Qt's file dialog keeps settings under the user's folders: they point into a temporary folder.
QTemporaryDir g_home;
const bool g_homeSet = [] {
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(g_home.path()));
    qputenv("HOME", QFile::encodeName(g_home.path()));
    return true;
}();

const QString kName = QStringLiteral("もこ太郎");

struct ReplayFolder : ::testing::Test {
    QTemporaryDir tmp;
    QString folder = ReplayFolderOf(tmp.path() + QStringLiteral("/画像と音声/"));
    TReplayFiles files{folder};
    RecordingDialogs rec;
    QString Path(const QString& name) const { return folder + QLatin1Char('/') + name; }
    void Fifo(const QString& name) const { ASSERT_EQ(::mkfifo(QFile::encodeName(Path(name)).constData(), 0600), 0); }
    QStringList Names() const { return QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name); }
};

} // namespace

TEST(SoccerReplayFiles, SlotAndPlayerNames)
{
    EXPECT_EQ(SlotFileName(5, ReplaySuffix(kName, 2, 1)), QStringLiteral("過去リプレイ05_もこ太郎_2-1.rpz"));
    EXPECT_EQ(SafeNamePart(QStringLiteral("a/b\\c:d*e?f\"g<h>i|j\tk😀l")), QStringLiteral("abcdefghijkl"));
    EXPECT_LE(SafeNamePart(QString(300, QChar(0x3042))).toUtf8().size(), 180);
    for (const char* n : {"過去リプレイ05_x_1-0.rpz", "過去リプレイ05_.RPZ"}) EXPECT_TRUE(IsSlotFileName(QString::fromUtf8(n), 5));
    for (const char* n : {"過去リプレイ05.rpz", "過去リプレイ5_x.rpz", "過去リプレイ05のコピー.rpz", "リプレイ手動保存_過去リプレイ05_x.rpz",
                          "過去リプレイ05_x.rpz.txt", "過去リプレイ15_x.rpz"})
        EXPECT_FALSE(IsSlotFileName(QString::fromUtf8(n), 5)) << n;
    TReplayFiles f(QStringLiteral("/r"));
    f.FReplaySlot = 5;
    f.FReplayFile = QStringLiteral("/r/過去リプレイ05_もこ太郎_2-1.rpz");
    EXPECT_EQ(f.MakeReplayLabel(), QStringLiteral("もこ太郎 2-1"));
}

TEST_F(ReplayFolder, IndexInCp932WithCrLfAndHostileIndexes)
{
    const QByteArray index = MakeReplayIndex({5, QStringLiteral("もこ太郎_2-1")});
    EXPECT_EQ(index.toHex(), QByteArray("350d0a") + "82e082b191be9859" + "5f322d31" + "0d0a");
    const std::pair<QByteArray, int> cases[] = {
        {index, 5}, {"7\r\n", 7}, {"29", 29}, {"03\nname\n", 3}, {"", -1}, {"x\r\n", -1}, {"30\r\n", -1},
        {"-1\r\n", -1}, {"5a\r\n", -1}, {"\r\n5\r\n", -1}, {"5\r\n../x\r\n", -1}, {"5\r\n\x85\x40\r\n", -1},
        {QByteArray("5\r\n\0", 4), -1}, {"5\r\n" + QByteArray(5000, 'a'), -1}};
    for (const auto& [bytes, slot] : cases) {
        TReplayIndex out;
        EXPECT_EQ(ParseReplayIndex(bytes, out) ? out.Slot : -1, slot) << bytes.toStdString();
    }
    // Missing, malformed or a pipe: no slot, no name, no file, and no box about it.
    ASSERT_TRUE(files.CreateFolder());
    for (int kind = 0; kind < 3; ++kind) {
        if (kind == 1) WriteFile(files.IndexPath(), "abc\r\n");
        if (kind == 2) QFile::remove(files.IndexPath()), Fifo(QStringLiteral("過去リプレイ_Index.txt"));
        files.FReplaySlot = 9;
        files.ReadIndex();
        EXPECT_TRUE(files.FReplaySlot == 0 && files.FReplayFile.isEmpty() && files.FReplayName.isEmpty());
        EXPECT_FALSE(files.IndexAvailable());
    }
    EXPECT_TRUE(rec.records.empty());
}

TEST_F(ReplayFolder, SlotsTurnFrom29To00AndOnlyOurSlotFilesGo)
{
    ASSERT_TRUE(files.CreateFolder()); // parents and all
    WriteFile(files.IndexPath(), MakeReplayIndex({29, QStringLiteral("old_0-1")}));
    for (const char* n : {"過去リプレイ00_old_3-0.rpz", "過去リプレイ00_x.RPZ", "過去リプレイ01_keep_1-0.rpz",
                          "リプレイ手動保存_過去リプレイ00_x.rpz", "過去リプレイ00のコピー.rpz", "target.rpz"})
        WriteFile(Path(QString::fromUtf8(n)), "old");
    // Copies a killed save may leave: only this slot's go, whatever their name.
    const char* temps[] = {".過去リプレイ00_old_3-0.rpz.~Ab12Cd", ".過去リプレイ01_keep_1-0.rpz.~Ab12Cd",
                           ".過去リプレイ00_x.rpz.~Ab12C", ".過去リプレイ00_x.rpz.~Ab12C-", ".target.rpz.~Ab12Cd"};
    for (const char* n : temps) WriteFile(Path(QString::fromUtf8(n)), "copy");
    QDir(folder).mkdir(QStringLiteral("過去リプレイ00_dir.rpz"));
    Fifo(QStringLiteral("過去リプレイ00_pipe.rpz"));
    QFile::link(Path(QStringLiteral("target.rpz")), Path(QStringLiteral("過去リプレイ00_link.rpz")));
    files.ReadIndex();
    EXPECT_EQ(files.FReplaySlot, 29);
    EXPECT_EQ(files.FReplayFile, Path(QStringLiteral("過去リプレイ29_old_0-1.rpz")));
    // Asked again when the past replay is chosen, the answer is that reading's: the file is not read twice.
    QFile::remove(files.IndexPath());
    EXPECT_TRUE(files.IndexAvailable());

    ASSERT_TRUE(files.SaveSlot("stream", ReplaySuffix(kName, 2, 1)));
    EXPECT_EQ(Names(), QStringList({"target.rpz", "リプレイ手動保存_過去リプレイ00_x.rpz", "過去リプレイ00_dir.rpz",
                                    "過去リプレイ00_pipe.rpz", "過去リプレイ00_もこ太郎_2-1.rpz", "過去リプレイ00のコピー.rpz",
                                    "過去リプレイ01_keep_1-0.rpz", "過去リプレイ_Index.txt"}));
    for (const char* n : temps) EXPECT_EQ(QFile::exists(Path(QString::fromUtf8(n))), n != temps[0]) << n;
    EXPECT_EQ(ReadFile(Path(QStringLiteral("過去リプレイ00_もこ太郎_2-1.rpz"))), "stream");
    EXPECT_EQ(ReadFile(files.IndexPath()), MakeReplayIndex({0, QStringLiteral("もこ太郎_2-1")}));
    ASSERT_TRUE(files.SaveSlot("next", QStringLiteral("_0-0")));
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("過去リプレイ01_keep_1-0.rpz"))));
    EXPECT_TRUE(rec.records.empty());

    // A slot that cannot be written is reported; its old files and the index stay as they were.
    QDir(folder).mkdir(QStringLiteral("過去リプレイ02_a_1-0.rpz"));
    WriteFile(Path(QStringLiteral("過去リプレイ02_b.rpz")), "old");
    const QByteArray indexBefore = ReadFile(files.IndexPath());
    EXPECT_FALSE(files.SaveSlot("x", QStringLiteral("a_1-0")));
    EXPECT_EQ(rec.Boxes().size(), 1u);
    EXPECT_TRUE(ReadFile(Path(QStringLiteral("過去リプレイ02_b.rpz"))) == "old" && ReadFile(files.IndexPath()) == indexBefore);
    EXPECT_EQ(files.FReplaySlot, 1);
}

// A match closed after its winner is known, with a folder that cannot hold files: the failed save is
// reported and so is the result.
TEST_F(ReplayFolder, AFailedSaveStillReportsTheResult)
{
    WriteFile(tmp.path() + QStringLiteral("/blocked"), "a file, not a folder");
    TReplayFiles blocked(tmp.path() + QStringLiteral("/blocked/サッカー過去リプレイ"));
    SoccerHarness h(3);
    InstallReplayServices(h.e, blocked, [] { return kName; });
    h.start(tmSuddenDeath);
    for (int i = 0; i < 20000 && h.e.FWinner < 0; ++i) h.tick();
    ASSERT_GE(h.e.FWinner, 0);
    ASSERT_TRUE(h.reports.empty());
    h.e.Close();
    EXPECT_EQ(h.reports.size(), 1u);
    EXPECT_EQ(rec.Boxes().size(), 1u);
}

TEST_F(ReplayFolder, PastReplayStepsOverSlotsAndRefusesPipes)
{
    ASSERT_TRUE(files.CreateFolder());
    SoccerHarness h;
    OneScene(h.e);
    WriteFile(Path(QStringLiteral("過去リプレイ03_a_2-1.rpz")), h.e.FReplayStream);
    WriteFile(Path(QStringLiteral("過去リプレイ04_b_2-1.rpz")), h.e.FReplayStream);
    Fifo(QStringLiteral("過去リプレイ05_pipe.rpz"));
    files.FReplaySlot = 4;
    EXPECT_FALSE(files.StepSlot(+1)); // only a pipe: the stepper stays
    EXPECT_EQ(files.FReplaySlot, 4);
    files.FReplaySlot = 29;
    EXPECT_FALSE(files.StepSlot(+1)); // 29 -> 00: none there

    TSoccerEngine& e = h.e;
    QStringList warnings;
    InstallReplayServices(e, files, [] { return kName; });
    e.Svc.Warning = [&](const QString& t) { warnings << t; };
    files.FReplaySlot = 4;
    ASSERT_TRUE(StepReplaySlot(e, files, -1));
    EXPECT_EQ(files.FReplayFile, Path(QStringLiteral("過去リプレイ03_a_2-1.rpz")));
    EXPECT_EQ(e.FGoalLabels, std::vector<QString>{QStringLiteral("● 10:00")});
    EXPECT_EQ(files.MakeReplayLabel(), QStringLiteral("a 2-1"));
    // A pipe or an oversized file chosen by name reads as nothing, without waiting for a writer.
    QFile big(Path(QStringLiteral("big.rpz")));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly) && big.resize(kMaxReplayBytes + 1));
    for (const char* n : {"過去リプレイ05_pipe.rpz", "big.rpz"}) {
        ASSERT_TRUE(files.ChooseFile(Path(QString::fromUtf8(n))));
        e.OpenPastReplay(true);
        EXPECT_TRUE(e.FGoalLabels.empty() && !e.FReplaying);
    }
    EXPECT_EQ(warnings.size(), 2);
    EXPECT_FALSE(files.ChooseFile(Path(QStringLiteral("none.rpz"))));
}

TEST_F(ReplayFolder, ManualSaveThroughItsDialog)
{
    ASSERT_TRUE(files.CreateFolder());
    SoccerHarness h;
    TSoccerEngine& e = h.e;
    OneScene(e);
    bool manual = true;
    e.Svc.ManualPlay = [&] { return manual; };
    TMyOpenDialog open;
    TMySaveDialog save;
    SetUpReplayDialogs(open, save, files);
    InstallReplayLinks(e, save, [] { return kName; });
    e.FCanSaveReplay = true;
    EXPECT_TRUE(ResultLinks().CanSaveReplay());
    const QString saved = Path(QStringLiteral("リプレイ手動保存_もこ太郎_2-1.rpz"));

    // Each run presses Return in the name box `returns` times, with the boxes answered in turn.
    auto run = [&](int returns, std::deque<int> answers, QString* shown = nullptr) {
        rec.answers = std::move(answers);
        rec.Clear();
        TMyFileDialog::SetTestHook([&](TMyFileDialog& d) {
            auto* edit = d.Dialog()->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (shown) *shown = edit->text();
            for (int i = 0; i < returns && d.Dialog()->isVisible(); ++i) QTest::keyClick(edit, Qt::Key_Return);
            if (d.Dialog()->isVisible()) d.Dialog()->reject();
        });
        ResultLinks().SaveReplayManually();
        TMyFileDialog::SetTestHook(nullptr);
    };
    QString shown;
    run(1, {}, &shown);
    EXPECT_EQ(shown, QStringLiteral("リプレイ手動保存_もこ太郎_2-1"));
    EXPECT_EQ(ReadFile(saved), e.FReplayStream);
    EXPECT_TRUE(ReadFile(saved).startsWith('\x01')); // the header rewritten with the manual-play flag of now

    // The same name: the dialog asks (No keeps it open), then the save asks again (Cancel saves nothing).
    e.FStats[0][stShots] = 9;
    run(2, {idNo, idYes, idCancel});
    const auto boxes = rec.Boxes();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].text, saved + QStringLiteral("\r\nファイルはすでに存在します。上書き保存しますか。"));
    EXPECT_EQ(boxes[2].text, QStringLiteral("指定したファイル名はすでに存在します。上書きしてもいいですか。"));
    EXPECT_TRUE(boxes[0].buttons == TMsgButtons::YesNo && boxes[2].buttons == TMsgButtons::YesCancel);
    EXPECT_EQ(rec.BeepCount(MB_ICONEXCLAMATION), 3);
    EXPECT_NE(ReadFile(saved).mid(5, 4), QByteArray("\x09\0\0\0", 4));

    // Once the result is settled the header is left as it is; both questions answered Yes.
    e.ModalResult = 6;
    const QByteArray before = e.FReplayStream;
    run(1, {idYes, idYes});
    EXPECT_EQ(ReadFile(saved), before);
    // A name typed without an extension gets ".rpz".
    save.FileName = QStringLiteral("mine");
    run(1, {});
    EXPECT_EQ(ReadFile(Path(QStringLiteral("mine.rpz"))), before);
    RemoveReplayLinks();
    EXPECT_FALSE(ResultLinks().SaveReplayManually);
}
