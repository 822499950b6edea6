// A write that finds the disk full, on a small tmpfs of its own: mounting it needs root, and where
// that is missing the case skips, saying why.
#include "../platform/HostileFiles.h"
#include "Paths.h"
#include "TestSupport.h"
#include "UnitCryptAccess.h"
#include <gtest/gtest.h>
#include "TestDoubles.h"

namespace {

TEST(FullDisk, IsReportedInJapaneseAndTheOldFileStays)
{
    ScratchMount disk("size=64k");
    if (!disk.Mounted()) GTEST_SKIP() << "not tried: no small file system can be mounted here (needs root)";
    RecordingDialogs rec;
    SetFileAccessContext(ProgramFile(), nullptr, QStringLiteral("ポリコロ"));
    const QString path = disk.Path() + QStringLiteral("/過去リプレイ_Index.txt");
    ASSERT_TRUE(SaveStringToFile(path, QByteArray(30000, 'o')));
    EXPECT_FALSE(SaveStringToFile(path, QByteArray(50000, 'n')));
    EXPECT_EQ(ReadFile(path), QByteArray(30000, 'o'));
    EXPECT_EQ(EntriesOf(disk.Path()), QStringList{QStringLiteral("過去リプレイ_Index.txt")});
    ASSERT_EQ(rec.Boxes().size(), 1u);
    EXPECT_EQ(rec.Boxes()[0].text, QStringLiteral("ファイルにアクセスできません。\r\n\r\n\"過去リプレイ_Index.txt\"\r\n"
                                                  "エラーコード=0000001C\r\nディスクの空き領域が不足しています。"));
}

} // namespace
