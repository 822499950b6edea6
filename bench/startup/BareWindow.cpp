// The yardsticks of the start-up benchmark: a Qt Widgets program that shows one empty window and
// nothing else, so what the programs add to Qt's own start-up can be told apart from Qt itself;
// with --text the window shows one line of Japanese in the editor's typeface, which is what any
// window with text pays for setting up its fonts.
#include <QApplication>
#include <QLabel>
#include <QWidget>
#include <cstring>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget w;
    w.setWindowTitle(QStringLiteral("bare"));
    w.resize(640, 480);
    if (argc > 1 && std::strcmp(argv[1], "--text") == 0) {
        auto* label = new QLabel(QStringLiteral("ピクモ 画像作成"), &w);
        label->setFont(QFont(QStringLiteral("IPAPGothic"), 9));
        label->move(8, 8);
    }
    w.show();
    return app.exec();
}
