// The game program's reading of the editor's message: framing, then the path in the payload.
#include "SheetLink.h"
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QByteArray buf(reinterpret_cast<const char*>(data), qsizetype(size));
    while (!buf.isEmpty()) {
        CopyDataMessage msg;
        const qint64 used = ParseCopyData(buf, msg);
        if (used <= 0) break;
        if (msg.data.size() > kCopyDataMax) __builtin_trap();
        QString path;
        if (PathFromCopyData(msg.data, path) && path.isEmpty()) __builtin_trap();
        buf.remove(0, qsizetype(used));
    }
    return 0;
}
