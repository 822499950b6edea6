// ピクモ's main form: new, open, save and save-as of player picture sheets, the save question,
// the player strip (selecting, adding, deleting, moving and reverting cells), the motion check, and
// the sheet path sent to a running game program.
#include "UnitPictureEditor.h"

#include "CanvasView.h"
#include "Clock.h"
#include "Dialogs.h"
#include "Paths.h"
#include "SheetFile.h"
#include "SheetLink.h"
#include "UnitCryptAccess.h"
#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolButton>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

TSheetFormat FormatOfFilter(int filterIndex)
{
    return filterIndex == 2 ? TSheetFormat::Jpeg : TSheetFormat::Bmp;
}

} // namespace

// A file whose content is refused. (A file that could not be read or written at all gets the file
// error report of both programs instead, ShowFileAccessError.)
void TFormPictureEditor::reportFileError(const QString& path, const QString& reason)
{
    MessageBeep(MB_ICONASTERISK);
    MessageDlg(QLatin1Char('"') + ExtractFileName(path) + QLatin1Char('"') + kCrLf + reason, TMsgDlgType::mtWarning,
               TMsgButtons::OK, this);
}

void TFormPictureEditor::MakeInnerWhiteOpaque(QImage& picture) const
{
    ::MakeInnerWhiteOpaque(picture, Engine.OpaqueWhite);
}

int TFormPictureEditor::CellCount() const
{
    return SheetCellCount(Sheet.Image(), udWidth->value());
}

// ---------------------------------------------------------------------------------------------
// The save question, new, open and save

bool TFormPictureEditor::ConfirmSaveChanges(bool ask)
{
    if (!SheetChanged && !Engine.SavedState(true)) return true;
    int answer = idYes;
    if (ask) {
        MessageBeep(MB_ICONEXCLAMATION);
        answer = MessageDlg(QStringLiteral("ファイルが変更されています。保存しますか。"), TMsgDlgType::mtInformation,
                            TMsgButtons::YesNoCancel, this);
    }
    if (answer == idYes) return SaveAs();
    return answer == idNo;
}

void TFormPictureEditor::ResetEditing(bool freeBase, bool clearCanvas, bool resetUndo)
{
    Engine.ClearSelection();
    PlaceTransformHandles();
    if (freeBase) Engine.BasePicture.reset();
    if (clearCanvas) {
        Engine.ClearCanvas();
        Engine.GuideArmed = true;
    }
    repaintView();
    Engine.FreeShapeList();
    Engine.FreeMoveCopies();
    if (resetUndo) {
        Engine.ClearUndo();
        Engine.SavedState(false);
    } else {
        Engine.PushUndo();
    }
    Engine.InProgress.clear();
    WriteBackCanvas();
}

void TFormPictureEditor::mmFileNewClick()
{
    if (!ConfirmSaveChanges(true)) return;
    ResetEditing(true, true, true);
    SheetPath.clear();
    UpdateCaption();
    SheetChanged = false;
    Sheet.Assign(Engine.Canvas.Image());
    {
        const QSignalBlocker block(udChara);
        udChara->setMaximum(std::max(0, CellCount() - 1));
    }
    SelectedCell = 0;
    PlayerOrder.Clear();
    PlayerOrder.Add(-1);
    RefreshPlayerStrip(true);
    Engine.GuideArmed = true;
    repaintView();
}

void TFormPictureEditor::mmPicOpenClick()
{
    if (!ConfirmSaveChanges(true)) return;
    MyOpenPictureDialog2->FileName = SheetPath;
    if (!MyOpenPictureDialog2->Execute()) return;
    const QString path = MyOpenPictureDialog2->FileName;
    // The file is read whole before anything of the sheet being edited is let go.
    QImage picture;
    QString error;
    int fileError = 0;
    if (!ReadSheetFile(path, picture, error, udWidth->value(), udHeight->value(), &fileError)) {
        if (fileError != 0) ShowFileAccessError(path, 0, fileError, this);
        else reportFileError(path, error);
        return;
    }
    ResetEditing(true, true, true);
    SheetPath = path;
    if (cbChangeWhite->isChecked()) MakeInnerWhiteOpaque(picture);
    Sheet.Assign(picture);
    const int max = CellCount() - 1;
    {
        const QSignalBlocker block(udChara);
        udChara->setMaximum(max);
    }
    PlayerOrder.Clear();
    for (int i = 0; i <= max; ++i) PlayerOrder.Add(i);
    SheetChanged = false;
    SelectedCell = 0;
    RefreshPlayerStrip(true);
    NotifyGameWindow(path);
    UpdateCaption(path);
}

