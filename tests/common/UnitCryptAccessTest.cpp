#include "UnitCryptAccess.h"

#include "../platform/HostileFiles.h"
#include "ChmArchive.h"
#include "PictureFile.h"
#include "PictureOffsetFile.h"
#include "SheetFile.h"
#include "SheetLoader.h"
#include "SoccerReplayFile.h"
#include "SoccerReplayFiles.h"
#include "UnitKakure.h"

#include "Clock.h"
#include "Dialogs.h"
#include "Paths.h"
#include "TestSupport.h"
#include "UnitMes.h"
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QThread>
#include <QWidget>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <functional>
#include <random>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include "TestDoubles.h"

namespace {

QString crlf()
{
    return QStringLiteral("\r\n");
}

// Every access window ever made is gone from the screen (deleted or at least hidden).
bool NoAccessWindowShown()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<TFormMes*>(w) && w->isVisible()) return false;
    return true;
}

QStringList FilesIn(const QString& dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

qint64 PeakKb()
{
    rusage u {};
    ::getrusage(RUSAGE_SELF, &u);
    return qint64(u.ru_maxrss);
}

// Lets takes() read a sparse file one byte over cap, then one of 400 MB, and ends the process: with
// 0 when it took neither and the peak memory grew by less than half the cap (between 2 and 16 MB).
// The file's folder goes with the process.
[[noreturn]] void ExitAfterOverCapReads(QTemporaryDir& dir, const char* name, qint64 cap,
                                        const std::function<bool(const QString&)>& takes)
{
    const QString path = dir.filePath(QString::fromUtf8(name));
    // What any first report costs (fonts, the access window) is not the reader's.
    WriteFile(path, "");
    takes(path);
    ShowAccessMessage();
    HideAccessMessage();
    bool taken = false, made = true;
    qint64 grownKb = 0;
    for (const qint64 size : {cap + 1, qint64(400) << 20}) {
        made = made && ::truncate(QFile::encodeName(path).constData(), size) == 0;
        const qint64 before = PeakKb();
        taken = takes(path) || taken;
        grownKb = std::max(grownKb, PeakKb() - before);
    }
    std::fprintf(stderr, "taken %d, peak grew by %lld KiB\n", int(taken), static_cast<long long>(grownKb));
    const bool small = grownKb < std::clamp(cap / 2, qint64(2) << 20, qint64(16) << 20) / 1024;
    dir.remove();
    std::_Exit(made && !taken && small ? 0 : 1);
}

class FileAccessTest : public ::testing::Test {
protected:
    void SetUp() override { SetFileAccessContext(ProgramFile(), nullptr, QStringLiteral("ポリコロ")); }
    QTemporaryDir tmp;
    RecordingDialogs rec;
};

TEST_F(FileAccessTest, MissingFileGivesEmptyStringAndTheErrorBox)
{
    QByteArray s = "left over";
    EXPECT_FALSE(LoadFileToString(tmp.filePath(QStringLiteral("無い.txt")), s, 16));
    EXPECT_TRUE(s.isEmpty());
    ASSERT_EQ(rec.Boxes().size(), 1u);
    const MessageRecord box = rec.Boxes()[0];
    EXPECT_EQ(box.type, TMsgDlgType::mtWarning);
    EXPECT_EQ(box.buttons, TMsgButtons::OK);
    EXPECT_EQ(box.text, QStringLiteral("ファイルにアクセスできません。") + crlf() + crlf() + QStringLiteral("\"無い.txt\"") + crlf()
                            + QStringLiteral("エラーコード=00000002") + crlf() + SystemErrorText(2));
    EXPECT_EQ(rec.BeepCount(MB_ICONHAND), 1);
    EXPECT_TRUE(NoAccessWindowShown());

    // A folder is no file either.
    rec.Clear();
    EXPECT_FALSE(LoadFileToString(tmp.path(), s, 16));
    ASSERT_EQ(rec.Boxes().size(), 1u);
    EXPECT_TRUE(rec.Boxes()[0].text.contains(ErrorCodeLine(EISDIR)));
}

TEST_F(FileAccessTest, WritesExactlyTheBytesAndReadsThemBack)
{
    const QString path = tmp.filePath(QStringLiteral("野球_選手画像の調節.txt"));
    const QByteArray longer("line one\r\nline two\r\n\0binary\xff", 29);
    ASSERT_TRUE(SaveStringToFile(path, longer));
    QByteArray s;
    ASSERT_TRUE(LoadFileToString(path, s, longer.size()));
    EXPECT_EQ(s, longer);
    // One byte over the caller's cap: refused and reported, or refused quietly by a reader to which
    // such a file is none of its own.
    EXPECT_FALSE(LoadOwnFileToString(path, s, longer.size() - 1));
    EXPECT_TRUE(rec.records.empty());
    EXPECT_FALSE(LoadFileToString(path, s, longer.size() - 1));
    ASSERT_EQ(rec.Boxes().size(), 1u);
    EXPECT_EQ(rec.Boxes()[0].text, FileAccessErrorText(path, 0, EFBIG));
    rec.Clear();

    // A shorter string over a longer file leaves exactly the new length, and the file keeps its mode.
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    ASSERT_TRUE(SaveStringToFile(path, "abc"));
    EXPECT_EQ(ReadFile(path), QByteArray("abc"));
    EXPECT_EQ(QFileInfo(path).size(), 3);
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);

    // The empty string empties the file; no temporary file is left beside it.
    ASSERT_TRUE(SaveStringToFile(path, QByteArray()));
    EXPECT_EQ(QFileInfo(path).size(), 0);
    EXPECT_EQ(FilesIn(tmp.path()), QStringList{QStringLiteral("野球_選手画像の調節.txt")});
    EXPECT_TRUE(rec.records.empty());
}

