#pragma once
// What every game's rules ask of the program around them: the random service and the runtime
// generator, waits, the menu form's manual-play flag and option index, and the result report. The
// game form fills these once from the host; a rules test fills them with its own generators and
// records. Each hook may be left empty: the rules then draw 0, never wait, and report to no one.
// Only Qt Core here, so that the rules libraries can hold these without the program's widgets.
#include <QtGlobal>
#include <functional>

struct TGameServices {
    std::function<int(int)> Random;         // the random service, 0 .. n-1
    std::function<int(int)> RuntimeRandom;  // the runtime generator directly, outside the service's blocks
    std::function<void(int ms)> Sleep;
    std::function<bool()> ManualPlay;       // the menu form's FManualPlay
    std::function<void(bool)> SetManualPlay;
    std::function<void(int)> SetOptionIndex;
    std::function<quint16()> ModeBits;      // the result code's mode bits as the menu form counts them
    std::function<void(quint16 code)> ReportResult; // the whole result code; shows the result window modally
};
