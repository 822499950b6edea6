#include "MyFileDialogs.h"

#include "Clock.h"
#include "Dialogs.h"
#include "PictureFile.h"
#include "TestSupport.h"
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QDirIterator>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>
#include "TestDoubles.h"

// Failures show names as text.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

// Qt's file dialog would keep its settings under the user's configuration folder; this program
// points that folder (and home) at an empty temporary folder before anything reads it.
QTemporaryDir g_isolatedDir;
QString g_isolated;
const bool g_isolatedSet = [] {
    g_isolated = g_isolatedDir.path();
    QDir().mkpath(g_isolated + QStringLiteral("/config"));
    QDir().mkpath(g_isolated + QStringLiteral("/home"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(g_isolated + QStringLiteral("/config")));
    qputenv("HOME", QFile::encodeName(g_isolated + QStringLiteral("/home")));
    return true;
}();

QStringList FilesUnder(const QString& dir)
{
    QStringList out;
    QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) out << it.next();
    return out;
}

// A rename editor is open in the list.
bool Editing(QListView* list)
{
    for (QLineEdit* e : list->viewport()->findChildren<QLineEdit*>())
        if (e->isVisible()) return true;
    return false;
}

// The live dialog's parts, by the names Qt gives them.
struct Live {
    explicit Live(TMyFileDialog& d) : family(d), dlg(d.Dialog())
    {
        list = dlg->findChild<QListView*>(QStringLiteral("listView"));
        edit = dlg->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        up = dlg->findChild<QToolButton*>(QStringLiteral("toParentButton"));
        back = dlg->findChild<QToolButton*>(QStringLiteral("backButton"));
        newFolder = dlg->findChild<QToolButton*>(QStringLiteral("newFolderButton"));
        lookIn = dlg->findChild<QComboBox*>(QStringLiteral("lookInCombo"));
        types = dlg->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        sidebar = dlg->findChild<QWidget*>(QStringLiteral("sidebar"));
        model = dlg->findChild<QFileSystemModel*>(QStringLiteral("qt_filesystem_model"));
    }
    QString Dir() const { return QFileInfo(dlg->directory().absolutePath()).canonicalFilePath(); }
    bool Listed(const QString& name)
    {
        return WaitUntil([&] { return model->index(dlg->directory().absoluteFilePath(name)).isValid(); });
    }
    void Select(const QString& name)
    {
        ASSERT_TRUE(Listed(name)) << name.toStdString();
        list->setCurrentIndex(model->index(dlg->directory().absoluteFilePath(name)));
    }
    // Opens a folder of the list as the user does: select it and press Return.
    void Enter(const QString& name)
    {
        Select(name);
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Return);
    }
    // The menu key on the list's current file.
    void MenuKey()
    {
        const QPoint at = list->visualRect(list->currentIndex()).center();
        QContextMenuEvent e(QContextMenuEvent::Keyboard, at, list->mapToGlobal(at));
        QApplication::sendEvent(list, &e);
    }
    void Key(QWidget* w, int key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QApplication::setActiveWindow(dlg);
        w->setFocus();
        QTest::keyClick(w, Qt::Key(key), mods);
    }
    TMyFileDialog& family;
    QFileDialog* dlg;
    QListView* list;
    QLineEdit* edit;
    QToolButton *up, *back, *newFolder;
    QComboBox *lookIn, *types;
    QWidget* sidebar;
    QFileSystemModel* model;
};

class FileDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        sheets = QFileInfo(tmp.path()).canonicalFilePath() + QStringLiteral("/sheets");
        QDir().mkpath(sheets + QStringLiteral("/sub/deeper"));
        QImage img(140, 70, QImage::Format_RGB32);
        img.fill(Qt::white);
        for (int x = 10; x < 60; ++x)
            for (int y = 10; y < 60; ++y) img.setPixel(x, y, qRgb(200, 40, 40));
        WriteFile(sheets + QStringLiteral("/a.bmp"), EncodeBmp24(img));
        QByteArray jpg;
        EncodeJpeg(img, 100, jpg);
        WriteFile(sheets + QStringLiteral("/b.jpg"), jpg);
        WriteFile(sheets + QStringLiteral("/notes.txt"), "x");
        WriteFile(sheets + QStringLiteral("/goal.rpz"), "replay");
        WriteFile(sheets + QStringLiteral("/sub/c.bmp"), EncodeBmp24(img));
        SetClock(&clock);
        // Qt's own message boxes would wait for a click; any that opens is noted and closed.
        // Menus of the list run their own loop too: each is noted (entries, + enabled) and closed.
        watchdog.setInterval(20);
        QObject::connect(&watchdog, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                qtBoxes << box->text();
                box->reject();
            }
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                QStringList entries;
                for (QAction* a : menu->actions())
                    if (!a->objectName().isEmpty()) entries << a->objectName() + (a->isEnabled() ? QLatin1Char('+') : QLatin1Char('-'));
                menus << entries.join(QLatin1Char(' '));
                menu->close();
            }
        });
        watchdog.start();
    }
    void TearDown() override
    {
        TMyFileDialog::SetTestHook(nullptr);
        SetClock(nullptr);
    }
    // Runs the dialog; body drives it while it is on screen. The dialog is cancelled afterwards
    // unless body closed it.
    bool Run(TMyFileDialog& d, const std::function<void(Live&)>& body)
    {
        bool ran = false;
        TMyFileDialog::SetTestHook([&](TMyFileDialog& x) {
            ran = true;
            Live live(x);
            QApplication::setActiveWindow(live.dlg);
            body(live);
            if (live.dlg->isVisible()) live.dlg->reject();
        });
        const bool r = d.Execute();
        TMyFileDialog::SetTestHook(nullptr);
        EXPECT_TRUE(ran);
        return r;
    }
    void Setup(TMyFileDialog& d)
    {
        d.InitialDir = sheets;
        d.Filter = QStringLiteral("BMP ﾌｧｲﾙ (*.bmp)|*.bmp|JPEG ﾌｧｲﾙ (*.jpg)|*.jpg|全種類 (*.bmp, *.jpg)|*.bmp;*.jpg");
        d.DefaultExt = QStringLiteral("bmp");
        d.FilterIndex = 3;
    }
    QTemporaryDir tmp;
    QString sheets;
    VirtualClock clock;
    RecordingDialogs rec;
    QTimer watchdog;
    QStringList qtBoxes;
    QStringList menus;
};

TEST(FileNameCleanupTest, BothPrograms)
{
    struct Case {
        const char* in;
        const char* game;
        const char* editor;
    };
    const Case cases[] = {
        {"..\\a:b", ".ab", ".a:b"},
        {"...", ".", "."},
        {"a....b", "a.b", "a.b"},
        {".:.", ".", ".:."},
        {"/tmp/x*?\"<>|.bmp", "tmpx.bmp", "/tmp/x*?\"<>|.bmp"},
        {"~/x", "x", "~/x"},
        {"チーム画像.bmp", "チーム画像.bmp", "チーム画像.bmp"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CleanFileName(QString::fromUtf8(c.in), TFileNameCleanup::GameProgram), QString::fromUtf8(c.game)) << c.in;
        EXPECT_EQ(CleanFileName(QString::fromUtf8(c.in), TFileNameCleanup::Editor), QString::fromUtf8(c.editor)) << c.in;
    }
    // No length limit cuts a name.
    const QString longName = QString(600, QLatin1Char('n')) + QStringLiteral(".bmp");
    EXPECT_EQ(CleanFileName(longName, TFileNameCleanup::GameProgram), longName);

    // The box keeps its caret where it was, within the shorter text.
    QLineEdit box;
    box.setText(QStringLiteral("a/b/c"));
    box.setCursorPosition(5);
    CleanFileNameEdit(&box, TFileNameCleanup::GameProgram);
    EXPECT_EQ(box.text(), QStringLiteral("abc"));
    EXPECT_EQ(box.cursorPosition(), 3);
}

