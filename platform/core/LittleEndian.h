#pragma once
// Little-endian integers in files and messages. Callers check that the bytes are present first.
#include <QByteArray>
#include <cstdint>

inline std::uint16_t ReadLE16(const unsigned char* p)
{
    return std::uint16_t(p[0] | (p[1] << 8));
}
inline std::uint32_t ReadLE32(const unsigned char* p)
{
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
}
inline std::uint64_t ReadLE64(const unsigned char* p)
{
    return std::uint64_t(ReadLE32(p)) | (std::uint64_t(ReadLE32(p + 4)) << 32);
}
// From a byte array, byte by byte through at(), which keeps the compiler's bounds analysis quiet.
inline std::uint16_t ReadLE16(const QByteArray& d, qint64 at)
{
    return std::uint16_t(quint8(d.at(qsizetype(at))) | (quint8(d.at(qsizetype(at + 1))) << 8));
}
inline std::uint32_t ReadLE32(const QByteArray& d, qint64 at)
{
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | quint8(d.at(qsizetype(at + i)));
    return v;
}
