#pragma once
// Reading and writing the picture files of the system. Every reader checks each length against the
// bytes really present and refuses pictures over the size cap before allocating them.
#include <QByteArray>
#include <QImage>
#include <QString>

constexpr qint64 kMaxPicturePixels = 64LL * 1024 * 1024;
// The largest picture file a reader takes in: a bitmap file of a picture under the pixel cap needs at
// most 4 bytes a pixel, and a little for its headers and palette. A JPEG of it is smaller.
constexpr qint64 kMaxPictureFileBytes = kMaxPicturePixels * 4 + (1 << 20);

// JPEG (libjpeg, default settings, 24-bit RGB out). Library errors read "JPEG エラー #n".
bool DecodeJpeg(const QByteArray& data, QImage& out, QString* error = nullptr);
bool EncodeJpeg(const QImage& img, int quality, QByteArray& out, QString* error = nullptr);

// Windows bitmap files of any depth; the result is Format_RGB32.
bool DecodeBmp(const QByteArray& data, QImage& out, QString* error = nullptr);
// Writing a 24-bit bitmap file: EncodeBmp24 in BmpWriter.h.
#include "BmpWriter.h"

// Whole files: ReadWholeFile and WriteFileAtomically in WholeFile.h.
#include "WholeFile.h"
