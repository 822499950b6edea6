// The editor's sheet files and player strip on the real form: open, draw, save and open again;
// refused files; the save dialog's events; the strip's add, delete, move and revert; the motion
// check; the save question; and the sheet path a listening game program receives.
#include "EditorFormFixture.h"

#include "../platform/HostileFiles.h"

#include "FileErrorText.h"
#include "PictureFile.h"
#include "SheetFile.h"
#include "SheetLink.h"
#include <QLabel>
#include <QLineEdit>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QSpinBox>
#include <QThread>
#include <QToolButton>

namespace {

// A game program's listening end, on a thread of its own: the editor's send waits for its reply.
class GameProgramStandIn {
public:
    GameProgramStandIn()
    {
        m_thread.start();
        m_home.moveToThread(&m_thread);
        QMetaObject::invokeMethod(
            &m_home,
            [this] {
                m_server = new SheetLinkServer;
                m_server->OnCopyData = [this](const CopyDataMessage& m) {
                    QMutexLocker lock(&m_mutex);
                    m_messages.push_back(m);
                    return 1;
                };
                m_listening = m_server->Listen();
            },
            Qt::BlockingQueuedConnection);
    }
    ~GameProgramStandIn()
    {
        QMetaObject::invokeMethod(&m_home, [this] { delete m_server; }, Qt::BlockingQueuedConnection);
        m_thread.quit();
        m_thread.wait();
    }
    bool Listening() const { return m_listening; }
    std::vector<CopyDataMessage> Messages()
    {
        QMutexLocker lock(&m_mutex);
        return m_messages;
    }

private:
    QThread m_thread;
    QObject m_home;
    SheetLinkServer* m_server = nullptr;
    bool m_listening = false;
    QMutex m_mutex;
    std::vector<CopyDataMessage> m_messages;
};

QByteArray PathBytes(const QString& path)
{
    return QFile::encodeName(path) + QByteArray(1, '\0');
}

} // namespace

TEST_F(EditorForm, OpenDrawSaveAndOpenAgain)
{
    GameProgramStandIn game;
    ASSERT_TRUE(game.Listening());
    StepZoomTo(300);
    const QString path = Folder() + QStringLiteral("/チーム.bmp");
    WriteFile(path, EncodeBmp24(SampleSheet({clRed, clBlue})));

    Open(QStringLiteral("チーム.bmp"));
    ASSERT_TRUE(dialogShown);
    TFormPictureEditor& f = *form;
    EXPECT_EQ(f.SheetPath, path);
    EXPECT_EQ(f.Caption(), QStringLiteral("ピクモ ～ チーム.bmp"));
    EXPECT_EQ(f.udChara->maximum(), 1);
    EXPECT_TRUE(f.udChara->isEnabled());
    EXPECT_EQ(f.lbChara->text(), QStringLiteral("1/2"));
    EXPECT_EQ(Order(), (std::vector<int>{0, 1}));
    EXPECT_EQ(CanvasAt(50, 30), clRed);
    EXPECT_FALSE(f.SheetChanged);
    // The game program heard of the sheet, and the editor let it take the message.
    auto messages = game.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].dwData, 0u);
    EXPECT_EQ(messages[0].data, PathBytes(path));
    EXPECT_EQ(clock.SleptMs(), 10);

    // A black line in the second player.
    f.imCharaMouseDown(150, 10);
    EXPECT_EQ(f.SelectedCell, 1);
    EXPECT_EQ(f.lbChara->text(), QStringLiteral("2/2"));
    Stroke({V(1, 65), V(139, 65)});
    EXPECT_EQ(SheetAt(140 + 70, 65), clBlack);

    dialogs.answers = {idYes};
    f.mmPicSaveClick();
    auto boxes = dialogs.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("上書き保存します。いいですか。"));
    EXPECT_EQ(boxes[0].buttons, TMsgButtons::YesCancel);
    EXPECT_EQ(dialogs.BeepCount(MB_ICONEXCLAMATION), 1);
    messages = game.Messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1].data, PathBytes(path));
    EXPECT_FALSE(f.Engine.CanUndo());
    EXPECT_EQ(clock.SleptMs(), 20);

    // Closing now asks nothing; opening again shows what was saved.
    const QImage saved = f.Sheet.Image().copy();
    dialogs.Clear();
    Open(QStringLiteral("チーム.bmp"));
    EXPECT_TRUE(dialogs.Boxes().empty());
    EXPECT_TRUE(f.Sheet.Image() == saved);
    QImage onDisk;
    QString error;
    ASSERT_TRUE(ReadSheetFile(path, onDisk, error));
    EXPECT_EQ(FromPixel(onDisk.pixel(210, 65)), clBlack);
    EXPECT_EQ(FromPixel(onDisk.pixel(50, 30)), clRed);
    EXPECT_EQ(game.Messages().size(), 3u);
}

