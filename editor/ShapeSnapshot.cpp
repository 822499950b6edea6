#include "ShapeSnapshot.h"

#include "PictureFile.h"
#include "Sjis.h"
#include <QtEndian>

namespace {

void Put32(QByteArray& d, std::int32_t v)
{
    char b[4];
    qToLittleEndian(v, b);
    d.append(b, 4);
}

void PutPoint(QByteArray& d, QPoint p, int dx, int dy)
{
    Put32(d, p.x() + dx);
    Put32(d, p.y() + dy);
}

void PutString(QByteArray& d, const QString& s)
{
    const QByteArray b = ToSjis(s);
    Put32(d, std::int32_t(b.size()));
    d.append(b);
}

// Reads from a snapshot, refusing to go past the bytes present.
class Reader {
public:
    explicit Reader(const QByteArray& d) : m_d(d) {}
    qint64 Left() const { return qint64(m_d.size()) - m_pos; }
    bool I32(std::int32_t& v)
    {
        if (Left() < 4) return false;
        v = qFromLittleEndian<std::int32_t>(m_d.constData() + m_pos);
        m_pos += 4;
        return true;
    }
    bool U8(std::uint8_t& v)
    {
        if (Left() < 1) return false;
        v = std::uint8_t(m_d[qsizetype(m_pos)]);
        ++m_pos;
        return true;
    }
    bool Point(QPoint& p)
    {
        std::int32_t x, y;
        if (!I32(x) || !I32(y)) return false;
        p = QPoint(x, y);
        return true;
    }
    bool Bytes(qint64 n, QByteArray& out)
    {
        if (n < 0 || n > Left()) return false;
        out = m_d.mid(qsizetype(m_pos), qsizetype(n));
        m_pos += n;
        return true;
    }
    bool String(QString& s)
    {
        std::int32_t len;
        QByteArray b;
        if (!I32(len) || !Bytes(len, b)) return false;
        s = FromSjis(b);
        return true;
    }

private:
    const QByteArray& m_d;
    qint64 m_pos = 0;
};

// No tool makes a point this far out; a snapshot that holds one is damaged.
constexpr int kMaxCoordinate = 1 << 16;

bool Reasonable(QPoint p)
{
    return p.x() >= -kMaxCoordinate && p.x() <= kMaxCoordinate && p.y() >= -kMaxCoordinate && p.y() <= kMaxCoordinate;
}

bool ReadRecord(Reader& r, TShapeRecord& rec, TColor eraserColor)
{
    std::int32_t v[8];
    std::int32_t kind, mark;
    if (!r.I32(kind) || !r.I32(mark) || !r.U8(rec.FreeOutline) || !r.U8(rec.Reserved1)) return false;
    rec.Kind = kind;
    rec.Mark = mark;
    for (std::int32_t& s : v)
        if (!r.I32(s)) return false;
    rec.Color = TColor(v[0]);
    rec.Color2 = TColor(v[1]);
    rec.FillColor = TColor(v[2]);
    rec.PenStyle = v[3];
    rec.Width = v[4];
    rec.Curve = v[5];
    rec.StretchType = v[6];
    rec.Reserved2 = v[7];
    for (int i = 0; i < 3; ++i)
        if (!r.Point(rec.A[i]) || !r.Point(rec.B[i])) return false;
    for (int i = 0; i < 3; ++i)
        if (!r.Point(rec.C[i]) || !r.Point(rec.D[i])) return false;
    for (QPoint* p : {&rec.Handle, &rec.Leftmost, &rec.Topmost, &rec.Rightmost, &rec.Bottommost})
        if (!r.Point(*p)) return false;
    for (int i = 0; i < 3; ++i)
        for (QPoint p : {rec.A[i], rec.B[i], rec.C[i], rec.D[i]})
            if (!Reasonable(p)) return false;
    for (QPoint p : {rec.Handle, rec.Leftmost, rec.Topmost, rec.Rightmost, rec.Bottommost})
        if (!Reasonable(p)) return false;
    std::int32_t m[4];
    for (std::int32_t& x : m)
        if (!r.I32(x)) return false;
    rec.MarginL = m[0];
    rec.MarginT = m[1];
    rec.MarginR = m[2];
    rec.MarginB = m[3];
    for (int x : m)
        if (x < -kMaxCoordinate || x > kMaxCoordinate) return false;
    if (!r.String(rec.FontName) || !r.String(rec.Text)) return false;
    if (rec.Kind == skPen || rec.Kind == skFill || rec.FreeOutline) {
        std::int32_t count;
        if (!r.I32(count) || count < 0 || qint64(count) * 8 > r.Left()) return false;
        rec.Points.resize(size_t(count));
        for (QPoint& p : rec.Points)
            if (!r.Point(p) || !Reasonable(p)) return false;
    }
    if (rec.Kind == skPicture) {
        std::int32_t len;
        QByteArray bmp;
        if (!r.I32(len) || !r.Bytes(len, bmp)) return false;
        QImage img;
        if (!DecodeBmp(bmp, img)) return false;
        rec.Picture = std::make_shared<TBitmap>();
        rec.Picture->Assign(img);
        rec.Picture->TransparentColor = eraserColor;
        rec.Picture->Transparent = rec.Color != eraserColor;
    }
    rec.Selected = 0;
    return true;
}

} // namespace

