#include "PictureOffsetFile.h"

#include "Sjis.h"
#include "UnitCryptAccess.h"
#include <QFile>
#include <cerrno>
#include <sys/stat.h>

namespace bb {

namespace {

const char* const kLineBreak = "\r\n";

bool blankAt(QStringView s, qsizetype i)
{
    return i < s.size() && s[i].unicode() <= u' ';
}

QChar foldAscii(QChar c)
{
    return c >= u'a' && c <= u'z' ? QChar(c.unicode() - (u'a' - u'A')) : c;
}

QString quoted(const QString& item)
{
    bool needed = false;
    for (QChar c : item)
        if (c.unicode() <= u' ' || c == u',' || c == u'"') needed = true;
    if (!needed) return item;
    QString q = item;
    q.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

// A plain signed decimal within the offset limits.
bool parseOffset(const QString& s, int& value)
{
    qsizetype i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) negative = s[i++] == u'-';
    if (i == s.size()) return false;
    int magnitude = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < u'0' || s[i] > u'9') return false;
        magnitude = magnitude * 10 + (s[i].unicode() - u'0');
        if (magnitude > kMaxOffsetMagnitude) return false;
    }
    value = negative ? -magnitude : magnitude;
    return true;
}

// The folders of an absolute path, without empty ones ("/a//b/" gives a, b).
QStringList foldersOf(const QString& path)
{
    return path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
}

bool isAbsolute(const QString& path)
{
    return path.startsWith(QLatin1Char('/'));
}

// Item 0 of a line's comma text (its key); none for a line without items.
bool lineKey(const QByteArray& line, QString& key)
{
    const QStringList items = SplitCommaText(FromSjis(line));
    if (items.isEmpty()) return false;
    key = items.first();
    return true;
}

} // namespace

QString PictureOffsetFileName()
{
    return QStringLiteral("野球_選手画像の調節.txt");
}

QString PictureOffsetFileOf(const QString& dataDir)
{
    return dataDir + QStringLiteral("ゲームの選手画像/") + PictureOffsetFileName();
}

TOffsetRead ReadPictureOffsetFile(const QString& path, QByteArray& bytes)
{
    bytes.clear();
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) {
        const int err = errno;
        if (err == ENOENT || err == ENOTDIR) return TOffsetRead::Missing;
        ShowFileAccessError(path, 0, err);
        return TOffsetRead::Failed;
    }
    return LoadFileToString(path, bytes, kMaxOffsetFileBytes) ? TOffsetRead::Read : TOffsetRead::Failed;
}

QPoint& AdjustItem(TPictureOffsets& o, int item)
{
    if (item >= 0 && item < 4) return o.Glove[size_t(item)];
    if (item >= 5 && item < kAdjustItems) return o.Ball[size_t(item - 5)];
    return o.Bat;
}

QPoint AdjustItem(const TPictureOffsets& o, int item)
{
    return AdjustItem(const_cast<TPictureOffsets&>(o), item);
}

QStringList SplitCommaText(const QString& text)
{
    QStringList items;
    // What follows a NUL is not part of the line.
    const qsizetype nul = text.indexOf(QChar(0));
    const QStringView line = nul < 0 ? QStringView(text) : QStringView(text).left(nul);
    const qsizetype n = line.size();
    qsizetype i = 0;
    while (blankAt(line, i)) ++i;
    while (i < n) {
        QString item;
        if (line[i] == u'"') {
            for (++i; i < n; ++i) {
                if (line[i] != u'"') {
                    item += line[i];
                } else if (i + 1 < n && line[i + 1] == u'"') {
                    item += u'"';
                    ++i;
                } else {
                    ++i;
                    break;
                }
            }
        } else {
            const qsizetype start = i;
            while (i < n && line[i].unicode() > u' ' && line[i] != u',') ++i;
            item = line.mid(start, i - start).toString();
        }
        items.append(item);
        while (blankAt(line, i)) ++i;
        if (i < n && line[i] == u',') {
            // A comma at the very end stands before an empty last item.
            if (i + 1 == n) items.append(QString());
            do ++i;
            while (blankAt(line, i));
        }
    }
    return items;
}

QString JoinCommaText(const QStringList& items)
{
    QString line;
    for (qsizetype k = 0; k < items.size(); ++k) {
        if (k > 0) line += QLatin1Char(',');
        line += quoted(items[k]);
    }
    return line;
}