TEST_F(EditorForm, SaveAsWithTheTypeSwitchAndTheOverwriteQuestion)
{
    GameProgramStandIn game;
    StepZoomTo(300);
    TFormPictureEditor& f = *form;
    Stroke({V(10, 10), V(30, 10)});
    // The JPEG type turns the typed name's extension; the name is saved as JPEG.
    WithDialog(QString(), [&] { EXPECT_FALSE(f.SaveAs()); }, [&](TMyFileDialog& d) {
        d.SetFileNameText(QStringLiteral("first.bmp"));
        d.FilterIndex = 2;
        f.MySavePictureDialog2TypeChange();
        EXPECT_EQ(d.FileNameText(), QStringLiteral("first.jpg"));
        d.FilterIndex = 1;
        f.MySavePictureDialog2TypeChange();
        EXPECT_EQ(d.FileNameText(), QStringLiteral("first.bmp"));
        d.FilterIndex = 3;
        f.MySavePictureDialog2TypeChange();
        EXPECT_EQ(d.FileNameText(), QStringLiteral("first.bmp"));
    });
    EXPECT_TRUE(dialogShown);
    EXPECT_EQ(f.MySavePictureDialog2->FilterIndex, 3); // put back after Cancel
    EXPECT_TRUE(f.SheetPath.isEmpty());
    EXPECT_TRUE(game.Messages().empty());

    const QString jpg = Folder() + QStringLiteral("/first.jpg");
    bool saved = false;
    WithDialog(QStringLiteral("first.jpg"), [&] { saved = f.SaveAs(); });
    ASSERT_TRUE(saved);
    EXPECT_EQ(f.SheetPath, jpg);
    EXPECT_EQ(f.Caption(), QStringLiteral("ピクモ ～ first.jpg"));
    const QByteArray bytes = ReadFile(jpg);
    ASSERT_GE(bytes.size(), 2);
    EXPECT_EQ(quint8(bytes[0]), 0xFF);
    EXPECT_EQ(quint8(bytes[1]), 0xD8);
    EXPECT_TRUE(dialogs.Boxes().empty());

    // Saving to it again asks first; No keeps the dialog open, and Cancel then saves nothing.
    dialogs.answers = {idNo};
    WithDialog(QStringLiteral("first.jpg"), [&] { saved = f.SaveAs(); });
    EXPECT_FALSE(saved);
    auto boxes = dialogs.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, jpg + QStringLiteral("\r\nファイルはすでに存在します。上書き保存しますか。"));
    EXPECT_EQ(boxes[0].type, TMsgDlgType::mtConfirmation);
    EXPECT_EQ(boxes[0].buttons, TMsgButtons::YesNo);
    dialogs.Clear();
    dialogs.answers = {idYes};
    WithDialog(QStringLiteral("first.jpg"), [&] { saved = f.SaveAs(); });
    EXPECT_TRUE(saved);

    // A name without a sheet extension gets the chosen type's: only .bmp and .jpg are written.
    WithDialog(QStringLiteral("second.png"), [&] { saved = f.SaveAs(); }, [](TMyFileDialog& d) { d.FilterIndex = 1; });
    EXPECT_TRUE(saved);
    EXPECT_TRUE(QFile::exists(Folder() + QStringLiteral("/second.png.bmp")));
    EXPECT_FALSE(QFile::exists(Folder() + QStringLiteral("/second.png")));
    const auto messages = game.Messages();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].data, PathBytes(jpg));
    EXPECT_EQ(messages[2].data, PathBytes(Folder() + QStringLiteral("/second.png.bmp")));
}

