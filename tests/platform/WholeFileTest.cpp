// Whole files of outside data: pipes and devices under a file's name never hang or flood a reader,
// no more than the cap is read, and a write leaves the old file or the new one whole and nothing
// else, through symbolic links, on a full disk and after a save that was killed.
#include "ChmArchive.h"
#include "FileErrorText.h"
#include "HostileFiles.h"
#include "TestSupport.h"
#include "WholeFile.h"
#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

QByteArray Native(const QString& path)
{
    return QFile::encodeName(path);
}

TEST(WholeFileRead, PipesDevicesFoldersAndSocketsAreRefusedAtOnce)
{
    QTemporaryDir dir;
    for (const HostileFile& f : MakeHostileFiles(dir.path(), QStringLiteral(".txt"))) {
        const std::string name = QFileInfo(f.path).fileName().toStdString();
        QByteArray out = "kept";
        int err = 0;
        EXPECT_TRUE(ReturnsPromptly(f, [&] { err = ReadRegularFile(f.path, 1 << 20, out); })) << name;
        EXPECT_EQ(err, f.error) << name;
        EXPECT_EQ(out, QByteArray("kept")) << name;
        QString why;
        EXPECT_TRUE(ReturnsPromptly(f, [&] { ReadWholeFile(f.path, out, &why); })) << name;
        EXPECT_EQ(why, SystemErrorText(f.error)) << name;
        // The help file's reader too: a pipe under its name would hang the help window.
        ChmArchive chm;
        bool opened = true;
        EXPECT_TRUE(ReturnsPromptly(f, [&] { opened = chm.Open(f.path); })) << name;
        EXPECT_FALSE(opened) << name;
    }
}

TEST(WholeFileRead, NothingPastTheCapIsRead)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.bin"));
    WriteFile(path, QByteArray(100, 'x'));
    QByteArray out;
    EXPECT_EQ(ReadRegularFile(path, 99, out), EFBIG);
    EXPECT_TRUE(out.isEmpty());
    EXPECT_EQ(ReadRegularFile(path, 100, out), 0);
    EXPECT_EQ(out, QByteArray(100, 'x'));
    EXPECT_EQ(ReadRegularFile(dir.filePath(QStringLiteral("none")), 100, out), ENOENT);
}

TEST(WholeFileWrite, SymbolicLinksAreWrittenThroughEvenWhenTheyPointNowhere)
{
    struct Case {
        const char* what;
        std::vector<std::pair<const char*, const char*>> links; // name -> what it points to
        const char* lands;                                       // where the bytes must end up
    } cases[] = {
        {"dangling, relative", {{"a.txt", "real.txt"}}, "real.txt"},
        {"dangling, into a folder", {{"a.txt", "sub/real.txt"}}, "sub/real.txt"},
        {"a chain", {{"a.txt", "b.txt"}, {"b.txt", "sub/../real.txt"}}, "real.txt"},
        {"to a file that exists", {{"a.txt", "sub/old.txt"}}, "sub/old.txt"},
    };
    for (const Case& c : cases) {
        QTemporaryDir dir;
        QDir(dir.path()).mkdir(QStringLiteral("sub"));
        WriteFile(dir.filePath(QStringLiteral("sub/old.txt")), "old");
        for (auto [name, to] : c.links) ASSERT_EQ(::symlink(to, Native(dir.filePath(QString::fromLatin1(name))).constData()), 0);
        ASSERT_EQ(WriteFileAtomically(dir.filePath(QStringLiteral("a.txt")), "new"), 0) << c.what;
        for (auto [name, to] : c.links) EXPECT_TRUE(QFileInfo(dir.filePath(QString::fromLatin1(name))).isSymLink()) << c.what;
        EXPECT_EQ(ReadFile(dir.filePath(QString::fromLatin1(c.lands))), QByteArray("new")) << c.what;
        EXPECT_EQ(ReadFile(dir.filePath(QStringLiteral("a.txt"))), QByteArray("new")) << c.what;
    }
    // A link to itself ends in an error, not a loop.
    QTemporaryDir dir;
    ASSERT_EQ(::symlink("loop.txt", Native(dir.filePath(QStringLiteral("loop.txt"))).constData()), 0);
    EXPECT_EQ(WriteFileAtomically(dir.filePath(QStringLiteral("loop.txt")), "x"), ELOOP);
}