TEST_F(FileAccessTest, FailedWritesReportAndLeaveTheOldFile)
{
    // A folder where the file should be.
    const QString dir = tmp.filePath(QStringLiteral("index.txt"));
    ASSERT_TRUE(QDir().mkdir(dir));
    EXPECT_FALSE(SaveStringToFile(dir, "new"));
    EXPECT_TRUE(QFileInfo(dir).isDir());
    ASSERT_EQ(rec.Boxes().size(), 1u);
    EXPECT_TRUE(rec.Boxes()[0].text.startsWith(QStringLiteral("ファイルにアクセスできません。")));
    EXPECT_TRUE(rec.Boxes()[0].text.contains(ErrorCodeLine(EISDIR) + crlf() + SystemErrorText(EISDIR)));
    EXPECT_EQ(rec.BeepCount(MB_ICONHAND), 1);

    // A write that fails half way (the file size limit): the old content stays whole.
    rec.Clear();
    const QString path = tmp.filePath(QStringLiteral("old.txt"));
    WriteFile(path, "old content");
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old {};
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 1024;
    ::setrlimit(RLIMIT_FSIZE, &small);
    const bool saved = SaveStringToFile(path, QByteArray(4096, 'x'));
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(saved);
    EXPECT_EQ(ReadFile(path), QByteArray("old content"));
    ASSERT_EQ(rec.Boxes().size(), 1u);
    EXPECT_TRUE(rec.Boxes()[0].text.contains(QStringLiteral("エラーコード=0000001B")));
    EXPECT_EQ(FilesIn(tmp.path()), (QStringList{QStringLiteral("index.txt"), QStringLiteral("old.txt")}));
    EXPECT_TRUE(NoAccessWindowShown());
}

TEST_F(FileAccessTest, MissingProgramFileClosesTheMainFormButStillSaves)
{
    QWidget mainForm;
    mainForm.show();
    SetFileAccessContext(tmp.filePath(QStringLiteral("ちびポリコロ")), &mainForm, QStringLiteral("ポリコロ"));
    const QString path = tmp.filePath(QStringLiteral("data.txt"));
    WriteFile(path, "old");
    EXPECT_TRUE(SaveStringToFile(path, "kept"));
    EXPECT_EQ(ReadFile(path), QByteArray("kept"));
    EXPECT_FALSE(mainForm.isVisible());
    ASSERT_EQ(rec.Boxes().size(), 1u);
    EXPECT_EQ(rec.Boxes()[0].text, QStringLiteral("アクセスエラーです。ポリコロを終了します。") + crlf() + crlf()
                                       + QStringLiteral("エラーコード=00000002") + crlf() + SystemErrorText(2));
    EXPECT_EQ(rec.BeepCount(MB_ICONHAND), 1);

    // No new file is made then: the program's question, then the file's own error.
    rec.Clear();
    EXPECT_FALSE(SaveStringToFile(tmp.filePath(QStringLiteral("new.txt")), "x"));
    EXPECT_FALSE(QFile::exists(tmp.filePath(QStringLiteral("new.txt"))));
    ASSERT_EQ(rec.Boxes().size(), 2u);
    EXPECT_TRUE(rec.Boxes()[1].text.startsWith(QStringLiteral("ファイルにアクセスできません。")));

    // With the program file in place nothing is said.
    rec.Clear();
    WriteFile(tmp.filePath(QStringLiteral("ちびポリコロ")), "x");
    EXPECT_TRUE(CheckProgramFile());
    EXPECT_TRUE(rec.records.empty());
}