// The menu's sheet chooser: only going up is taken away.
TEST_F(FileDialogTest, UpOnlyBelowTheInitialFolder)
{
    TMyOpenPictureDialog d;
    Setup(d);
    d.Options = ofHideReadOnly | ofFileMustExist | ofEnableSizing;
    d.DirUpBtn = false;
    d.KeepSize = false;
    // Reached through a link: the folders are compared as they really are.
    ASSERT_TRUE(QFile::link(sheets, tmp.filePath(QStringLiteral("link"))));
    d.InitialDir = tmp.filePath(QStringLiteral("link"));
    d.FileName = sheets + QStringLiteral("/a.bmp");
    const bool ok = Run(d, [&](Live& l) {
        EXPECT_EQ(l.Dir(), sheets);
        EXPECT_EQ(l.edit->text(), QStringLiteral("a.bmp"));
        EXPECT_FALSE(l.up->isEnabled());
        // Qt's own ways up are held to the same rule.
        l.Key(l.list, Qt::Key_Backspace);
        l.Key(l.list, Qt::Key_Up, Qt::ControlModifier);
        l.Key(l.list, Qt::Key_Up, Qt::AltModifier);
        EXPECT_EQ(l.Dir(), sheets);

        l.Enter(QStringLiteral("sub"));
        EXPECT_EQ(l.Dir(), sheets + QStringLiteral("/sub"));
        EXPECT_TRUE(l.up->isEnabled());
        EXPECT_TRUE(l.edit->text().isEmpty()); // a new folder starts with no name
        l.Enter(QStringLiteral("deeper"));
        l.Key(l.list, Qt::Key_Backspace);
        EXPECT_EQ(l.Dir(), sheets + QStringLiteral("/sub"));
        l.up->click();
        EXPECT_EQ(l.Dir(), sheets);
        EXPECT_FALSE(l.up->isEnabled());
        // The other switches are on: back and a new folder are there.
        EXPECT_TRUE(l.back->isEnabled());
        EXPECT_TRUE(l.newFolder->isEnabled());
        EXPECT_TRUE(l.lookIn->isEnabled());

        // The picture of the current file is previewed.
        l.Select(QStringLiteral("a.bmp"));
        auto* size = l.dlg->findChild<QLabel*>(QStringLiteral("previewSize"));
        auto* pic = l.dlg->findChild<QLabel*>(QStringLiteral("previewPicture"));
        ASSERT_TRUE(size && pic);
        EXPECT_EQ(size->text(), QStringLiteral("140 x 70"));
        EXPECT_FALSE(pic->pixmap().isNull());
        if (const QString dir = qEnvironmentVariable("POLY_TEST_PICTURES"); !dir.isEmpty())
            l.dlg->grab().save(dir + QStringLiteral("/open_picture_dialog.png"));
        l.Select(QStringLiteral("b.jpg"));
        EXPECT_EQ(size->text(), QStringLiteral("140 x 70"));
        static_cast<QDialog*>(l.dlg)->accept();
    });
    EXPECT_TRUE(ok);
    EXPECT_EQ(d.FileName, sheets + QStringLiteral("/b.jpg"));
    EXPECT_EQ(d.FilterIndex, 3);
    EXPECT_TRUE(qtBoxes.isEmpty());
}

