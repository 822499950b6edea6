#pragma once
// A compiled HTML help file (.chm), read once into memory: its objects by path, the facts of its
// #SYSTEM file and its table of contents.
//
// The file is outside data and is never trusted. Its container (headers, directory chunks, their
// chain and index tree, every directory entry) is checked here before the CHM library sees it, and
// the library's own reading and LZX decompression run in a short-lived child process: the library
// has known faults on crafted files, and a fault there then ends only the child. Whatever goes
// wrong, Open() answers false with a message, or leaves the unreadable objects out.
#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <string>
#include <vector>

// The entries of the #SYSTEM file that the help window uses (strings as stored, e.g. "index.html").
struct ChmSystemInfo {
    QString contentsFile;
    QString indexFile;
    QString defaultTopic;
    QString title;
};

// One line of a table of contents (.hhc): its depth (0 at the top), its text and its page.
struct ChmTocEntry {
    int level = 0;
    QString name;
    QString local;   // as stored, e.g. "pk.html#rules"; empty for a heading without a page
};

// One entry of the file's directory, as checked.
struct ChmDirEntry {
    std::string path;
    uint64_t space = 0;   // 0 stored, 1 compressed
    uint64_t start = 0;
    uint64_t length = 0;
};

class ChmArchive {
public:
    // Caps that keep a damaged or hostile file from taking the program's memory or time.
    static constexpr qint64 kMaxFileSize = qint64(64) << 20;
    static constexpr qint64 kMaxObjectSize = qint64(16) << 20;
    static constexpr qint64 kMaxTotalSize = qint64(64) << 20;
    static constexpr int kMaxObjects = 4096;
    static constexpr int kReadTimeoutMs = 10000;

    // Reads the file; false when it cannot be shown at all, with the reason in Error().
    bool Open(const QString& file);
    void Close();
    bool IsOpen() const { return m_open; }
    // A sentence for the user (Japanese), and the technical detail behind it.
    QString Error() const { return m_error; }
    QString ErrorDetail() const { return m_detail; }

    // Paths as the directory names them ("/index.html"); lookups ignore case, as the format does.
    bool Contains(const QString& path) const;
    QByteArray Object(const QString& path) const;
    QStringList Paths() const { return m_paths; }

    // The title from #SYSTEM; empty when the file names none.
    QString Title() const { return m_system.title; }
    // The first page to show, "/index.html" form (a fragment kept): the #SYSTEM default topic when
    // the file holds it, else the first .htm/.html page in the directory, else "/index.html".
    QString DefaultTopic() const;
    // The table of contents: the .hhc that #SYSTEM names, else the first .hhc in the directory.
    QString ContentsFile() const;
    std::vector<ChmTocEntry> Contents() const;

private:
    bool Fail(const QString& message, const QString& detail);

    bool m_open = false;
    QString m_error;
    QString m_detail;
    QHash<QString, QByteArray> m_objects;   // by lower-case path
    QStringList m_paths;                     // directory order
    ChmSystemInfo m_system;
};

// Checks the container and lists its directory entries in directory order; false (entries empty)
// with a reason when any length, offset, chain or entry is out of place.
bool ReadChmDirectory(const QByteArray& file, std::vector<ChmDirEntry>& entries, QString* why = nullptr);
// The entries of a #SYSTEM object; records that do not fit are ignored.
ChmSystemInfo ParseChmSystem(const QByteArray& system);
// The <OBJECT type="text/sitemap"> entries of a table of contents, in order, with their depth.
std::vector<ChmTocEntry> ParseSitemap(const QString& text);
// Text of the file: UTF-8 when the bytes are valid UTF-8, else Shift-JIS (CP932), the encoding of
// Japanese help files made on Windows.
QString DecodeHelpText(const QByteArray& bytes);
// An HTML page: by the charset its <meta> declares, else as DecodeHelpText.
QString DecodeHelpPage(const QByteArray& html);
