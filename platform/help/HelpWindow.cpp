#include "HelpWindow.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QFileInfo>
#include <QHeaderView>
#include <QImageReader>
#include <QSplitter>
#include <QStyle>
#include <QTextDocument>
#include <QToolBar>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QWindow>

#include <algorithm>

namespace {

const char* const kScheme = "chm";
constexpr int kUrlRole = Qt::UserRole;

QString PageFont()
{
    return QStringLiteral("ＭＳ Ｐゴシック");
}

QString MessagePage(const QString& heading, const QStringList& lines)
{
    QString html = QStringLiteral("<html><body style=\"font-family: '%1'; font-size: 11pt;\">"
                                  "<p style=\"font-size: 14pt; font-weight: bold; color: #8d3b00;\">%2</p>")
                       .arg(PageFont(), heading.toHtmlEscaped());
    for (const QString& line : lines) html += QStringLiteral("<p>%1</p>").arg(line.toHtmlEscaped());
    return html + QStringLiteral("</body></html>");
}

}  // namespace

// -------------------------------------------------------------------------------------------------

HelpBrowser::HelpBrowser(QWidget* parent) : QTextBrowser(parent)
{
    // Links are followed by the window, which keeps them inside the help file.
    setOpenLinks(false);
    setOpenExternalLinks(false);
}

QUrl HelpBrowser::UrlOf(const QString& path)
{
    QUrl url;
    url.setScheme(QString::fromLatin1(kScheme));
    const qsizetype hash = path.indexOf(QLatin1Char('#'));
    QString file = hash < 0 ? path : path.left(hash);
    if (!file.startsWith(QLatin1Char('/'))) file.prepend(QLatin1Char('/'));
    url.setPath(file);
    if (hash >= 0) url.setFragment(path.mid(hash + 1));
    return url;
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name)
{
    // A value is always returned, even an empty one: a null answer would let the document look
    // for the resource on the local disk itself.
    QUrl url = name;
    if (url.isRelative()) {
        QUrl base = document()->baseUrl();
        if (base.scheme() != QLatin1String(kScheme)) base = source();
        if (base.scheme() != QLatin1String(kScheme)) base = UrlOf(QStringLiteral("/"));
        url = base.resolved(name);
    }
    const bool inFile = m_archive && url.scheme() == QLatin1String(kScheme) && m_archive->Contains(url.path());
    const QByteArray data = inFile ? m_archive->Object(url.path()) : QByteArray();
    switch (type) {
    case QTextDocument::HtmlResource:
        if (inFile) return DecodeHelpPage(data);
        return MessagePage(QStringLiteral("ページが見つかりません"),
                           {QStringLiteral("このページはヘルプファイルの中にありません。"), url.toDisplayString()});
    case QTextDocument::StyleSheetResource:
        return inFile ? DecodeHelpText(data) : QString();
    case QTextDocument::ImageResource: {
        if (!inFile) return QImage();
        QBuffer buffer;
        buffer.setData(data);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer);
        const QSize size = reader.size();
        if (!size.isValid() || size.width() > HelpWindow::kMaxPictureSide || size.height() > HelpWindow::kMaxPictureSide)
            return QImage();
        return reader.read();
    }
    default:
        return QByteArray();
    }
}

void HelpBrowser::home()
{
    emit HomeRequested();
}

// -------------------------------------------------------------------------------------------------

HelpWindow::HelpWindow(QWidget* parent) : QMainWindow(parent)
{
    // The help never keeps the program running: once its other windows are closed the program
    // ends, and the help window goes with it, even when the form that opened it is long gone.
    setAttribute(Qt::WA_QuitOnClose, false);
    connect(qApp, &QCoreApplication::aboutToQuit, this, &QWidget::close);
    setWindowTitle(DefaultTitle());
    setFont(QFont(PageFont(), 10));

    QToolBar* bar = addToolBar(QStringLiteral("移動"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    bar->setIconSize(QSize(18, 18));
    m_back = bar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("戻る"));
    m_forward = bar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("進む"));
    m_home = bar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), QStringLiteral("目次"));
    m_back->setEnabled(false);
    m_forward->setEnabled(false);
    m_home->setEnabled(false);

    m_contents = new QTreeWidget;
    m_contents->setHeaderHidden(true);
    m_contents->setColumnCount(1);
    m_contents->setRootIsDecorated(true);
    m_contents->setUniformRowHeights(true);
    m_contents->setIndentation(16);
    m_contents->setFont(QFont(PageFont(), 11));
    m_contents->setStyleSheet(QStringLiteral("QTreeWidget { background-color: #f6f9f4; border: none; }"
                                             "QTreeWidget::item { padding: 3px 2px; }"
                                             "QTreeWidget::item:selected { background-color: #2e7d32; color: white; }"));

    m_browser = new HelpBrowser;
    m_browser->document()->setDefaultFont(QFont(PageFont(), 11));
    m_browser->document()->setDocumentMargin(14);

    m_split = new QSplitter(Qt::Horizontal);
    m_split->addWidget(m_contents);
    m_split->addWidget(m_browser);
    m_split->setStretchFactor(0, 0);
    m_split->setStretchFactor(1, 1);
    m_split->setChildrenCollapsible(false);
    m_split->setSizes({230, 670});
    setCentralWidget(m_split);
    resize(900, 660);

    connect(m_back, &QAction::triggered, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QAction::triggered, m_browser, &QTextBrowser::forward);
    connect(m_home, &QAction::triggered, this, &HelpWindow::GoHome);
    connect(m_browser, &HelpBrowser::HomeRequested, this, &HelpWindow::GoHome);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::anchorClicked, this, &HelpWindow::OnLink);
    connect(m_browser, &QTextBrowser::sourceChanged, this, &HelpWindow::SyncContents);
    connect(m_contents, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { OnContentsItem(item); });
    connect(m_contents, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) { OnContentsItem(item); });
    connect(m_contents, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) { OnContentsItem(item); });
}

