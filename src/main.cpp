#include "app/GlobalData.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    SetAppVersion(QStringLiteral(QUNTA_VERSION));
    QMainWindow window;
    window.setWindowTitle(AppTitle());
    window.resize(1200, 800);
    window.show();
    return app.exec();
}
