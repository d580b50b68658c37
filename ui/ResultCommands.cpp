#include "ResultCommands.h"

#include "ProjectSession.h"
#include "Prompts.h"
#include "ResultTable.h"
#include "ResultsWindow.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>

namespace tamsor {

ResultCommands::ResultCommands(ProjectSession& session, Prompts& prompts, QWidget* window,
                               QMenu* menu)
    : QObject(window), session_(session), prompts_(prompts), window_(window) {
    table_ = menu->addAction(QStringLiteral("结果表(Table)"), this, [this] { showTable(); });
    table_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    copy_ = menu->addAction(QStringLiteral("复制结果表(Copy)"), this, [this] { copyTable(); });
    copy_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    export_ =
        menu->addAction(QStringLiteral("导出结果表(CSV)..."), this, [this] { exportWithDialog(); });
    export_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    for (QAction* action : {table_, copy_, export_})
        action->setShortcutContext(Qt::WindowShortcut);

    connect(&session_, &ProjectSession::resultsChanged, this,
            [this](bool current) { updateEnabled(current); });
    updateEnabled(session_.resultsCurrent());
}

void ResultCommands::updateEnabled(bool current) {
    for (QAction* action : {table_, copy_, export_})
        action->setEnabled(current);
}

bool ResultCommands::haveResults() {
    if (session_.resultsCurrent())
        return true;
    prompts_.inform(window_, ProjectSession::noCurrentResults());
    return false;
}

void ResultCommands::showTable() {
    if (!haveResults())
        return;
    if (resultsWindow_ == nullptr) {
        resultsWindow_ = new ResultsWindow(session_, window_);
        resultsWindow_->setAttribute(Qt::WA_DeleteOnClose);
        connect(resultsWindow_, &ResultsWindow::exportRequested, this,
                [this] { exportWithDialog(); });
    }
    resultsWindow_->show();
    resultsWindow_->raise();
    resultsWindow_->activateWindow();
}

void ResultCommands::copyTable() {
    if (!haveResults())
        return;
    QGuiApplication::clipboard()->setText(
        QString::fromStdString(tabSeparated(buildResultTable(session_.model()))));
}

bool ResultCommands::exportCsv(const QString& path) {
    if (!haveResults())
        return false;
    if (const auto failure = writeResultTableCsv(session_.model(), path)) {
        prompts_.inform(window_, *failure);
        return false;
    }
    return true;
}

QString ResultCommands::suggestedPath(const QString& suffix) const {
    const QString project = QFileInfo(session_.currentFile()).completeBaseName();
    const QString name = (project.isEmpty() ? QStringLiteral("结果表") : project) + suffix;
    return QDir(QString::fromStdString(session_.model().lastDir)).filePath(name);
}

void ResultCommands::exportWithDialog() {
    if (!haveResults())
        return;
    QString path = QFileDialog::getSaveFileName(window_, QStringLiteral("导出结果表"),
                                                suggestedPath(QStringLiteral(".csv")),
                                                QStringLiteral("CSV 文件 (*.csv)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".csv");
    exportCsv(path);
}

} // namespace tamsor
