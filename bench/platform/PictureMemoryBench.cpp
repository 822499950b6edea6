// Memory of reading pictures: the peak above what was resident before, for the largest picture the
// readers accept (64 megapixels, 8192 x 8192) as baseline and progressive JPEG and as a 24-bit
// bitmap, read alone ("read_") and through the editor's whole open (file, decode, inner white); and
// for small files that declare huge pictures. Goal: no more than about two copies of the picture's
// own pixels (the "copies" counter; one copy is 4 bytes a pixel), and next to nothing for the small
// files, which are refused.
// A progressive 4:4:4 JPEG holds 6 bytes a pixel of coefficients while it decodes (two and a half
// copies with the picture), more than the decoder's budget (the picture's own 4 bytes a pixel and
// 32 MB) allows from 16 megapixels on: such a file is measured at 4000 x 4000, and its refusal at
// 8192 x 8192 is a case of its own, which counts its peak and fails only if the file is accepted.
#include "PictureFile.h"
#include "SheetFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <vector>

extern "C" {
#include <jpeglib.h>
}

namespace {

constexpr int kSide = 8192;
constexpr int kProgressive444Side = 4000;

long statusKb(const char* key)
{
    FILE* f = std::fopen("/proc/self/status", "r");
    if (!f) return 0;
    char line[256];
    long kb = 0;
    const size_t n = std::strlen(key);
    while (std::fgets(line, sizeof line, f))
        if (std::strncmp(line, key, n) == 0) kb = std::atol(line + n);
    std::fclose(f);
    return kb;
}

// Resets the peak resident size of the process to what is resident now.
void resetPeak()
{
    if (FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", f);
        std::fclose(f);
    }
}

// A picture with some detail (so that the coded data is of a real size), as JPEG through libjpeg
// directly: baseline or progressive, 4:2:0 (the library's default) or 4:4:4.
QByteArray encodeJpeg(int w, int h, bool progressive, bool full = false)
{
    jpeg_compress_struct c;
    jpeg_error_mgr err;
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* buf = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &buf, &size);
    c.image_width = JDIMENSION(w);
    c.image_height = JDIMENSION(h);
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 90, TRUE);
    if (full) c.comp_info[0].h_samp_factor = c.comp_info[0].v_samp_factor = 1;
    if (progressive) jpeg_simple_progression(&c);
    jpeg_start_compress(&c, TRUE);
    std::vector<unsigned char> row(size_t(w) * 3);
    while (c.next_scanline < c.image_height) {
        const unsigned y = c.next_scanline;
        for (int x = 0; x < w; ++x) {
            row[3 * x] = uchar((x / 64 + y / 64) % 2 ? 255 : x);
            row[3 * x + 1] = uchar(y);
            row[3 * x + 2] = uchar(x ^ y);
        }
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&c, &r, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    QByteArray out(reinterpret_cast<const char*>(buf), qsizetype(size));
    std::free(buf);
    return out;
}

void report(benchmark::State& state, long beforeKb, qint64 pixels, const char* what = "")
{
    const double peakMb = double(statusKb("VmHWM:") - beforeKb) / 1024.0;
    state.counters[std::string(what) + "peak_MB"] = peakMb;
    if (pixels > 0) state.counters[std::string(what) + "copies"] = peakMb * 1024 * 1024 / double(pixels * 4);
}

// The editor's open: the file read whole, decoded, and its enclosed white made visible.
void openAsTheEditorDoes(benchmark::State& state, const QString& path, qint64 pixels)
{
    for (auto _ : state) {
        const long before = statusKb("VmRSS:");
        resetPeak();
        QImage img;
        QString error;
        if (!ReadSheetFile(path, img, error)) state.SkipWithError(error.toUtf8().constData());
        report(state, before, pixels, "read_");
        MakeInnerWhiteOpaque(img, RGBColor(255, 254, 255));
        benchmark::DoNotOptimize(img.constBits());
        img = QImage();
        report(state, before, pixels);
    }
}

QString writeJpeg(const QTemporaryDir& dir, int side, bool progressive, bool full)
{
    const QString path = dir.filePath(QStringLiteral("largest.jpg"));
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(encodeJpeg(side, side, progressive, full));
    return path;
}

