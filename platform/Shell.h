#pragma once
#include <QString>

class QWidget;

// Starts a program with no arguments and waits until it ends, while this program's event loop keeps
// running (no polling). The wait also ends when this program quits; the other program goes on then.
// False when the program cannot be started: the failure has been reported in a box by then.
bool ShellExecuteAndWait(QWidget* owner, const QString& program);
