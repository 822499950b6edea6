#include "FileErrorText.h"

#include "Paths.h"
#include <cerrno>
#include <cstring>

QString ErrorCodeLine(int errorCode)
{
    return QStringLiteral("エラーコード=") + QStringLiteral("%1").arg(uint(errorCode), 8, 16, QLatin1Char('0')).toUpper();
}

QString SystemErrorText(int errorCode)
{
    switch (errorCode) {
    case ENOSPC: return QStringLiteral("ディスクの空き領域が不足しています。");
    case EDQUOT: return QStringLiteral("ディスクの使用量が割り当ての上限に達しています。");
    case EACCES:
    case EPERM: return QStringLiteral("アクセスが拒否されました。");
    case EROFS: return QStringLiteral("書き込みが禁止されているディスクです。");
    case ENOENT: return QStringLiteral("指定されたファイルが見つかりません。");
    case ENOTDIR: return QStringLiteral("指定されたパスが見つかりません。");
    case EISDIR: return QStringLiteral("指定された名前はフォルダーです。");
    case ENAMETOOLONG: return QStringLiteral("ファイル名が長すぎます。");
    case ELOOP: return QStringLiteral("シンボリックリンクの階層が深すぎます。");
    case EFBIG: return QStringLiteral("ファイルが大きすぎます。");
    // The file helpers answer EINVAL for what is no plain file: a pipe, a device, a socket.
    case EINVAL: return QStringLiteral("通常のファイルではありません。");
    case EIO: return QStringLiteral("ディスクの読み書き中にエラーが発生しました。");
    case EMFILE:
    case ENFILE: return QStringLiteral("開いているファイルが多すぎます。");
    case ENOMEM: return QStringLiteral("メモリが不足しています。");
    default: return QString::fromLocal8Bit(std::strerror(errorCode));
    }
}

QString FileAccessErrorText(const QString& fileName, int kind, int errorCode)
{
    const QString crlf = QStringLiteral("\r\n");
    const QString heading = kind == 1 ? QStringLiteral("ファイルにアクセスできなかった可能性があります。")
                                      : QStringLiteral("ファイルにアクセスできません。");
    return heading + crlf + crlf + QLatin1Char('"') + ExtractFileName(fileName) + QLatin1Char('"') + crlf
        + ErrorCodeLine(errorCode) + crlf + SystemErrorText(errorCode);
}