TEST_F(EditorForm, AFileThatCannotBeReadChangesNothing)
{
    StepZoomTo(300);
    TFormPictureEditor& f = *form;
    const QString good = Folder() + QStringLiteral("/good.bmp");
    WriteFile(good, EncodeBmp24(SampleSheet({clRed, clBlue, clLime})));
    Open(QStringLiteral("good.bmp"));
    f.imCharaMouseDown(300, 10);
    Stroke({V(10, 10), V(30, 10)});
    const QImage sheet = f.Sheet.Image().copy();
    ASSERT_TRUE(f.Engine.CanUndo());

    struct Case {
        const char* name;
        QByteArray bytes;
        const char* says;
    } cases[] = {
        {"broken.jpg", QByteArray("\xFF\xD8\xFF\xE0") + QByteArray(" this is no picture"), "JPEG エラー #"},
        {"short.bmp", EncodeBmp24(SampleSheet({clRed})).left(100), "ビットマップが無効です。"},
        {"small.bmp", EncodeBmp24(QImage(100, 70, QImage::Format_RGB32)), "小さすぎます"},
    };
    for (const Case& c : cases) {
        WriteFile(Folder() + QLatin1Char('/') + QString::fromUtf8(c.name), c.bytes);
        dialogs.Clear();
        dialogs.answers = {idNo}; // the drawing is not saved first
        Open(QString::fromUtf8(c.name));
        const auto boxes = dialogs.Boxes();
        ASSERT_EQ(boxes.size(), 2u) << c.name;
        EXPECT_EQ(boxes[0].text, QStringLiteral("ファイルが変更されています。保存しますか。"));
        EXPECT_EQ(boxes[1].type, TMsgDlgType::mtWarning);
        EXPECT_TRUE(boxes[1].text.startsWith(QLatin1Char('"') + QString::fromUtf8(c.name) + QLatin1Char('"')));
        EXPECT_TRUE(boxes[1].text.contains(QString::fromUtf8(c.says))) << boxes[1].text.toStdString();
        EXPECT_EQ(dialogs.BeepCount(MB_ICONASTERISK), 1);
        EXPECT_EQ(f.SheetPath, good);
        EXPECT_TRUE(f.Sheet.Image() == sheet);
        EXPECT_EQ(f.SelectedCell, 2);
        EXPECT_TRUE(f.Engine.CanUndo());
        EXPECT_EQ(f.Engine.Shapes.size(), 1u);
    }
}

TEST_F(EditorForm, PipesAndDevicesNamedLikeSheetsGetAMessageAndTheWindowAnswers)
{
    StepZoomTo(300);
    Stroke({V(10, 10), V(30, 10)});
    for (const HostileFile& h : MakeHostileFiles(Folder(), QStringLiteral(".jpg"))) {
        if (h.error != EINVAL) continue; // a folder is entered by the dialog, not opened
        dialogs.Clear();
        dialogs.answers = {idNo};
        EXPECT_TRUE(ReturnsPromptly(h, [&] { Open(ExtractFileName(h.path)); })) << h.path.toStdString();
        ASSERT_EQ(dialogs.Boxes().size(), 2u);
        EXPECT_EQ(dialogs.Boxes()[1].text, FileAccessErrorText(h.path, 0, EINVAL));
        EXPECT_TRUE(form->SheetPath.isEmpty());
        EXPECT_EQ(form->Engine.Shapes.size(), 1u);
    }
}

