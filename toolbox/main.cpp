#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Tolvane工具箱"));
    window.resize(400, 300);
    window.show();
    return app.exec();
}
