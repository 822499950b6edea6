#pragma once
// The program object: installs the font substitutions, and shows an error that nothing caught in
// a box captioned with the program's title, after which the program goes on.
#include <QApplication>

class TApplication : public QApplication {
public:
    TApplication(int& argc, char** argv, const QString& title);
    bool notify(QObject* receiver, QEvent* e) override;
    static QString Title();
    // Shows the box for an error that escaped a handler.
    static void ShowException(const QString& what);
};

// "ＭＳ ゴシック" and "ＭＳ Ｐゴシック" are drawn with the IPA Gothic fonts.
void InstallFontSubstitutions();
// Tests and tools: use the offscreen platform unless another one was asked for.
void UseOffscreenUnlessSet();
