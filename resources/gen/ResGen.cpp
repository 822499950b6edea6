#include "ResGen.h"

#include "BmpWriter.h"

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

QByteArray Bmp24Of(const QImage& img)
{
    return EncodeBmp24(img);
}


QByteArray WavOf(const std::vector<qint16>& samples, int sampleRate, int channels)
{
    QByteArray d;
    const quint32 dataBytes = quint32(samples.size() * 2);
    d.append("RIFF", 4);
    bmpwriter::put32(d, 36 + dataBytes);
    d.append("WAVE", 4);
    d.append("fmt ", 4);
    bmpwriter::put32(d, 16);
    bmpwriter::put16(d, 1);
    bmpwriter::put16(d, quint16(channels));
    bmpwriter::put32(d, quint32(sampleRate));
    bmpwriter::put32(d, quint32(sampleRate * channels * 2));
    bmpwriter::put16(d, quint16(channels * 2));
    bmpwriter::put16(d, 16);
    d.append("data", 4);
    bmpwriter::put32(d, dataBytes);
    for (qint16 s : samples) bmpwriter::put16(d, quint16(s));
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
