#include "ChmArchive.h"

#include "FileErrorText.h"
#include "LittleEndian.h"
#include "WholeFile.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>

#include <chm_lib.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <iconv.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// ---------------------------------------------------------------------------------------------
// Container layout (little-endian throughout).

constexpr uint64_t kItsfV2Len = 0x58;
constexpr uint64_t kItsfV3Len = 0x60;   // the library always reads this much of the file's head
constexpr uint64_t kItspLen = 0x54;
constexpr uint64_t kListingHeaderLen = 0x14;
constexpr uint64_t kIndexHeaderLen = 0x08;
constexpr uint32_t kMinChunkLen = 0x20;
constexpr uint32_t kMaxChunkLen = 0x10000;
constexpr uint32_t kMaxChunks = 0x10000;
constexpr size_t kMaxEntries = 0x10000;
constexpr uint64_t kMaxPathLen = CHM_MAX_PATHLEN;
constexpr int kMaxEncIntBytes = 9;   // 63 bits: the library accumulates into 64



// A chunk's used part, read front to back; every read is checked against its end.
struct ChunkCursor {
    const uchar* p;
    uint64_t pos;
    uint64_t end;

    bool EncInt(uint64_t& v)
    {
        v = 0;
        for (int i = 0; i < kMaxEncIntBytes; ++i) {
            if (pos >= end) return false;
            const uchar b = p[pos++];
            v = (v << 7) | (b & 0x7F);
            if (b < 0x80) return true;
        }
        return false;
    }

    bool Name(std::string& name, bool allowEmpty)
    {
        uint64_t len = 0;
        if (!EncInt(len)) return false;
        if (len > kMaxPathLen || (len == 0 && !allowEmpty) || end - pos < len) return false;
        name.assign(reinterpret_cast<const char*>(p + pos), size_t(len));
        pos += len;
        // The library copies names into C strings: an embedded NUL would cut them short.
        return name.find('\0') == std::string::npos;
    }
};

enum class ChunkKind { Listing, Index, Other };

ChunkKind KindOf(const uchar* chunk)
{
    if (std::memcmp(chunk, "PMGL", 4) == 0) return ChunkKind::Listing;
    if (std::memcmp(chunk, "PMGI", 4) == 0) return ChunkKind::Index;
    return ChunkKind::Other;
}

// A listing chunk (PMGL): its entries, parsed exactly as the library walks them, and its successor.
bool ReadListingChunk(const uchar* chunk, uint32_t chunkLen, std::vector<ChmDirEntry>& entries, int32_t& next)
{
    const uint32_t freeSpace = ReadLE32(chunk + 4);
    if (freeSpace > chunkLen - kListingHeaderLen) return false;
    next = int32_t(ReadLE32(chunk + 16));
    ChunkCursor c{chunk, kListingHeaderLen, chunkLen - uint64_t(freeSpace)};
    while (c.pos < c.end) {
        ChmDirEntry e;
        if (!c.Name(e.path, false)) return false;
        if (!c.EncInt(e.space) || !c.EncInt(e.start) || !c.EncInt(e.length)) return false;
        if (entries.size() >= kMaxEntries) return false;
        entries.push_back(std::move(e));
    }
    return true;
}