TEST_F(FileAccessTest, AccessWindowCountsStarsAndGoesAway)
{
    VirtualClock clock;
    SetClock(&clock);
    clock.SetAutoRun(false);
    ShowAccessMessage();
    TFormMes* mes = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* m = qobject_cast<TFormMes*>(w); m && m->isVisible()) mes = m;
    ASSERT_NE(mes, nullptr);
    ShowAccessMessage(); // one window at most
    int shown = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<TFormMes*>(w) && w->isVisible()) ++shown;
    EXPECT_EQ(shown, 1);

    EXPECT_EQ(mes->lbMes->text(), QStringLiteral("ファイルにアクセスしています．．．"));
    EXPECT_EQ(mes->width(), qRound(1.2 * mes->lbMes->width()));
    EXPECT_EQ(mes->height(), 103);
    EXPECT_TRUE(mes->lbBar->text().isEmpty());
    clock.Advance(3000);
    EXPECT_EQ(mes->lbBar->text(), QStringLiteral("***"));
    clock.Advance(18000);
    EXPECT_TRUE(mes->lbBar->text().isEmpty()); // 21 ticks: back to none
    clock.Advance(1000);
    EXPECT_EQ(mes->lbBar->text(), QStringLiteral("*"));
    if (const QString dir = qEnvironmentVariable("POLY_TEST_PICTURES"); !dir.isEmpty())
        mes->grab().save(dir + QStringLiteral("/access_window.png"));

    HideAccessMessage();
    EXPECT_TRUE(NoAccessWindowShown());
    SetClock(nullptr);
}

// Every reader of outside data, on what is no plain file: an answer at once, nothing read.
TEST_F(FileAccessTest, NoReaderHangsOnPipesOrReadsDevicesWithoutEnd)
{
    for (const HostileFile& f : MakeHostileFiles(tmp.path(), QStringLiteral(".bmp"))) {
        const std::string name = f.path.toStdString();
        rec.Clear();
        QByteArray s = "left over";
        EXPECT_TRUE(ReturnsPromptly(f, [&] { EXPECT_FALSE(LoadFileToString(f.path, s, 16)); })) << name;
        ASSERT_EQ(rec.Boxes().size(), 1u);
        EXPECT_EQ(rec.Boxes()[0].text, FileAccessErrorText(f.path, 0, f.error));
        // Nor is anything written over them.
        EXPECT_FALSE(SaveStringToFile(f.path, "x"));
        EXPECT_EQ(rec.Boxes().back().text, FileAccessErrorText(f.path, 0, f.error));
        QImage picture;
        TBitmap sheet;
        QString why;
        int code = 0;
        EXPECT_TRUE(ReturnsPromptly(f, [&] { EXPECT_FALSE(ReadSheetFile(f.path, picture, why, 140, 70, &code)); })) << name;
        EXPECT_EQ(code, f.error);
        EXPECT_TRUE(ReturnsPromptly(f, [&] { EXPECT_FALSE(LoadSheetFile(f.path, sheet)); })) << name;
        ChmArchive help;
        EXPECT_TRUE(ReturnsPromptly(f, [&] { EXPECT_FALSE(help.Open(f.path)); })) << name;
    }
}

