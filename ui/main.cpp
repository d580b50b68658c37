#include "AppIcon.h"
#include "DesktopFiles.h"
#include "MainWindow.h"
#include "Prompts.h"
#include "QtTranslations.h"
#include "TamsorVersion.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QTimer>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // "tamsor FILE.wvd" (a double-click in the file manager): the name is
    // taken relative to the folder the program was started in, before the
    // window makes its own folder the current one.
    const QString projectFile =
        tamsor::startupProjectFile(QCoreApplication::arguments(), QDir::currentPath());
    QApplication::setApplicationName(QString::fromUtf8(tamsor::kAppTitle));
    tamsor::installChineseQtTranslations(app);
    // The icon of every window and of the About box; the desktop entry names
    // the same icon and this program.
    QApplication::setWindowIcon(tamsor::applicationIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.tamsor.Tamsor"));
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPointSize(9);
    QApplication::setFont(font);

    tamsor::QtPrompts prompts;
    tamsor::MainWindow window(prompts);
    window.show();
    if (!projectFile.isEmpty()) {
        // Once the window is up, so that the reader's messages have a parent
        // on the screen.
        QTimer::singleShot(0, &window,
                           [&window, projectFile] { window.openProjectFile(projectFile); });
    }
    return QApplication::exec();
}