// An index chunk (PMGI): the chunks it points to.
bool ReadIndexChunk(const uchar* chunk, uint32_t chunkLen, uint32_t chunks, std::vector<uint32_t>& children)
{
    const uint32_t freeSpace = ReadLE32(chunk + 4);
    if (freeSpace > chunkLen - kIndexHeaderLen) return false;
    ChunkCursor c{chunk, kIndexHeaderLen, chunkLen - uint64_t(freeSpace)};
    std::string name;
    while (c.pos < c.end) {
        uint64_t page = 0;
        if (!c.Name(name, true) || !c.EncInt(page)) return false;
        if (page >= chunks) return false;
        children.push_back(uint32_t(page));
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// The child process that runs the library. It writes one record per requested object, then an
// end record, to the pipe:
//   uint32 index, uint32 status, uint64 length, then length bytes when the status is kObjectRead.

enum : uint32_t { kObjectRead = 0, kObjectMissing = 1, kObjectDisagrees = 2, kObjectShort = 3 };
constexpr uint32_t kEndIndex = 0xFFFFFFFFu;
constexpr uint32_t kEndStatus = 0x444E4521u;
constexpr int kRecordLen = 16;

bool WriteAll(int fd, const void* data, size_t len)
{
    const char* p = static_cast<const char*>(data);
    while (len > 0) {
        const ssize_t n = ::write(fd, p, len);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        len -= size_t(n);
    }
    return true;
}

bool WriteRecord(int fd, uint32_t index, uint32_t status, uint64_t length)
{
    uchar rec[kRecordLen];
    for (int i = 0; i < 4; ++i) rec[i] = uchar(index >> (8 * i));
    for (int i = 0; i < 4; ++i) rec[4 + i] = uchar(status >> (8 * i));
    for (int i = 0; i < 8; ++i) rec[8 + i] = uchar(length >> (8 * i));
    return WriteAll(fd, rec, sizeof rec);
}

}  // namespace

// In a sanitizer build these come with the runtime; elsewhere they are absent (null).
extern "C" {
__attribute__((weak)) void __sanitizer_set_death_callback(void (*callback)(void));
__attribute__((weak)) void __sanitizer_set_report_fd(void* fd);
}

namespace {

[[noreturn]] void ChildRead(const char* file, const std::vector<ChmDirEntry>& want, int fd)
{
    // A fault in the library ends this process quietly: no handler of the parent's is to report
    // it as the parent's (a sanitizer's report, a fuzzer's crash file), and no core file is left.
    for (int sig : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGPIPE, SIGALRM})
        std::signal(sig, SIG_DFL);
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    if (__sanitizer_set_death_callback) __sanitizer_set_death_callback(nullptr);
    if (__sanitizer_set_report_fd) {
        const int devNull = ::open("/dev/null", O_WRONLY);
        if (devNull >= 0) __sanitizer_set_report_fd(reinterpret_cast<void*>(intptr_t(devNull)));
    }

    chmFile* h = chm_open(file);
    if (!h) _exit(2);
    for (size_t i = 0; i < want.size(); ++i) {
        const ChmDirEntry& w = want[i];
        chmUnitInfo ui{};
        uint32_t status = kObjectRead;
        if (chm_resolve_object(h, w.path.c_str(), &ui) != CHM_RESOLVE_SUCCESS) {
            status = kObjectMissing;
        } else if (ui.length != w.length || ui.start != w.start || uint64_t(ui.space) != w.space) {
            // The index led somewhere else than the checked directory entry.
            status = kObjectDisagrees;
        }
        if (status != kObjectRead) {
            if (!WriteRecord(fd, uint32_t(i), status, 0)) _exit(3);
            continue;
        }
        std::vector<unsigned char> buf(size_t(w.length));
        const LONGINT64 got = w.length ? chm_retrieve_object(h, &ui, buf.data(), 0, LONGINT64(w.length)) : 0;
        if (got != LONGINT64(w.length)) {
            if (!WriteRecord(fd, uint32_t(i), kObjectShort, 0)) _exit(3);
            continue;
        }
        if (!WriteRecord(fd, uint32_t(i), kObjectRead, w.length) || !WriteAll(fd, buf.data(), buf.size())) _exit(3);
    }
    if (!WriteRecord(fd, kEndIndex, kEndStatus, want.size())) _exit(3);
    chm_close(h);
    _exit(0);
}

void KillAndReap(pid_t pid)
{
    ::kill(pid, SIGKILL);
    while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
}

// Runs the library in a child process over the checked entries; data[i] is filled for every
// object it read whole. False when the child could not run, failed, or said something unexpected.
bool ReadWithLibrary(const QString& file, const std::vector<ChmDirEntry>& want, std::vector<QByteArray>& data,
                     std::vector<bool>& read, QString& why)
{
    data.assign(want.size(), QByteArray());
    read.assign(want.size(), false);
    uint64_t expected = kRecordLen;
    for (const ChmDirEntry& e : want) expected += kRecordLen + e.length;

    const QByteArray nativeFile = QFile::encodeName(file);
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        why = QStringLiteral("pipe failed");
        return false;
    }
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        why = QStringLiteral("fork failed");
        return false;
    }
    if (pid == 0) {
        ::close(fds[0]);
        ChildRead(nativeFile.constData(), want, fds[1]);
    }
    ::close(fds[1]);

    QByteArray stream;
    QElapsedTimer clock;
    clock.start();
    bool overrun = false, timedOut = false;
    char buf[65536];
    for (;;) {
        const qint64 left = ChmArchive::kReadTimeoutMs - clock.elapsed();
        if (left <= 0) {
            timedOut = true;
            break;
        }
        pollfd pfd{fds[0], POLLIN, 0};
        const int r = ::poll(&pfd, 1, int(left));
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) {
            timedOut = r == 0;
            break;
        }
        const ssize_t n = ::read(fds[0], buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        if (uint64_t(stream.size()) + uint64_t(n) > expected) {
            overrun = true;
            break;
        }
        stream.append(buf, n);
    }
    ::close(fds[0]);

    int status = 0;
    if (timedOut || overrun) {
        KillAndReap(pid);
        why = timedOut ? QStringLiteral("the reader took too long") : QStringLiteral("the reader said too much");
        return false;
    }
    // The pipe is closed: the child has ended or is about to; it is given the rest of the time.
    for (;;) {
        const pid_t r = ::waitpid(pid, &status, WNOHANG);
        if (r == pid) break;
        if (r < 0 && errno != EINTR) {
            why = QStringLiteral("the reader was lost");
            return false;
        }
        if (clock.elapsed() > ChmArchive::kReadTimeoutMs) {
            KillAndReap(pid);
            why = QStringLiteral("the reader did not end");
            return false;
        }
        ::usleep(1000);
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        why = WIFSIGNALED(status) ? QStringLiteral("the reader failed with signal %1").arg(WTERMSIG(status))
                                  : QStringLiteral("the reader failed (%1)").arg(WEXITSTATUS(status));
        return false;
    }

    const auto* p = reinterpret_cast<const uchar*>(stream.constData());
    const uint64_t size = uint64_t(stream.size());
    uint64_t pos = 0;
    size_t next = 0;
    for (;;) {
        if (size - pos < kRecordLen) {
            why = QStringLiteral("the reader's answer is cut short");
            return false;
        }
        const uint32_t index = ReadLE32(p + pos), st = ReadLE32(p + pos + 4);
        const uint64_t length = ReadLE64(p + pos + 8);
        pos += kRecordLen;
        if (index == kEndIndex) {
            if (st != kEndStatus || length != want.size() || next != want.size() || pos != size) {
                why = QStringLiteral("the reader's answer ends wrongly");
                return false;
            }
            return true;
        }
        if (index != next || st > kObjectShort || (st == kObjectRead ? length != want[index].length : length != 0)
            || size - pos < length) {
            why = QStringLiteral("the reader's answer is out of order");
            return false;
        }
        if (st == kObjectRead) {
            data[index] = QByteArray(reinterpret_cast<const char*>(p + pos), qsizetype(length));
            read[index] = true;
            pos += length;
        }
        ++next;
    }
}

