// The help file and the help window: the built ポリコロヘルプ.chm, the reader's checks against damaged
// and hostile files, and the window offscreen.
#include "ChmArchive.h"
#include "Form.h"
#include "Help.h"
#include "HelpWindow.h"
#include "TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QWindow>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>

namespace {

QString BuiltChm()
{
    return BuildDir() + QStringLiteral("/ポリコロヘルプ.chm");
}

#define SKIP_WITHOUT_BUILT_CHM()                                                       \
    if (!QFile::exists(BuiltChm())) GTEST_SKIP() << "no built help file at " << BuiltChm().toStdString()

// ---- A small container made here, entry by entry, so that each structure can be spoiled alone ----

void PutLe(QByteArray& b, qsizetype at, uint64_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i) b[at + i] = char(uchar(v >> (8 * i)));
}

QByteArray EncInt(uint64_t v)
{
    QByteArray out;
    out.prepend(char(v & 0x7F));
    while (v >>= 7) out.prepend(char(0x80 | (v & 0x7F)));
    return out;
}

struct SynthObject {
    QByteArray name;
    QByteArray data;
};

constexpr qsizetype kDirOffset = 0x60;
constexpr qsizetype kChunkLen = 0x1000;
constexpr qsizetype kChunk0 = kDirOffset + 0x54;

// An uncompressed file: ITSF v3 header, ITSP header, one listing chunk per group of objects (a chain
// in order), then the objects' bytes. Extra chunks (index chunks) can be appended by the caller.
QByteArray BuildSynthetic(const std::vector<SynthObject>& objects, int extraChunks = 0)
{
    QByteArray entries, content;
    for (const SynthObject& o : objects) {
        entries += EncInt(uint64_t(o.name.size())) + o.name + EncInt(0) + EncInt(uint64_t(content.size()))
            + EncInt(uint64_t(o.data.size()));
        content += o.data;
    }
    const int chunks = 1 + extraChunks;
    const qsizetype dirLen = 0x54 + chunks * kChunkLen;
    QByteArray b(kDirOffset + dirLen, '\0');
    std::memcpy(b.data(), "ITSF", 4);
    PutLe(b, 4, 3, 4);
    PutLe(b, 8, 0x60, 4);
    PutLe(b, 0x0C, 1, 4);
    PutLe(b, 0x48, uint64_t(kDirOffset), 8);
    PutLe(b, 0x50, uint64_t(dirLen), 8);
    PutLe(b, 0x58, uint64_t(kDirOffset + dirLen), 8);
    std::memcpy(b.data() + kDirOffset, "ITSP", 4);
    PutLe(b, kDirOffset + 0x04, 1, 4);
    PutLe(b, kDirOffset + 0x08, 0x54, 4);
    PutLe(b, kDirOffset + 0x0C, 10, 4);
    PutLe(b, kDirOffset + 0x10, uint64_t(kChunkLen), 4);
    PutLe(b, kDirOffset + 0x14, 2, 4);
    PutLe(b, kDirOffset + 0x18, 1, 4);
    PutLe(b, kDirOffset + 0x1C, 0xFFFFFFFF, 4);   // no index chunk
    PutLe(b, kDirOffset + 0x20, 0, 4);            // first listing chunk
    PutLe(b, kDirOffset + 0x24, 0, 4);
    PutLe(b, kDirOffset + 0x28, 0xFFFFFFFF, 4);
    PutLe(b, kDirOffset + 0x2C, uint64_t(chunks), 4);
    std::memcpy(b.data() + kChunk0, "PMGL", 4);
    PutLe(b, kChunk0 + 4, uint64_t(kChunkLen - 0x14 - entries.size()), 4);
    PutLe(b, kChunk0 + 0x0C, 0xFFFFFFFF, 4);
    PutLe(b, kChunk0 + 0x10, 0xFFFFFFFF, 4);   // end of the chain
    b.replace(kChunk0 + 0x14, entries.size(), entries);
    return b + content;
}

QByteArray SystemObject(const QByteArray& topic, const QByteArray& title, const QByteArray& contents = "toc.hhc")
{
    QByteArray s(4, '\0');
    s[0] = 3;
    auto add = [&](int code, const QByteArray& v) {
        const QByteArray data = v + '\0';
        QByteArray rec(4, '\0');
        PutLe(rec, 0, uint64_t(code), 2);
        PutLe(rec, 2, uint64_t(data.size()), 2);
        s += rec + data;
    };
    add(0, contents);
    add(2, topic);
    add(3, title);
    return s;
}

QByteArray Page(const QByteArray& title, const QByteArray& body)
{
    return "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\"><title>" + title
        + "</title></head><body>" + body + "</body></html>";
}

