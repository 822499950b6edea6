#include "Application.h"

#include "Dialogs.h"
#include <QFont>
#include <QLibraryInfo>
#include <QMenu>
#include <QTranslator>
#include <exception>

namespace {
QString g_title;

// The second click of a double click on a menu item still comes to the menu after the first has
// chosen the item and closed it; when the item opened a box, it would choose the item again behind
// the box. A closed menu takes no clicks, as a window behind a box takes none.
bool isClickOnClosedMenu(QObject* receiver, const QEvent* e)
{
    switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: break;
    default: return false;
    }
    const auto* menu = qobject_cast<QMenu*>(receiver);
    return menu && !menu->isVisible();
}

} // namespace

void InstallFontSubstitutions()
{
    QFont::insertSubstitution(QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic"));
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));
    QFont::insertSubstitution(QStringLiteral("MS Gothic"), QStringLiteral("IPAGothic"));
    QFont::insertSubstitution(QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic"));
}

void UseOffscreenUnlessSet()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
}

TApplication::TApplication(int& argc, char** argv, const QString& title) : QApplication(argc, argv)
{
    // No application display name: Qt would append it to every window title, and the captions the
    // forms set are exactly what the window manager must show.
    g_title = title;
    InstallFontSubstitutions();
    // The texts Qt's own dialogs show (file dialog labels, standard buttons) in Japanese, as ours are.
    auto* qtTexts = new QTranslator(this);
    if (qtTexts->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(qtTexts);
}

QString TApplication::Title()
{
    return g_title;
}

void TApplication::ShowException(const QString& what)
{
    MessageBeep(MB_ICONHAND);
    MessageBox(nullptr, what, Title(), TMsgDlgType::mtError, TMsgButtons::OK);
}

bool TApplication::notify(QObject* receiver, QEvent* e)
{
    if (isClickOnClosedMenu(receiver, e)) return true;
    try {
        return QApplication::notify(receiver, e);
    } catch (const std::exception& ex) {
        ShowException(QString::fromLocal8Bit(ex.what()));
    } catch (...) {
        ShowException(QStringLiteral("不明なエラーが発生しました。"));
    }
    return false;
}