// ---------------------------------------------------------------------------------------------

QString NormalPath(QString path)
{
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (path.startsWith(QLatin1String("./"))) path.remove(0, 2);
    if (!path.startsWith(QLatin1Char('/'))) path.prepend(QLatin1Char('/'));
    return path;
}

bool IsPage(const QString& path)
{
    return path.endsWith(QLatin1String(".html"), Qt::CaseInsensitive)
        || path.endsWith(QLatin1String(".htm"), Qt::CaseInsensitive);
}

// The objects worth reading: the pages and their files, and #SYSTEM. The format's own indexes and
// the compressed section's internals are left to the library.
bool IsWanted(const std::string& path)
{
    if (path.size() < 2 || path[0] != '/' || path.back() == '/') return false;
    if (path == "/#SYSTEM") return true;
    return path[1] != '#' && path[1] != '$';
}

QString FromCp932(const QByteArray& bytes)
{
    iconv_t cd = iconv_open("UTF-8", "CP932");
    if (cd == iconv_t(-1)) return QString::fromLatin1(bytes);
    std::string out;
    out.reserve(size_t(bytes.size()) + size_t(bytes.size()) / 2);
    char* in = const_cast<char*>(bytes.constData());
    size_t inLeft = size_t(bytes.size());
    char buf[4096];
    while (inLeft > 0) {
        char* o = buf;
        size_t oLeft = sizeof buf;
        const size_t r = iconv(cd, &in, &inLeft, &o, &oLeft);
        out.append(buf, size_t(o - buf));
        if (r == size_t(-1) && errno != E2BIG) {
            // A byte that starts no character: shown as a replacement character, then on.
            out.append("\xEF\xBF\xBD");
            ++in;
            --inLeft;
        }
    }
    iconv_close(cd);
    return QString::fromUtf8(out.data(), qsizetype(out.size()));
}

