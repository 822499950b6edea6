#include "HenkanJ.h"
#include "Sjis.h"

#include <gtest/gtest.h>

namespace {

struct TextRow {
    const char* input;
    const char* expected;
};

} // namespace

TEST(HanToZen, TextTable)
{
    const TextRow rows[] = {
        {"ｶﾞ", "ガ"},
        {"ﾄﾞ", "ド"},
        {"ﾊﾟ", "パ"},
        {"ﾎﾟ", "ポ"},
        {"ﾊﾞ", "バ"},
        {"ﾎﾞ", "ボ"},
        // A kana that only takes the voiced mark keeps the semi-voiced one apart.
        {"ｶﾟ", "カ゜"},
        {"ﾄﾟ", "ト゜"},
        {"ｳﾞ", "ウ゛"},
        {"ｱﾟ", "ア゜"},
        {"ﾝﾞ", "ン゛"},
        {"ｦｧｯｬﾝ", "ヲァッャン"},
        {"1", "１"},
        {"a", "ａ"},
        {"A", "Ａ"},
        {"09azAZ", "０９ａｚＡＺ"},
        {" !\"#$%&'()=`|-^\\~{@[+*};:]<>?_", "　！”＃＄％＆’（）＝‘｜－＾￥￣｛＠［＋＊｝；：］＜＞？＿"},
        {"､｡･,./ｰ｢｣", "、。・，．／ー「」"},
        {"漢字カナ", "漢字カナ"},
        // Trail bytes that look like '\' or '|' belong to their character.
        {"表ソ十", "表ソ十"},
        {"ﾞ", "ﾞ"},
        {"ﾟ", "ﾟ"},
        {"ﾞｶ", "ﾞカ"},
        {"ｶﾞﾞ", "ガﾞ"},
        {"ｶ", "カ"},
        {"ｷﾞｬﾝｸﾞ ﾊﾟｰﾃｨｰ1", "ギャング　パーティー１"},
        {"\t", "\t"},
        {"", ""},
    };
    for (const TextRow& r : rows)
        EXPECT_EQ(HanToZen(QString::fromUtf8(r.input)), QString::fromUtf8(r.expected)) << r.input;
}

TEST(HanToZen, EveryPlainKanaIsItsFullWidthForm)
{
    // Compatibility normalisation is an independent list of the full-width forms.
    for (int b = 0xA6; b <= 0xDD; ++b) {
        if (b == 0xB0) continue;
        const QString half = FromSjis(QByteArray(1, char(b)));
        EXPECT_EQ(HanToZen(half), half.normalized(QString::NormalizationForm_KC)) << std::hex << b;
    }
}

TEST(HanToZen, EveryVoicedAndSemiVoicedPair)
{
    const QString dakuten = QStringLiteral("ﾞ"), handakuten = QStringLiteral("ﾟ");
    for (QChar k : QStringLiteral("ｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾊﾋﾌﾍﾎ")) {
        const QString pair = QString(k) + dakuten;
        EXPECT_EQ(HanToZen(pair), pair.normalized(QString::NormalizationForm_KC)) << pair.toStdString();
    }
    for (QChar k : QStringLiteral("ﾊﾋﾌﾍﾎ")) {
        const QString pair = QString(k) + handakuten;
        EXPECT_EQ(HanToZen(pair), pair.normalized(QString::NormalizationForm_KC)) << pair.toStdString();
    }
    for (QChar k : QStringLiteral("ｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄ")) {
        const QString plain = QString(k).normalized(QString::NormalizationForm_KC);
        EXPECT_EQ(HanToZen(QString(k) + handakuten), plain + QStringLiteral("゜")) << plain.toStdString();
    }
}

TEST(HanToZen, Bytes)
{
    struct Row {
        QByteArray input, expected;
    };
    const Row rows[] = {
        // A lead byte cut off at the end is kept alone.
        {QByteArray("\x82"), QByteArray("\x82")},
        {QByteArray("1\x88"), QByteArray("\x82\x50\x88")},
        {QByteArray("\xE0"), QByteArray("\xE0")},
        // A two-byte character passes whole, and the byte after it is converted on its own.
        {QByteArray("\x88\x9F" "a"), QByteArray("\x88\x9F\x82\x81")},
        {QByteArray("\x80\xFD\xFF\x7F", 4), QByteArray("\x80\xFD\xFF\x7F", 4)},
        {QByteArray("a\0b", 3), QByteArray("\x82\x81\0\x82\x82", 5)},
    };
    for (const Row& r : rows) EXPECT_EQ(HanToZen(r.input), r.expected) << r.input.toHex().toStdString();
}

TEST(HanToZen, JisToSjisCorners)
{
    const std::pair<std::uint16_t, std::uint16_t> rows[] = {
        {0x2121, 0x8140}, {0x2330, 0x824F}, {0x2522, 0x8341}, {0x2560, 0x8380}, {0x2576, 0x8396},
        {0x3021, 0x889F}, {0x5E7E, 0x9FFC}, {0x5F21, 0xE040}, {0x6021, 0xE09F}, {0x7426, 0xEAA4},
    };
    for (auto [jis, sjis] : rows) EXPECT_EQ(JisToSjis(jis), sjis) << std::hex << jis;
}

TEST(Sjis, RoundTripAndReplacement)
{
    const QString text = QStringLiteral("ポリコロ　ＰＫ戦 abc ｶﾅ");
    EXPECT_EQ(ToSjis(QStringLiteral("ア")), QByteArray("\x83\x41"));
    EXPECT_EQ(FromSjis(ToSjis(text)), text);
    // Characters the code page lacks become '?'; bytes it cannot read become U+FFFD.
    EXPECT_EQ(ToSjis(QStringLiteral("a😀b")), QByteArray("a?b"));
    EXPECT_EQ(FromSjis(QByteArray("a\x85\x40" "b")), QStringLiteral("a\uFFFDb"));
    EXPECT_EQ(FromSjis(QByteArray("a\x82")), QStringLiteral("a\uFFFD"));
}
