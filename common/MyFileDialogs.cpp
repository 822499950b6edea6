#include "MyFileDialogs.h"

#include "Clock.h"
#include "Dialogs.h"
#include "PictureFile.h"
#include "Trash.h"
#include <QAbstractItemView>
#include <QAbstractProxyModel>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPointer>
#include <QScreen>
#include <QSettings>
#include <QShortcut>
#include <QSplitter>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

// ---------------------------------------------------------------------------------------------
// File-name clean-up

namespace {
TFileNameCleanup g_cleanup = TFileNameCleanup::GameProgram;
std::function<void(TMyFileDialog&)> g_testHook;

QString collapseDots(QString s)
{
    // One pass can leave ".." behind ("..." gives ".."), so repeat until none is left.
    while (s.contains(QLatin1String("..")))
        s.replace(QLatin1String(".."), QLatin1String("."));
    return s;
}
} // namespace

void SetFileNameCleanup(TFileNameCleanup rules)
{
    g_cleanup = rules;
}

TFileNameCleanup FileNameCleanup()
{
    return g_cleanup;
}

QString CleanFileName(const QString& text, TFileNameCleanup rules)
{
    QString s = text;
    s.remove(QLatin1Char('\\'));
    s = collapseDots(s);
    if (rules == TFileNameCleanup::GameProgram) {
        for (const QChar c : {u'/', u':', u'*', u'?', u'"', u'<', u'>', u'|'})
            s.remove(c);
        // Qt's dialog reads a name that starts with "~" as the home folder.
        while (s.startsWith(QLatin1Char('~')))
            s.remove(0, 1);
        // Removing characters can bring two dots together again.
        s = collapseDots(s);
    }
    return s;
}

void CleanFileNameEdit(QLineEdit* box, TFileNameCleanup rules)
{
    if (!box) return;
    const QString text = box->text();
    const QString cleaned = CleanFileName(text, rules);
    if (cleaned == text) return;
    int start = box->selectionStart();
    int end = start < 0 ? -1 : start + int(box->selectedText().size());
    if (start < 0) start = end = box->cursorPosition();
    box->setText(cleaned);
    // The selection goes back where it was, within the shorter text.
    const int len = int(cleaned.size());
    start = std::min(start, len);
    end = std::min(end, len);
    if (end > start) box->setSelection(start, end - start);
    else box->setCursorPosition(start);
}

// ---------------------------------------------------------------------------------------------
// Helpers

namespace {

// The preview only glances at a file the user points at: a larger one shows no picture.
constexpr qint64 kMaxPreviewBytes = 64LL << 20;

// Qt's file dialog keeps its history, bookmarks and last folder with QSettings under "QtProject"
// and reads them back when built. Our programs keep and read no settings, so while a dialog is
// built and destroyed QSettings points at a folder that can never be created.
class NoQtDialogSettings {
public:
    NoQtDialogSettings()
    {
        for (Slot& s : m_slots) {
            s.path = QFileInfo(QSettings(s.format, s.scope, QStringLiteral("polycolo-settings-probe")).fileName()).absolutePath();
            QSettings::setPath(s.format, s.scope, QStringLiteral("/dev/null"));
        }
    }
    ~NoQtDialogSettings()
    {
        for (const Slot& s : m_slots)
            QSettings::setPath(s.format, s.scope, s.path);
    }
    NoQtDialogSettings(const NoQtDialogSettings&) = delete;
    NoQtDialogSettings& operator=(const NoQtDialogSettings&) = delete;

private:
    struct Slot {
        QSettings::Format format;
        QSettings::Scope scope;
        QString path;
    };
    Slot m_slots[4] = {{QSettings::NativeFormat, QSettings::UserScope, {}},
                       {QSettings::IniFormat, QSettings::UserScope, {}},
                       {QSettings::NativeFormat, QSettings::SystemScope, {}},
                       {QSettings::IniFormat, QSettings::SystemScope, {}}};
};

struct FilterItem {
    QString description;
    QStringList patterns;
};

// "desc|p1;p2|desc|p" as pairs.
std::vector<FilterItem> parseFilter(const QString& filter)
{
    std::vector<FilterItem> out;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        FilterItem item;
        item.description = parts[i];
        for (const QString& p : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts))
            item.patterns << p.trimmed();
        out.push_back(item);
    }
    return out;
}