QString DecodeEntities(const QString& s)
{
    if (!s.contains(QLatin1Char('&'))) return s;
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] != QLatin1Char('&')) {
            out += s[i];
            continue;
        }
        const qsizetype semi = s.indexOf(QLatin1Char(';'), i + 1);
        if (semi < 0 || semi - i > 10) {
            out += s[i];
            continue;
        }
        const QString ent = s.mid(i + 1, semi - i - 1);
        char32_t c = 0;
        if (ent == QLatin1String("amp")) c = '&';
        else if (ent == QLatin1String("lt")) c = '<';
        else if (ent == QLatin1String("gt")) c = '>';
        else if (ent == QLatin1String("quot")) c = '"';
        else if (ent == QLatin1String("apos")) c = '\'';
        else if (ent == QLatin1String("nbsp")) c = 0xA0;
        else if (ent.startsWith(QLatin1Char('#'))) {
            bool ok = false;
            const uint v = ent.startsWith(QLatin1String("#x"), Qt::CaseInsensitive) ? ent.mid(2).toUInt(&ok, 16)
                                                                                     : ent.mid(1).toUInt(&ok, 10);
            if (ok && v > 0 && v <= 0x10FFFF && (v < 0xD800 || v > 0xDFFF)) c = v;
        }
        if (c == 0) {
            out += s[i];
            continue;
        }
        out += QString::fromUcs4(&c, 1);
        i = semi;
    }
    return out;
}

// One tag of the sitemap: its lower-case name ("/ul" for an end tag) and attributes.
struct Tag {
    QString name;
    QHash<QString, QString> attrs;
};

Tag ParseTag(QStringView body)
{
    Tag tag;
    qsizetype i = 0;
    const qsizetype n = body.size();
    auto isSpace = [](QChar c) { return c.isSpace(); };
    while (i < n && !isSpace(body[i]) && body[i] != QLatin1Char('/')) ++i;
    if (i == 0 && n > 0 && body[0] == QLatin1Char('/')) {
        ++i;
        while (i < n && !isSpace(body[i])) ++i;
    }
    tag.name = body.left(i).toString().toLower();
    while (i < n) {
        while (i < n && (isSpace(body[i]) || body[i] == QLatin1Char('/'))) ++i;
        const qsizetype nameStart = i;
        while (i < n && !isSpace(body[i]) && body[i] != QLatin1Char('=')) ++i;
        const QString attr = body.mid(nameStart, i - nameStart).toString().toLower();
        while (i < n && isSpace(body[i])) ++i;
        QString value;
        if (i < n && body[i] == QLatin1Char('=')) {
            ++i;
            while (i < n && isSpace(body[i])) ++i;
            if (i < n && (body[i] == QLatin1Char('"') || body[i] == QLatin1Char('\''))) {
                const QChar q = body[i++];
                const qsizetype vs = i;
                while (i < n && body[i] != q) ++i;
                value = body.mid(vs, i - vs).toString();
                if (i < n) ++i;
            } else {
                const qsizetype vs = i;
                while (i < n && !isSpace(body[i])) ++i;
                value = body.mid(vs, i - vs).toString();
            }
        }
        if (!attr.isEmpty() && !tag.attrs.contains(attr)) tag.attrs.insert(attr, DecodeEntities(value));
    }
    return tag;
}

// The end of the tag that starts after '<' at from: the first '>' outside quotes; -1 when none.
qsizetype TagEnd(const QString& text, qsizetype from)
{
    QChar quote;
    for (qsizetype i = from; i < text.size(); ++i) {
        const QChar c = text[i];
        if (!quote.isNull()) {
            if (c == quote) quote = QChar();
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quote = c;
        } else if (c == QLatin1Char('>')) {
            return i;
        }
    }
    return -1;
}

constexpr size_t kMaxTocEntries = 4000;
constexpr int kMaxTocLevel = 15;

}  // namespace

// -------------------------------------------------------------------------------------------------