TEST_F(EditorForm, StripAddDeleteAndMove)
{
    TFormPictureEditor& f = *form;
    WriteFile(Folder() + QStringLiteral("/three.bmp"), EncodeBmp24(SampleSheet({clRed, clLime, clBlue})));
    Open(QStringLiteral("three.bmp"));
    // Add before the second player: a blank cell there, selected.
    f.imCharaMouseDown(141, 0);
    f.sbCharaAddClick();
    EXPECT_EQ(f.CellCount(), 4);
    EXPECT_EQ(f.SelectedCell, 1);
    EXPECT_EQ(f.lbChara->text(), QStringLiteral("2/4"));
    EXPECT_EQ(SheetAt(140 + 50, 30), clWhite);
    EXPECT_EQ(SheetAt(280 + 50, 30), clLime);
    EXPECT_EQ(Order(), (std::vector<int>{0, -1, 1, 2}));
    EXPECT_TRUE(f.SheetChanged);
    EXPECT_EQ(CanvasAt(50, 30), clWhite);
    // The strip shows the frame round the selected cell.
    const QImage strip = f.imChara->grab().toImage();
    EXPECT_EQ(FromPixel(strip.pixel(140, 30)), clRed);
    EXPECT_EQ(FromPixel(strip.pixel(141, 30)), clRed);
    EXPECT_EQ(FromPixel(strip.pixel(142, 30)), clWhite);
    EXPECT_EQ(FromPixel(strip.pixel(279, 69)), clRed);

    // Move the blank one to the right, then the third player left.
    f.sbCharaMoveRClick();
    EXPECT_EQ(f.SelectedCell, 2);
    EXPECT_EQ(SheetAt(140 + 50, 30), clLime);
    EXPECT_EQ(SheetAt(280 + 50, 30), clWhite);
    EXPECT_EQ(Order(), (std::vector<int>{0, 1, -1, 2}));
    f.imCharaMouseDown(3 * 140 + 5, 5);
    f.sbCharaMoveRClick(); // the last: nothing
    EXPECT_EQ(f.SelectedCell, 3);
    f.sbCharaMoveLClick();
    EXPECT_EQ(Order(), (std::vector<int>{0, 1, 2, -1}));
    EXPECT_EQ(SheetAt(280 + 50, 30), clBlue);
    f.imCharaMouseDown(5, 5);
    f.sbCharaMoveLClick(); // the first: nothing
    EXPECT_EQ(Order(), (std::vector<int>{0, 1, 2, -1}));

    // Delete the last: the new last is selected. Cancel deletes nothing.
    f.imCharaMouseDown(3 * 140 + 5, 5);
    dialogs.Clear();
    dialogs.answers = {idCancel};
    f.sbCharaDeleteClick();
    EXPECT_EQ(f.CellCount(), 4);
    ASSERT_EQ(dialogs.Boxes().size(), 1u);
    EXPECT_EQ(dialogs.Boxes()[0].text, QStringLiteral("選択している画像を削除します。いいですか。"));
    EXPECT_EQ(dialogs.BeepCount(MB_ICONEXCLAMATION), 1);
    dialogs.answers = {idYes};
    f.sbCharaDeleteClick();
    EXPECT_EQ(f.CellCount(), 3);
    EXPECT_EQ(f.SelectedCell, 2);
    EXPECT_EQ(f.lbChara->text(), QStringLiteral("3/3"));
    EXPECT_EQ(Order(), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(CanvasAt(50, 30), clBlue);
    // The middle one: the same position stays selected.
    f.imCharaMouseDown(141, 0);
    f.sbCharaDeleteClick();
    EXPECT_EQ(f.SelectedCell, 1);
    EXPECT_EQ(CanvasAt(50, 30), clBlue);
    EXPECT_EQ(Order(), (std::vector<int>{0, 2}));

    // The last cell of a sheet is kept, without a question.
    dialogs.answers = {idNo};
    f.mmFileNewClick();
    EXPECT_EQ(f.CellCount(), 1);
    EXPECT_FALSE(f.udChara->isEnabled());
    dialogs.Clear();
    f.sbCharaDeleteClick();
    EXPECT_EQ(f.CellCount(), 1);
    EXPECT_TRUE(dialogs.Boxes().empty());
}

TEST_F(EditorForm, RevertingACell)
{
    StepZoomTo(300);
    TFormPictureEditor& f = *form;
    const QString path = Folder() + QStringLiteral("/two.bmp");
    WriteFile(path, EncodeBmp24(SampleSheet({clRed, clBlue})));
    Open(QStringLiteral("two.bmp"));
    f.imCharaMouseDown(141, 0);
    f.pnC00MouseDown(0);
    Stroke({V(1, 33), V(139, 33)});
    ASSERT_EQ(SheetAt(140 + 50, 33), clBlack);
    // Cancel keeps the drawing; Yes brings the file's picture back.
    dialogs.answers = {idCancel};
    f.sbFromBeginClick();
    EXPECT_EQ(SheetAt(140 + 50, 33), clBlack);
    ASSERT_EQ(dialogs.Boxes().size(), 1u);
    EXPECT_EQ(dialogs.Boxes()[0].text, QStringLiteral("編集中のプレイヤー画像を，最初の画像に戻します。いいですか。"));
    dialogs.answers = {idYes};
    f.sbFromBeginClick();
    EXPECT_EQ(SheetAt(140 + 50, 33), clBlue);
    EXPECT_EQ(CanvasAt(50, 33), clBlue);
    EXPECT_TRUE(f.Engine.Shapes.empty());
    EXPECT_FALSE(f.Engine.CanUndo());

    // An added cell has nothing to go back to.
    f.sbCharaAddClick();
    dialogs.Clear();
    f.sbFromBeginClick();
    auto boxes = dialogs.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("新しく追加したプレイヤー画像のため，画像がありません。"));
    EXPECT_EQ(boxes[0].type, TMsgDlgType::mtWarning);
    EXPECT_EQ(dialogs.BeepCount(MB_ICONEXCLAMATION), 1);

    // After a save the order is the file's again, and the same cell reverts from it.
    Stroke({V(1, 33), V(139, 33)});
    dialogs.answers = {idYes};
    f.mmPicSaveClick();
    EXPECT_EQ(Order(), (std::vector<int>{0, 1, 2}));
    EXPECT_FALSE(f.SheetChanged);
    Stroke({V(1, 50), V(139, 50)});
    dialogs.Clear();
    dialogs.answers = {idYes};
    f.sbFromBeginClick();
    ASSERT_EQ(dialogs.Boxes().size(), 1u);
    EXPECT_EQ(dialogs.Boxes()[0].buttons, TMsgButtons::YesCancel);
    EXPECT_EQ(CanvasAt(50, 33), clBlack);
    EXPECT_EQ(CanvasAt(50, 50), clWhite);

    // The file gone: the cell stays as it is, and the box says why.
    Stroke({V(1, 50), V(139, 50)});
    QFile::remove(path);
    dialogs.Clear();
    dialogs.answers = {idYes};
    f.sbFromBeginClick();
    boxes = dialogs.Boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, FileAccessErrorText(path, 0, ENOENT));
    EXPECT_EQ(CanvasAt(50, 50), clBlack);
    EXPECT_TRUE(f.Engine.CanUndo());
}

