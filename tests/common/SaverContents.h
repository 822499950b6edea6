#pragma once
// The two contents that the saver saves in turn, for the tests of saves cut short: a text file of a
// megabyte or so, or a wide player sheet, so that a save takes long enough to be cut anywhere.
#include <QByteArray>
#include <QImage>

inline QByteArray SaverText(int which)
{
    return which == 0 ? QByteArray(3 << 19, 'a') : QByteArray(1 << 20, 'b');
}

inline QImage SaverSheet(int which)
{
    QImage img(140 * 40, 70, QImage::Format_RGB32);
    img.fill(which == 0 ? qRgb(200, 30, 30) : qRgb(30, 30, 200));
    return img;
}
