#pragma once
// The message between the two programs: the editor tells the running game program the path of each
// sheet it opens or saves. A message is {dwData, cbData, cbData bytes}, integers little-endian;
// the reply is a 32-bit integer. The game program listens on a local socket named after its
// main window class, in the user's runtime folder, reachable only by the same user.
#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class QLocalServer;

// The longest payload the receiver holds: a path of PATH_MAX bytes with its NUL.
constexpr int kCopyDataMax = 4096;
constexpr const char* kGameWindowClass = "TFormGame";

struct CopyDataMessage {
    quint32 dwData = 0;
    QByteArray data;
};

QByteArray EncodeCopyData(quint32 dwData, const QByteArray& data);
// Parses one message at the start of buf: the bytes used, 0 while incomplete, -1 when it can never be valid.
qint64 ParseCopyData(const QByteArray& buf, CopyDataMessage& out);
// The NUL-terminated path at the start of the payload; false when there is none or it does not fit.
bool PathFromCopyData(const QByteArray& data, QString& path);
// The payload for a path: its bytes in the file-name encoding and a NUL; empty when it does not fit.
QByteArray CopyDataFromPath(const QString& path);

// Folder of the sockets: $XDG_RUNTIME_DIR, else a folder of mode 0700 of this user; empty if unsafe.
QString SheetLinkFolder();
QString SheetLinkSocketPath(const QString& name = QString::fromLatin1(kGameWindowClass));

class SheetLinkServer : public QObject {
    Q_OBJECT
public:
    explicit SheetLinkServer(QObject* parent = nullptr);
    ~SheetLinkServer() override;
    // False when another live program already listens under the name, or the folder is unusable.
    bool Listen(const QString& name = QString::fromLatin1(kGameWindowClass));
    bool Listening() const;
    // Called for each message; its answer is the reply.
    std::function<int(const CopyDataMessage&)> OnCopyData;

private:
    void accept();
    QLocalServer* m_server;
};

// Sends one message and waits for the reply; no value when no program listens or on time-out.
std::optional<int> SendCopyData(quint32 dwData, const QByteArray& data, int timeoutMs = 3000,
                                const QString& name = QString::fromLatin1(kGameWindowClass));