TEST_F(EditorForm, InnerWhiteOnOpenFollowsItsSwitch)
{
    TFormPictureEditor& f = *form;
    // A black ring with a white face inside, on pure white.
    QImage img = SampleSheet({clBlack});
    for (int y = 20; y < 50; ++y)
        for (int x = 40; x < 100; ++x) img.setPixel(x, y, ToPixel(clWhite));
    WriteFile(Folder() + QStringLiteral("/face.bmp"), EncodeBmp24(img));
    Open(QStringLiteral("face.bmp"));
    EXPECT_EQ(CanvasAt(70, 35), f.Engine.OpaqueWhite);
    EXPECT_EQ(CanvasAt(5, 5), clWhite);
    f.cbChangeWhite->setChecked(false);
    Open(QStringLiteral("face.bmp"));
    EXPECT_EQ(CanvasAt(70, 35), clWhite);
}

TEST_F(EditorForm, ClosingAfterAddAsksAndCancelKeepsTheProgram)
{
    TFormPictureEditor& f = *form;
    f.sbCharaAddClick();
    dialogs.answers = {idCancel};
    f.close();
    EXPECT_TRUE(f.isVisible());
    auto boxes = dialogs.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("ファイルが変更されています。保存しますか。"));
    EXPECT_EQ(boxes[0].type, TMsgDlgType::mtInformation);
    EXPECT_EQ(boxes[0].buttons, TMsgButtons::YesNoCancel);
    // Yes opens the save dialog; cancelling it keeps the program too.
    dialogs.answers = {idYes};
    WithDialog(QString(), [&] { f.close(); });
    EXPECT_TRUE(dialogShown);
    EXPECT_TRUE(f.isVisible());
    // Saved: closing asks nothing.
    dialogs.Clear();
    dialogs.answers = {idYes};
    WithDialog(QStringLiteral("added.bmp"), [&] { f.close(); });
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(dialogs.Boxes().size(), 1u);
    EXPECT_TRUE(QFile::exists(Folder() + QStringLiteral("/added.bmp")));
}

TEST_F(EditorForm, NothingIsSentWhenNoGameProgramListens)
{
    TFormPictureEditor& f = *form;
    bool saved = false;
    WithDialog(QStringLiteral("alone.bmp"), [&] { saved = f.SaveAs(); });
    EXPECT_TRUE(saved);
    EXPECT_EQ(clock.SleptMs(), 0);
    // A stale socket left by a program that died is no listener either.
    WriteFile(SheetLinkSocketPath(), "stale");
    dialogs.answers = {idYes};
    f.mmPicSaveClick();
    EXPECT_EQ(clock.SleptMs(), 0);
    EXPECT_EQ(f.Caption(), QStringLiteral("ピクモ ～ alone.bmp"));
}

