#include "Batch.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <iostream>

int main(int argc, char* argv[]) {
    std::ios::sync_with_stdio(false);
    if (tamsor::needsGuiApplication(tamsor::batchArguments(argc, argv))) {
        // The calculation book needs fonts, which only a QGuiApplication has;
        // the offscreen platform needs no display and shows nothing.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        // The arguments as bytes, after the application took its own options.
        return tamsor::runBatch(tamsor::batchArguments(argc, argv), std::cout, std::cerr);
    }
    QCoreApplication app(argc, argv);
    return tamsor::runBatch(tamsor::batchArguments(argc, argv), std::cout, std::cerr);
}
