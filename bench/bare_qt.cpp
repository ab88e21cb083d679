// The reference for start-up time and memory: a bare Qt 6 widget program with one window of the
// main window's size (client area 334 x 144) and nothing else, which only shows it and waits.
#include <QApplication>
#include <QWidget>

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle("bare Qt");
    window.setFixedSize(334, 144);
    window.show();
    return application.exec();
}