std::vector<SynthObject> GoodObjects()
{
    return {
        {"/#SYSTEM", SystemObject("start.html", "テストのヘルプ")},
        {"/other.html", Page("別のページ", "<p><a href=\"start.html\">戻る</a></p>")},
        {"/start.html", Page("はじめのページ", "<p><a href=\"other.html\">次へ</a></p>")},
        {"/toc.hhc", "<ul><li><object type=\"text/sitemap\"><param name=\"Name\" value=\"はじめ\">"
                     "<param name=\"Local\" value=\"start.html\"></object></ul>"},
    };
}

class TempFile {
public:
    explicit TempFile(const QByteArray& data, const QString& name = QStringLiteral("test.chm"))
        : m_path(m_dir.path() + QLatin1Char('/') + name)
    {
        WriteFile(m_path, data);
    }
    QString Path() const { return m_path; }

private:
    QTemporaryDir m_dir;
    QString m_path;
};

QString TitleOf(const QString& html)
{
    static const QRegularExpression re(QStringLiteral("<title>(.*)</title>"));
    return re.match(html).captured(1);
}

}  // namespace

// ------------------------------------------------------------------------------------------------
// The built help file

TEST(BuiltHelpFile, OpensOnItsTopPage)
{
    SKIP_WITHOUT_BUILT_CHM();
    ChmArchive a;
    ASSERT_TRUE(a.Open(BuiltChm())) << a.ErrorDetail().toStdString();
    EXPECT_EQ(a.Title(), QStringLiteral("ちびポリコロ ヘルプ"));
    EXPECT_EQ(a.DefaultTopic(), QStringLiteral("/index.html"));
    EXPECT_EQ(TitleOf(DecodeHelpPage(a.Object(a.DefaultTopic()))), QStringLiteral("ちびポリコロの遊び方"));
    EXPECT_EQ(a.ContentsFile(), QStringLiteral("/polycolo.hhc"));
}

TEST(BuiltHelpFile, HasAPageForEveryGameAndTheEditor)
{
    SKIP_WITHOUT_BUILT_CHM();
    ChmArchive a;
    ASSERT_TRUE(a.Open(BuiltChm()));
    const std::vector<std::pair<QString, QString>> pages{
        {"/pk.html", "ＰＫ戦"},         {"/kakurenbo.html", "かくれんぼ"}, {"/kakekko.html", "かけっこ"},
        {"/golf.html", "ゴルフ"},       {"/matoate.html", "まと当て"},    {"/hurdle.html", "ハードル"},
        {"/sanbon.html", "３本勝負"},   {"/yakyu.html", "野球"},          {"/soccer.html", "サッカー"},
        {"/pikumo.html", "選手画像エディタ ピクモ"},
    };
    for (const auto& [path, title] : pages) {
        ASSERT_TRUE(a.Contains(path)) << path.toStdString();
        EXPECT_EQ(TitleOf(DecodeHelpPage(a.Object(path))), title) << path.toStdString();
    }
}

TEST(BuiltHelpFile, EveryLinkOfEveryPageLeadsIntoTheFile)
{
    SKIP_WITHOUT_BUILT_CHM();
    ChmArchive a;
    ASSERT_TRUE(a.Open(BuiltChm()));
    static const QRegularExpression linkRe(QStringLiteral("(?:href|src)\\s*=\\s*\"([^\"]*)\""),
                                           QRegularExpression::CaseInsensitiveOption);
    auto hasAnchor = [&](const QString& path, const QString& anchor) {
        const QString html = DecodeHelpPage(a.Object(path));
        return html.contains(QStringLiteral("name=\"%1\"").arg(anchor)) || html.contains(QStringLiteral("id=\"%1\"").arg(anchor));
    };
    int pages = 0, links = 0;
    for (const QString& path : a.Paths()) {
        if (!path.endsWith(QLatin1String(".html"))) continue;
        ++pages;
        const QString html = DecodeHelpPage(a.Object(path));
        for (auto it = linkRe.globalMatch(html); it.hasNext();) {
            const QString link = it.next().captured(1);
            const QUrl target = HelpBrowser::UrlOf(path).resolved(QUrl(link));
            ++links;
            ASSERT_EQ(target.scheme(), QStringLiteral("chm")) << path.toStdString() << " -> " << link.toStdString();
            EXPECT_TRUE(a.Contains(target.path())) << path.toStdString() << " -> " << link.toStdString();
            if (target.hasFragment()) {
                EXPECT_TRUE(hasAnchor(target.path(), target.fragment())) << path.toStdString() << " -> " << link.toStdString();
            }
        }
    }
    EXPECT_EQ(pages, 11);
    EXPECT_GT(links, 50);

    // The contents and the index lead to pages of the file too, and every page is in the contents.
    QSet<QString> inContents;
    for (const ChmTocEntry& e : a.Contents()) {
        const QUrl target = HelpBrowser::UrlOf(QStringLiteral("/")).resolved(QUrl(e.local));
        EXPECT_TRUE(a.Contains(target.path())) << e.local.toStdString();
        if (target.hasFragment()) {
            EXPECT_TRUE(hasAnchor(target.path(), target.fragment())) << e.local.toStdString();
        }
        inContents.insert(target.path());
    }
    for (const QString& path : a.Paths()) {
        if (path.endsWith(QLatin1String(".html"))) {
            EXPECT_TRUE(inContents.contains(path)) << path.toStdString();
        }
    }
    const std::vector<ChmTocEntry> index = ParseSitemap(DecodeHelpPage(a.Object(QStringLiteral("/polycolo.hhk"))));
    EXPECT_GT(index.size(), 20u);
    for (const ChmTocEntry& e : index)
        EXPECT_TRUE(a.Contains(QUrl(e.local).path())) << e.local.toStdString();
}

