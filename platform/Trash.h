#pragma once
// The desktop's trash (the freedesktop.org layout), where deleted files and folders can be restored
// from: the user's own trash when the entry lies on the same file system, else the file system's
// ".Trash-<uid>" folder at its top, but only when that folder and its own two are ours and nobody
// else may enter them (else nothing is moved). An entry is only ever moved by a rename, never copied and
// deleted, so on any failure it stays where it was; and it goes into the very folders that were
// checked, even when another user renames things at the top meanwhile.
#include <QString>

// Moves a file or a whole folder into the trash; false (with the system error number) when it cannot.
bool MoveToTrash(const QString& path, int* error = nullptr);
