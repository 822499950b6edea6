#pragma once
// The help window: the pages of a compiled help file in a browser, its table of contents on the
// left, and back, forward and contents buttons above.
#include "ChmArchive.h"
#include <QMainWindow>
#include <QTextBrowser>
#include <QUrl>

class QAction;
class QSplitter;
class QTreeWidget;
class QTreeWidgetItem;

// A browser that takes every page, style sheet and picture from the help file, and nothing from
// anywhere else: a page of the file can never reach the disk or the network.
class HelpBrowser : public QTextBrowser {
    Q_OBJECT
public:
    explicit HelpBrowser(QWidget* parent = nullptr);
    void SetArchive(const ChmArchive* archive) { m_archive = archive; }
    // The page "/index.html" of the file as a URL of the browser, and back.
    static QUrl UrlOf(const QString& path);
    QVariant loadResource(int type, const QUrl& name) override;

public slots:
    void home() override;

signals:
    void HomeRequested();

private:
    const ChmArchive* m_archive = nullptr;
};

class HelpWindow : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kMaxPictureSide = 4096;

    explicit HelpWindow(QWidget* parent = nullptr);
    ~HelpWindow() override;

    // Reads the file and shows its default topic, or a plain message when it cannot be shown.
    bool OpenFile(const QString& chmFile);
    QString FileName() const { return m_file; }
    bool IsOpen() const { return m_archive.IsOpen(); }
    // The default topic again (the "目次" button).
    void GoHome();
    // Shows a page of the file ("/pk.html", "pk.html#rules"), or a link from the current page.
    void ShowPage(const QUrl& url);

    // The message shown instead of the help, empty while the help is shown.
    QString FailureText() const { return m_failure; }
    HelpBrowser* Browser() const { return m_browser; }
    QTreeWidget* ContentsList() const { return m_contents; }
    QAction* BackAction() const { return m_back; }
    QAction* ForwardAction() const { return m_forward; }
    QAction* HomeAction() const { return m_home; }

    static QString DefaultTitle();

private:
    void ShowFailure(const QString& message);
    void FillContents();
    void SyncContents(const QUrl& url);
    void OnLink(const QUrl& url);
    void OnContentsItem(QTreeWidgetItem* item);

    ChmArchive m_archive;
    QString m_file;
    QString m_failure;
    QUrl m_homeUrl;
    HelpBrowser* m_browser = nullptr;
    QTreeWidget* m_contents = nullptr;
    QSplitter* m_split = nullptr;
    QAction* m_back = nullptr;
    QAction* m_forward = nullptr;
    QAction* m_home = nullptr;
    bool m_syncing = false;
};