// ------------------------------------------------------------------------------------------------
// The reader on files made here

TEST(ChmArchiveReader, ReadsAStoredFileThroughTheLibrary)
{
    TempFile f(BuildSynthetic(GoodObjects()));
    ChmArchive a;
    ASSERT_TRUE(a.Open(f.Path())) << a.ErrorDetail().toStdString();
    EXPECT_EQ(a.Title(), QStringLiteral("テストのヘルプ"));
    EXPECT_EQ(a.DefaultTopic(), QStringLiteral("/start.html"));
    EXPECT_TRUE(a.Contains(QStringLiteral("/START.HTML")));   // as the format, without regard to case
    EXPECT_EQ(a.Object(QStringLiteral("other.html")), GoodObjects()[1].data);
    ASSERT_EQ(a.Contents().size(), 1u);
    EXPECT_EQ(a.Contents()[0].name, QStringLiteral("はじめ"));
}

TEST(ChmArchiveReader, DefaultTopicFallsBackToTheFirstPage)
{
    std::vector<SynthObject> objects = GoodObjects();
    objects[0].data = SystemObject("missing.html", "x");
    TempFile f(BuildSynthetic(objects));
    ChmArchive a;
    ASSERT_TRUE(a.Open(f.Path()));
    EXPECT_EQ(a.DefaultTopic(), QStringLiteral("/other.html"));

    objects.erase(objects.begin());   // no #SYSTEM at all
    TempFile g(BuildSynthetic(objects));
    ASSERT_TRUE(a.Open(g.Path()));
    EXPECT_EQ(a.Title(), QString());
    EXPECT_EQ(a.DefaultTopic(), QStringLiteral("/other.html"));
    EXPECT_EQ(a.ContentsFile(), QStringLiteral("/toc.hhc"));
}

