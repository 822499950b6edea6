#pragma once
// Helpers shared by the tests: a temporary folder, files, and pictures.
#include "Canvas.h"
#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// The build tree's top folder, where the programs and their data folder live.
QString BuildDir();
void WriteFile(const QString& path, const QByteArray& data);
QByteArray ReadFile(const QString& path);
// Runs the event loop until cond() holds or ms of real time pass; true when it held.
bool WaitUntil(const std::function<bool()>& cond, int ms = 5000);
