#pragma once
// The message between the two programs: the editor tells the running game program the path of each
// sheet it opens or saves. A message is {dwData, cbData, cbData bytes}, integers little-endian;
// the reply is a 32-bit integer. The game program listens on a local socket named after its
// main window class, in the user's runtime folder. Only the same user reaches it: the folder is used
// only when nobody else may enter it, the socket is for the user alone, and each end hangs up,
// sending and taking nothing, when the program at the other end runs as another user. One message
// travels on each connection.
#include <QByteArray>
#include <QDeadlineTimer>
#include <QObject>
#include <QString>
#include <functional>
#include <list>
#include <memory>
#include <optional>

class QSocketNotifier;
class QTimer;

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

// Folder of the sockets: $XDG_RUNTIME_DIR when it is a real folder (not a link) of this user that
// nobody else may enter, else such a folder in the temporary folder; empty when there is none.
QString SheetLinkFolder();
QString SheetLinkSocketPath(const QString& name = QString::fromLatin1(kGameWindowClass));

// The game program's end. Every connection gets a short deadline for its one message; at most
// kMaxConnections are held at once (a new one pushes out the oldest), and fewer under a low
// descriptor limit: the connections held always leave kReserveDescriptors to the rest of the
// program, and with no room at all only the newest is held, after a few milliseconds' wait for its
// message, until its message, its deadline or the next connection. While no more than
// kLeastFreeDescriptors are free, no connection is taken at all. Neither that nor a failed accept
// (descriptors or memory run out) stops the listening, which goes on after a short rest.
class SheetLinkServer : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxConnections = 16;
    // Enough for what the program opens meanwhile: a file dialog (about six), starting the editor
    // (about five) and a file being read or written, with some to spare.
    static constexpr int kReserveDescriptors = 16;
    static constexpr int kDeadlineMs = 2000;
    // The last few descriptors, never taken by a connection: another thread of the program (the
    // window system's connection, a thread starting) may need one at any moment, and fails for good
    // when none is left.
    static constexpr int kLeastFreeDescriptors = 3;
    // How long a connection that there is no room to hold is waited for, that its message may come
    // before the next connection pushes it out, and all such waits of one batch together: the
    // program's loop waits meanwhile.
    static constexpr int kNoRoomWaitMs = 5;
    static constexpr int kNoRoomBatchMs = 10;

    explicit SheetLinkServer(QObject* parent = nullptr);
    ~SheetLinkServer() override;
    // False when another live program already listens under the name (whatever answers a connect
    // is alive, even when it is too busy or stopped to take it), or the folder is unusable.
    bool Listen(const QString& name = QString::fromLatin1(kGameWindowClass));
    // How long a connection may take to deliver its message.
    void SetDeadline(int ms) { m_deadlineMs = ms; }
    // Called for each message; its answer is the reply.
    std::function<int(const CopyDataMessage&)> OnCopyData;

private:
    struct Connection;
    void acceptPending();
    // Stops taking connections for a short while; they wait in the queue.
    void rest();
    // How many connections may be held now, with free descriptors left.
    int room(int free) const;
    // Whether the connection is still held, waiting for more of its message.
    bool readFrom(Connection* c);
    // Reads the connection's message as it comes until the deadline.
    void awaitMessage(Connection* c, QDeadlineTimer deadline);
    // Takes the connection out of the server; its descriptor is the caller's to close.
    int release(Connection* c);
    void drop(Connection* c);
    void dropExpired();
    void close();

    int m_fd = -1;
    QByteArray m_path;
    quint64 m_dev = 0, m_ino = 0;
    int m_deadlineMs = kDeadlineMs;
    QSocketNotifier* m_notifier = nullptr;
    QTimer* m_rest;
    QTimer* m_sweep;
    std::list<std::unique_ptr<Connection>> m_connections; // oldest first
};

// Sends one message and waits for the reply; no value when no program listens or on time-out.
std::optional<int> SendCopyData(quint32 dwData, const QByteArray& data, int timeoutMs = 3000,
                                const QString& name = QString::fromLatin1(kGameWindowClass));
