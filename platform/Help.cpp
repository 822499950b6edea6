#include "Help.h"

namespace {
std::function<void(QWidget*, const QString&)> g_viewer;
}

void SetHelpViewer(std::function<void(QWidget*, const QString&)> viewer)
{
    g_viewer = std::move(viewer);
}

void HtmlHelpDisplay(QWidget* owner, const QString& chmFile)
{
    if (g_viewer) g_viewer(owner, chmFile);
}
