// The undo snapshot reader on arbitrary bytes: it must refuse what does not fit, leave its output
// alone when it does, and give back exactly the bytes it read when it accepts them. What it
// accepts is then drawn, as an undo would draw it.
#include "ShapeEngine.h"
#include "ShapeSnapshot.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    TShapeList out(1);
    out[0].Kind = 12345;
    if (!ReadSnapshot(bytes, out)) {
        if (out.size() != 1 || out[0].Kind != 12345) std::abort();
        return 0;
    }
    // Text read as Shift-JIS may not come back byte for byte; everything else must.
    bool plainText = true;
    for (const TShapeRecord& r : out)
        for (const QString* s : {&r.FontName, &r.Text})
            for (QChar c : *s) plainText = plainText && c.unicode() < 0x80;
    bool plainPictures = true;
    for (const TShapeRecord& r : out) plainPictures = plainPictures && !r.Picture;
    if (plainText && plainPictures && bytes.size() > 8 && MakeSnapshot(out) != bytes) std::abort();
    static TShapeEngine engine;
    engine.Shapes = std::move(out);
    engine.RenderCanvas(0, TPenMode::pmCopy);
    return 0;
}