TEST_F(EditorForm, AFailedWriteIsNoSave)
{
    GameProgramStandIn game;
    StepZoomTo(300);
    TFormPictureEditor& f = *form;
    Stroke({V(10, 10), V(30, 10)});
    // A folder where no file can be made, whoever runs the test.
    bool saved = true;
    WithDialog(QStringLiteral("/proc/x.bmp"), [&] { saved = f.SaveAs(); });
    EXPECT_FALSE(saved);
    auto boxes = dialogs.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].text.startsWith(QStringLiteral("ファイルにアクセスできません。\r\n\r\n\"x.bmp\"\r\nエラーコード=")));
    EXPECT_EQ(boxes[0].type, TMsgDlgType::mtWarning);
    EXPECT_TRUE(f.SheetPath.isEmpty());
    EXPECT_EQ(f.Caption(), QStringLiteral("ピクモ"));
    EXPECT_TRUE(game.Messages().empty());
    EXPECT_TRUE(f.Engine.CanUndo());
    // A file in the way of the rename: the old one stays whole.
    const QString blocked = Folder() + QStringLiteral("/blocked.bmp");
    QDir().mkpath(blocked + QStringLiteral("/inside"));
    EXPECT_FALSE(f.SaveSheet(blocked));
    EXPECT_TRUE(QFileInfo(blocked).isDir());
    EXPECT_TRUE(f.SheetPath.isEmpty());
}

TEST_F(EditorForm, TheMotionCheck)
{
    TFormPictureEditor& f = *form;
    QImage img = SampleSheet({clRed});
    for (int y = 0; y < 70; ++y)
        for (int x = 70; x < 140; ++x)
            if (img.pixel(x, y) != ToPixel(clWhite)) img.setPixel(x, y, ToPixel(clBlue));
    WriteFile(Folder() + QStringLiteral("/pose.bmp"), EncodeBmp24(img));
    Open(QStringLiteral("pose.bmp"));
    auto shown = [&] { return FromPixel(f.imTest->pixmap().toImage().pixel(40, 40)); };
    auto corner = [&] { return FromPixel(f.imTest->pixmap().toImage().pixel(1, 1)); };
    EXPECT_EQ(shown(), clRed);
    EXPECT_EQ(corner(), TColor(0x00FF7F));
    // Stopped: the up-down shows a frame.
    f.udTest->setValue(1);
    EXPECT_EQ(shown(), clBlue);
    f.udTest->setValue(0);
    EXPECT_EQ(shown(), clRed);
    // Running: the frames take turns every 400 ms; the up-down sets the speed.
    f.sbTestClick();
    EXPECT_EQ(f.sbTest->text(), QStringLiteral("停止"));
    EXPECT_EQ(f.lbKirikae->text(), QStringLiteral("速さ"));
    EXPECT_EQ(f.udTest->value(), 0);
    clock.Advance(400);
    EXPECT_EQ(shown(), clBlue);
    clock.Advance(400);
    EXPECT_EQ(shown(), clRed);
    f.udTest->setValue(1);
    EXPECT_EQ(f.tmTest->Interval(), 100);
    clock.Advance(100);
    EXPECT_EQ(shown(), clBlue);
    f.sbTestClick();
    EXPECT_EQ(f.sbTest->text(), QStringLiteral("動作確認"));
    EXPECT_EQ(f.lbKirikae->text(), QStringLiteral("左右画像"));
    EXPECT_EQ(f.udTest->value(), 1);
    clock.Advance(1000);
    EXPECT_EQ(shown(), clBlue);
    // The background colour.
    f.cdPalletExecute = [](TColor& c) {
        c = clYellow;
        return true;
    };
    f.sbTestColorClick();
    EXPECT_EQ(corner(), clYellow);
    // Another cell stops nothing but a new sheet does.
    f.sbTestClick();
    f.mmFileNewClick();
    EXPECT_FALSE(f.tmTest->Enabled());
    EXPECT_EQ(f.TestFrame, 0);
}