TEST(WholeFileWrite, DevicesPipesAndFoldersAreNeverReplaced)
{
    QTemporaryDir dir;
    const std::vector<HostileFile> files = MakeHostileFiles(dir.path(), QStringLiteral(".txt"));
    for (const HostileFile& f : files) {
        const QFileInfo before(f.path);
        EXPECT_EQ(WriteFileAtomically(f.path, "x"), f.error) << f.path.toStdString();
        EXPECT_EQ(QFileInfo(f.path).isSymLink(), before.isSymLink());
    }
    struct stat st {};
    ASSERT_EQ(::stat("/dev/zero", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
    EXPECT_EQ(EntriesOf(dir.path()).size(), qsizetype(files.size()));
    // Without leave to make a file, none is made.
    EXPECT_EQ(WriteFileAtomically(dir.filePath(QStringLiteral("new.txt")), "x", false), ENOENT);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("new.txt"))));
}

TEST(WholeFileWrite, ModesAreKeptAndLeftoversOfAKilledSaveGoWithTheNextSave)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.txt"));
    WriteFile(path, "old");
    ASSERT_EQ(::chmod(Native(path).constData(), 0604), 0);
    // A finished copy left between link and rename, and names that only look alike.
    const QStringList others = {QStringLiteral(".a.txt.~abc"), QStringLiteral(".b.txt.~Ab12Cd"), QStringLiteral("a.txt.~Ab12Cd")};
    for (const QString& n : others + QStringList{QStringLiteral(".a.txt.~Ab12Cd")}) WriteFile(dir.filePath(n), "left");
    ASSERT_EQ(WriteFileAtomically(path, "new"), 0);
    EXPECT_EQ(ReadFile(path), QByteArray("new"));
    struct stat st {};
    ASSERT_EQ(::stat(Native(path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0604u);
    QStringList expected = others + QStringList{QStringLiteral("a.txt")};
    expected.sort();
    EXPECT_EQ(EntriesOf(dir.path()), expected);

    // A name as long as a name may be still gets its temporary beside it.
    const QString longName = dir.filePath(QString(255, QLatin1Char('n')));
    EXPECT_EQ(WriteFileAtomically(longName, "x"), 0);
    EXPECT_EQ(WriteFileAtomically(longName, "y"), 0);
    EXPECT_EQ(ReadFile(longName), QByteArray("y"));
    EXPECT_EQ(WriteFileAtomically(dir.filePath(QString(256, QLatin1Char('n'))), "x"), ENAMETOOLONG);
}

TEST(WholeFileWrite, AFullDiskLeavesTheOldFileWholeAndNothingElse)
{
    ScratchMount disk("tmpfs", "size=64k");
    if (!disk.Mounted()) GTEST_SKIP() << disk.Why();
    const QString path = disk.Path() + QStringLiteral("/index.txt");
    ASSERT_EQ(WriteFileAtomically(path, QByteArray(20000, 'o')), 0);
    EXPECT_EQ(WriteFileAtomically(path, QByteArray(60000, 'n')), ENOSPC);
    EXPECT_EQ(ReadFile(path), QByteArray(20000, 'o'));
    EXPECT_EQ(EntriesOf(disk.Path()), QStringList{QStringLiteral("index.txt")});
    QString why;
    EXPECT_FALSE(WriteWholeFile(path, QByteArray(60000, 'n'), &why));
    EXPECT_EQ(why, QStringLiteral("ディスクの空き領域が不足しています。"));
}

TEST(FileErrorText, TheReportNamesTheFileTheCodeAndAJapaneseReason)
{
    struct Case {
        int code;
        const char* reason;
    } cases[] = {
        {ENOSPC, "ディスクの空き領域が不足しています。"}, {EACCES, "アクセスが拒否されました。"},
        {EPERM, "アクセスが拒否されました。"},          {ENOENT, "指定されたファイルが見つかりません。"},
        {EISDIR, "指定された名前はフォルダーです。"},     {ENAMETOOLONG, "ファイル名が長すぎます。"},
        {EINVAL, "通常のファイルではありません。"},       {EROFS, "書き込みが禁止されているディスクです。"},
    };
    for (const Case& c : cases) EXPECT_EQ(SystemErrorText(c.code), QString::fromUtf8(c.reason)) << c.code;
    // Rare codes keep the system's own words.
    EXPECT_EQ(SystemErrorText(EXDEV), QString::fromLocal8Bit(std::strerror(EXDEV)));
    EXPECT_EQ(FileAccessErrorText(QStringLiteral("/x/画像.bmp"), 0, ENOSPC),
              QStringLiteral("ファイルにアクセスできません。\r\n\r\n\"画像.bmp\"\r\nエラーコード=0000001C\r\n"
                             "ディスクの空き領域が不足しています。"));
    EXPECT_TRUE(FileAccessErrorText(QStringLiteral("a"), 1, 2).startsWith(QStringLiteral("ファイルにアクセスできなかった可能性があります。")));
}

} // namespace