void TFormPictureEditor::mmPicSaveClick()
{
    if (SheetPath.isEmpty()) {
        SaveAs();
        return;
    }
    MessageBeep(MB_ICONEXCLAMATION);
    if (MessageDlg(QStringLiteral("上書き保存します。いいですか。"), TMsgDlgType::mtInformation, TMsgButtons::YesCancel, this) !=
        idYes)
        return;
    Engine.ClearSelection();
    Engine.SelectShapesAt(QPoint(0, 0));
    SaveSheet(SheetPath);
}

bool TFormPictureEditor::SaveAs()
{
    if (Engine.Shapes.empty() && !Engine.BasePicture) return false;
    TMySavePictureDialog* d = MySavePictureDialog2;
    d->FileName = SheetPath;
    const int keptIndex = d->FilterIndex;
    if (!d->Execute()) {
        d->FilterIndex = keptIndex;
        return false;
    }
    // Only the two sheet formats are written: a name without either extension gets the chosen type's.
    const QString path = CompleteSheetName(d->FileName, FormatOfFilter(d->FilterIndex));
    if (!SaveSheet(path)) return false;
    Engine.ToolKind = Engine.SavedToolKind;
    Engine.ClearSelection();
    Engine.SelectShapesAt(QPoint(0, 0));
    repaintView();
    return true;
}

bool TFormPictureEditor::SaveSheet(const QString& path)
{
    QString error;
    int fileError = 0;
    if (!WriteSheetFile(path, Sheet.Image(), Engine.MarkerColor, error, &fileError)) {
        if (fileError != 0) ShowFileAccessError(path, 0, fileError, this);
        else reportFileError(path, error);
        return false;
    }
    SheetPath = path;
    PlayerOrder.Clear();
    for (int i = 0; i < CellCount(); ++i) PlayerOrder.Add(i);
    NotifyGameWindow(path);
    UpdateCaption(path);
    // The shapes stay in the list: the ring starts again from the drawing as saved.
    Engine.ClearUndo(true);
    SheetChanged = false;
    Engine.SavedState(false);
    return true;
}

void TFormPictureEditor::MySavePictureDialog2CanClose(bool& canClose)
{
    const TMySavePictureDialog* d = MySavePictureDialog2;
    const QString path = CompleteSheetName(d->FileName, FormatOfFilter(d->FilterIndex));
    if (!QFileInfo::exists(path)) return;
    MessageBeep(MB_ICONEXCLAMATION);
    canClose = MessageDlg(path + kCrLf + QStringLiteral("ファイルはすでに存在します。上書き保存しますか。"),
                          TMsgDlgType::mtConfirmation, TMsgButtons::YesNo, this) == idYes;
}

void TFormPictureEditor::MySavePictureDialog2TypeChange()
{
    TMySavePictureDialog* d = MySavePictureDialog2;
    const int index = d->FilterIndex;
    if (index != 1 && index != 2) return;
    const QString ext = index == 1 ? QStringLiteral("bmp") : QStringLiteral("jpg");
    // A name typed without an extension is completed with the chosen type's.
    if (QFileDialog* fd = d->Dialog()) fd->setDefaultSuffix(ext);
    QString name = ExtractFileName(d->FileNameText());
    if (name.isEmpty()) return;
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0) name.truncate(dot);
    d->SetFileNameText(name + QLatin1Char('.') + ext);
}

void TFormPictureEditor::NotifyGameWindow(const QString& path)
{
    // A path that cannot travel whole is not sent at all.
    const QByteArray payload = CopyDataFromPath(path);
    if (payload.isEmpty()) return;
    if (SendCopyData(0, payload, kSheetLinkTimeoutMs)) Sleep(10);
}

// ---------------------------------------------------------------------------------------------
// Player strip

void TFormPictureEditor::WriteBackCanvas()
{
    Sheet.Canvas().Draw(CellRect.left(), CellRect.top(), Engine.Canvas.Image(), false);
    imChara->SetPicture(&Sheet.Image(), CellRect);
    DrawPreviewFrame();
}

void TFormPictureEditor::RefreshPlayerStrip(bool stop)
{
    udChara->setEnabled(udChara->maximum() > 0);
    {
        const QSignalBlocker block(udChara);
        udChara->setValue(SelectedCell);
    }
    if (stop) {
        TestFrame = 0;
        setTestRunning(false);
    }
    udCharaClick();
}

