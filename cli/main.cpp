#include "Batch.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <iostream>

int main(int argc, char* argv[]) {
    std::ios::sync_with_stdio(false);
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    if (tamsor::needsGuiApplication(args)) {
        // The calculation book needs fonts, which only a QGuiApplication has;
        // the offscreen platform needs no display and shows nothing.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        return tamsor::runBatch(QCoreApplication::arguments(), std::cout, std::cerr);
    }
    QCoreApplication app(argc, argv);
    return tamsor::runBatch(QCoreApplication::arguments(), std::cout, std::cerr);
}
