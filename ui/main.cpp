#include "AppIcon.h"
#include "MainWindow.h"
#include "Prompts.h"
#include "TamsorVersion.h"

#include <QApplication>
#include <QFont>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // Command-line arguments are not used.
    QApplication::setApplicationName(QString::fromUtf8(tamsor::kAppTitle));
    // The icon of every window and of the About box; the desktop entry names
    // the same icon and this program.
    QApplication::setWindowIcon(tamsor::applicationIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.tamsor.Tamsor"));
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPointSize(9);
    QApplication::setFont(font);

    tamsor::QtPrompts prompts;
    tamsor::Wind window(prompts);
    window.show();
    return QApplication::exec();
}
