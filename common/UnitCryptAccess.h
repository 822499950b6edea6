#pragma once
// Whole-file read and write with one failure path: the access window and a warning box that names
// the file, the system error code and the system's message. Files are moved as bytes; the callers
// convert text with ToSjis / FromSjis.
#include "FileErrorText.h"
#include <QByteArray>
#include <QString>

class QWidget;

// What the menu form hands over at start-up: the program's own file (checked before each write),
// the main form (closed when that file has gone) and the title used in that message.
void SetFileAccessContext(const QString& programFile, QWidget* mainForm, const QString& title);

// s := the file's bytes; on any failure s is empty, the error is reported and the answer is false.
// No more than maxBytes, the cap of the caller's format, are read: a larger file is refused (EFBIG)
// before anything is read.
bool LoadFileToString(const QString& fileName, QByteArray& s, qint64 maxBytes);
// The same for a reader to which what is no plain file, or is larger than its cap, is simply none of
// its files: that is refused without a report.
bool LoadOwnFileToString(const QString& fileName, QByteArray& s, qint64 maxBytes);
// Writes s as the whole file: afterwards the old file or the new one is there whole, and nothing
// else (WriteFileAtomically); false (after the report) when it could not be written.
bool SaveStringToFile(const QString& fileName, const QByteArray& s);

// The warning box of a file that could not be accessed (FileAccessErrorText), over owner when
// given.
void ShowFileAccessError(const QString& fileName, int kind, int errorCode, QWidget* owner = nullptr);

// True while the program's own file exists; otherwise reports it, closes the main form and answers false.
bool CheckProgramFile();

// The access window; one at most.
void ShowAccessMessage();
void HideAccessMessage();