void BM_LargestJpeg(benchmark::State& state)
{
    QTemporaryDir dir;
    openAsTheEditorDoes(state, writeJpeg(dir, kSide, state.range(0) != 0, false), qint64(kSide) * kSide);
}
BENCHMARK(BM_LargestJpeg)->Arg(0)->Arg(1)->ArgName("progressive")->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_LargestProgressive444Jpeg(benchmark::State& state)
{
    QTemporaryDir dir;
    openAsTheEditorDoes(state, writeJpeg(dir, kProgressive444Side, true, true),
                        qint64(kProgressive444Side) * kProgressive444Side);
}
BENCHMARK(BM_LargestProgressive444Jpeg)->Iterations(1)->Unit(benchmark::kMillisecond);

// The refusal costs next to nothing: the decoder's budget stops it before the coefficients are
// allocated.
void BM_Progressive444JpegRefused(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = writeJpeg(dir, kSide, true, true);
    for (auto _ : state) {
        const long before = statusKb("VmRSS:");
        resetPeak();
        QImage img;
        QString error;
        if (ReadSheetFile(path, img, error)) state.SkipWithError("accepted: the refusal measured here did not happen");
        else state.SetLabel("refused: " + error.toStdString());
        report(state, before, qint64(kSide) * kSide);
    }
}
BENCHMARK(BM_Progressive444JpegRefused)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_LargestBitmap(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("largest.bmp"));
    {
        QImage img(kSide, kSide, QImage::Format_RGB32);
        img.fill(qRgb(10, 200, 30));
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(EncodeBmp24(img));
    }
    openAsTheEditorDoes(state, path, qint64(kSide) * kSide);
}
BENCHMARK(BM_LargestBitmap)->Iterations(1)->Unit(benchmark::kMillisecond);

// 45 KB of a real JPEG whose header says 8000 x 8000.
void BM_SmallJpegDeclaringHuge(benchmark::State& state)
{
    QByteArray data = encodeJpeg(512, 512, false).left(45 * 1024);
    const qsizetype sof = data.indexOf("\xFF\xC0");
    for (int i = 0; i < 2; ++i) {
        data[sof + 5 + 2 * i] = char(8000 >> 8);
        data[sof + 6 + 2 * i] = char(8000 & 0xFF);
    }
    for (auto _ : state) {
        const long before = statusKb("VmRSS:");
        resetPeak();
        QImage img;
        benchmark::DoNotOptimize(DecodeJpeg(data, img));
        report(state, before, 0);
    }
}
BENCHMARK(BM_SmallJpegDeclaringHuge)->Iterations(1)->Unit(benchmark::kMillisecond);

// A bitmap of 8192 x 8192 run-length coded in a few bytes: every row one run and its end, then the
// end of the picture.
void BM_SmallRleBitmapDeclaringHuge(benchmark::State& state)
{
    QByteArray rle;
    for (int y = 0; y < 64; ++y) rle += QByteArray("\xFF\x01\x00\x00", 4);
    rle += QByteArray("\x00\x01", 2);
    QByteArray data(14 + 40 + 1024, '\0');
    data[0] = 'B';
    data[1] = 'M';
    const auto put32 = [&](int at, quint32 v) {
        for (int i = 0; i < 4; ++i) data[at + i] = char(v >> (8 * i));
    };
    put32(2, quint32(data.size() + rle.size()));
    put32(10, 14 + 40 + 1024);
    put32(14, 40);
    put32(18, quint32(state.range(0)));
    put32(22, quint32(state.range(0)));
    data[26] = 1;
    data[28] = 8;
    put32(30, 1); // RLE8
    put32(34, quint32(rle.size()));
    data += rle;
    for (auto _ : state) {
        const long before = statusKb("VmRSS:");
        resetPeak();
        QImage img;
        QString why;
        benchmark::DoNotOptimize(DecodeBmp(data, img, &why));
        state.counters["accepted"] = !img.isNull();
        if (img.isNull()) state.SetLabel(why.toStdString());
        img = QImage();
        report(state, before, 0);
    }
}
BENCHMARK(BM_SmallRleBitmapDeclaringHuge)->Arg(512)->Arg(4096)->Arg(kSide)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
