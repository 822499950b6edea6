#pragma once
// Where the running program lives: its data folder and the other program sit beside it.
#include <QString>

// The program file's full path (ちびポリコロ or ピクモ).
QString ProgramFile();
// The program's folder, without a trailing '/'.
QString ProgramDir();
// Tests: act as if the program file were this path; an empty path restores the real one.
void OverrideProgramFile(const QString& path);
// The file name part of a path.
QString ExtractFileName(const QString& path);
// The extension, with its dot ("" when there is none after the last '/').
QString ExtractFileExt(const QString& path);
bool FileExists(const QString& path);
