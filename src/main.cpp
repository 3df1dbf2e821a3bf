#include "board/bsMain.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    return bsMain::Main(app, QStringLiteral(QUNTA_VERSION));
}
