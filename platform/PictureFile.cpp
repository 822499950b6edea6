#include "PictureFile.h"

#include "BmpWriter.h"
#include "LittleEndian.h"

#include <QBuffer>
#include <QImageReader>
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

extern "C" {
#include <jpeglib.h>
#include <jerror.h>
}

namespace {

struct JpegErr {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

[[noreturn]] void jpegErrorExit(j_common_ptr cinfo)
{
    auto* err = reinterpret_cast<JpegErr*>(cinfo->err);
    std::longjmp(err->jump, 1);
}

void jpegSilent(j_common_ptr, int) {}

// Where the decoded rows go: the picture is made once its size is known, and each row of RGB
// triples is spread into it as it comes, so that the pixels are held once.
struct JpegSink {
    QImage image;
    std::vector<unsigned char> row;
};

bool startSink(JpegSink* sink, unsigned width, unsigned height)
{
    sink->image = QImage(int(width), int(height), QImage::Format_RGB32);
    if (sink->image.isNull()) return false;
    sink->row.resize(size_t(width) * 3);
    return true;
}

void putRow(JpegSink* sink, int y)
{
    const unsigned char* s = sink->row.data();
    QRgb* line = reinterpret_cast<QRgb*>(sink->image.scanLine(y));
    for (int x = 0, w = sink->image.width(); x < w; ++x, s += 3) line[x] = qRgb(s[0], s[1], s[2]);
}

struct DecodeOut {
    int code = 0;
    bool tooLarge = false;
};

// What libjpeg may hold beside the picture (whole-picture coefficient buffers of progressive and
// multi-scan files): as much as the picture's own pixels, and a little more for small pictures.
constexpr qint64 kJpegWorkSlack = 32LL << 20;

// The coded data spends at least one bit on each 8 x 8 block of each component; fewer bytes than
// that cannot hold the picture they declare. (Arithmetic coding could, and is not read.)
bool enoughData(const jpeg_decompress_struct& cinfo, unsigned long size)
{
    qint64 blocks = 0;
    for (int c = 0; c < cinfo.num_components; ++c)
        blocks += qint64(cinfo.comp_info[c].width_in_blocks) * qint64(cinfo.comp_info[c].height_in_blocks);
    return qint64(size) * 8 >= blocks;
}

// Only plain C data lives in this frame, so a longjmp out of libjpeg skips no destructor.
bool decodeJpegC(const unsigned char* data, unsigned long size, JpegSink* sink, DecodeOut* out)
{
    jpeg_decompress_struct cinfo;
    JpegErr jerr;
    cinfo.err = jpeg_std_error(&jerr.pub);
    jerr.pub.error_exit = jpegErrorExit;
    jerr.pub.emit_message = jpegSilent;
    if (setjmp(jerr.jump)) {
        out->code = jerr.pub.msg_code;
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, size);
    jpeg_read_header(&cinfo, TRUE);
    // The library release that sheets were first made with had no arithmetic decoding.
    if (cinfo.arith_code) ERREXIT(&cinfo, JERR_ARITH_NOTIMPL);
    if (!enoughData(cinfo, size)) ERREXIT(&cinfo, JERR_INPUT_EOF);
    cinfo.out_color_space = JCS_RGB;
    jpeg_calc_output_dimensions(&cinfo);
    const qint64 pixels = qint64(cinfo.output_width) * qint64(cinfo.output_height);
    if (pixels == 0 || pixels > kMaxPicturePixels) {
        out->tooLarge = true;
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    // Beyond this the library refuses ("backing store not supported") instead of allocating.
    cinfo.mem->max_memory_to_use = long(pixels * 4 + kJpegWorkSlack);
    jpeg_start_decompress(&cinfo);
    if (!startSink(sink, cinfo.output_width, cinfo.output_height)) {
        out->tooLarge = true;
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    while (cinfo.output_scanline < cinfo.output_height) {
        const int y = int(cinfo.output_scanline);
        JSAMPROW row = sink->row.data();
        if (jpeg_read_scanlines(&cinfo, &row, 1) != 1) ERREXIT(&cinfo, JERR_INPUT_EOF);
        putRow(sink, y);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

struct EncodeIn {
    const unsigned char* rgb;
    unsigned width, height;
    int quality;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    int code = 0;
};

bool encodeJpegC(EncodeIn* in)
{
    jpeg_compress_struct cinfo;
    JpegErr jerr;
    cinfo.err = jpeg_std_error(&jerr.pub);
    jerr.pub.error_exit = jpegErrorExit;
    jerr.pub.emit_message = jpegSilent;
    if (setjmp(jerr.jump)) {
        in->code = jerr.pub.msg_code;
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &in->buffer, &in->size);
    cinfo.image_width = in->width;
    cinfo.image_height = in->height;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, in->quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    const size_t stride = size_t(in->width) * 3;
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<unsigned char*>(in->rgb) + stride * cinfo.next_scanline;
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

int maskBits(quint32 mask)
{
    int n = 0;
    for (; mask; mask >>= 1) n += int(mask & 1);
    return n;
}

constexpr qint64 kRlePixelsPerByte = 1024;

QString jpegError(int code)
{
    return QStringLiteral("JPEG エラー #%1").arg(code);
}

QString tooLargeError()
{
    return QStringLiteral("画像が大きすぎます。");
}

QString badBitmapError()
{
    return QStringLiteral("ビットマップが無効です。");
}


} // namespace

bool DecodeJpeg(const QByteArray& data, QImage& out, QString* error)
{
    if (data.isEmpty()) {
        if (error) *error = jpegError(JERR_INPUT_EMPTY);
        return false;
    }
    JpegSink sink;
    DecodeOut d;
    if (!decodeJpegC(reinterpret_cast<const unsigned char*>(data.constData()), (unsigned long)data.size(), &sink, &d)) {
        if (error) *error = d.tooLarge ? tooLargeError() : jpegError(d.code);
        return false;
    }
    out = std::move(sink.image);
    return true;
}

bool EncodeJpeg(const QImage& src, int quality, QByteArray& out, QString* error)
{
    const QImage img = src.convertToFormat(QImage::Format_RGB32);
    if (img.isNull() || img.width() <= 0 || img.height() <= 0) {
        if (error) *error = jpegError(JERR_EMPTY_IMAGE);
        return false;
    }
    std::vector<unsigned char> rgb(size_t(img.width()) * size_t(img.height()) * 3);
    for (int y = 0; y < img.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        unsigned char* d = rgb.data() + size_t(y) * size_t(img.width()) * 3;
        for (int x = 0; x < img.width(); ++x) {
            d[3 * x] = uchar(qRed(line[x]));
            d[3 * x + 1] = uchar(qGreen(line[x]));
            d[3 * x + 2] = uchar(qBlue(line[x]));
        }
    }
    EncodeIn in{rgb.data(), unsigned(img.width()), unsigned(img.height()), quality};
    const bool ok = encodeJpegC(&in);
    if (ok) out = QByteArray(reinterpret_cast<const char*>(in.buffer), qsizetype(in.size));
    else if (error) *error = jpegError(in.code);
    std::free(in.buffer);
    return ok;
}

bool DecodeBmp(const QByteArray& data, QImage& out, QString* error)
{
    auto fail = [&](const QString& why) {
        if (error) *error = why;
        return false;
    };
    const qint64 size = data.size();
    if (size < 14 + 12 || data[0] != 'B' || data[1] != 'M') return fail(badBitmapError());
    const qint64 offBits = ReadLE32(data, 10);
    const qint64 infoSize = ReadLE32(data, 14);
    qint64 width = 0, height = 0;
    int bits = 0;
    quint32 compression = 0;
    if (infoSize == 12) {
        width = ReadLE16(data, 18);
        height = qint16(ReadLE16(data, 20));
        bits = ReadLE16(data, 24);
    } else if (infoSize >= 40 && infoSize <= 124) {
        if (size < 14 + 40) return fail(badBitmapError());
        width = qint32(ReadLE32(data, 18));
        height = qint32(ReadLE32(data, 22));
        bits = ReadLE16(data, 28);
        compression = ReadLE32(data, 30);
    } else {
        return fail(badBitmapError());
    }
    if (14 + infoSize > size || width <= 0 || height == 0 || height == std::numeric_limits<qint32>::min())
        return fail(badBitmapError());
    const qint64 rows = height < 0 ? -height : height;
    if (width * rows > kMaxPicturePixels) return fail(tooLargeError());
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return fail(badBitmapError());
    if (offBits < 14 + infoSize || offBits > size) return fail(badBitmapError());
    // Uncompressed and bit-field rows must all be present.
    if (compression == 0 || compression == 3 || compression == 6) {
        const qint64 stride = ((width * bits + 31) / 32) * 4;
        if (offBits + stride * rows > size) return fail(badBitmapError());
    } else if (compression == 1 || compression == 2) {
        // A run of two bytes covers at most 255 pixels; line ends and skips may leave some out, but
        // a file that claims a thousand pixels for each byte it holds is not the picture it claims.
        if (width * rows > kRlePixelsPerByte * (size - offBits)) return fail(badBitmapError());
    } else {
        return fail(badBitmapError());
    }
    QBuffer buf;
    buf.setData(data);
    buf.open(QIODevice::ReadOnly);
    QImageReader reader(&buf, "bmp");
    reader.setAutoTransform(false);
    // The reader's own limit (128 MB) would refuse half of what the size cap allows.
    reader.setAllocationLimit(int((kMaxPicturePixels * 4) >> 20) + 1);
    QImage img;
    if (!reader.read(&img) || img.isNull()) return fail(badBitmapError());
    // In place where the depth allows (32-bit with alpha): no second copy of the pixels.
    out = std::move(img).convertToFormat(QImage::Format_RGB32);
    if (bits == 16) {
        // A 16-bit bitmap keeps 5 (or 6) bits a channel and the reader shifts them up, so white
        // would come out light grey and lose its transparency: spread each channel to 0..255 again.
        int depth[3] = {5, 5, 5};
        if (compression == 3 && infoSize >= 40 && size >= 14 + 40 + 12)
            for (int i = 0; i < 3; ++i) depth[i] = std::clamp(maskBits(ReadLE32(data, 14 + 40 + 4 * i)), 1, 8);
        int table[3][256];
        for (int c = 0; c < 3; ++c) {
            const int b = depth[c], max = (1 << b) - 1;
            for (int v = 0; v < 256; ++v) table[c][v] = ((v >> (8 - b)) * 255 + max / 2) / max;
        }
        for (int y = 0; y < out.height(); ++y) {
            QRgb* line = reinterpret_cast<QRgb*>(out.scanLine(y));
            for (int x = 0; x < out.width(); ++x)
                line[x] = qRgb(table[0][qRed(line[x])], table[1][qGreen(line[x])], table[2][qBlue(line[x])]);
        }
    }
    return true;
}