// The picture under the list of the picture dialogs: its size and the picture scaled to fit.
class PicturePreview : public QWidget {
public:
    explicit PicturePreview(QWidget* parent) : QWidget(parent)
    {
        setObjectName(QStringLiteral("picturePreview"));
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 4, 0, 0);
        layout->setSpacing(2);
        m_size = new QLabel(this);
        m_size->setObjectName(QStringLiteral("previewSize"));
        m_size->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        m_picture = new QLabel(this);
        m_picture->setObjectName(QStringLiteral("previewPicture"));
        m_picture->setAlignment(Qt::AlignCenter);
        m_picture->setFrameShape(QFrame::StyledPanel);
        m_picture->setMinimumSize(160, 96);
        m_picture->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        layout->addWidget(m_size);
        layout->addWidget(m_picture, 1);
    }

    void SetFile(const QString& path)
    {
        m_image = QImage();
        const QFileInfo fi(path);
        if (fi.isFile()) {
            QByteArray bytes;
            if (ReadWholeFile(path, kMaxPreviewBytes, bytes)) {
                // The same rule as the sheets: ".jpg" is JPEG, anything else a bitmap file.
                if (fi.suffix().toLower() == QLatin1String("jpg")) DecodeJpeg(bytes, m_image);
                else DecodeBmp(bytes, m_image);
            }
        }
        m_size->setText(m_image.isNull() ? QString() : QStringLiteral("%1 x %2").arg(m_image.width()).arg(m_image.height()));
        refresh();
    }

protected:
    void resizeEvent(QResizeEvent* e) override
    {
        QWidget::resizeEvent(e);
        refresh();
    }