void TFormPictureEditor::imCharaMouseDown(int x, int)
{
    const int w = udWidth->value();
    if (w <= 0 || x < 0) return;
    const int cell = x / w;
    // The columns past the last whole cell are no player.
    if (cell > udChara->maximum()) return;
    {
        const QSignalBlocker block(udChara);
        udChara->setValue(cell);
    }
    udCharaClick();
}

void TFormPictureEditor::udCharaClick()
{
    SelectedCell = udChara->value();
    lbChara->setText(QStringLiteral("%1/%2").arg(SelectedCell + 1).arg(udChara->maximum() + 1));
    const int w = udWidth->value(), h = udHeight->value();
    CellRect = QRect(w * SelectedCell, 0, w, h);
    imChara->SetPicture(&Sheet.Image(), CellRect);
    // The selected cell is scrolled into view.
    QScrollBar* bar = scbChara->horizontalScrollBar();
    const int client = scbChara->viewport()->width();
    const int right = CellRect.left() + w;
    if (right > client + bar->value()) bar->setValue(right - client + 1);
    else if (CellRect.left() < bar->value()) bar->setValue(CellRect.left());
    // The shapes of the cell left are in its pixels already.
    if (!Engine.Shapes.empty()) Engine.FreeShapeList();
    Engine.BasePicture = std::make_shared<TBitmap>(w, h);
    Engine.BasePicture->Canvas().CopyRect(QRect(0, 0, w, h), Sheet.Canvas(), CellRect);
    Engine.Canvas = *Engine.BasePicture;
    repaintView();
    UpDown1Click();
    SetupPreview();
    if (Engine.CanUndo()) SheetChanged = true;
    Engine.ClearUndo();
    Engine.SavedState(false);
}

void TFormPictureEditor::sbCharaAddClick()
{
    QImage img = Sheet.Image();
    InsertSheetCell(img, SelectedCell, udWidth->value(), udHeight->value());
    Sheet.Assign(img);
    {
        const QSignalBlocker block(udChara);
        udChara->setMaximum(CellCount() - 1);
    }
    PlayerOrder.Insert(SelectedCell, -1);
    RefreshPlayerStrip(false);
    SheetChanged = true;
}

void TFormPictureEditor::sbCharaDeleteClick()
{
    if (CellCount() <= 1) return;
    MessageBeep(MB_ICONEXCLAMATION);
    if (MessageDlg(QStringLiteral("選択している画像を削除します。いいですか。"), TMsgDlgType::mtInformation,
                   TMsgButtons::YesCancel, this) != idYes)
        return;
    QImage img = Sheet.Image();
    DeleteSheetCell(img, SelectedCell, udWidth->value());
    Sheet.Assign(img);
    const int max = CellCount() - 1;
    {
        const QSignalBlocker block(udChara);
        udChara->setMaximum(max);
    }
    if (SelectedCell < PlayerOrder.GetCount()) PlayerOrder.Delete(SelectedCell);
    SelectedCell = std::min(SelectedCell, max);
    RefreshPlayerStrip(false);
    SheetChanged = true;
}

void TFormPictureEditor::sbCharaMoveLClick()
{
    if (SelectedCell <= 0) return;
    const int w = udWidth->value(), h = udHeight->value();
    const int i = SelectedCell;
    Sheet.Canvas().CopyRect(SheetCellRect(i, w, h), Sheet.Canvas(), SheetCellRect(i - 1, w, h));
    Sheet.Canvas().Draw((i - 1) * w, 0, Engine.Canvas.Image(), false);
    if (i < PlayerOrder.GetCount()) PlayerOrder.Move(i, i - 1);
    SelectedCell = i - 1;
    RefreshPlayerStrip(false);
    SheetChanged = true;
}

void TFormPictureEditor::sbCharaMoveRClick()
{
    if (SelectedCell >= udChara->maximum()) return;
    const int w = udWidth->value(), h = udHeight->value();
    const int i = SelectedCell;
    Sheet.Canvas().CopyRect(SheetCellRect(i, w, h), Sheet.Canvas(), SheetCellRect(i + 1, w, h));
    Sheet.Canvas().Draw((i + 1) * w, 0, Engine.Canvas.Image(), false);
    if (i + 1 < PlayerOrder.GetCount()) PlayerOrder.Move(i, i + 1);
    SelectedCell = i + 1;
    RefreshPlayerStrip(false);
    SheetChanged = true;
}

