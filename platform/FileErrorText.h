#pragma once
// The words of the file error report that both programs show: the heading, the file's name, the
// system's error code as eight hexadecimal digits, and the reason in Japanese for the codes a user
// meets (full disk, no permission, missing file, folder, name too long, not a plain file, ...).
#include <QString>

// "エラーコード=0000001C"
QString ErrorCodeLine(int errorCode);
// The reason for a system error code: Japanese for the common ones, else the system's own text.
QString SystemErrorText(int errorCode);
// The whole report, lines joined by CR LF. Kind 0: "ファイルにアクセスできません。",
// kind 1: "ファイルにアクセスできなかった可能性があります。".
QString FileAccessErrorText(const QString& fileName, int kind, int errorCode);
