#include "HenkanJ.h"

#include "Sjis.h"

namespace {

constexpr unsigned char kMarked = 0x80;

// Half-width katakana $A6..$DF: the cell within JIS row $25, with kMarked on the kana that take a
// voicing mark; 0 is not converted here (ｰ, ﾞ, ﾟ).
constexpr unsigned char kKanaCells[0xDF - 0xA6 + 1] = {
    0x72,                                                       // ｦ
    0x21, 0x23, 0x25, 0x27, 0x29, 0x63, 0x65, 0x67, 0x43,       // ｧｨｩｪｫｬｭｮｯ
    0x00,                                                       // ｰ
    0x22, 0x24, 0x26, 0x28, 0x2A,                               // ｱｲｳｴｵ
    0x2B | kMarked, 0x2D | kMarked, 0x2F | kMarked, 0x31 | kMarked, 0x33 | kMarked, // ｶｷｸｹｺ
    0x35 | kMarked, 0x37 | kMarked, 0x39 | kMarked, 0x3B | kMarked, 0x3D | kMarked, // ｻｼｽｾｿ
    0x3F | kMarked, 0x41 | kMarked, 0x44 | kMarked, 0x46 | kMarked, 0x48 | kMarked, // ﾀﾁﾂﾃﾄ
    0x4A, 0x4B, 0x4C, 0x4D, 0x4E,                               // ﾅﾆﾇﾈﾉ
    0x4F | kMarked, 0x52 | kMarked, 0x55 | kMarked, 0x58 | kMarked, 0x5B | kMarked, // ﾊﾋﾌﾍﾎ
    0x5E, 0x5F, 0x60, 0x61, 0x62,                               // ﾏﾐﾑﾒﾓ
    0x64, 0x66, 0x68,                                           // ﾔﾕﾖ
    0x69, 0x6A, 0x6B, 0x6C, 0x6D,                               // ﾗﾘﾙﾚﾛ
    0x6F, 0x73,                                                 // ﾜﾝ
    0x00, 0x00,                                                 // ﾞﾟ
};
static_assert(sizeof kKanaCells == 58);

constexpr unsigned char kDakuten = 0xDE;   // ﾞ
constexpr unsigned char kHandakuten = 0xDF; // ﾟ
constexpr std::uint16_t kJisDakuten = 0x212B;   // ゛
constexpr std::uint16_t kJisHandakuten = 0x212C; // ゜

struct SymbolEntry {
    unsigned char han;
    std::uint16_t jis;
};

constexpr SymbolEntry kSymbols[] = {
    {' ', 0x2121},  {'!', 0x212A},  {'"', 0x2149},  {'#', 0x2174},  {'$', 0x2170},  {'%', 0x2173},
    {'&', 0x2175},  {'\'', 0x2147}, {'(', 0x214A},  {')', 0x214B},  {'=', 0x2161},  {'`', 0x2146},
    {'|', 0x2143},  {'-', 0x215D},  {'^', 0x2130},  {'\\', 0x216F}, {'~', 0x2131},  {'{', 0x2150},
    {'@', 0x2177},  {'[', 0x214E},  {'+', 0x215C},  {'*', 0x2176},  {'}', 0x2151},  {';', 0x2128},
    {':', 0x2127},  {']', 0x214F},  {'<', 0x2163},  {'>', 0x2164},  {'?', 0x2129},  {'_', 0x2132},
    {0xA4, 0x2122}, {0xA1, 0x2123}, {0xA5, 0x2126}, {',', 0x2124},  {'.', 0x2125},  {'/', 0x213F},
    {0xB0, 0x213C}, {0xA2, 0x2156}, {0xA3, 0x2157},
};
static_assert(sizeof kSymbols / sizeof kSymbols[0] == 39);

void appendJis(QByteArray& out, std::uint16_t jis)
{
    const std::uint16_t s = JisToSjis(jis);
    out.append(char(s >> 8));
    out.append(char(s & 0xFF));
}

bool isHalfKana(unsigned char b)
{
    return (b >= 0xA6 && b <= 0xAF) || (b >= 0xB1 && b <= 0xDF);
}

// Only ﾊ to ﾎ take the semi-voiced mark.
bool takesHandakuten(unsigned char b)
{
    return b >= 0xCA && b <= 0xCE;
}

} // namespace

bool IsSjisLeadByte(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

std::uint16_t JisToSjis(std::uint16_t jis)
{
    const unsigned j1 = jis >> 8;
    const unsigned j2 = jis & 0xFF;
    unsigned s1 = ((j1 + 1) >> 1) + 0x70;
    if (s1 >= 0xA0) s1 += 0x40;
    unsigned s2;
    if (j1 & 1) {
        s2 = j2 + 0x1F;
        if (s2 >= 0x7F) ++s2;
    } else {
        s2 = j2 + 0x7E;
    }
    return std::uint16_t(((s1 & 0xFF) << 8) | (s2 & 0xFF));
}

QByteArray HanToZen(const QByteArray& sjis)
{
    QByteArray out;
    out.reserve(sjis.size() * 2);
    const qsizetype n = sjis.size();
    qsizetype i = 0;
    while (i < n) {
        const auto b = static_cast<unsigned char>(sjis[i]);
        if (IsSjisLeadByte(b)) {
            // A lead byte cut off at the end is kept alone rather than read past the text.
            out.append(sjis.mid(i, i + 1 < n ? 2 : 1));
            i += 2;
            continue;
        }
        if (isHalfKana(b) && kKanaCells[b - 0xA6] != 0) {
            const unsigned char entry = kKanaCells[b - 0xA6];
            const std::uint16_t jis = 0x2500 | (entry & 0x7F);
            const int next = i + 1 < n ? static_cast<unsigned char>(sjis[i + 1]) : -1;
            if (next == kDakuten || next == kHandakuten) {
                const bool voiced = next == kDakuten;
                if ((entry & kMarked) && (voiced || takesHandakuten(b))) {
                    appendJis(out, jis + (voiced ? 1 : 2));
                } else {
                    appendJis(out, jis);
                    appendJis(out, voiced ? kJisDakuten : kJisHandakuten);
                }
                i += 2;
            } else {
                appendJis(out, jis);
                ++i;
            }
            continue;
        }
        if ((b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z')) {
            appendJis(out, std::uint16_t(0x2300 + b));
            ++i;
            continue;
        }
        bool found = false;
        for (const SymbolEntry& e : kSymbols) {
            if (e.han == b) {
                appendJis(out, e.jis);
                found = true;
                break;
            }
        }
        if (!found) out.append(char(b));
        ++i;
    }
    return out;
}

QString HanToZen(const QString& text)
{
    return FromSjis(HanToZen(ToSjis(text)));
}
