// The picture offset file's reader on arbitrary bytes, with a fixed key and a key taken from the
// file's first line: whatever it finds is within the offset limits, and a save over the same bytes
// keeps every other line and reads back exactly what it wrote.
#include "PictureOffsetFile.h"
#include "Sjis.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace bb;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QList<QByteArray> lines = SplitFileLines(bytes);
    const QStringList first = lines.isEmpty() ? QStringList() : SplitCommaText(FromSjis(lines.first()));
    std::array<QString, 2> keys{QStringLiteral("サンプル選手画像12.bmp"), first.isEmpty() ? QStringLiteral("x.bmp") : first.first()};
    if (!KeyStorable(keys[1])) keys[1] = QStringLiteral("x.bmp");

    const std::array<TOffsetLookup, 2> found = FindPictureOffsets(bytes, keys);
    std::array<TPictureOffsets, 2> offsets;
    for (size_t side = 0; side < 2; ++side) {
        if (found[side].Valid && !found[side].Found) std::abort();
        if (found[side].Found && (found[side].Line < 1 || found[side].Line > lines.size())) std::abort();
        for (int item = 0; item < kAdjustItems; ++item) {
            const QPoint p = AdjustItem(found[side].Offsets, item);
            if (std::abs(p.x()) > kMaxOffsetMagnitude || std::abs(p.y()) > kMaxOffsetMagnitude) std::abort();
            AdjustItem(offsets[side], item) = p + QPoint(int(side) + 1, -item);
        }
    }

    const QByteArray merged = MergePictureOffsets(bytes, keys, offsets, {true, true});
    const QList<QByteArray> after = SplitFileLines(merged);
    const qsizetype added = (found[0].Found ? 0 : 1) + (found[1].Found || SameKey(keys[0], keys[1]) ? 0 : 1);
    if (after.size() != lines.size() + added) std::abort();
    for (qsizetype k = 0; k < lines.size(); ++k) {
        const bool replaced = (found[0].Found && found[0].Line == k + 1) || (found[1].Found && found[1].Line == k + 1);
        if (!replaced && after[k] != lines[k]) std::abort();
    }
    const std::array<TOffsetLookup, 2> again = FindPictureOffsets(merged, keys);
    const bool shared = SameKey(keys[0], keys[1]);
    if (!again[0].Valid || !again[1].Valid || again[1].Offsets != offsets[1]) std::abort();
    if (again[0].Offsets != (shared ? offsets[1] : offsets[0])) std::abort();
    return 0;
}
