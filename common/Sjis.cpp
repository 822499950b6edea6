#include "Sjis.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

namespace {

class Iconv {
public:
    Iconv(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Iconv()
    {
        if (ok()) iconv_close(m_cd);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;
    bool ok() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // Converts as much as it can; returns false at a sequence it cannot take, with `in` left there.
    bool convert(const char*& in, size_t& inLeft, QByteArray& out)
    {
        char buf[1024];
        while (inLeft > 0) {
            char* dst = buf;
            size_t dstLeft = sizeof buf;
            const size_t r = iconv(m_cd, const_cast<char**>(&in), &inLeft, &dst, &dstLeft);
            out.append(buf, qsizetype(dst - buf));
            if (r == size_t(-1) && errno != E2BIG) return false;
        }
        return true;
    }

private:
    iconv_t m_cd;
};

// Length of the UTF-8 sequence that starts with b (1 for a stray byte).
size_t utf8Length(unsigned char b)
{
    if (b >= 0xF0) return 4;
    if (b >= 0xE0) return 3;
    if (b >= 0xC0) return 2;
    return 1;
}

bool isLead(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool isTrail(unsigned char b)
{
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

} // namespace

QByteArray ToSjis(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    QByteArray out;
    Iconv cv("CP932", "UTF-8");
    if (!cv.ok()) return text.toLatin1();
    const char* in = utf8.constData();
    size_t left = size_t(utf8.size());
    while (!cv.convert(in, left, out)) {
        // A character that code page 932 does not have becomes '?', as the system's own conversion does.
        const size_t skip = std::min(left, utf8Length(static_cast<unsigned char>(*in)));
        in += skip;
        left -= skip;
        out.append('?');
    }
    return out;
}

QString FromSjis(const QByteArray& bytes)
{
    QByteArray utf8;
    Iconv cv("UTF-8", "CP932");
    if (!cv.ok()) return QString::fromLatin1(bytes);
    const char* in = bytes.constData();
    size_t left = size_t(bytes.size());
    static const char replacement[] = "\xEF\xBF\xBD";
    while (!cv.convert(in, left, utf8)) {
        // An unknown pair counts as one character; a stray byte as one.
        const auto b = static_cast<unsigned char>(in[0]);
        const size_t skip = (left >= 2 && isLead(b) && isTrail(static_cast<unsigned char>(in[1]))) ? 2 : 1;
        in += skip;
        left -= skip;
        utf8.append(replacement, 3);
    }
    return QString::fromUtf8(utf8);
}
