// The replay index reader on arbitrary bytes: an accepted index names a slot 0..29 and a name that
// can stand in a file name, and it is written back to bytes that read the same.
#include "SoccerReplayFiles.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace soccer;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    TReplayIndex index;
    if (!ParseReplayIndex(bytes, index)) return 0;
    if (index.Slot < 0 || index.Slot >= kReplaySlots || index.Name.contains(QLatin1Char('/'))) std::abort();
    TReplayIndex again;
    if (!ParseReplayIndex(MakeReplayIndex(index), again) || again.Slot != index.Slot || again.Name != index.Name) std::abort();
    return 0;
}
