#include "ResGen.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>
#include <cstdio>

std::vector<ResEntry>& ResEntries()
{
    static std::vector<ResEntry> e;
    return e;
}

std::vector<DataFileEntry>& DataFileEntries()
{
    static std::vector<DataFileEntry> e;
    return e;
}

ResRegistrar::ResRegistrar(const char* path, ResProgram program, std::function<QByteArray()> make)
{
    ResEntries().push_back({QString::fromUtf8(path), program, std::move(make)});
}

DataFileRegistrar::DataFileRegistrar(const char* path, std::function<QByteArray()> make)
{
    DataFileEntries().push_back({QString::fromUtf8(path), std::move(make)});
}

QByteArray PngOf(const QImage& img)
{
    QByteArray out;
    QBuffer b(&out);
    b.open(QIODevice::WriteOnly);
    img.save(&b, "PNG");
    return out;
}

namespace {
void put32(QByteArray& d, quint32 v)
{
    for (int i = 0; i < 4; ++i) d.append(char((v >> (8 * i)) & 0xFF));
}
void put16(QByteArray& d, quint16 v)
{
    d.append(char(v & 0xFF));
    d.append(char(v >> 8));
}
} // namespace

QByteArray Bmp24Of(const QImage& src)
{
    const QImage img = src.convertToFormat(QImage::Format_RGB32);
    const quint32 w = quint32(img.width()), h = quint32(img.height());
    const quint32 stride = ((w * 24 + 31) / 32) * 4;
    QByteArray d;
    d.append("BM", 2);
    put32(d, 54 + stride * h);
    put32(d, 0);
    put32(d, 54);
    put32(d, 40);
    put32(d, w);
    put32(d, h);
    put16(d, 1);
    put16(d, 24);
    put32(d, 0);
    put32(d, stride * h);
    put32(d, 0);
    put32(d, 0);
    put32(d, 0);
    put32(d, 0);
    for (int y = int(h) - 1; y >= 0; --y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        const qsizetype start = d.size();
        for (quint32 x = 0; x < w; ++x) {
            d.append(char(qBlue(line[x])));
            d.append(char(qGreen(line[x])));
            d.append(char(qRed(line[x])));
        }
        while (quint32(d.size() - start) < stride) d.append('\0');
    }
    return d;
}

QByteArray WavOf(const std::vector<qint16>& samples, int sampleRate, int channels)
{
    QByteArray d;
    const quint32 dataBytes = quint32(samples.size() * 2);
    d.append("RIFF", 4);
    put32(d, 36 + dataBytes);
    d.append("WAVE", 4);
    d.append("fmt ", 4);
    put32(d, 16);
    put16(d, 1);
    put16(d, quint16(channels));
    put32(d, quint32(sampleRate));
    put32(d, quint32(sampleRate * channels * 2));
    put16(d, quint16(channels * 2));
    put16(d, 16);
    d.append("data", 4);
    put32(d, dataBytes);
    for (qint16 s : samples) put16(d, quint16(s));
    return d;
}

namespace {

bool writeIfChanged(const QString& path, const QByteArray& data)
{
    QFile old(path);
    if (old.open(QIODevice::ReadOnly) && old.readAll() == data) return true;
    old.close();
    QDir().mkpath(path.left(path.lastIndexOf(QLatin1Char('/'))));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size()) {
        std::fprintf(stderr, "resgen: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

bool writeQrc(const QString& path, const QString& prefixDir, ResProgram which)
{
    QString text;
    QTextStream s(&text);
    s << "<RCC>\n  <qresource prefix=\"/\">\n";
    for (const ResEntry& e : ResEntries())
        if (e.program == which || e.program == ResProgram::Both)
            s << "    <file alias=\"" << e.path << "\">" << prefixDir << "/" << e.path << "</file>\n";
    s << "  </qresource>\n</RCC>\n";
    s.flush();
    return writeIfChanged(path, text.toUtf8());
}

} // namespace

// resgen <resource folder> <data folder>
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: resgen <resource folder> <data folder>\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    const QString data = QString::fromLocal8Bit(argv[2]);
    bool ok = true;
    for (const ResEntry& e : ResEntries()) ok = writeIfChanged(out + QLatin1Char('/') + e.path, e.make()) && ok;
    for (const DataFileEntry& e : DataFileEntries()) ok = writeIfChanged(data + QLatin1Char('/') + e.path, e.make()) && ok;
    ok = writeQrc(out + QStringLiteral("/game.qrc"), out, ResProgram::Game) && ok;
    ok = writeQrc(out + QStringLiteral("/editor.qrc"), out, ResProgram::Editor) && ok;
    return ok ? 0 : 1;
}
