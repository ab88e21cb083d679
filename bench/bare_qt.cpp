// The reference for start-up time, memory and the cost of a tick: a bare Qt 6 widget program
// with one window of the main window's size (client area 334 x 144). Without arguments it only
// shows the window and waits. With --readout it also shows a number in a label and does what a
// measuring tick shows, the Qt way: every 600 ms the number and a bar beside it change.
#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include <cstring>

namespace {

class Bar : public QWidget {
  public:
    using QWidget::QWidget;
    int value = 0;

  protected:
    void paintEvent(QPaintEvent *) override {
        QPainter painter(this);
        painter.fillRect(0, 0, width() * value / 100, height(), QColor(0, 0, 255));
    }
};

} // namespace

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle("bare Qt");
    window.setFixedSize(334, 144);
    QTimer timer;
    if (argc > 1 && std::strcmp(argv[1], "--readout") == 0) {
        auto *digits = new QLabel(&window);
        digits->setGeometry(33, 56, 60, 30);
        QFont font = digits->font();
        font.setPixelSize(24);
        digits->setFont(font);
        digits->setText("0");
        auto *bar = new Bar(&window);
        bar->setGeometry(100, 60, 167, 20);
        int tick = 0;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            const int value = 50 + (tick++ % 2) * 7; // 50 and 57 in turn: both change each tick
            digits->setText(QString::number(value));
            bar->value = value;
            bar->update();
        });
        timer.start(600);
    }
    window.show();
    return application.exec();
}