// Each case spoils one structure of a good file; the reader refuses the file, hangs on nothing and
// says why.
TEST(ChmArchiveReader, RefusesSpoiledContainers)
{
    const QByteArray good = BuildSynthetic(GoodObjects());
    const qsizetype c0 = kChunk0;
    struct Case {
        const char* what;
        std::function<QByteArray()> make;
    };
    const std::vector<Case> cases{
        {"empty file", [] { return QByteArray(); }},
        {"garbage", [] { return QByteArray(5000, '\x5A'); }},
        {"cut in the header", [&] { return good.left(0x40); }},
        {"cut in the directory", [&] { return good.left(c0 + 100); }},
        {"cut in the content", [&] { return good.left(good.size() - 3); }},
        {"wrong signature", [&] { QByteArray b = good; b[0] = 'X'; return b; }},
        {"unknown version", [&] { QByteArray b = good; PutLe(b, 4, 7, 4); return b; }},
        {"directory beyond the end", [&] { QByteArray b = good; PutLe(b, 0x48, 1u << 30, 8); return b; }},
        {"directory length beyond the end", [&] { QByteArray b = good; PutLe(b, 0x50, ~0ull, 8); return b; }},
        {"chunk length zero", [&] { QByteArray b = good; PutLe(b, kDirOffset + 0x10, 0, 4); return b; }},
        {"chunk length huge", [&] { QByteArray b = good; PutLe(b, kDirOffset + 0x10, 0x7FFFFFFF, 4); return b; }},
        {"more chunks than the directory holds", [&] { QByteArray b = good; PutLe(b, kDirOffset + 0x2C, 9, 4); return b; }},
        {"first listing out of range", [&] { QByteArray b = good; PutLe(b, kDirOffset + 0x20, 5, 4); return b; }},
        {"listing chain loops", [&] { QByteArray b = good; PutLe(b, c0 + 0x10, 0, 4); return b; }},
        {"listing chain leaves", [&] { QByteArray b = good; PutLe(b, c0 + 0x10, 77, 4); return b; }},
        {"free space beyond the chunk", [&] { QByteArray b = good; PutLe(b, c0 + 4, 0xFFFFFF00u, 4); return b; }},
        {"no free space: entries run to the end", [&] { QByteArray b = good; PutLe(b, c0 + 4, 0, 4); return b; }},
        {"name longer than the chunk", [&] { QByteArray b = good; b.replace(c0 + 0x14, 2, EncInt(4000)); return b; }},
        {"empty name", [&] { QByteArray b = good; b[c0 + 0x14] = 0; return b; }},
        {"name with a NUL", [&] { QByteArray b = good; b[c0 + 0x16] = 0; return b; }},
        {"endless number", [&] { QByteArray b = good; for (int i = 0; i < 12; ++i) b[c0 + 0x14 + i] = char(0xFF); return b; }},
        {"stored object beyond the end", [&] {
             std::vector<SynthObject> o = GoodObjects();
             QByteArray b = BuildSynthetic(o);
             return b.left(b.size() - o.back().data.size() / 2);
         }},
        {"index tree loops", [&] {
             QByteArray b = BuildSynthetic(GoodObjects(), 1);
             const qsizetype c1 = kChunk0 + kChunkLen;
             std::memcpy(b.data() + c1, "PMGI", 4);
             const QByteArray entry = EncInt(1) + "/" + EncInt(1);   // points at itself
             PutLe(b, c1 + 4, uint64_t(kChunkLen - 8 - entry.size()), 4);
             b.replace(c1 + 8, entry.size(), entry);
             PutLe(b, kDirOffset + 0x1C, 1, 4);   // the index root
             return b;
         }},
        {"index points outside", [&] {
             QByteArray b = BuildSynthetic(GoodObjects(), 1);
             const qsizetype c1 = kChunk0 + kChunkLen;
             std::memcpy(b.data() + c1, "PMGI", 4);
             const QByteArray entry = EncInt(1) + "/" + EncInt(40);
             PutLe(b, c1 + 4, uint64_t(kChunkLen - 8 - entry.size()), 4);
             b.replace(c1 + 8, entry.size(), entry);
             PutLe(b, kDirOffset + 0x1C, 1, 4);
             return b;
         }},
    };
    for (const Case& c : cases) {
        TempFile f(c.make());
        ChmArchive a;
        EXPECT_FALSE(a.Open(f.Path())) << c.what;
        EXPECT_FALSE(a.Error().isEmpty()) << c.what;
        EXPECT_TRUE(a.Paths().isEmpty()) << c.what;
    }
}

TEST(ChmArchiveReader, ALeafOfTheIndexTreeIsAcceptedAndItsPagesRead)
{
    QByteArray b = BuildSynthetic(GoodObjects(), 1);
    const qsizetype c1 = kChunk0 + kChunkLen;
    std::memcpy(b.data() + c1, "PMGI", 4);
    const QByteArray entry = EncInt(1) + "/" + EncInt(0);   // everything is in listing chunk 0
    PutLe(b, c1 + 4, uint64_t(kChunkLen - 8 - entry.size()), 4);
    b.replace(c1 + 8, entry.size(), entry);
    PutLe(b, kDirOffset + 0x1C, 1, 4);
    TempFile f(b);
    ChmArchive a;
    ASSERT_TRUE(a.Open(f.Path())) << a.ErrorDetail().toStdString();
    EXPECT_TRUE(a.Contains(QStringLiteral("/start.html")));
}

// Damage anywhere in the real file (compressed pages included) ends in a refusal or in a file whose
// readable pages decode; the program never falls over, whatever the library does with the bytes.
TEST(ChmArchiveReader, SurvivesDamageAnywhereInTheBuiltFile)
{
    SKIP_WITHOUT_BUILT_CHM();
    const QByteArray good = ReadFile(BuiltChm());
    ASSERT_GT(good.size(), 4096);
    int refused = 0, opened = 0;
    for (qsizetype at = 0x30; at < good.size(); at += 397) {
        QByteArray b = good;
        for (int i = 0; i < 6 && at + i < b.size(); ++i) b[at + i] = char(uchar(b[at + i]) ^ 0xA5);
        TempFile f(b);
        ChmArchive a;
        if (!a.Open(f.Path())) {
            ++refused;
            EXPECT_FALSE(a.Error().isEmpty());
            continue;
        }
        ++opened;
        for (const QString& p : a.Paths()) DecodeHelpPage(a.Object(p));
        a.Contents();
    }
    EXPECT_GT(refused + opened, 50);
}