QList<QByteArray> SplitFileLines(const QByteArray& bytes)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n') continue;
        lines.append(bytes.mid(start, i - start));
        if (c == '\r' && i + 1 < n && bytes[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < n) lines.append(bytes.mid(start));
    return lines;
}

QString SheetKey(const QString& sheetFolder, const QString& sheetPath)
{
    if (!isAbsolute(sheetFolder) || !isAbsolute(sheetPath)) {
        QString whole = sheetPath;
        return whole.replace(QLatin1Char('/'), QLatin1Char('\\'));
    }
    const QStringList base = foldersOf(sheetFolder);
    QStringList dest = foldersOf(sheetPath);
    const QString name = dest.isEmpty() ? QString() : dest.takeLast();
    qsizetype common = 0;
    while (common < base.size() && common < dest.size() && SameKey(base[common], dest[common])) ++common;
    QString key;
    for (qsizetype k = common; k < base.size(); ++k) key += QStringLiteral("..\\");
    for (qsizetype k = common; k < dest.size(); ++k) key += dest[k] + QLatin1Char('\\');
    return key + name;
}

bool SameKey(const QString& a, const QString& b)
{
    if (a.size() != b.size()) return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (foldAscii(a[i]) != foldAscii(b[i])) return false;
    return true;
}

bool KeyStorable(const QString& key)
{
    for (QChar c : key)
        if (c == u'\r' || c == u'\n' || c.unicode() == 0) return false;
    return FromSjis(ToSjis(key)) == key;
}

QByteArray PictureOffsetLine(const QString& key, const TPictureOffsets& o)
{
    QStringList items{key};
    for (int item = 0; item < kAdjustItems; ++item) {
        const QPoint p = AdjustItem(o, item);
        items << QString::number(p.x()) << QString::number(p.y());
    }
    return ToSjis(JoinCommaText(items));
}

bool ReadOffsetLine(const QByteArray& line, const QString& key, TOffsetLookup& out)
{
    const QStringList items = SplitCommaText(FromSjis(line));
    if (items.isEmpty() || !SameKey(items.first(), key)) return false;
    out.Found = true;
    out.Valid = false;
    if (items.size() < kOffsetLineItems) return true;
    TPictureOffsets o;
    for (int item = 0; item < kAdjustItems; ++item) {
        int x = 0, y = 0;
        if (!parseOffset(items[1 + 2 * item], x) || !parseOffset(items[2 + 2 * item], y)) return true;
        AdjustItem(o, item) = QPoint(x, y);
    }
    out.Offsets = o;
    out.Valid = true;
    return true;
}

std::array<TOffsetLookup, 2> FindPictureOffsets(const QByteArray& file, const std::array<QString, 2>& keys)
{
    std::array<TOffsetLookup, 2> found;
    const std::array<bool, 2> storable{KeyStorable(keys[0]), KeyStorable(keys[1])};
    const QList<QByteArray> lines = SplitFileLines(file);
    for (qsizetype k = 0; k < lines.size(); ++k) {
        if ((found[0].Found || !storable[0]) && (found[1].Found || !storable[1])) break;
        QString key;
        if (!lineKey(lines[k], key)) continue;
        for (size_t side = 0; side < 2; ++side) {
            if (found[side].Found || !storable[side] || !SameKey(key, keys[side])) continue;
            ReadOffsetLine(lines[k], keys[side], found[side]);
            found[side].Line = int(k + 1);
        }
    }
    return found;
}

QByteArray MergePictureOffsets(const QByteArray& file, const std::array<QString, 2>& keys,
                               const std::array<TPictureOffsets, 2>& offsets, const std::array<bool, 2>& write)
{
    QList<QByteArray> lines = SplitFileLines(file);
    for (size_t side = 0; side < 2; ++side) {
        if (!write[side] || !KeyStorable(keys[side])) continue;
        const QByteArray mine = PictureOffsetLine(keys[side], offsets[side]);
        qsizetype at = -1;
        for (qsizetype k = 0; k < lines.size() && at < 0; ++k) {
            QString key;
            if (lineKey(lines[k], key) && SameKey(key, keys[side])) at = k;
        }
        if (at >= 0) lines[at] = mine;
        else lines.append(mine);
    }
    QByteArray out;
    for (const QByteArray& line : lines) out += line + kLineBreak;
    return out;
}

} // namespace bb
