// A bare Qt window of the main window's size: the floor for its start-up.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("BARE QT WINDOW"));
    window.setFixedSize(761, 593);
    window.show();
    return app.exec();
}
