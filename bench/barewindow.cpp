// A bare Qt window of the main window's size: the floor for its start-up.
// With --text it shows one line in the window's font, the floor for a
// window that shows any text.
#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("BARE QT WINDOW"));
    window.setFixedSize(761, 593);
    if (QApplication::arguments().contains(QStringLiteral("--text"))) {
        auto* line = new QLabel(QStringLiteral("SERIAL PORT"), &window);
        QFont font;
        font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
        font.setPointSizeF(8.25);
        font.setBold(true);
        line->setFont(font);
        line->move(64, 16);
        line->adjustSize(); // measures the text: the fonts are loaded before the window shows
    }
    window.show();
    return app.exec();
}