// The soccer game's dialogs: everything taken away but the size.
TEST_F(FileDialogTest, EverySwitchOff)
{
    TMySaveDialog d;
    d.InitialDir = sheets;
    d.Filter = QStringLiteral("過去リプレイ(*.rpz)|*.rpz");
    d.DefaultExt = QStringLiteral("rpz");
    d.DirChangeBox = d.DirCreateBtn = d.DirUpBtn = d.DirPrevBtn = d.DirEditBox = d.DirEditPath = d.ListMenu = d.ListChangeFN = false;
    const bool ok = Run(d, [&](Live& l) {
        EXPECT_FALSE(l.lookIn->isEnabled());
        EXPECT_FALSE(l.sidebar->isEnabled());
        EXPECT_FALSE(l.newFolder->isEnabled());
        EXPECT_FALSE(l.up->isEnabled());
        EXPECT_EQ(l.types->currentText(), QStringLiteral("過去リプレイ(*.rpz)"));

        // Going into a folder is allowed; back, new folder and the folder box stay off.
        l.Enter(QStringLiteral("sub"));
        EXPECT_FALSE(l.back->isEnabled());
        EXPECT_FALSE(l.newFolder->isEnabled());
        EXPECT_FALSE(l.lookIn->isEnabled());
        l.Key(l.list, Qt::Key_Left, Qt::AltModifier);
        l.Key(l.list, Qt::Key_H, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(l.Dir(), sheets + QStringLiteral("/sub"));
        l.up->click();
        EXPECT_EQ(l.Dir(), sheets);

        // The list refuses its menu with a warning, and Delete deletes nothing.
        l.Select(QStringLiteral("goal.rpz"));
        const QPoint at = l.list->visualRect(l.list->currentIndex()).center();
        // A real right click, through the window as the system delivers it.
        QTest::mouseClick(l.dlg->windowHandle(), Qt::RightButton, {}, l.list->viewport()->mapTo(l.dlg, at));
        l.MenuKey();
        ASSERT_EQ(rec.Boxes().size(), 2u);
        EXPECT_EQ(rec.Boxes()[0].text, QStringLiteral("右クリックメニューは表示できません。\r\n\r\nファイルの操作（移動，コピー，削除，名前の変更など）は，\r\n編集モードの［素材ファイルの整理］で行って下さい。"));
        EXPECT_EQ(rec.Boxes()[0].type, TMsgDlgType::mtWarning);
        EXPECT_EQ(rec.BeepCount(MB_ICONASTERISK), 2);
        l.Key(l.list, Qt::Key_Delete);
        l.Key(l.types, Qt::Key_Delete); // Qt's Delete works anywhere in the window
        l.Key(l.list, Qt::Key_F2);
        EXPECT_FALSE(Editing(l.list));
        EXPECT_TRUE(QFile::exists(sheets + QStringLiteral("/goal.rpz")));

        // Typed paths are cleaned shortly after each key.
        l.edit->clear();
        l.edit->setFocus();
        QTest::keyClicks(l.edit, QStringLiteral("..\\a:b"));
        clock.Advance(10);
        EXPECT_EQ(l.edit->text(), QStringLiteral(".ab"));
        // Editing keys are refused in the box, and so is its menu.
        l.Key(l.edit, Qt::Key_Backspace);
        l.Key(l.edit, Qt::Key_A, Qt::ControlModifier);
        l.Key(l.edit, Qt::Key_Insert, Qt::ShiftModifier);
        EXPECT_EQ(l.edit->text(), QStringLiteral(".ab"));
        QContextMenuEvent editMenu(QContextMenuEvent::Keyboard, QPoint(2, 2), l.edit->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(l.edit, &editMenu);
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
        // The home folder cannot be typed either, and OK right after the keys reads the cleaned name.
        l.edit->selectAll();
        QTest::keyClicks(l.edit, QStringLiteral("~"));
        QTest::keyClick(l.edit, Qt::Key_Return);
        EXPECT_EQ(l.Dir(), sheets);
        EXPECT_TRUE(l.dlg->isVisible());
        l.edit->selectAll();
        QTest::keyClicks(l.edit, QStringLiteral("/tmp/x"));
        QTest::keyClick(l.edit, Qt::Key_Return);
    });
    EXPECT_TRUE(ok);
    EXPECT_EQ(d.FileName, sheets + QStringLiteral("/tmpx.rpz"));
    EXPECT_TRUE(qtBoxes.isEmpty()) << qtBoxes.join(QLatin1Char('|')).toStdString();

    // The keyboard behaves as before once the dialog has closed.
    QLineEdit other;
    other.show();
    QApplication::setActiveWindow(&other);
    other.setFocus();
    QTest::keyClicks(&other, QStringLiteral("abc"));
    QTest::keyClick(&other, Qt::Key_Backspace);
    QTest::keyClick(&other, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(other.text(), QStringLiteral("ab"));
    EXPECT_EQ(other.selectedText(), QStringLiteral("ab"));
}

TEST_F(FileDialogTest, NameBoxWithoutEditing)
{
    TMyOpenDialog d;
    Setup(d);
    d.DirEditBox = false;
    d.FileName = QStringLiteral("a.bmp");
    Run(d, [&](Live& l) {
        l.edit->setFocus();
        QTest::keyClicks(l.edit, QStringLiteral("zz"));
        l.Key(l.edit, Qt::Key_Backspace);
        EXPECT_EQ(l.edit->text(), QStringLiteral("a.bmp"));
        // The list's file operations are still there: its menu opens, with rename.
        l.Select(QStringLiteral("a.bmp"));
        l.MenuKey();
        ASSERT_EQ(menus.size(), 1);
        EXPECT_TRUE(menus[0].contains(QStringLiteral("qt_rename_action+"))) << menus[0].toStdString();
        EXPECT_TRUE(rec.records.empty());
    });
}

TEST_F(FileDialogTest, NoRenamingInTheList)
{
    TMyOpenDialog d;
    Setup(d);
    d.ListChangeFN = false;
    Run(d, [&](Live& l) {
        l.Select(QStringLiteral("a.bmp"));
        l.Key(l.list, Qt::Key_F2);
        EXPECT_FALSE(Editing(l.list));
        l.MenuKey();
        ASSERT_EQ(menus.size(), 1);
        EXPECT_TRUE(menus[0].contains(QStringLiteral("qt_rename_action-"))) << menus[0].toStdString();
        EXPECT_TRUE(menus[0].contains(QStringLiteral("qt_delete_action+"))) << menus[0].toStdString();
    });
    EXPECT_TRUE(QFile::exists(sheets + QStringLiteral("/a.bmp")));
}

// Deleting from the list puts the entries into the desktop's trash, a folder with all it holds; where
// the trash cannot take them, nothing is deleted and the user is told.
TEST_F(FileDialogTest, DeletionGoesToTheTrash)
{
    const QString data = tmp.path() + QStringLiteral("/data");
    const QByteArray oldData = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(data));
    const QString trash = data + QStringLiteral("/Trash/files");
    TMyOpenDialog d;
    Setup(d);
    Run(d, [&](Live& l) {
        // No: nothing happens.
        rec.answers = {idNo};
        l.Select(QStringLiteral("sub"));
        l.Key(l.list, Qt::Key_Delete);
        ASSERT_EQ(rec.Boxes().size(), 1u);
        EXPECT_EQ(rec.Boxes()[0].text, QStringLiteral("「sub」をごみ箱に移動しますか？"));
        EXPECT_TRUE(QFile::exists(sheets + QStringLiteral("/sub/c.bmp")));
        // Yes: the folder tree is in the trash, whole.
        rec.answers = {idYes};
        l.Select(QStringLiteral("sub"));
        l.Key(l.list, Qt::Key_Delete);
        EXPECT_FALSE(QFileInfo::exists(sheets + QStringLiteral("/sub")));
        EXPECT_TRUE(QFile::exists(trash + QStringLiteral("/sub/c.bmp")));
        EXPECT_TRUE(QFileInfo(trash + QStringLiteral("/sub/deeper")).isDir());
        // A trash that cannot be made: the file stays, with a warning.
        QDir(data).removeRecursively();
        QDir().mkpath(data);
        WriteFile(data + QStringLiteral("/Trash"), "not a folder");
        rec.Clear();
        rec.answers = {idYes};
        l.Select(QStringLiteral("a.bmp"));
        l.Key(l.list, Qt::Key_Delete);
        EXPECT_TRUE(QFile::exists(sheets + QStringLiteral("/a.bmp")));
        ASSERT_EQ(rec.Boxes().size(), 2u);
        EXPECT_TRUE(rec.Boxes()[1].text.startsWith(QStringLiteral("ごみ箱に移動できませんでした。削除はしていません。")));
    });
    EXPECT_TRUE(qtBoxes.isEmpty()) << qtBoxes.join(QLatin1Char('|')).toStdString();
    qputenv("XDG_DATA_HOME", oldData);
}

// The editor's save dialog: its type-change and close-check events.
TEST_F(FileDialogTest, SavePictureEvents)
{
    TMySavePictureDialog d;
    Setup(d);
    d.FilterIndex = 2;
    d.FileName = sheets + QStringLiteral("/x.jpg");
    std::vector<int> typeChanges;
    d.OnTypeChange = [&] {
        typeChanges.push_back(d.FilterIndex);
        const QString ext = d.FilterIndex == 1 ? QStringLiteral(".bmp") : d.FilterIndex == 2 ? QStringLiteral(".jpg") : QString();
        if (ext.isEmpty()) return;
        QString name = d.FileNameText();
        const int dot = name.lastIndexOf(QLatin1Char('.'));
        if (dot >= 0) name.truncate(dot);
        d.SetFileNameText(name + ext);
    };
    int asked = 0;
    d.OnCanClose = [&](bool& can) {
        ++asked;
        can = !QFile::exists(d.FileName);
    };
    const QString old = d.FileName;
    bool ok = Run(d, [&](Live& l) {
        EXPECT_EQ(l.edit->text(), QStringLiteral("x.jpg"));
        l.Key(l.types, Qt::Key_Down); // "全種類": the name stays
        EXPECT_EQ(l.edit->text(), QStringLiteral("x.jpg"));
        l.Key(l.types, Qt::Key_Up);
        l.Key(l.types, Qt::Key_Up); // BMP
        EXPECT_EQ(l.edit->text(), QStringLiteral("x.bmp"));
        // An existing file is refused by the close check; the dialog stays.
        l.edit->setText(QStringLiteral("a.bmp"));
        static_cast<QDialog*>(l.dlg)->accept();
        EXPECT_TRUE(l.dlg->isVisible());
        // A folder changes nothing in the typed name of a save dialog.
        l.Enter(QStringLiteral("sub"));
        EXPECT_EQ(l.edit->text(), QStringLiteral("a.bmp"));
        // The preview is there as in the open dialog.
        EXPECT_NE(l.dlg->findChild<QLabel*>(QStringLiteral("previewPicture")), nullptr);
    });
    EXPECT_FALSE(ok);
    EXPECT_EQ(d.FileName, old);
    EXPECT_EQ(typeChanges, (std::vector<int>{3, 2, 1}));
    EXPECT_EQ(d.FilterIndex, 1); // kept for the caller to put back
    EXPECT_EQ(asked, 1);

    ok = Run(d, [&](Live& l) {
        l.edit->setText(QStringLiteral("new"));
        static_cast<QDialog*>(l.dlg)->accept();
    });
    EXPECT_TRUE(ok);
    EXPECT_EQ(d.FileName, sheets + QStringLiteral("/new.bmp"));
    EXPECT_TRUE(qtBoxes.isEmpty());
}

TEST_F(FileDialogTest, KeepSizePlacement)
{
    TMyOpenDialog d;
    Setup(d);
    QSize shownSize;
    Run(d, [&](Live& l) {
        shownSize = l.dlg->size();
        const QRect m = QGuiApplication::primaryScreen()->geometry();
        EXPECT_EQ(l.dlg->pos(), QPoint(m.left() + (m.width() - shownSize.width()) / 2, m.top() + (m.height() - shownSize.height()) / 3));
        EXPECT_EQ(shownSize, l.dlg->sizeHint());
        // Sizing stays possible afterwards.
        l.dlg->resize(shownSize + QSize(40, 30));
        QApplication::processEvents();
        EXPECT_EQ(l.dlg->size(), shownSize + QSize(40, 30));
    });
    EXPECT_FALSE(shownSize.isEmpty());
}

TEST_F(FileDialogTest, QtKeepsNoSettingsFile)
{
    const QString config = g_isolated + QStringLiteral("/config");
    // Qt's own dialog writes its settings right here...
    delete new QFileDialog;
    ASSERT_FALSE(FilesUnder(config).isEmpty());
    QDir(config).removeRecursively();
    QDir().mkpath(config);
    // ...ours, open and save, do not.
    TMyOpenPictureDialog open;
    Setup(open);
    Run(open, [&](Live& l) { l.Enter(QStringLiteral("sub")); });
    TMySaveDialog save;
    Setup(save);
    Run(save, [&](Live& l) {
        l.edit->setText(QStringLiteral("z"));
        static_cast<QDialog*>(l.dlg)->accept();
    });
    EXPECT_TRUE(FilesUnder(config).isEmpty()) << FilesUnder(config).join(QLatin1Char(' ')).toStdString();
    EXPECT_TRUE(FilesUnder(g_isolated + QStringLiteral("/home")).isEmpty());
}

} // namespace
