#pragma once
// Half-width to full-width conversion of Shift-JIS text.
#include <QByteArray>
#include <QString>
#include <cstdint>

bool IsSjisLeadByte(unsigned char b);
// JIS X 0208 code to Shift_JIS code.
std::uint16_t JisToSjis(std::uint16_t jis);
// Converts Shift-JIS bytes: half-width kana (with their voicing marks), ASCII letters, digits and
// symbols become full-width; two-byte characters and anything else pass unchanged.
QByteArray HanToZen(const QByteArray& sjis);
// The same for text: through CP932 and back.
QString HanToZen(const QString& text);