QByteArray WriteShapeList(const TShapeList& list, int dx, int dy)
{
    QByteArray d;
    Put32(d, std::int32_t(list.size()));
    for (const TShapeRecord& rec : list) {
        Put32(d, rec.Kind);
        Put32(d, rec.Mark);
        d.append(char(rec.FreeOutline));
        d.append(char(rec.Reserved1));
        for (std::int32_t s : {std::int32_t(rec.Color), std::int32_t(rec.Color2), std::int32_t(rec.FillColor),
                               std::int32_t(rec.PenStyle), std::int32_t(rec.Width), std::int32_t(rec.Curve),
                               std::int32_t(rec.StretchType), std::int32_t(rec.Reserved2)})
            Put32(d, s);
        for (int i = 0; i < 3; ++i) {
            PutPoint(d, rec.A[i], dx, dy);
            PutPoint(d, rec.B[i], dx, dy);
        }
        for (int i = 0; i < 3; ++i) {
            PutPoint(d, rec.C[i], dx, dy);
            PutPoint(d, rec.D[i], dx, dy);
        }
        for (QPoint p : {rec.Handle, rec.Leftmost, rec.Topmost, rec.Rightmost, rec.Bottommost}) PutPoint(d, p, dx, dy);
        for (int m : {rec.MarginL, rec.MarginT, rec.MarginR, rec.MarginB}) Put32(d, m);
        PutString(d, rec.FontName);
        PutString(d, rec.Text);
        if (rec.Kind == skPen || rec.Kind == skFill || rec.FreeOutline) {
            Put32(d, std::int32_t(rec.Points.size()));
            for (QPoint p : rec.Points) PutPoint(d, p, dx, dy);
        }
        if (rec.Kind == skPicture) {
            const QByteArray bmp = rec.Picture ? EncodeBmp24(rec.Picture->Image()) : QByteArray();
            Put32(d, std::int32_t(bmp.size()));
            d.append(bmp);
        }
    }
    return d;
}

QByteArray MakeSnapshot(const TShapeList& list)
{
    QByteArray d;
    Put32(d, 0);
    d.append(WriteShapeList(list));
    qToLittleEndian(std::int32_t(d.size()), d.data());
    return d;
}

QByteArray EmptySnapshot()
{
    return QByteArray(8, '\0');
}

bool ReadSnapshot(const QByteArray& bytes, TShapeList& out, TColor eraserColor)
{
    Reader r(bytes);
    std::int32_t total, count;
    if (!r.I32(total) || !r.I32(count)) return false;
    // The empty slot's two zero words; otherwise the size word must tell the bytes really present.
    const bool emptySlot = total == 0 && count == 0 && bytes.size() == 8;
    if (!emptySlot && qint64(total) != qint64(bytes.size())) return false;
    // The smallest record takes 202 bytes: a count beyond what the bytes can hold is refused at once.
    if (count < 0 || qint64(count) * 202 > r.Left()) return false;
    TShapeList list;
    list.reserve(size_t(count));
    for (std::int32_t i = 0; i < count; ++i) {
        TShapeRecord rec;
        if (!ReadRecord(r, rec, eraserColor)) return false;
        list.push_back(std::move(rec));
    }
    if (r.Left() != 0) return false;
    out = std::move(list);
    return true;
}
