#include "ResultCommands.h"

#include "CalculationBook.h"
#include "DesktopFiles.h"
#include "FileChooser.h"
#include "ProjectSession.h"
#include "Prompts.h"
#include "ResultTable.h"
#include "ResultsWindow.h"
#include "TitleBlockDialog.h"
#include "WindowFit.h"

#include <QAction>
#include <QClipboard>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMenu>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QSettings>
#include <QUrl>

namespace tamsor {

ResultCommands::ResultCommands(ProjectSession& session, const FileDialogMemory& fileDialogs,
                               Prompts& prompts, QWidget* window, QMenu* menu)
    : QObject(window), session_(session), fileDialogs_(fileDialogs), prompts_(prompts),
      window_(window), settingsFile_(userSettingsFile()) {
    table_ = menu->addAction(QStringLiteral("结果表(Table)"), this, [this] { showTable(); });
    table_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    copy_ = menu->addAction(QStringLiteral("复制结果表(Copy)"), this, [this] { copyTable(); });
    copy_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    export_ =
        menu->addAction(QStringLiteral("导出结果表(CSV)..."), this, [this] { exportWithDialog(); });
    export_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    menu->addSeparator();
    pdf_ =
        menu->addAction(QStringLiteral("生成计算书(PDF)..."), this, [this] { bookWithDialogs(); });
    pdf_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
    preview_ = menu->addAction(QStringLiteral("打印预览(Preview)..."), this,
                               [this] { printWithDialog(true); });
    print_ = menu->addAction(QStringLiteral("打印计算书(Print)..."), this,
                             [this] { printWithDialog(false); });
    print_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    for (QAction* action : commands())
        action->setShortcutContext(Qt::WindowShortcut);

    connect(&session_, &ProjectSession::resultsChanged, this,
            [this](bool current) { updateEnabled(current); });
    updateEnabled(session_.resultsCurrent());
}

std::vector<QAction*> ResultCommands::commands() const {
    return {table_, copy_, export_, pdf_, preview_, print_};
}

void ResultCommands::updateEnabled(bool current) {
    for (QAction* action : commands())
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
        placeResultsWindow();
    }
    resultsWindow_->show();
    resultsWindow_->raise();
    resultsWindow_->activateWindow();
}

void ResultCommands::placeResultsWindow() {
    QScreen* screen = window_->screen();
    if (screen == nullptr)
        return;
    const QRect available = screen->availableGeometry();
    resultsWindow_->resize(
        resultsWindow_->size().boundedTo(available.size().shrunkBy(kEstimatedWindowFrame)));
    int menuBottom = window_->geometry().top();
    if (const auto* main = qobject_cast<const QMainWindow*>(window_); main && main->menuWidget())
        menuBottom = main->menuWidget()->mapToGlobal(QPoint(0, main->menuWidget()->height())).y();
    resultsWindow_->move(placeBeside(window_->frameGeometry(), menuBottom,
                                     resultsWindow_->size().grownBy(kEstimatedWindowFrame),
                                     available));
}

void ResultCommands::copyTable() {
    if (!haveResults())
        return;
    QGuiApplication::clipboard()->setText(
        QString::fromStdString(tabSeparated(buildResultTable(*session_.results()))));
}

bool ResultCommands::exportCsv(const QString& path) {
    if (!haveResults())
        return false;
    if (const auto failure = writeResultTableCsv(*session_.results(), path)) {
        prompts_.inform(window_, *failure);
        return false;
    }
    return true;
}

QString ResultCommands::suggestedPath(const QString& suffix) const {
    const QString project = QFileInfo(session_.currentFile()).completeBaseName();
    const QString name = (project.isEmpty() ? QStringLiteral("结果表") : project) + suffix;
    return QDir(fileDialogs_.lastDir).filePath(name);
}

QString ResultCommands::askSavePath(const QString& caption, const QString& suffix,
                                    const QString& filter) {
    QString path = QFileDialog::getSaveFileName(window_, caption, suggestedPath(suffix), filter);
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += suffix;
    return path;
}

void ResultCommands::exportWithDialog() {
    if (!haveResults())
        return;
    const QString path = askSavePath(QStringLiteral("导出结果表"), QStringLiteral(".csv"),
                                     QStringLiteral("CSV 文件 (*.csv)"));
    if (!path.isEmpty())
        exportCsv(path);
}

bool ResultCommands::writeBook(const QString& path, const TitleBlock& block) {
    if (!haveResults())
        return false;
    if (const auto failure = writeCalculationBookPdf(*session_.results(), block, path)) {
        prompts_.inform(window_, *failure);
        return false;
    }
    return true;
}

std::optional<TitleBlock> ResultCommands::askTitleBlock() {
    TitleBlock remembered;
    if (unstoredBlock_) {
        remembered = *unstoredBlock_;
    } else if (settingsFileUsable(settingsFile_)) {
        QSettings settings(settingsFile_, QSettings::IniFormat);
        remembered = loadTitleBlock(settings);
    }
    TitleBlockDialog dialog(remembered, window_);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const TitleBlock block = dialog.block();
    unstoredBlock_.reset();
    if (!storeSettings(settingsFile_, [&block](QSettings& s) { saveTitleBlock(s, block); })) {
        unstoredBlock_ = block;
        emit settingsNotStored();
    }
    return withDate(block, QDate::currentDate());
}

// Results refused by the report (an overflowing sum, C = 0) are refused here
// too, before any dialog.
bool ResultCommands::bookAllowed() {
    if (!haveResults())
        return false;
    if (const auto refusal = calculationBookRefusal(*session_.results())) {
        prompts_.inform(window_, *refusal);
        return false;
    }
    return true;
}

void ResultCommands::bookWithDialogs() {
    if (!bookAllowed())
        return;
    const std::optional<TitleBlock> block = askTitleBlock();
    if (!block)
        return;
    const QString path = askSavePath(QStringLiteral("生成计算书"), QStringLiteral(".pdf"),
                                     QStringLiteral("PDF 文件 (*.pdf)"));
    if (path.isEmpty())
        return;
    if (writeBook(path, *block) && !prompts_.openUrl(QUrl::fromLocalFile(path))) {
        prompts_.inform(window_,
                        Message{"计算书已写入“" + QDir::toNativeSeparators(path).toStdString() +
                                    "”，但找不到能显示它的程序，请用PDF阅读器打开它。",
                                "警告", Message::Icon::Exclamation});
    }
}

void ResultCommands::printWithDialog(bool preview) {
    if (!bookAllowed())
        return;
    const std::optional<TitleBlock> block = askTitleBlock();
    if (!block)
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(calculationBookPageLayout());
    printer.setDocName(QStringLiteral("风振计算书"));
    // The book of the results that were current when it was asked for.
    const ResultsPtr results = session_.results();
    const auto paint = [&results, &block](QPrinter* target) {
        paintCalculationBook(*target, *results, *block);
    };
    if (preview) {
        QPrintPreviewDialog dialog(&printer, window_);
        connect(&dialog, &QPrintPreviewDialog::paintRequested, this, paint);
        dialog.exec();
        return;
    }
    QPrintDialog dialog(&printer, window_);
    if (dialog.exec() == QDialog::Accepted)
        paint(&printer);
}

} // namespace tamsor
