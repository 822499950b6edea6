#pragma once
// Whole files of outside data, read and written so that nothing hangs and nothing is lost.
//
// Reading takes only plain files: a pipe, a device or a socket under a file's name is refused before
// it is opened (and again after, should it have been swapped), the open never blocks, and no more is
// read than the size checked against the cap.
//
// Writing gives the old file or the new one whole, and nothing else: the bytes go to a file without
// a name (O_TMPFILE) in the target's folder, which is linked in and renamed over the target only once
// it is complete and on disk. Where the file system has no unnamed files, a hidden temporary beside
// the target serves instead. A save killed at the one instant where its finished copy has a name
// leaves that copy behind; the next save of the same file removes it. A symbolic link at the target
// is written through, even when what it names does not exist yet.
#include <QByteArray>
#include <QString>

// The answer for what is not a plain file (a folder answers EISDIR).
constexpr int kNotRegularFileError = 22; // EINVAL

// 0, or the system's error code: EISDIR for a folder, kNotRegularFileError for a pipe or device,
// EFBIG for a file over maxBytes. out is changed only on success.
int ReadRegularFile(const QString& path, qint64 maxBytes, QByteArray& out);
// 0, or the system's error code. Without mayCreate, only a file that exists is written.
int WriteFileAtomically(const QString& path, const QByteArray& data, bool mayCreate = true);

// The file whose save the hidden copy `entry` (a name in a folder) was made for, when it is one that
// WriteFileAtomically may have left behind (".<name>.~XXXXXX"); empty otherwise. A name near the file
// system's limit comes back cut short, as the copy's name had it.
QString AtomicWriteTarget(const QString& entry);

// ReadRegularFile with the reason as a Japanese text, for readers that only show it. Each reader passes
// the cap of its own format: there is no cap that suits every file.
bool ReadWholeFile(const QString& path, qint64 maxBytes, QByteArray& out, QString* error = nullptr);