bool ReadChmDirectory(const QByteArray& file, std::vector<ChmDirEntry>& entries, QString* why)
{
    entries.clear();
    auto fail = [&](const char* reason) {
        entries.clear();
        if (why) *why = QString::fromLatin1(reason);
        return false;
    };
    const auto* b = reinterpret_cast<const uchar*>(file.constData());
    const uint64_t size = uint64_t(file.size());

    if (size < kItsfV3Len) return fail("file shorter than its header");
    if (std::memcmp(b, "ITSF", 4) != 0) return fail("not an ITSF file");
    const uint32_t version = ReadLE32(b + 4), headerLen = ReadLE32(b + 8);
    if (!((version == 2 && headerLen >= kItsfV2Len) || (version == 3 && headerLen >= kItsfV3Len)))
        return fail("unknown header version");
    const uint64_t dirOffset = ReadLE64(b + 0x48), dirLen = ReadLE64(b + 0x50);
    if (dirOffset > size || dirLen > size - dirOffset) return fail("directory outside the file");
    const uint64_t dataOffset = version == 3 ? ReadLE64(b + 0x58) : dirOffset + dirLen;
    if (dataOffset > size) return fail("content outside the file");

    if (dirLen < kItspLen) return fail("directory header cut short");
    const uchar* sp = b + dirOffset;
    if (std::memcmp(sp, "ITSP", 4) != 0 || ReadLE32(sp + 4) != 1 || ReadLE32(sp + 8) != kItspLen)
        return fail("not a directory header");
    const uint32_t chunkLen = ReadLE32(sp + 0x10);
    const int32_t indexRoot = int32_t(ReadLE32(sp + 0x1C)), indexHead = int32_t(ReadLE32(sp + 0x20));
    const uint32_t chunks = ReadLE32(sp + 0x2C);   // 0x24 is the last listing chunk, 0x28 always -1
    if (chunkLen < kMinChunkLen || chunkLen > kMaxChunkLen) return fail("directory chunk size out of range");
    if (chunks == 0 || chunks > kMaxChunks) return fail("directory chunk count out of range");
    const uint64_t chunkBase = dirOffset + kItspLen;
    if ((dirLen - kItspLen) / chunkLen < chunks) return fail("directory chunks outside the directory");
    auto chunkAt = [&](uint32_t i) { return b + chunkBase + uint64_t(i) * chunkLen; };
    if (indexHead < 0 || uint32_t(indexHead) >= chunks) return fail("first listing chunk out of range");
    // As the library does: no index chunk means the first listing chunk is searched instead.
    const int32_t root = indexRoot <= -1 ? indexHead : indexRoot;
    if (uint32_t(root) >= chunks) return fail("index root out of range");

    // The listing chain: every chunk a listing, each visited once, ending with -1.
    std::vector<uint8_t> listed(chunks, 0);
    for (int32_t page = indexHead; page != -1;) {
        if (page < 0 || uint32_t(page) >= chunks) return fail("listing chain leaves the directory");
        if (listed[size_t(page)]) return fail("listing chain loops");
        listed[size_t(page)] = 1;
        const uchar* chunk = chunkAt(uint32_t(page));
        if (KindOf(chunk) != ChunkKind::Listing) return fail("listing chain reaches a chunk that is no listing");
        int32_t next = -1;
        if (!ReadListingChunk(chunk, chunkLen, entries, next)) return fail("listing chunk out of shape");
        page = next;
    }

    // The index tree from its root: every index chunk well formed, every path down ending in a
    // listing chunk, no path coming back to a chunk already on it.
    std::vector<uint8_t> state(chunks, 0);   // 0 new, 1 on the current path, 2 done
    struct Frame {
        uint32_t chunk;
        std::vector<uint32_t> children;
        size_t next = 0;
    };
    std::vector<Frame> stack;
    auto enter = [&](uint32_t c) -> bool {
        const uchar* chunk = chunkAt(c);
        const ChunkKind kind = KindOf(chunk);
        if (kind == ChunkKind::Listing) {
            state[c] = 2;
            if (listed[c]) return true;
            // A leaf outside the chain still has to be one the library can walk.
            std::vector<ChmDirEntry> unused;
            int32_t next = -1;
            return ReadListingChunk(chunk, chunkLen, unused, next);
        }
        if (kind != ChunkKind::Index) return false;
        Frame f{c, {}, 0};
        if (!ReadIndexChunk(chunk, chunkLen, chunks, f.children)) return false;
        state[c] = 1;
        stack.push_back(std::move(f));
        return true;
    };
    if (!enter(uint32_t(root))) return fail("index chunk out of shape");
    while (!stack.empty()) {
        Frame& f = stack.back();
        if (f.next == f.children.size()) {
            state[f.chunk] = 2;
            stack.pop_back();
            continue;
        }
        const uint32_t child = f.children[f.next++];
        if (state[child] == 1) return fail("index tree loops");
        if (state[child] == 0 && !enter(child)) return fail("index chunk out of shape");
    }

    // Stored objects lie inside the file.
    for (const ChmDirEntry& e : entries) {
        if (e.space > 1) return fail("unknown section");
        if (e.space == 0 && (e.start > size - dataOffset || e.length > size - dataOffset - e.start))
            return fail("stored object outside the file");
    }
    return true;
}

