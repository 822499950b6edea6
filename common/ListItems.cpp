#include "ListItems.h"

namespace {

// Blanks and control characters at both ends go, as the runtime's Trim takes them.
QString trimControls(const QString& s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && s[b].unicode() <= ' ') ++b;
    while (e > b && s[e - 1].unicode() <= ' ') --e;
    return s.mid(b, e - b);
}

} // namespace

QString GetListItem(const QString& sep, const QString& list, std::uint8_t n)
{
    if (list.isEmpty()) return QString();
    QString rest = list;
    // An empty separator is never found.
    auto find = [&](const QString& s) { return sep.isEmpty() ? qsizetype(-1) : s.indexOf(sep); };
    for (int k = 0; k < n; ++k) {
        const qsizetype at = find(rest);
        if (at < 0) rest.clear();
        else rest.remove(0, at + sep.size());
    }
    const qsizetype at = find(rest);
    return at < 0 ? rest : rest.left(at);
}

int CountListItems(const QString& sep, const QString& list)
{
    const QString t = trimControls(list);
    if (t.isEmpty()) return 0;
    return 1 + (sep.isEmpty() ? 0 : int(t.count(sep)));
}

QString CompleteFileExt(const QString& fileName, const QString& extList)
{
    if (fileName.isEmpty()) return fileName;
    const qsizetype slash = fileName.lastIndexOf(QLatin1Char('/'));
    if (fileName.lastIndexOf(QLatin1Char('.')) > slash) return fileName;
    const qsizetype nameLength = fileName.size() - (slash + 1);
    // The three characters only count as a typed extension when a name is left in front of them:
    // "bmp" alone is a name, not an extension.
    if (nameLength > 3) {
        const QString tail = fileName.right(3).toLower();
        const QString framedTail = QLatin1Char(',') + tail + QLatin1Char(',');
        const int count = CountListItems(QStringLiteral(","), extList);
        for (int k = 0; k < count && k < 256; ++k) {
            const QString item = GetListItem(QStringLiteral(","), extList, std::uint8_t(k));
            if ((QLatin1Char(',') + item + QLatin1Char(',')).compare(framedTail, Qt::CaseInsensitive) == 0)
                return fileName.left(fileName.size() - 3) + QLatin1Char('.') + tail;
        }
    }
    return fileName + QLatin1Char('.') + GetListItem(QStringLiteral(","), extList, 0);
}
