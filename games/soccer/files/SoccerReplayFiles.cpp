#include "SoccerReplayFiles.h"

#include "SoccerReplayFile.h"
#include "Sjis.h"
#include "UnitCryptAccess.h"
#include "WholeFile.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace soccer {

namespace {

const QString kSlotPrefix = QStringLiteral("過去リプレイ");
const QString kIndexName = QStringLiteral("過去リプレイ_Index.txt");
// Room left for the player's name in a file name of 255 bytes, beside the slot's or the manual
// save's prefix and the score.
constexpr qsizetype kMaxNameBytes = 180;

QString twoDigits(int n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

bool refusedInName(char32_t c)
{
    if (c < 0x20 || c == 0x7F || c == 0xFFFD) return true;
    // Characters beyond the basic plane are none of the refused ones (and no single QChar holds them).
    return c <= 0xFFFF && QStringView(u"/\\:*?\"<>|").contains(QChar(char16_t(c)));
}

// The character survives the index's CP932 unchanged.
bool fitsCp932(const QString& ch)
{
    return FromSjis(ToSjis(ch)) == ch;
}

bool regularFile(const QFileInfo& fi)
{
    return fi.exists() && fi.isFile();
}

} // namespace

QString ReplayFolderOf(const QString& dataDir)
{
    QString d = dataDir;
    if (!d.endsWith(QLatin1Char('/'))) d += QLatin1Char('/');
    return d + QStringLiteral("ゲームの選手画像/サッカー過去リプレイ");
}

QString SlotFileName(int slot, const QString& suffix)
{
    return kSlotPrefix + twoDigits(slot) + QLatin1Char('_') + suffix + QStringLiteral(".rpz");
}

QString SafeNamePart(const QString& playerName)
{
    QString out;
    qsizetype bytes = 0;
    for (qsizetype i = 0; i < playerName.size();) {
        const qsizetype len = playerName[i].isHighSurrogate() && i + 1 < playerName.size() ? 2 : 1;
        const QString ch = playerName.mid(i, len);
        i += len;
        const char32_t code = ch.toUcs4().value(0);
        if (refusedInName(code) || !fitsCp932(ch)) continue;
        const qsizetype chBytes = ch.toUtf8().size();
        if (bytes + chBytes > kMaxNameBytes) break;
        bytes += chBytes;
        out += ch;
    }
    return out;
}

QString ReplaySuffix(const QString& playerName, int goals0, int goals1)
{
    return SafeNamePart(playerName) + QLatin1Char('_') + QString::number(goals0) + QLatin1Char('-') + QString::number(goals1);
}

bool IsSlotFileName(const QString& name, int slot)
{
    return name.startsWith(kSlotPrefix + twoDigits(slot) + QLatin1Char('_'))
        && name.endsWith(QStringLiteral(".rpz"), Qt::CaseInsensitive);
}

bool ParseReplayIndex(const QByteArray& bytes, TReplayIndex& out)
{
    if (bytes.isEmpty() || bytes.size() > kMaxReplayIndexBytes || bytes.contains('\0')) return false;
    QList<QByteArray> lines = bytes.split('\n');
    for (QByteArray& l : lines)
        if (l.endsWith('\r')) l.chop(1);
    const QByteArray first = lines.value(0).trimmed();
    if (first.isEmpty() || first.size() > 2) return false;
    for (char c : first)
        if (c < '0' || c > '9') return false;
    const int slot = first.toInt();
    if (slot >= kReplaySlots) return false;
    const QString name = FromSjis(lines.value(1));
    // A name that could not have been written by the save, or would lead out of the folder, is no index.
    for (QChar c : name)
        if (refusedInName(c.unicode())) return false;
    out.Slot = slot;
    out.Name = name;
    return true;
}

QByteArray MakeReplayIndex(const TReplayIndex& index)
{
    return ToSjis(QString::number(index.Slot)) + "\r\n" + ToSjis(index.Name) + "\r\n";
}

TReplayFiles::TReplayFiles(const QString& folder) : Folder(folder)
{
    while (Folder.size() > 1 && Folder.endsWith(QLatin1Char('/'))) Folder.chop(1);
}

QString TReplayFiles::IndexPath() const
{
    return Folder + QLatin1Char('/') + kIndexName;
}

bool TReplayFiles::CreateFolder() const
{
    return QDir().mkpath(Folder);
}

void TReplayFiles::ReadIndex()
{
    FReplaySlot = 0;
    FReplayName.clear();
    FReplayFile.clear();
    FLatestSlotText.clear();
    if (!regularFile(QFileInfo(IndexPath()))) return;
    QByteArray bytes;
    TReplayIndex index;
    if (!LoadOwnFileToString(IndexPath(), bytes, kMaxReplayIndexBytes) || !ParseReplayIndex(bytes, index)) return;
    FReplaySlot = index.Slot;
    FReplayName = index.Name;
    FReplayFile = Folder + QLatin1Char('/') + SlotFileName(index.Slot, index.Name);
    FLatestSlotText = twoDigits(index.Slot);
}

bool TReplayFiles::IndexAvailable() const
{
    return !FLatestSlotText.isEmpty();
}

bool TReplayFiles::SaveSlot(const QByteArray& stream, const QString& suffix)
{
    const int slot = (FReplaySlot + 1) % kReplaySlots;
    CreateFolder();
    const QString path = Folder + QLatin1Char('/') + SlotFileName(slot, suffix);
    if (!SaveStringToFile(path, stream)) return false;
    DeleteSlotFiles(slot, path);
    FReplaySlot = slot;
    FReplayName = suffix;
    FLatestSlotText = twoDigits(slot);
    SaveStringToFile(IndexPath(), MakeReplayIndex({slot, suffix}));
    return true;
}

void TReplayFiles::DeleteSlotFiles(int slot, const QString& keep) const
{
    const QFileInfoList entries =
        QDir(Folder).entryInfoList(QDir::Files | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& fi : entries) {
        // A copy that a killed save of this slot left under a hidden name goes too: the next save of
        // the slot rarely has the same name, and only that one would remove it.
        if (IsSlotFileName(AtomicWriteTarget(fi.fileName()), slot) && fi.isFile() && !fi.isSymLink()) {
            QFile::remove(fi.absoluteFilePath());
            continue;
        }
        if (!IsSlotFileName(fi.fileName(), slot) || fi.absoluteFilePath() == QFileInfo(keep).absoluteFilePath()) continue;
        // Pipes, devices and sockets that happen to bear a slot's name are not replay files.
        if (fi.isSymLink() || fi.isFile()) QFile::remove(fi.absoluteFilePath());
    }
}

bool TReplayFiles::ReadReplayFile(QByteArray& bytes) const
{
    bytes.clear();
    if (FReplayFile.isEmpty()) return false;
    LoadOwnFileToString(FReplayFile, bytes, kMaxReplayBytes);
    return true;
}

bool TReplayFiles::ChooseFile(const QString& path)
{
    if (path.isEmpty() || !QFileInfo::exists(path)) return false;
    FReplayFile = path;
    return true;
}

bool TReplayFiles::StepSlot(int dir)
{
    const int slot = dir > 0 ? (FReplaySlot + 1) % kReplaySlots : (FReplaySlot + kReplaySlots - 1) % kReplaySlots;
    const QFileInfoList entries = QDir(Folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& fi : entries) {
        if (!IsSlotFileName(fi.fileName(), slot) || !fi.isFile()) continue;
        FReplaySlot = slot;
        FReplayFile = fi.absoluteFilePath();
        return true;
    }
    return false;
}

QString TReplayFiles::MakeReplayLabel() const
{
    QString name = QFileInfo(FReplayFile).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0) name.truncate(dot);
    const QString slotName = kSlotPrefix + twoDigits(FReplaySlot);
    if (const qsizetype at = name.indexOf(slotName); at >= 0) name.remove(at, slotName.size());
    if (const qsizetype at = name.indexOf(QLatin1Char('_')); at >= 0) {
        name.remove(at, 1);
        if (const qsizetype next = name.indexOf(QLatin1Char('_'), at); next >= 0) name[next] = QLatin1Char(' ');
    }
    return name;
}

} // namespace soccer