// Each reader of outside data on a file one byte over its own format's cap, and on one of 400 MB: the
// file is refused and the peak memory hardly moves. Each reader runs in a fresh process of its own,
// so that the peak it leaves there is its own.
TEST_F(FileAccessTest, EveryReaderRefusesWhatIsOverItsCapWithoutReadingIt)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    soccer::TReplayFiles replays(tmp.path());
    QByteArray b;
    TBitmap bird;
    const struct {
        const char* reader;
        qint64 cap;
        const char* name;
        std::function<bool(const QString&)> takes;
    } rows[] = {
        {"replay index", soccer::kMaxReplayIndexBytes, "過去リプレイ_Index.txt",
         [&](const QString&) { return replays.ReadIndex(), !replays.FLatestSlotText.isEmpty(); }},
        {"replay file", soccer::kMaxReplayBytes, "a.rpz",
         [&](const QString& p) { return replays.FReplayFile = p, replays.ReadReplayFile(b), !b.isEmpty(); }},
        {"baseball offsets", bb::kMaxOffsetFileBytes, "o.txt",
         [&](const QString& p) { return bb::ReadPictureOffsetFile(p, b) == bb::TOffsetRead::Read; }},
        {"bird picture", kMaxPictureFileBytes, "bird.bmp", [&](const QString& p) { return LoadBirdPicture(p, bird); }},
        {"team sheet", kMaxPictureFileBytes, "team.bmp", [&](const QString& p) { return LoadSheetFile(p, bird); }},
        {"editor sheet", kMaxPictureFileBytes, "sheet.bmp",
         [&](const QString& p) { QImage i; QString why; return ReadSheetFile(p, i, why); }},
        {"help file", ChmArchive::kMaxFileSize, "help.chm", [&](const QString& p) { return ChmArchive().Open(p); }},
    };
    for (const auto& r : rows)
        EXPECT_EXIT(ExitAfterOverCapReads(tmp, r.name, r.cap, r.takes), ::testing::ExitedWithCode(0), "") << r.reader;
}

TEST_F(FileAccessTest, LinksAreWrittenThroughEvenWhenTheyPointNowhereYet)
{
    const QString link = tmp.filePath(QStringLiteral("index.txt"));
    ASSERT_EQ(::symlink("next.txt", QFile::encodeName(link).constData()), 0);
    ASSERT_EQ(::symlink("data/../data/real.txt", QFile::encodeName(tmp.filePath(QStringLiteral("next.txt"))).constData()), 0);
    ASSERT_TRUE(QDir(tmp.path()).mkdir(QStringLiteral("data")));
    ASSERT_TRUE(SaveStringToFile(link, "saved"));
    ASSERT_TRUE(SaveStringToFile(link, "again"));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(ReadFile(tmp.filePath(QStringLiteral("data/real.txt"))), QByteArray("again"));
    EXPECT_EQ(EntriesOf(tmp.filePath(QStringLiteral("data"))), QStringList{QStringLiteral("real.txt")});
    EXPECT_TRUE(rec.records.empty());
}

TEST(FileErrorText, CommonCodesHaveJapaneseReasons)
{
    const std::pair<int, const char*> reasons[] = {
        {ENOSPC, "ディスクの空き領域が不足しています。"}, {EACCES, "アクセスが拒否されました。"},
        {EPERM, "アクセスが拒否されました。"}, {ENOENT, "指定されたファイルが見つかりません。"},
        {EISDIR, "指定された名前はフォルダーです。"}, {ENAMETOOLONG, "ファイル名が長すぎます。"},
        {EINVAL, "通常のファイルではありません。"},
    };
    for (auto [code, reason] : reasons) EXPECT_EQ(SystemErrorText(code), QString::fromUtf8(reason)) << code;
    EXPECT_EQ(SystemErrorText(EXDEV), QString::fromLocal8Bit(std::strerror(EXDEV)));
}

// Saves killed at random moments, again and again: each time the file is the old or the new one
// whole. A finished copy is left only when a kill falls between its link and its rename, and the
// next save of the file takes it away.
TEST_F(FileAccessTest, KilledSavesLeaveTheOldOrTheNewFileAndNothingElse)
{
    const QString saver = QCoreApplication::applicationDirPath() + QStringLiteral("/file_saver");
    const QString name = QStringLiteral("過去リプレイ_Index.txt"), path = tmp.filePath(name);
    const QByteArray a(3 << 19, 'a'), b(1 << 20, 'b');
    std::mt19937 rng(20240601);
    for (int round = 0; round < 100; ++round) {
        QProcess p;
        p.start(saver, {path});
        ASSERT_TRUE(p.waitForReadyRead(10000)) << round;
        QThread::usleep(std::uniform_int_distribution<unsigned>(0, 30000)(rng));
        ::kill(pid_t(p.processId()), SIGKILL);
        p.waitForFinished();
        for (const QString& e : EntriesOf(tmp.path())) {
            const QByteArray content = ReadFile(tmp.filePath(e));
            EXPECT_TRUE(content == a || content == b) << round << ": " << e.toStdString();
            EXPECT_TRUE(e == name || (e.startsWith(QLatin1Char('.') + name + QStringLiteral(".~")) && e.size() == name.size() + 9))
                << e.toStdString();
        }
    }
    ASSERT_TRUE(SaveStringToFile(path, "done"));
    EXPECT_EQ(EntriesOf(tmp.path()), QStringList{name});
}

} // namespace