private:
    void refresh()
    {
        if (m_image.isNull()) {
            m_picture->clear();
            return;
        }
        const QSize box = m_picture->contentsRect().size() - QSize(4, 4);
        QSize s = m_image.size();
        if (s.width() > box.width() || s.height() > box.height()) s.scale(box, Qt::KeepAspectRatio);
        if (s.isEmpty()) {
            m_picture->clear();
            return;
        }
        m_picture->setPixmap(QPixmap::fromImage(m_image.scaled(s, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
    }

    QLabel* m_size;
    QLabel* m_picture;
    QImage m_image;
};

// Qt's own dialog with the three moments the family needs: shown, about to accept (typed text is
// cleaned first), and accepted (the caller may keep it open).
class FamilyFileDialog : public QFileDialog {
public:
    explicit FamilyFileDialog(QWidget* parent) : QFileDialog(parent) {}
    std::function<void()> onShown;
    std::function<void()> beforeAccept;
    std::function<bool()> mayClose;

    void accept() override
    {
        if (beforeAccept) beforeAccept();
        QFileDialog::accept();
    }
    void done(int r) override
    {
        if (r == QDialog::Accepted && mayClose && !mayClose()) return;
        QFileDialog::done(r);
    }

protected:
    void showEvent(QShowEvent* e) override
    {
        QFileDialog::showEvent(e);
        if (!m_shown) {
            m_shown = true;
            if (onShown) onShown();
        }
    }

private:
    bool m_shown = false;
};

bool isEditingKey(const QKeyEvent* ke)
{
    const int k = ke->key();
    if (k == Qt::Key_Backspace || k == Qt::Key_Delete) return true;
    if ((ke->modifiers() & Qt::ControlModifier) && (k == Qt::Key_A || k == Qt::Key_C || k == Qt::Key_V || k == Qt::Key_X || k == Qt::Key_Z))
        return true;
    // The same operations on Qt's other keys for them (Shift+Insert, Shift+Delete, Ctrl+Insert, ...).
    return ke->matches(QKeySequence::Paste) || ke->matches(QKeySequence::Cut) || ke->matches(QKeySequence::Copy)
        || ke->matches(QKeySequence::Undo) || ke->matches(QKeySequence::SelectAll);
}

QString canonicalDir(const QString& dir)
{
    const QString c = QFileInfo(dir).canonicalFilePath();
    return c.isEmpty() ? QDir::cleanPath(QFileInfo(dir).absoluteFilePath()) : c;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// One run of a dialog: everything that lives from Execute until the dialog closes.

struct TMyFileDialog::Run : public QObject {
    Run(TMyFileDialog& owner, FamilyFileDialog* dialog, bool save, bool preview);
    ~Run() override;

    void Setup();
    void Shown();
    void Close();

    bool eventFilter(QObject* o, QEvent* e) override;

    bool UpAllowed() const;
    bool MayEnable(const QWidget* w) const;
    void ApplyVetoes();
    void FolderChanged();
    void TypeActivated(int index);
    void StartClean();
    void CleanTimer();
    void RefuseListMenu();
    void SendDeletionsToTrash();
    void TrashSelected();
    bool IsView(const QObject* o) const;
    QScreen* MainFormScreen() const;

    TMyFileDialog& d;
    FamilyFileDialog* dlg;
    bool save;
    bool keyboardHook = false;
    bool cleaning = false;
    bool shown = false;
    int lastType = -1;
    QString reference;
    std::vector<FilterItem> filters;

    QPointer<QComboBox> lookIn;
    QPointer<QWidget> sidebar;
    QPointer<QToolButton> back;
    QPointer<QToolButton> up;
    QPointer<QToolButton> newFolder;
    QPointer<QListView> list;
    QPointer<QTreeView> tree;
    QPointer<QLineEdit> edit;
    QPointer<QComboBox> types;
    QPointer<QFileSystemModel> model;
    QPointer<QAction> goHome;
    QPointer<QAction> goParent;
    QPointer<QAction> rename;
    PicturePreview* preview = nullptr;
    GameTimer* cleanTimer = nullptr;
};

TMyFileDialog::Run::Run(TMyFileDialog& owner, FamilyFileDialog* dialog, bool s, bool withPreview) : d(owner), dlg(dialog), save(s)
{
    lookIn = dlg->findChild<QComboBox*>(QStringLiteral("lookInCombo"));
    sidebar = dlg->findChild<QWidget*>(QStringLiteral("sidebar"));
    back = dlg->findChild<QToolButton*>(QStringLiteral("backButton"));
    up = dlg->findChild<QToolButton*>(QStringLiteral("toParentButton"));
    newFolder = dlg->findChild<QToolButton*>(QStringLiteral("newFolderButton"));
    list = dlg->findChild<QListView*>(QStringLiteral("listView"));
    tree = dlg->findChild<QTreeView*>(QStringLiteral("treeView"));
    edit = dlg->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    types = dlg->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    model = dlg->findChild<QFileSystemModel*>(QStringLiteral("qt_filesystem_model"));
    rename = dlg->findChild<QAction*>(QStringLiteral("qt_rename_action"));
    for (QAction* a : dlg->actions()) {
        if (a->shortcut() == QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_H)) goHome = a;
        else if (a->shortcut() == QKeySequence(Qt::CTRL | Qt::Key_Up)) goParent = a;
    }
    if (withPreview) preview = new PicturePreview(dlg);
}

TMyFileDialog::Run::~Run()
{
    Close();
}

void TMyFileDialog::Run::Setup()
{
    // The combo shows the descriptions as the caller wrote them.
    dlg->setOption(QFileDialog::HideNameFilterDetails, true);
    // Overwrite questions are the callers' own (their close check).
    dlg->setOption(QFileDialog::DontConfirmOverwrite, true);
    dlg->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg->setFileMode(!save && (d.Options & ofFileMustExist) ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dlg->setViewMode(QFileDialog::List);
    if (!d.Title.isEmpty()) dlg->setWindowTitle(d.Title);
    dlg->setSizeGripEnabled(d.Options & ofEnableSizing);

    filters = parseFilter(d.Filter);
    QStringList names;
    for (const FilterItem& f : filters)
        names << f.description + QStringLiteral(" (") + f.patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    if (!names.isEmpty()) {
        // Chosen before the file name is set: Qt's own filter change rewrites a typed extension.
        dlg->setNameFilters(names);
        lastType = (d.FilterIndex >= 1 && d.FilterIndex <= int(names.size())) ? d.FilterIndex - 1 : 0;
        dlg->selectNameFilter(names[lastType]);
    }
    QString ext = d.DefaultExt;
    if (ext.startsWith(QLatin1Char('.'))) ext.remove(0, 1);
    dlg->setDefaultSuffix(ext);

    QString start = d.InitialDir;
    if (start.isEmpty() || !QFileInfo(start).isDir()) start = QDir::currentPath();
    dlg->setDirectory(start);
    if (!d.FileName.isEmpty()) {
        const QFileInfo fi(d.FileName);
        if (fi.isAbsolute() && !QFileInfo(fi.absolutePath()).isDir()) dlg->selectFile(fi.fileName());
        else dlg->selectFile(d.FileName);
    }
    reference = canonicalDir(start);

    // Folder box and places.
    for (QWidget* w : {static_cast<QWidget*>(lookIn.data()), sidebar.data()})
        if (w) w->setEnabled(d.DirChangeBox);
    if (goHome) goHome->setEnabled(d.DirChangeBox);

    // File list.
    for (QAbstractItemView* v : {static_cast<QAbstractItemView*>(list.data()), static_cast<QAbstractItemView*>(tree.data())}) {
        if (!v) continue;
        if (!d.ListMenu) {
            // Dragging a file onto a folder moves it: a file operation like those of the menu.
            v->setDragDropMode(QAbstractItemView::NoDragDrop);
            for (QShortcut* sc : v->findChildren<QShortcut*>(QString(), Qt::FindDirectChildrenOnly))
                if (sc->key() == QKeySequence(QKeySequence::Delete)) sc->setEnabled(false);
        }
        if (!d.ListChangeFN) v->setEditTriggers(QAbstractItemView::NoEditTriggers);
    }
    if (d.ListMenu) SendDeletionsToTrash();
    if (rename && !d.ListChangeFN) {
        rename->setEnabled(false);
        // The list's menu enables its rename entry each time it opens.
        QObject::connect(rename, &QAction::changed, this, [this] {
            if (rename && rename->isEnabled()) rename->setEnabled(false);
        });
    }

    // File-name box.
    if (edit) {
        edit->setReadOnly(!d.DirEditBox && d.DirEditPath);
        if (!d.DirEditPath) QObject::connect(edit, &QLineEdit::textEdited, this, [this] { StartClean(); });
    }
    if (!d.DirEditPath && list && list->selectionModel())
        QObject::connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { StartClean(); });
    keyboardHook = !d.ListMenu || !d.DirEditPath;
    cleanTimer = new GameTimer(this, 10, false);
    cleanTimer->OnTimer = [this] { CleanTimer(); };

    // File types: the family's own handler in place of Qt's, which would rewrite the typed extension.
    if (types) {
        QObject::disconnect(types, SIGNAL(activated(int)), dlg, nullptr);
        QObject::connect(types, qOverload<int>(&QComboBox::activated), this, [this](int i) { TypeActivated(i); });
    }
    if (model) QObject::connect(model, &QFileSystemModel::rootPathChanged, this, [this] { FolderChanged(); });

    if (preview) {
        // Under the list at the dialog's full width: the sheets are long strips of players.
        auto* splitter = dlg->findChild<QSplitter*>(QStringLiteral("splitter"));
        if (splitter && dlg->layout()) {
            auto* column = new QSplitter(Qt::Vertical, dlg);
            column->setObjectName(QStringLiteral("previewSplitter"));
            column->setChildrenCollapsible(false);
            delete dlg->layout()->replaceWidget(splitter, column);
            column->addWidget(splitter);
            column->addWidget(preview);
            column->setStretchFactor(0, 1);
            column->setStretchFactor(1, 0);
        }
        QObject::connect(dlg, &QFileDialog::currentChanged, this, [this](const QString& path) { preview->SetFile(path); });
        if (!d.FileName.isEmpty()) preview->SetFile(dlg->selectedFiles().value(0));
    }

    ApplyVetoes();
    qApp->installEventFilter(this);

    dlg->resize(dlg->sizeHint());
    if (d.KeepSize) {
        // The size it has now, centred on the main form's monitor and one third down.
        if (QScreen* scr = MainFormScreen()) {
            const QRect m = scr->geometry();
            dlg->move(m.left() + (m.width() - dlg->width()) / 2, m.top() + (m.height() - dlg->height()) / 3);
        }
    }
    dlg->onShown = [this] { Shown(); };
    dlg->beforeAccept = [this] {
        // The typed text is cleaned before the dialog reads it, however quickly OK follows the keys.
        if (!d.DirEditPath && edit) {
            cleaning = true;
            CleanFileNameEdit(edit, FileNameCleanup());
            cleaning = false;
            cleanTimer->SetEnabled(false);
        }
    };
    dlg->mayClose = [this] {
        const QString previous = d.FileName;
        d.FileName = dlg->selectedFiles().value(0);
        if (types && types->currentIndex() >= 0) d.FilterIndex = types->currentIndex() + 1;
        if (!d.OnCanClose) return true;
        bool can = true;
        d.OnCanClose(can);
        if (!can) d.FileName = previous;
        return can;
    };
}

void TMyFileDialog::Run::Shown()
{
    shown = true;
    if (!(d.Options & ofEnableSizing)) dlg->setFixedSize(dlg->size());
    if (d.OnShow) d.OnShow();
    if (g_testHook) {
        QPointer<FamilyFileDialog> guard(dlg);
        QTimer::singleShot(0, dlg, [this, guard] {
            if (guard && g_testHook) g_testHook(d);
        });
    }
}

void TMyFileDialog::Run::Close()
{
    dlg->onShown = nullptr;
    dlg->beforeAccept = nullptr;
    dlg->mayClose = nullptr;
    if (cleanTimer) cleanTimer->SetEnabled(false);
    if (qApp) qApp->removeEventFilter(this);
    keyboardHook = false;
}

bool TMyFileDialog::Run::UpAllowed() const
{
    const QString cur = canonicalDir(dlg->directory().absolutePath());
    if (reference.isEmpty() || cur == reference) return false;
    const QString prefix = reference.endsWith(QLatin1Char('/')) ? reference : reference + QLatin1Char('/');
    return cur.startsWith(prefix);
}

bool TMyFileDialog::Run::MayEnable(const QWidget* w) const
{
    if (!w) return true;
    if (w == lookIn || w == sidebar) return d.DirChangeBox;
    if (w == back) return d.DirPrevBtn;
    if (w == newFolder) return d.DirCreateBtn;
    if (w == up) return d.DirUpBtn || UpAllowed();
    return true;
}

void TMyFileDialog::Run::ApplyVetoes()
{
    for (QWidget* w : {static_cast<QWidget*>(lookIn.data()), sidebar.data(), static_cast<QWidget*>(back.data()),
                       static_cast<QWidget*>(newFolder.data()), static_cast<QWidget*>(up.data())})
        if (w && w->isEnabled() && !MayEnable(w)) w->setEnabled(false);
    if (goParent) goParent->setEnabled(d.DirUpBtn || UpAllowed());
}

void TMyFileDialog::Run::FolderChanged()
{
    ApplyVetoes();
    // A new folder starts with an empty name in the open dialogs; a save dialog keeps what was typed.
    if (shown && !save && edit) edit->clear();
    if (preview) preview->SetFile(QString());
}

void TMyFileDialog::Run::TypeActivated(int index)
{
    if (index < 0 || index >= int(filters.size())) return;
    if (model) model->setNameFilters(filters[size_t(index)].patterns);
    d.FilterIndex = index + 1;
    if (index != lastType) {
        lastType = index;
        if (d.OnTypeChange) d.OnTypeChange();
    }
}

void TMyFileDialog::Run::StartClean()
{
    if (!cleaning && cleanTimer && !cleanTimer->Enabled()) cleanTimer->SetEnabled(true);
}

void TMyFileDialog::Run::CleanTimer()
{
    cleanTimer->SetEnabled(false);
    if (cleaning || d.DirEditPath || !edit) return;
    cleaning = true;
    CleanFileNameEdit(edit, FileNameCleanup());
    cleaning = false;
}

void TMyFileDialog::Run::RefuseListMenu()
{
    MessageBeep(MB_ICONASTERISK);
    MessageDlg(QStringLiteral("右クリックメニューは表示できません。\r\n\r\n"
                              "ファイルの操作（移動，コピー，削除，名前の変更など）は，\r\n"
                              "編集モードの［素材ファイルの整理］で行って下さい。"),
               TMsgDlgType::mtWarning, TMsgButtons::OK, dlg);
}

void TMyFileDialog::Run::SendDeletionsToTrash()
{
    // Qt's dialog deletes for good, and a folder with everything in it; ours puts what the user
    // deletes into the desktop's trash, where it can be restored.
    auto reroute = [this](auto* sender, auto signal) {
        QObject::disconnect(sender, signal, nullptr, nullptr);
        QObject::connect(sender, signal, this, [this] { TrashSelected(); });
    };
    if (auto* del = dlg->findChild<QAction*>(QStringLiteral("qt_delete_action"))) reroute(del, &QAction::triggered);
    for (QAbstractItemView* v : {static_cast<QAbstractItemView*>(list.data()), static_cast<QAbstractItemView*>(tree.data())}) {
        if (!v) continue;
        for (QShortcut* sc : v->findChildren<QShortcut*>(QString(), Qt::FindDirectChildrenOnly))
            if (sc->key() == QKeySequence(QKeySequence::Delete)) reroute(sc, &QShortcut::activated);
    }
}

void TMyFileDialog::Run::TrashSelected()
{
    QAbstractItemView* view = (tree && tree->isVisible()) ? static_cast<QAbstractItemView*>(tree.data()) : list.data();
    if (!view || !view->selectionModel() || !model) return;
    QStringList paths;
    for (QModelIndex index : view->selectionModel()->selectedRows()) {
        if (auto* proxy = qobject_cast<QAbstractProxyModel*>(view->model())) index = proxy->mapToSource(index);
        const QString path = model->filePath(index);
        if (!path.isEmpty()) paths << path;
    }
    if (paths.isEmpty()) return;
    const QString names = paths.size() == 1 ? QFileInfo(paths[0]).fileName() : QStringLiteral("%1 個の項目").arg(paths.size());
    MessageBeep(MB_ICONQUESTION);
    if (MessageDlg(QStringLiteral("「%1」をごみ箱に移動しますか？").arg(names), TMsgDlgType::mtConfirmation, TMsgButtons::YesNo, dlg) != idYes)
        return;
    QStringList failed;
    for (const QString& path : paths)
        if (!MoveToTrash(path)) failed << QFileInfo(path).fileName();
    if (failed.isEmpty()) return;
    MessageBeep(MB_ICONASTERISK);
    MessageDlg(QStringLiteral("ごみ箱に移動できませんでした。削除はしていません。\n\n%1").arg(failed.join(QLatin1Char('\n'))),
               TMsgDlgType::mtWarning, TMsgButtons::OK, dlg);
}

bool TMyFileDialog::Run::IsView(const QObject* o) const
{
    return o && ((list && (o == list || o == list->viewport())) || (tree && (o == tree || o == tree->viewport())));
}

QScreen* TMyFileDialog::Run::MainFormScreen() const
{
    QWidget* owner = qobject_cast<QWidget*>(d.parent());
    if (!owner) owner = QApplication::activeWindow();
    if (owner && owner->window()->screen()) return owner->window()->screen();
    return QGuiApplication::primaryScreen();
}

bool TMyFileDialog::Run::eventFilter(QObject* o, QEvent* e)
{
    switch (e->type()) {
    case QEvent::EnabledChange: {
        // Qt enables its buttons on every folder change; a switch keeps them off.
        auto* w = qobject_cast<QWidget*>(o);
        if (w && w->isEnabled() && !MayEnable(w)) w->setEnabled(false);
        break;
    }
    case QEvent::ContextMenu:
        if (IsView(o) && !d.ListMenu) {
            RefuseListMenu();
            return true;
        }
        if (edit && o == edit && (!d.DirEditPath || !d.DirEditBox)) return true;
        break;
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress: {
        auto* ke = static_cast<QKeyEvent*>(e);
        // A key reaches the focus widget first, then travels up to its parents; it is judged once.
        // While the name completion list is open, the box's keys arrive there first.
        QWidget* focus = QApplication::focusWidget();
        const QObject* receiver = o;
        if (edit && edit->completer() && o == edit->completer()->popup()) receiver = edit;
        if (receiver != focus) break;
        if (keyboardHook) {
            const bool onList = !d.ListMenu && (focus == list || focus == tree);
            const bool onEdit = !d.DirEditBox && edit && focus == edit;
            if ((onList || onEdit) && isEditingKey(ke)) {
                e->accept();
                return true;
            }
            if (!d.DirEditPath && edit && focus == edit) StartClean();
        }
        // Qt's own navigation keys in the list follow the same switches as the buttons.
        if (e->type() == QEvent::KeyPress && (focus == list || focus == tree)) {
            if (ke->key() == Qt::Key_Backspace && !(d.DirUpBtn || UpAllowed())) return true;
            const bool backKey = ke->key() == Qt::Key_Back || (ke->key() == Qt::Key_Left && ke->modifiers() == Qt::AltModifier);
            if (backKey && !d.DirPrevBtn) return true;
        }
        break;
    }
    case QEvent::KeyRelease:
        if (keyboardHook && !d.DirEditPath && edit && o == edit && QApplication::focusWidget() == edit) StartClean();
        break;
    default:
        break;
    }
    return false;
}

// ---------------------------------------------------------------------------------------------
// The family

TMyFileDialog::TMyFileDialog(QWidget* owner, Kind kind, bool picturePreview) : QObject(owner), m_kind(kind), m_preview(picturePreview)
{
}

TMyFileDialog::~TMyFileDialog() = default;

void TMyFileDialog::SetTestHook(std::function<void(TMyFileDialog&)> hook)
{
    g_testHook = std::move(hook);
}

QFileDialog* TMyFileDialog::Dialog() const
{
    return m_run ? m_run->dlg : nullptr;
}

QString TMyFileDialog::FileNameText() const
{
    return m_run && m_run->edit ? m_run->edit->text() : QString();
}

void TMyFileDialog::SetFileNameText(const QString& text)
{
    if (m_run && m_run->edit) m_run->edit->setText(text);
}

bool TMyFileDialog::Execute()
{
    if (m_run) return false;
    QWidget* owner = qobject_cast<QWidget*>(parent());
    QWidget* parentWindow = owner ? owner->window() : QApplication::activeWindow();

    FamilyFileDialog* dlg;
    {
        // Qt builds its widgets (and reads its settings) as soon as it knows it is not the system's
        // dialog; both happen here, before the parts are looked up.
        NoQtDialogSettings noSettings;
        dlg = new FamilyFileDialog(parentWindow);
        dlg->setOption(QFileDialog::DontUseNativeDialog, true);
    }
    m_run = std::make_unique<Run>(*this, dlg, m_kind == Kind::Save, m_preview);
    m_run->Setup();
    const int r = dlg->exec();
    m_run->Close();
    if (OnClose) OnClose();
    m_run.reset();
    {
        NoQtDialogSettings noSettings;
        delete dlg;
    }
    return r == QDialog::Accepted;
}
