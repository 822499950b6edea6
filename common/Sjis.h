#pragma once
// Text that lives on disk in Shift-JIS (CP932), converted with the system's iconv.
#include <QByteArray>
#include <QString>

QByteArray ToSjis(const QString& text);
// Bytes that are not valid CP932 become U+FFFD.
QString FromSjis(const QByteArray& bytes);