// A window size that the library cannot decompress with makes it fall over (it uses the decoder it
// failed to make); that happens in the reading process, and the program answers with a refusal.
TEST(ChmArchiveReader, AFaultOfTheLibraryEndsInARefusal)
{
    SKIP_WITHOUT_BUILT_CHM();
    QByteArray b = ReadFile(BuiltChm());
    std::vector<ChmDirEntry> dir;
    ASSERT_TRUE(ReadChmDirectory(b, dir));
    uint64_t dataOffset = 0;
    for (int i = 0; i < 8; ++i) dataOffset |= uint64_t(uchar(b[0x58 + i])) << (8 * i);
    const auto control = std::find_if(dir.begin(), dir.end(), [](const ChmDirEntry& e) {
        return e.path == "::DataSpace/Storage/MSCompressed/ControlData";
    });
    ASSERT_NE(control, dir.end());
    const qsizetype at = qsizetype(dataOffset + control->start);
    ASSERT_EQ(b.mid(at + 4, 4), QByteArray("LZXC"));
    PutLe(b, at + 12, 0x100, 4);   // reset interval: 0x100 x 32 KiB
    PutLe(b, at + 16, 0x100, 4);   // window: 8 MiB, beyond what the decoder supports
    TempFile f(b);
    ChmArchive a;
    EXPECT_FALSE(a.Open(f.Path()));
    EXPECT_FALSE(a.Error().isEmpty());
    EXPECT_TRUE(a.ErrorDetail().contains(QStringLiteral("signal"))) << a.ErrorDetail().toStdString();
}

TEST(ChmArchiveReader, LeavesOutObjectsOverTheSizeCap)
{
    std::vector<SynthObject> objects = GoodObjects();
    objects.push_back({"/zbig.html", QByteArray(int(ChmArchive::kMaxObjectSize) + 1, 'a')});
    TempFile f(BuildSynthetic(objects));
    ChmArchive a;
    ASSERT_TRUE(a.Open(f.Path()));
    EXPECT_FALSE(a.Contains(QStringLiteral("/zbig.html")));
    EXPECT_TRUE(a.Contains(QStringLiteral("/start.html")));
}

// ------------------------------------------------------------------------------------------------
// The small parsers

TEST(ChmSystem, ReadsItsEntriesAndIgnoresWhatDoesNotFit)
{
    const QByteArray good = SystemObject("a.html", "題名", "c.hhc");
    ChmSystemInfo s = ParseChmSystem(good);
    EXPECT_EQ(s.defaultTopic, QStringLiteral("a.html"));
    EXPECT_EQ(s.title, QStringLiteral("題名"));
    EXPECT_EQ(s.contentsFile, QStringLiteral("c.hhc"));

    QByteArray overlong = good;
    PutLe(overlong, overlong.size() - 7 - 2, 0xFFFF, 2);   // the title record claims too much
    s = ParseChmSystem(overlong);
    EXPECT_EQ(s.defaultTopic, QStringLiteral("a.html"));
    EXPECT_EQ(s.title, QString());

    for (int cut = 0; cut <= good.size(); ++cut) ParseChmSystem(good.left(cut));   // nothing but shorter answers

    QByteArray noNul = good;
    noNul.chop(1);   // the last record claims one byte more than is left
    EXPECT_EQ(ParseChmSystem(noNul).title, QString());
}

TEST(Sitemap, ReadsEntriesWithTheirDepth)
{
    const QString hhc = QStringLiteral(
        "<HTML><BODY><!-- <OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"no\"></OBJECT> -->"
        "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"上 &amp; 下\">"
        "<param name='Local' value=\"a.html\"></OBJECT>"
        "<ul><li><object TYPE=text/sitemap><PARAM NAME=name VALUE=\"子&#12354;\"><param name=\"local\" value=\"b.html#x\"></object></ul>"
        "<LI><OBJECT type=\"text/site properties\"><param name=\"Name\" value=\"not an entry\"></OBJECT>"
        "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"見出し\"></OBJECT>"
        "</UL></BODY></HTML>");
    const std::vector<ChmTocEntry> e = ParseSitemap(hhc);
    ASSERT_EQ(e.size(), 3u);
    EXPECT_EQ(e[0].name, QStringLiteral("上 & 下"));
    EXPECT_EQ(e[0].local, QStringLiteral("a.html"));
    EXPECT_EQ(e[0].level, 0);
    EXPECT_EQ(e[1].name, QStringLiteral("子あ"));
    EXPECT_EQ(e[1].local, QStringLiteral("b.html#x"));
    EXPECT_EQ(e[1].level, 1);
    EXPECT_EQ(e[2].name, QStringLiteral("見出し"));
    EXPECT_EQ(e[2].local, QString());
    EXPECT_EQ(e[2].level, 0);
}

