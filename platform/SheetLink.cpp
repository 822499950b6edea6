#include "SheetLink.h"

#include "LittleEndian.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void wr32(QByteArray& b, quint32 v)
{
    for (int i = 0; i < 4; ++i) b.append(char((v >> (8 * i)) & 0xFF));
}

} // namespace

QByteArray EncodeCopyData(quint32 dwData, const QByteArray& data)
{
    QByteArray b;
    wr32(b, dwData);
    wr32(b, quint32(data.size()));
    b.append(data);
    return b;
}

qint64 ParseCopyData(const QByteArray& buf, CopyDataMessage& out)
{
    if (buf.size() < 8) return 0;
    const quint32 cb = ReadLE32(buf, 4);
    if (cb > quint32(kCopyDataMax)) return -1;
    if (qint64(buf.size()) < 8 + qint64(cb)) return 0;
    out.dwData = ReadLE32(buf, 0);
    out.data = buf.mid(8, qsizetype(cb));
    return 8 + qint64(cb);
}

bool PathFromCopyData(const QByteArray& data, QString& path)
{
    const qsizetype nul = data.indexOf('\0');
    // A path without its terminator within cbData may have been cut: refuse it.
    if (nul <= 0) return false;
    path = QFile::decodeName(data.left(nul));
    return true;
}

QByteArray CopyDataFromPath(const QString& path)
{
    QByteArray b = QFile::encodeName(path);
    if (b.isEmpty() || b.contains('\0') || b.size() + 1 > kCopyDataMax) return QByteArray();
    b.append('\0');
    return b;
}

QString SheetLinkFolder()
{
    const QString xdg = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!xdg.isEmpty() && QFileInfo(xdg).isDir()) return xdg;
    const QString dir = QDir::tempPath() + QStringLiteral("/polycolo-%1").arg(::getuid());
    const QByteArray d = QFile::encodeName(dir);
    ::mkdir(d.constData(), 0700);
    struct stat st{};
    // Only a real folder of ours that nobody else can enter.
    if (::lstat(d.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid() || (st.st_mode & 077) != 0)
        return QString();
    return dir;
}

QString SheetLinkSocketPath(const QString& name)
{
    const QString folder = SheetLinkFolder();
    return folder.isEmpty() ? QString() : folder + QLatin1Char('/') + name;
}

SheetLinkServer::SheetLinkServer(QObject* parent) : QObject(parent), m_server(new QLocalServer(this))
{
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &SheetLinkServer::accept);
}

SheetLinkServer::~SheetLinkServer() = default;

bool SheetLinkServer::Listening() const
{
    return m_server->isListening();
}

bool SheetLinkServer::Listen(const QString& name)
{
    const QString path = SheetLinkSocketPath(name);
    if (path.isEmpty()) return false;
    // A live program answering keeps its name. (Qt puts a user-only socket in place by renaming it
    // over the path, so listening first would silently take the name from a live program.)
    QLocalSocket probe;
    probe.connectToServer(path);
    if (probe.waitForConnected(500)) {
        probe.disconnectFromServer();
        return false;
    }
    // Whatever is left there belongs to a program that died.
    QLocalServer::removeServer(path);
    return m_server->listen(path);
}

void SheetLinkServer::accept()
{
    while (QLocalSocket* s = m_server->nextPendingConnection()) {
        connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
        auto buffer = std::make_shared<QByteArray>();
        connect(s, &QLocalSocket::readyRead, this, [this, s, buffer] {
            buffer->append(s->readAll());
            CopyDataMessage msg;
            const qint64 used = ParseCopyData(*buffer, msg);
            if (used == 0) return;
            if (used < 0) {
                s->abort();
                return;
            }
            const int reply = OnCopyData ? OnCopyData(msg) : 0;
            QByteArray r;
            wr32(r, quint32(reply));
            s->write(r);
            s->flush();
            s->disconnectFromServer();
        });
    }
}

std::optional<int> SendCopyData(quint32 dwData, const QByteArray& data, int timeoutMs, const QString& name)
{
    const QString path = SheetLinkSocketPath(name);
    if (path.isEmpty() || !QFileInfo::exists(path)) return std::nullopt;
    QLocalSocket s;
    s.connectToServer(path);
    if (!s.waitForConnected(timeoutMs)) return std::nullopt;
    s.write(EncodeCopyData(dwData, data));
    if (!s.waitForBytesWritten(timeoutMs)) return std::nullopt;
    QByteArray reply;
    while (reply.size() < 4) {
        if (!s.waitForReadyRead(timeoutMs)) return std::nullopt;
        reply.append(s.readAll());
    }
    return int(ReadLE32(reply, 0));
}
