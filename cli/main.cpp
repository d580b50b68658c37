#include "Batch.h"

#include <QCoreApplication>

#include <iostream>

int main(int argc, char* argv[]) {
    std::ios::sync_with_stdio(false);
    QCoreApplication app(argc, argv);
    return tamsor::runBatch(QCoreApplication::arguments(), std::cout, std::cerr);
}