TEST(Sitemap, SurvivesBrokenAndHostileText)
{
    const QString entry = QStringLiteral("<li><object type=\"text/sitemap\"><param name=\"Name\" value=\"e\"></object>");
    EXPECT_TRUE(ParseSitemap(QStringLiteral("<ul><li><object type=\"text/sitemap\"><param name=\"Name\" value=\"unterminated")).empty());
    EXPECT_TRUE(ParseSitemap(QStringLiteral("<<<<>>>></ul></ul></ul>")).empty());
    EXPECT_TRUE(ParseSitemap(QStringLiteral("<!-- never closed ") + entry).empty());
    // Deep nesting is flattened to the deepest level kept; a flood of entries is cut.
    const std::vector<ChmTocEntry> deep = ParseSitemap(QStringLiteral("<ul>").repeated(500) + entry);
    ASSERT_EQ(deep.size(), 1u);
    EXPECT_LE(deep[0].level, 15);
    EXPECT_LE(ParseSitemap(QStringLiteral("<ul>") + entry.repeated(20000)).size(), 4000u);
}

TEST(HelpText, DecodesUtf8AndShiftJis)
{
    const QString text = QStringLiteral("ＰＫ戦 かくれんぼ");
    EXPECT_EQ(DecodeHelpText(text.toUtf8()), text);
    const QByteArray sjis("\x82\x6F\x82\x6A\x90\xED", 6);   // "ＰＫ戦" in Shift-JIS
    EXPECT_EQ(DecodeHelpText(sjis), QStringLiteral("ＰＫ戦"));
    EXPECT_EQ(DecodeHelpPage("<meta charset=\"Shift_JIS\"><p>" + sjis + "</p>"),
              QStringLiteral("<meta charset=\"Shift_JIS\"><p>ＰＫ戦</p>"));
    EXPECT_EQ(DecodeHelpPage("<meta content=\"text/html; charset=utf-8\">" + text.toUtf8()),
              QStringLiteral("<meta content=\"text/html; charset=utf-8\">") + text);
    // A byte that starts no character in either encoding does not stop the rest.
    EXPECT_TRUE(DecodeHelpText(QByteArray("a\xFF" "b", 3)).endsWith(QLatin1Char('b')));
}

// ------------------------------------------------------------------------------------------------
// The window

TEST(HelpWindowTest, ShowsTheTopPageWithItsContents)
{
    SKIP_WITHOUT_BUILT_CHM();
    HelpWindow w;
    ASSERT_TRUE(w.OpenFile(BuiltChm())) << w.FailureText().toStdString();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("ちびポリコロ ヘルプ"));
    EXPECT_EQ(w.Browser()->documentTitle(), QStringLiteral("ちびポリコロの遊び方"));
    EXPECT_TRUE(w.FailureText().isEmpty());
    EXPECT_FALSE(w.BackAction()->isEnabled());

    QTreeWidget* toc = w.ContentsList();
    ASSERT_EQ(toc->topLevelItemCount(), 3);
    EXPECT_EQ(toc->topLevelItem(0)->text(0), QStringLiteral("はじめに"));
    QTreeWidgetItem* games = toc->topLevelItem(1);
    ASSERT_EQ(games->childCount(), 9);
    const QStringList order{"ＰＫ戦", "かくれんぼ", "かけっこ", "ゴルフ", "まと当て", "ハードル", "３本勝負", "野球", "サッカー"};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(games->child(i)->text(0), order[i]);
    EXPECT_EQ(toc->currentItem(), toc->topLevelItem(0));
}

TEST(HelpWindowTest, NavigatesByContentsLinksAndButtons)
{
    SKIP_WITHOUT_BUILT_CHM();
    HelpWindow w;
    ASSERT_TRUE(w.OpenFile(BuiltChm()));
    w.show();
    QTreeWidget* toc = w.ContentsList();
    QTreeWidgetItem* soccer = toc->topLevelItem(1)->child(8);
    toc->setCurrentItem(soccer);
    EXPECT_EQ(w.Browser()->source().path(), QStringLiteral("/soccer.html"));
    EXPECT_EQ(w.Browser()->documentTitle(), QStringLiteral("サッカー"));

    // A link of the page: relative, with a fragment, and one that leaves the file (not followed).
    emit w.Browser()->anchorClicked(QUrl(QStringLiteral("pk.html")));
    EXPECT_EQ(w.Browser()->documentTitle(), QStringLiteral("ＰＫ戦"));
    EXPECT_EQ(toc->currentItem(), toc->topLevelItem(1)->child(0));
    emit w.Browser()->anchorClicked(QUrl(QStringLiteral("index.html#keys")));
    EXPECT_EQ(w.Browser()->source().fragment(), QStringLiteral("keys"));
    EXPECT_EQ(toc->currentItem()->text(0), QStringLiteral("キー操作"));
    emit w.Browser()->anchorClicked(QUrl(QStringLiteral("https://example.com/")));
    emit w.Browser()->anchorClicked(QUrl::fromLocalFile(QStringLiteral("/etc/hostname")));
    EXPECT_EQ(w.Browser()->source().path(), QStringLiteral("/index.html"));

    EXPECT_TRUE(w.BackAction()->isEnabled());
    w.BackAction()->trigger();
    EXPECT_EQ(w.Browser()->source().path(), QStringLiteral("/pk.html"));
    EXPECT_TRUE(w.ForwardAction()->isEnabled());
    w.ForwardAction()->trigger();
    EXPECT_EQ(w.Browser()->source().fragment(), QStringLiteral("keys"));
    w.ShowPage(QUrl(QStringLiteral("golf.html")));
    w.HomeAction()->trigger();
    EXPECT_EQ(w.Browser()->source().path(), QStringLiteral("/index.html"));
    EXPECT_FALSE(w.Browser()->source().hasFragment());

    // A page the file does not hold shows a plain note, not an empty window.
    w.ShowPage(QUrl(QStringLiteral("nowhere.html")));
    EXPECT_TRUE(w.Browser()->toPlainText().contains(QStringLiteral("ページが見つかりません")));
}

