// Saves one file again and again until it is killed, for the tests of saves cut short: the two
// contents of SaverContents.h in turn, through SaveStringToFile ("text") or the editor's sheet
// writer ("sheet"). Prints "ready" once the first save is done.
#include "SaverContents.h"
#include "SheetFile.h"
#include "UnitCryptAccess.h"
#include <QCoreApplication>
#include <QFile>
#include <cstdio>

int main(int argc, char** argv)
{
    // No window is shown unless a save fails, and then the test has failed already.
    QCoreApplication app(argc, argv);
    if (argc < 3) return 2;
    const bool sheet = QByteArray(argv[1]) == "sheet";
    const QString path = QFile::decodeName(argv[2]);
    QByteArray text[2];
    QImage sheets[2];
    for (int k = 0; k < 2; ++k) {
        if (sheet) sheets[k] = SaverSheet(k);
        else text[k] = SaverText(k);
    }
    for (int i = 0;; ++i) {
        QString error;
        const bool saved = sheet ? WriteSheetFile(path, sheets[i % 2], RGBColor(255, 254, 254), error)
                                 : SaveStringToFile(path, text[i % 2]);
        if (!saved) return 1;
        if (i == 0) {
            std::printf("ready\n");
            std::fflush(stdout);
        }
    }
}