ChmSystemInfo ParseChmSystem(const QByteArray& system)
{
    ChmSystemInfo info;
    const auto* p = reinterpret_cast<const uchar*>(system.constData());
    const qsizetype size = system.size();
    qsizetype pos = 4;   // the version
    while (size - pos >= 4) {
        const uint16_t code = uint16_t(p[pos] | p[pos + 1] << 8);
        const uint16_t len = uint16_t(p[pos + 2] | p[pos + 3] << 8);
        pos += 4;
        if (len > size - pos) break;
        QByteArray value(reinterpret_cast<const char*>(p + pos), len);
        const qsizetype nul = value.indexOf('\0');
        if (nul >= 0) value.truncate(nul);
        switch (code) {
        case 0: info.contentsFile = DecodeHelpText(value); break;
        case 1: info.indexFile = DecodeHelpText(value); break;
        case 2: info.defaultTopic = DecodeHelpText(value); break;
        case 3: info.title = DecodeHelpText(value); break;
        default: break;
        }
        pos += len;
    }
    return info;
}

std::vector<ChmTocEntry> ParseSitemap(const QString& text)
{
    std::vector<ChmTocEntry> out;
    int lists = 0;   // <UL> open around the current point
    bool inObject = false, isEntry = false;
    QString name, local;
    qsizetype i = 0;
    while (i < text.size() && out.size() < kMaxTocEntries) {
        const qsizetype lt = text.indexOf(QLatin1Char('<'), i);
        if (lt < 0) break;
        if (QStringView(text).mid(lt, 4) == QLatin1String("<!--")) {
            const qsizetype end = text.indexOf(QLatin1String("-->"), lt + 4);
            if (end < 0) break;
            i = end + 3;
            continue;
        }
        const qsizetype gt = TagEnd(text, lt + 1);
        if (gt < 0) break;
        const Tag tag = ParseTag(QStringView(text).mid(lt + 1, gt - lt - 1));
        i = gt + 1;
        if (tag.name == QLatin1String("ul")) {
            ++lists;
        } else if (tag.name == QLatin1String("/ul")) {
            lists = std::max(0, lists - 1);
        } else if (tag.name == QLatin1String("object")) {
            inObject = true;
            isEntry = tag.attrs.value(QStringLiteral("type")).compare(QLatin1String("text/sitemap"), Qt::CaseInsensitive) == 0;
            name.clear();
            local.clear();
        } else if (tag.name == QLatin1String("param") && inObject && isEntry) {
            const QString param = tag.attrs.value(QStringLiteral("name")).toLower();
            const QString value = tag.attrs.value(QStringLiteral("value"));
            if (param == QLatin1String("name") && name.isEmpty()) name = value.trimmed();
            else if (param == QLatin1String("local") && local.isEmpty()) local = value.trimmed();
        } else if (tag.name == QLatin1String("/object")) {
            if (inObject && isEntry && !name.isEmpty())
                out.push_back({std::clamp(lists - 1, 0, kMaxTocLevel), name, local});
            inObject = isEntry = false;
        }
    }
    return out;
}

QString DecodeHelpText(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString s = utf8(bytes);
    if (!utf8.hasError()) return s;
    return FromCp932(bytes);
}