TEST(HelpWindowTest, TakesNothingFromOutsideTheFile)
{
    SKIP_WITHOUT_BUILT_CHM();
    QTemporaryDir dir;
    WriteFile(dir.path() + QStringLiteral("/secret.css"), "body { color: red; }");
    HelpWindow w;
    ASSERT_TRUE(w.OpenFile(BuiltChm()));
    HelpBrowser* b = w.Browser();
    const QUrl local = QUrl::fromLocalFile(dir.path() + QStringLiteral("/secret.css"));
    EXPECT_EQ(b->loadResource(QTextDocument::StyleSheetResource, local).toString(), QString());
    EXPECT_TRUE(b->loadResource(QTextDocument::ImageResource, local).value<QImage>().isNull());
    EXPECT_FALSE(b->loadResource(QTextDocument::HtmlResource, local).toString().contains(QStringLiteral("color: red")));
    EXPECT_TRUE(b->loadResource(QTextDocument::StyleSheetResource, QUrl(QStringLiteral("style.css"))).toString().contains(
        QStringLiteral("font-family")));
}

// A file that cannot be shown leaves a plain message in the window, whatever is wrong with it.
TEST(HelpWindowTest, ShowsAMessageForFilesThatCannotBeShown)
{
    QByteArray built;
    if (QFile::exists(BuiltChm())) built = ReadFile(BuiltChm());
    std::vector<std::pair<const char*, QByteArray>> files{
        {"garbage", QByteArray(3000, '\x7F')},
        {"empty", QByteArray()},
        {"no pages", BuildSynthetic({{"/#SYSTEM", SystemObject("a.html", "t")}})},
    };
    if (!built.isEmpty()) {
        files.push_back({"truncated to its header", built.left(0x60)});
        files.push_back({"truncated halfway", built.left(built.size() / 2)});
        files.push_back({"truncated by one byte", built.left(built.size() - 1)});
    }
    for (const auto& [what, data] : files) {
        TempFile f(data, QStringLiteral("ポリコロヘルプ.chm"));
        HelpWindow w;
        EXPECT_FALSE(w.OpenFile(f.Path())) << what;
        w.show();
        EXPECT_FALSE(w.FailureText().isEmpty()) << what;
        const QString shown = w.Browser()->toPlainText();
        EXPECT_TRUE(shown.contains(QStringLiteral("ヘルプを表示できません"))) << what;
        EXPECT_TRUE(shown.contains(QStringLiteral("ポリコロヘルプ.chm"))) << what;
        EXPECT_EQ(w.windowTitle(), QStringLiteral("ポリコロ ヘルプ")) << what;
        EXPECT_FALSE(w.HomeAction()->isEnabled()) << what;
        w.GoHome();   // nothing to go to, and no harm
        const QString out = qEnvironmentVariable("POLY_HELP_PNG");
        if (!out.isEmpty()) w.grab().save(out + QStringLiteral("/help_failure.png"));
    }
}

TEST(HelpWindowTest, WithoutATitleTheWindowHasItsOwn)
{
    std::vector<SynthObject> objects = GoodObjects();
    objects[0].data = SystemObject("start.html", "");
    TempFile f(BuildSynthetic(objects));
    HelpWindow w;
    ASSERT_TRUE(w.OpenFile(f.Path()));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("ポリコロ ヘルプ"));
    EXPECT_EQ(w.Browser()->documentTitle(), QStringLiteral("はじめのページ"));
}

