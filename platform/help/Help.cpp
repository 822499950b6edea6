#include "Help.h"

#include "HelpWindow.h"

#include <QPointer>
#include <QWindow>

namespace {
std::function<void(QWidget*, const QString&)> g_viewer;
QPointer<HelpWindow> g_window;
}

void SetHelpViewer(std::function<void(QWidget*, const QString&)> viewer)
{
    g_viewer = std::move(viewer);
}

HelpWindow* CurrentHelpWindow()
{
    return g_window;
}

void HtmlHelpDisplay(QWidget* owner, const QString& chmFile)
{
    if (g_viewer) {
        g_viewer(owner, chmFile);
        return;
    }
    HelpWindow* w = g_window;
    if (!w) {
        w = new HelpWindow;
        g_window = w;
        w->OpenFile(chmFile);
    } else if (w->FileName() != chmFile || !w->IsOpen()) {
        w->OpenFile(chmFile);
    } else if (!w->isVisible()) {
        w->GoHome();
    }
    // The window belongs to the form that asked for it, as help windows do: it stays above that
    // form and, above all, is not shut out while that form runs modally.
    w->winId();
    if (owner && owner->window()->windowHandle()) w->windowHandle()->setTransientParent(owner->window()->windowHandle());
    w->show();
    w->raise();
    w->activateWindow();
}
