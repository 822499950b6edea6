// The replay layout, written byte for byte and read with every length checked against the bytes
// present (64-bit offsets throughout).
#include "SoccerReplayFile.h"

#include "LittleEndian.h"

namespace soccer {

namespace {

void put16(char* p, qint16 v)
{
    const auto u = quint16(v);
    p[0] = char(u & 0xFF);
    p[1] = char(u >> 8);
}

void append32(QByteArray& out, qint32 v)
{
    const auto u = quint32(v);
    for (int i = 0; i < 4; ++i) out.append(char((u >> (8 * i)) & 0xFF));
}

qint32 read32(const QByteArray& b, qint64 at)
{
    return qint32(ReadLE32(b, at));
}

// A fixed-width field: cut to its width or filled up with `pad`.
QByteArray fixedField(const QByteArray& text, int width, char pad)
{
    QByteArray f = text.left(width);
    f.append(QByteArray(width - f.size(), pad));
    return f;
}

bool inRange(qint64 v, qint64 lo, qint64 hi)
{
    return v >= lo && v <= hi;
}

// One scene at `at`; false when it is cut short or a value is out of range.
bool readScene(const QByteArray& b, qint64 at, TReplayScene& s, qint64& next)
{
    const qint64 size = b.size();
    if (size - at < kSceneHeadBytes) return false;
    s.GoalTime = read32(b, at);
    s.AddedMinutes = read32(b, at + 4);
    s.TimeText = TrimField(b.mid(qsizetype(at + 8), kTimeTextBytes));
    s.Label = TrimField(b.mid(qsizetype(at + 15), kLabelBytes));
    s.TimeState = quint8(b.at(qsizetype(at + 25)));
    const qint64 n = read32(b, at + 26);
    if (!inRange(s.GoalTime, 0, kMaxGoalClock) || !inRange(s.AddedMinutes, 0, kMaxAddedMinutes) || s.TimeState > 2 ||
        !inRange(n, 1, kRingFrames))
        return false;
    const qint64 frames = at + kSceneHeadBytes;
    if (size - frames < n * kFrameBytes) return false;
    s.Frames.resize(size_t(n));
    for (qint64 k = 0; k < n; ++k) s.Frames[size_t(k)] = DecodeFrame(b.constData() + frames + k * kFrameBytes);
    next = frames + n * kFrameBytes;
    return true;
}

} // namespace

void EncodeFrame(const TReplayFrame& frame, char* bytes)
{
    for (int i = 0; i < kFrameEntries; ++i) {
        const TFrameEntry& e = frame[size_t(i)];
        char* p = bytes + i * kEntryBytes;
        put16(p, e.X);
        put16(p + 2, e.Y);
        put16(p + 4, e.Speed);
        p[6] = char(e.Flags);
        p[7] = char(e.Extra);
    }
}

TReplayFrame DecodeFrame(const char* bytes)
{
    TReplayFrame f;
    const auto* u = reinterpret_cast<const unsigned char*>(bytes);
    for (int i = 0; i < kFrameEntries; ++i) {
        const unsigned char* p = u + i * kEntryBytes;
        TFrameEntry& e = f[size_t(i)];
        e.X = qint16(ReadLE16(p));
        e.Y = qint16(ReadLE16(p + 2));
        e.Speed = qint16(ReadLE16(p + 4));
        e.Flags = p[6];
        e.Extra = p[7];
    }
    return f;
}

QByteArray TrimField(const QByteArray& bytes)
{
    qsizetype b = 0, e = bytes.size();
    while (b < e && quint8(bytes.at(b)) <= 0x20) ++b;
    while (e > b && quint8(bytes.at(e - 1)) <= 0x20) --e;
    return bytes.mid(b, e - b);
}

QByteArray EncodeReplayHeader(const TReplayHeader& header)
{
    QByteArray out;
    out.reserve(kReplayHeaderBytes);
    out.append(char(header.Manual));
    for (const auto& team : header.Stats)
        for (qint32 v : team) append32(out, v);
    return out;
}

void PutReplayHeader(QByteArray& stream, const TReplayHeader& header)
{
    if (stream.size() < kReplayHeaderBytes) stream.resize(kReplayHeaderBytes);
    stream.replace(0, kReplayHeaderBytes, EncodeReplayHeader(header));
}

QByteArray EncodeReplayScene(const TReplayScene& scene)
{
    QByteArray out;
    out.reserve(kSceneHeadBytes + qsizetype(scene.Frames.size()) * kFrameBytes);
    append32(out, scene.GoalTime);
    append32(out, scene.AddedMinutes);
    out.append(fixedField(scene.TimeText, kTimeTextBytes, '\0'));
    out.append(fixedField(scene.Label, kLabelBytes, ' '));
    out.append(char(scene.TimeState));
    append32(out, qint32(scene.Frames.size()));
    char frame[kFrameBytes];
    for (const TReplayFrame& f : scene.Frames) {
        EncodeFrame(f, frame);
        out.append(frame, kFrameBytes);
    }
    return out;
}

bool ReadReplay(const QByteArray& bytes, TReplayContents& out, int last)
{
    out = TReplayContents{};
    const qint64 size = bytes.size();
    if (size < kReplayHeaderBytes || size > kMaxReplayBytes) return false;
    out.Header.Manual = quint8(bytes.at(0));
    for (int t = 0; t < 2; ++t)
        for (int i = 0; i < kReplayStats; ++i) out.Header.Stats[t][i] = read32(bytes, 1 + 4 * (t * kReplayStats + i));
    qint64 at = kReplayHeaderBytes;
    while (at < size && int(out.Scenes.size()) < kMaxReplayScenes && (last < 0 || int(out.Scenes.size()) <= last)) {
        TReplayScene s;
        qint64 next = at;
        if (!readScene(bytes, at, s, next)) break;
        out.Scenes.push_back(std::move(s));
        at = next;
    }
    return !out.Scenes.empty();
}

} // namespace soccer