QString DecodeHelpPage(const QByteArray& html)
{
    static const QRegularExpression charset(QStringLiteral("charset\\s*=\\s*[\"']?\\s*([A-Za-z0-9_.:-]+)"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = charset.match(QString::fromLatin1(html.left(4096)));
    if (m.hasMatch()) {
        const QString cs = m.captured(1).toLower();
        static const QStringList sjis{QStringLiteral("shift_jis"), QStringLiteral("shift-jis"), QStringLiteral("sjis"),
                                      QStringLiteral("x-sjis"), QStringLiteral("cp932"), QStringLiteral("ms932"),
                                      QStringLiteral("windows-31j")};
        if (sjis.contains(cs)) return FromCp932(html);
        if (cs == QLatin1String("utf-8") || cs == QLatin1String("utf8")) return QString::fromUtf8(html);
    }
    return DecodeHelpText(html);
}

// -------------------------------------------------------------------------------------------------

bool ChmArchive::Fail(const QString& message, const QString& detail)
{
    Close();
    m_error = message;
    m_detail = detail;
    return false;
}

void ChmArchive::Close()
{
    m_open = false;
    m_error.clear();
    m_detail.clear();
    m_objects.clear();
    m_paths.clear();
    m_system = ChmSystemInfo();
}

bool ChmArchive::Open(const QString& file)
{
    Close();
    // Only a plain file: a pipe under the help file's name would hang the window, a device never end.
    QByteArray bytes;
    if (const int err = ReadRegularFile(file, kMaxFileSize, bytes)) {
        return Fail(err == EFBIG ? QStringLiteral("ファイルが大きすぎます。") : QStringLiteral("ファイルを読み込めません。"),
                    SystemErrorText(err));
    }

    std::vector<ChmDirEntry> directory;
    QString why;
    if (!ReadChmDirectory(bytes, directory, &why))
        return Fail(QStringLiteral("ヘルプファイルの形式ではないか、ファイルが壊れています。"), why);

    std::vector<ChmDirEntry> want;
    qint64 total = 0;
    for (const ChmDirEntry& e : directory) {
        if (!IsWanted(e.path) || e.length > uint64_t(kMaxObjectSize)) continue;   // too large: left out
        if (total + qint64(e.length) > kMaxTotalSize || int(want.size()) >= kMaxObjects) break;
        total += qint64(e.length);
        want.push_back(e);
    }
    std::vector<QByteArray> data;
    std::vector<bool> read;
    if (!ReadWithLibrary(file, want, data, read, why))
        return Fail(QStringLiteral("ヘルプファイルの内容を読み込めません。ファイルが壊れている可能性があります。"), why);

    for (size_t i = 0; i < want.size(); ++i) {
        if (!read[i]) continue;
        const QString path = QString::fromUtf8(want[i].path.data(), qsizetype(want[i].path.size()));
        const QString key = path.toLower();
        if (m_objects.contains(key)) continue;
        m_objects.insert(key, data[i]);
        m_paths << path;
    }
    if (std::none_of(m_paths.cbegin(), m_paths.cend(), IsPage))
        return Fail(QStringLiteral("ヘルプファイルの内容を読み込めません。ファイルが壊れている可能性があります。"),
                    QStringLiteral("no page could be read"));
    m_system = ParseChmSystem(Object(QStringLiteral("/#SYSTEM")));
    m_open = true;
    return true;
}

bool ChmArchive::Contains(const QString& path) const
{
    return m_objects.contains(NormalPath(path).toLower());
}

QByteArray ChmArchive::Object(const QString& path) const
{
    return m_objects.value(NormalPath(path).toLower());
}

QString ChmArchive::DefaultTopic() const
{
    const QString topic = m_system.defaultTopic.trimmed();
    if (!topic.isEmpty()) {
        const QString normal = NormalPath(topic);
        if (Contains(normal.section(QLatin1Char('#'), 0, 0))) return normal;
    }
    for (const QString& p : m_paths)
        if (IsPage(p)) return p;
    return QStringLiteral("/index.html");
}

QString ChmArchive::ContentsFile() const
{
    if (!m_system.contentsFile.trimmed().isEmpty()) {
        const QString p = NormalPath(m_system.contentsFile.trimmed());
        if (Contains(p)) return p;
    }
    for (const QString& p : m_paths)
        if (p.endsWith(QLatin1String(".hhc"), Qt::CaseInsensitive)) return p;
    return QString();
}

std::vector<ChmTocEntry> ChmArchive::Contents() const
{
    const QString file = ContentsFile();
    if (file.isEmpty()) return {};
    return ParseSitemap(DecodeHelpPage(Object(file)));
}