TEST(HelpDisplay, OneWindowThatAModalFormDoesNotShutOut)
{
    SKIP_WITHOUT_BUILT_CHM();
    Form owner;
    owner.SetClientSize(200, 120);
    bool ran = false;
    QTimer::singleShot(0, &owner, [&] {
        HtmlHelpDisplay(&owner, BuiltChm());
        HelpWindow* w = CurrentHelpWindow();
        ASSERT_NE(w, nullptr);
        EXPECT_TRUE(w->isVisible());
        EXPECT_EQ(w->windowHandle()->transientParent(), owner.windowHandle());
        w->ShowPage(QUrl(QStringLiteral("yakyu.html")));
        // A click on "目次" reaches the help window while the form runs modally (sent to the
        // window, so that it passes the application's modal check as a real click does).
        QWidget* button = w->findChild<QToolBar*>()->widgetForAction(w->HomeAction());
        QTest::mouseClick(w->windowHandle(), Qt::LeftButton, {}, button->mapTo(w, button->rect().center()));
        EXPECT_EQ(w->Browser()->source().path(), QStringLiteral("/index.html"));
        // F1 again: the same window, where it was.
        w->ShowPage(QUrl(QStringLiteral("golf.html")));
        HtmlHelpDisplay(&owner, BuiltChm());
        EXPECT_EQ(CurrentHelpWindow(), w);
        EXPECT_EQ(w->Browser()->source().path(), QStringLiteral("/golf.html"));
        // Closed and opened again: back on the top page.
        w->close();
        HtmlHelpDisplay(&owner, BuiltChm());
        EXPECT_EQ(CurrentHelpWindow(), w);
        EXPECT_TRUE(w->isVisible());
        EXPECT_EQ(w->Browser()->source().path(), QStringLiteral("/index.html"));
        w->close();
        ran = true;
        owner.SetModalResult(mrOk);
    });
    owner.ShowModal();
    EXPECT_TRUE(ran);
}

TEST(HelpDisplay, TheHelpWindowClosesWithTheProgram)
{
    // As in the game program: F1 in a game form opens the help, the game form is gone, and then
    // the menu closes; that ends the program, whatever the help window shows.
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible()) w->close();
    qApp->setQuitOnLastWindowClosed(true);
    Form menu;
    menu.SetClientSize(200, 120);
    menu.show();
    QTimer::singleShot(0, &menu, [&] {
        auto game = std::make_unique<Form>();
        game->show();
        HtmlHelpDisplay(game.get(), QStringLiteral("/no/such/ポリコロヘルプ.chm"));
        ASSERT_TRUE(CurrentHelpWindow()->isVisible());
        game.reset();
        menu.close();
    });
    bool stillRunning = false;
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&] {
        stillRunning = true;
        qApp->quit();
    });
    guard.start(3000);
    qApp->exec();
    qApp->setQuitOnLastWindowClosed(false);
    EXPECT_FALSE(stillRunning);
    EXPECT_FALSE(CurrentHelpWindow()->isVisible());
}

TEST(HelpDisplay, ATestViewerTakesTheCallInstead)
{
    QWidget* seenOwner = nullptr;
    QString seenFile;
    HelpWindow* before = CurrentHelpWindow();
    SetHelpViewer([&](QWidget* o, const QString& f) {
        seenOwner = o;
        seenFile = f;
    });
    QWidget owner;
    HtmlHelpDisplay(&owner, QStringLiteral("/x/ポリコロヘルプ.chm"));
    SetHelpViewer(nullptr);
    EXPECT_EQ(seenOwner, &owner);
    EXPECT_EQ(seenFile, QStringLiteral("/x/ポリコロヘルプ.chm"));
    EXPECT_EQ(CurrentHelpWindow(), before);
}

// The window as the user sees it, for a look with an image viewer (POLY_HELP_PNG=<folder>).
TEST(HelpWindowTest, RendersToAPicture)
{
    SKIP_WITHOUT_BUILT_CHM();
    HelpWindow w;
    ASSERT_TRUE(w.OpenFile(BuiltChm()));
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    const QString out = qEnvironmentVariable("POLY_HELP_PNG");
    for (const char* page : {"index.html", "pk.html", "yakyu.html", "soccer.html", "pikumo.html"}) {
        w.ShowPage(QUrl(QString::fromLatin1(page)));
        const QImage shot = w.grab().toImage();
        ASSERT_FALSE(shot.isNull());
        // Something is drawn: the heading band's green is in the picture.
        bool green = false;
        for (int y = 0; y < shot.height() && !green; y += 2)
            for (int x = 0; x < shot.width() && !green; x += 2) green = shot.pixel(x, y) == qRgb(0x2e, 0x7d, 0x32);
        EXPECT_TRUE(green) << page;
        if (!out.isEmpty()) shot.save(out + QStringLiteral("/help_") + QString::fromLatin1(page).section('.', 0, 0) + ".png");
    }
}
