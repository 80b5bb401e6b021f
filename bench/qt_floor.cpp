// The least a Qt clock can cost: a window of the clock's size with a label, woken by a precise
// 500 ms timer that does nothing. Measured in the clock's place (bench/qt-floor), it shows what
// Qt's start-up and event loop cost before any of the clock's own work.
#include <QApplication>
#include <QLabel>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLabel window(QStringLiteral("12.34.56"));
    window.setWindowTitle(QStringLiteral("Qt floor"));
    window.resize(102, 60);
    window.show();
    QTimer quartz;
    quartz.setTimerType(Qt::PreciseTimer);
    QObject::connect(&quartz, &QTimer::timeout, [] {});
    quartz.start(500);
    return QApplication::exec();
}
