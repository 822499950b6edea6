#pragma once
// The help file: a compiled HTML help file, shown in a help window of ours.
#include <QString>
#include <functional>

class QWidget;
class HelpWindow;

// Opens the help window on the file's default topic (a file that exists; the caller checks).
// The program has one help window: a second call raises it, and reads the file again only when it
// is another file or could not be shown before.
void HtmlHelpDisplay(QWidget* owner, const QString& chmFile);
// Tests: record what would be shown instead of opening the window; an empty function restores it.
void SetHelpViewer(std::function<void(QWidget*, const QString&)> viewer);
// The program's help window, or nullptr before the first call.
HelpWindow* CurrentHelpWindow();
