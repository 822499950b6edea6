#pragma once
// The soccer game's replay files: the replay folder "サッカー過去リプレイ" in the sheet folder, its 30
// rotating slot files "過去リプレイNN_<name>_<goals>-<goals>.rpz" and the index "過去リプレイ_Index.txt"
// (two CP932 lines ended by CR LF: the last slot written and that file's name suffix).
#include <QByteArray>
#include <QString>

namespace soccer {

constexpr int kReplaySlots = 30;

// The replay folder under a data folder ("…/画像と音声/").
QString ReplayFolderOf(const QString& dataDir);
// "過去リプレイ%0.2d_%s.rpz".
QString SlotFileName(int slot, const QString& suffix);
// The player name as it can stand in a file name: no folder separators, control characters or the
// characters other systems refuse, and short enough for the whole slot name to fit a file name.
QString SafeNamePart(const QString& playerName);
// The player's name (made safe) + "_" + team 0's goals + "-" + team 1's goals.
QString ReplaySuffix(const QString& playerName, int goals0, int goals1);
// The name is one of this program's slot files for `slot` ("過去リプレイNN_*.rpz").
bool IsSlotFileName(const QString& name, int slot);

// The index the save writes is two short lines: a slot number, and a name of at most 180 bytes with
// the score. Room is left for one edited by hand; a larger file is no index.
constexpr qsizetype kMaxReplayIndexBytes = 4096;

struct TReplayIndex {
    int Slot = 0;
    QString Name;
};
// The index's bytes; false when they do not read as an index (a slot number 0..29 on the first line,
// a name on the second that can stand in a file name, nothing over 4 KiB). A missing second line
// gives an empty name.
bool ParseReplayIndex(const QByteArray& bytes, TReplayIndex& out);
QByteArray MakeReplayIndex(const TReplayIndex& index);

class TReplayFiles {
public:
    explicit TReplayFiles(const QString& folder);

    QString Folder;                 // without a trailing '/'
    int FReplaySlot = 0;            // the slot last written, or the one shown
    QString FReplayName;            // the suffix read from the index
    QString FReplayFile;            // the file of the past replay, '' none
    QString FLatestSlotText;        // the index's slot as two digits, '' without an index

    QString IndexPath() const;
    // The folder and its parents made when missing; false when it could not be made.
    bool CreateFolder() const;
    // The index read at the form's start: slot, name and the current replay file. A missing or
    // malformed index gives slot 0, no name and no file.
    void ReadIndex();
    // ReadIndex found an index, or a save has written one since; the file is not read again.
    bool IndexAvailable() const;

    // The stream saved into the next slot: the slot file written whole (through a temporary file
    // and a rename), then the other files of that slot deleted and the index rewritten. A failed
    // write is reported and changes nothing else; false then.
    bool SaveSlot(const QByteArray& stream, const QString& suffix);
    // Deletes the slot's files except `keep`: regular files (or links) named "過去リプレイNN_*.rpz".
    void DeleteSlotFiles(int slot, const QString& keep) const;

    // The current replay file, whole: false when none is chosen; true with no bytes when it is not
    // a regular file, is over the size a replay can have, or cannot be read (reported).
    bool ReadReplayFile(QByteArray& bytes) const;
    // A file chosen in the open dialog: an existing one becomes the current file (true).
    bool ChooseFile(const QString& path);
    // The next (dir > 0) or previous slot's file becomes the current one; false when that slot has
    // no file (nothing changes then).
    bool StepSlot(int dir);
    // The file's name without folder and extension, the slot's "過去リプレイNN" taken out, its first
    // "_" removed and the next turned into a space: 過去リプレイ05_もこ太郎_2-1.rpz shows as もこ太郎 2-1.
    QString MakeReplayLabel() const;
};

} // namespace soccer