void TFormPictureEditor::sbFromBeginClick()
{
    if (PlayerOrder.GetCount() == 0 || !Engine.BasePicture) return;
    if (SelectedCell < 0 || SelectedCell >= PlayerOrder.GetCount()) return;
    const int k = PlayerOrder.GetValue(SelectedCell);
    if (k == -1) {
        MessageBeep(MB_ICONEXCLAMATION);
        MessageDlg(QStringLiteral("新しく追加したプレイヤー画像のため，画像がありません。"), TMsgDlgType::mtWarning,
                   TMsgButtons::OK, this);
        return;
    }
    MessageBeep(MB_ICONEXCLAMATION);
    if (MessageDlg(QStringLiteral("編集中のプレイヤー画像を，最初の画像に戻します。いいですか。"), TMsgDlgType::mtInformation,
                   TMsgButtons::YesCancel, this) != idYes)
        return;
    // The file is read again before the cell is touched; when it cannot be, nothing changes.
    const int w = udWidth->value(), h = udHeight->value();
    QImage file;
    QString error;
    int fileError = 0;
    if (!ReadSheetFile(SheetPath, file, error, w, h, &fileError)) {
        if (fileError != 0) ShowFileAccessError(SheetPath, 0, fileError, this);
        else reportFileError(SheetPath, error);
        return;
    }
    if (k >= SheetCellCount(file, w)) {
        reportFileError(SheetPath, QStringLiteral("このプレイヤーの画像がファイルにありません。"));
        return;
    }
    ResetEditing(false, true, true);
    if (cbChangeWhite->isChecked()) MakeInnerWhiteOpaque(file);
    const TCanvas source(&file);
    Sheet.Canvas().CopyRect(CellRect, source, SheetCellRect(k, w, h));
    RefreshPlayerStrip(true);
}

// ---------------------------------------------------------------------------------------------
// Motion check

void TFormPictureEditor::SetupPreview()
{
    Preview.SetSize(Engine.Canvas.Width() / 2, Engine.Canvas.Height());
    Preview.Transparent = true;
    Preview.TransparentColor = Engine.EraserColor;
    DrawPreviewFrame();
}

void TFormPictureEditor::DrawPreviewFrame()
{
    if (!imTest) return;
    const int half = Engine.Canvas.Width() / 2, h = Engine.Canvas.Height();
    const QRect src(CellRect.left() + half * TestFrame, 0, half, h);
    Preview.SetSize(half, h);
    Preview.Canvas().CopyRect(QRect(0, 0, half, h), Sheet.Canvas(), src);
    QImage& p = Preview.Image();
    const QRgb marker = ToPixel(Engine.MarkerColor), white = ToPixel(clWhite);
    for (int y = 0; y < p.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(p.scanLine(y));
        for (int x = 0; x < p.width(); ++x)
            if ((line[x] | 0xFF000000u) == marker) line[x] = white;
    }
    QImage shown(imTest->size(), QImage::Format_RGB32);
    shown.fill(ToPixel(TestBackground));
    TCanvas c(&shown);
    c.Draw((shown.width() - half) / 2, (shown.height() - h) / 2, Preview.Image(), true, Engine.EraserColor);
    imTest->setPixmap(QPixmap::fromImage(shown));
}

void TFormPictureEditor::tmTestTimer()
{
    TestFrame = (TestFrame + 1) % 2;
    DrawPreviewFrame();
}

void TFormPictureEditor::setTestRunning(bool on)
{
    if (tmTest) tmTest->SetEnabled(on);
    const QSignalBlocker block(udTest);
    if (on) {
        sbTest->setText(QStringLiteral("停止"));
        sbTest->setIcon(imTestPause);
        udTest->setValue(tmTest && tmTest->Interval() == 400 ? 0 : 1);
        lbKirikae->setText(QStringLiteral("速さ"));
    } else {
        sbTest->setText(QStringLiteral("動作確認"));
        sbTest->setIcon(imTestPlay);
        udTest->setValue(TestFrame);
        lbKirikae->setText(QStringLiteral("左右画像"));
    }
}

void TFormPictureEditor::sbTestClick()
{
    setTestRunning(!(tmTest && tmTest->Enabled()));
}

void TFormPictureEditor::showTestFrame(int frame)
{
    TestFrame = frame;
    DrawPreviewFrame();
}

void TFormPictureEditor::udTestClick(bool left)
{
    if (tmTest && tmTest->Enabled()) tmTest->SetInterval(left ? 400 : 100);
    else showTestFrame(left ? 0 : 1);
}

void TFormPictureEditor::sbTestColorClick()
{
    TColor c = TestBackground;
    if (!cdPalletExecute || !cdPalletExecute(c)) return;
    TestBackground = c;
    DrawPreviewFrame();
}
