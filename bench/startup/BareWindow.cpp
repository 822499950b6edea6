// The yardstick of the start-up benchmark: a Qt Widgets program that shows one empty window and
// nothing else, so what the programs add to Qt's own start-up can be told apart from Qt itself.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget w;
    w.setWindowTitle(QStringLiteral("bare"));
    w.resize(640, 480);
    w.show();
    return app.exec();
}