HelpWindow::~HelpWindow()
{
    // The browser must not ask the archive for anything while it is taken down.
    m_browser->SetArchive(nullptr);
}

QString HelpWindow::DefaultTitle()
{
    return QStringLiteral("ポリコロ ヘルプ");
}

bool HelpWindow::OpenFile(const QString& chmFile)
{
    m_file = chmFile;
    m_failure.clear();
    m_browser->SetArchive(nullptr);
    m_syncing = true;
    m_contents->clear();
    m_syncing = false;

    if (!m_archive.Open(chmFile)) {
        ShowFailure(m_archive.Error());
        return false;
    }
    m_homeUrl = HelpBrowser::UrlOf(m_archive.DefaultTopic());
    if (!m_archive.Contains(m_homeUrl.path())) {
        ShowFailure(QStringLiteral("最初に表示するページが、ヘルプファイルの中にありません。"));
        return false;
    }
    m_browser->SetArchive(&m_archive);
    const QString title = m_archive.Title().trimmed();
    setWindowTitle(title.isEmpty() ? DefaultTitle() : title);
    FillContents();
    m_home->setEnabled(true);
    m_browser->setSource(m_homeUrl);
    m_browser->clearHistory();
    return true;
}

void HelpWindow::ShowFailure(const QString& message)
{
    m_failure = message;
    m_archive.Close();
    m_browser->SetArchive(nullptr);
    m_browser->setSource(QUrl());
    m_browser->clearHistory();
    m_browser->setHtml(MessagePage(QStringLiteral("ヘルプを表示できません"),
                                   {QFileInfo(m_file).fileName(), message}));
    m_contents->hide();
    m_back->setEnabled(false);
    m_forward->setEnabled(false);
    m_home->setEnabled(false);
    setWindowTitle(DefaultTitle());
}

void HelpWindow::FillContents()
{
    m_syncing = true;
    m_contents->clear();
    std::vector<QTreeWidgetItem*> parents;   // the last item of each level
    for (const ChmTocEntry& e : m_archive.Contents()) {
        const size_t level = std::min(size_t(e.level), parents.size());
        parents.resize(level);
        QTreeWidgetItem* item = level == 0 ? new QTreeWidgetItem(m_contents) : new QTreeWidgetItem(parents.back());
        item->setText(0, e.name);
        if (!e.local.isEmpty()) {
            const QUrl url = HelpBrowser::UrlOf(QStringLiteral("/")).resolved(QUrl(e.local));
            if (url.scheme() == QLatin1String(kScheme)) item->setData(0, kUrlRole, url);
        }
        parents.push_back(item);
    }
    m_contents->expandAll();
    m_contents->setVisible(m_contents->topLevelItemCount() > 0);
    m_syncing = false;
}

void HelpWindow::GoHome()
{
    if (!m_archive.IsOpen()) return;
    m_browser->setSource(m_homeUrl);
}

void HelpWindow::ShowPage(const QUrl& url)
{
    if (!m_archive.IsOpen()) return;
    QUrl base = m_browser->source();
    if (base.scheme() != QLatin1String(kScheme)) base = m_homeUrl;
    const QUrl target = base.resolved(url);
    // Links that leave the help file are not followed.
    if (target.scheme() != QLatin1String(kScheme)) return;
    m_browser->setSource(target);
}

void HelpWindow::OnLink(const QUrl& url)
{
    ShowPage(url);
}

void HelpWindow::OnContentsItem(QTreeWidgetItem* item)
{
    if (m_syncing || !item) return;
    const QUrl url = item->data(0, kUrlRole).toUrl();
    if (url.isValid() && url != m_browser->source()) ShowPage(url);
}

void HelpWindow::SyncContents(const QUrl& url)
{
    // Marks the contents line of the page shown: the line of this very place, else of the page.
    QTreeWidgetItem* exact = nullptr;
    QTreeWidgetItem* page = nullptr;
    for (QTreeWidgetItemIterator it(m_contents); *it && !exact; ++it) {
        const QUrl itemUrl = (*it)->data(0, kUrlRole).toUrl();
        if (!itemUrl.isValid() || itemUrl.path().compare(url.path(), Qt::CaseInsensitive) != 0) continue;
        if (itemUrl.fragment() == url.fragment()) exact = *it;
        else if (!page && !itemUrl.hasFragment()) page = *it;
    }
    m_syncing = true;
    if (QTreeWidgetItem* item = exact ? exact : page) m_contents->setCurrentItem(item);
    else m_contents->clearSelection();
    m_syncing = false;
}
