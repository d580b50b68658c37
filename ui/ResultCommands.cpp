#include "ResultCommands.h"

#include "CalculationBook.h"
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
#include <QFileInfo>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMenu>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QUrl>

namespace tamsor {

ResultCommands::ResultCommands(ProjectSession& session, FileDialogMemory& fileDialogs,
                               Prompts& prompts, QWidget* window, QMenu* menu)
    : QObject(window), session_(session), fileDialogs_(fileDialogs), prompts_(prompts),
      window_(window) {
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

bool ResultCommands::allowed(ResultOutput output) {
    const std::optional<Message> refusal = outputRefusal(session_, output);
    if (refusal)
        prompts_.inform(window_, *refusal);
    return !refusal;
}

void ResultCommands::showTable() {
    if (!allowed(ResultOutput::Csv))
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
    if (!allowed(ResultOutput::Csv))
        return;
    QGuiApplication::clipboard()->setText(
        QString::fromStdString(tabSeparated(buildResultTable(*session_.results()))));
}

bool ResultCommands::exportCsv(const QString& path) {
    if (const auto failure = writeResultCsv(session_, path)) {
        prompts_.inform(window_, *failure);
        return false;
    }
    return true;
}

void ResultCommands::exportWithDialog() {
    if (!allowed(ResultOutput::Csv))
        return;
    prompts_.saveFile(window_, outputDialog(ResultOutput::Csv), fileDialogs_,
                      offeredOutputName(ResultOutput::Csv, session_.currentFile()),
                      [this](QWidget* dialog, const QString& path) {
                          if (const auto failure = writeResultCsv(session_, path)) {
                              prompts_.inform(dialog, *failure);
                              return false;
                          }
                          return true;
                      });
}

bool ResultCommands::writeBook(const QString& path, const TitleBlock& block) {
    if (const auto failure = writeResultBook(session_, path, block, contact())) {
        prompts_.inform(window_, *failure);
        return false;
    }
    return true;
}

std::optional<TitleBlock> ResultCommands::askTitleBlock() {
    TitleBlockDialog dialog(
        newTitleBlock(titleBlocks_.remembered(), session_.currentFile(), QDate::currentDate()),
        titleBlocks_.contact(), prompts_, window_);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const TitleBlock block = dialog.block();
    if (!titleBlocks_.remember(block, dialog.contact()))
        emit settingsNotStored();
    return withDate(block, QDate::currentDate());
}

void ResultCommands::bookWithDialogs() {
    // Results refused by the report (an overflowing sum, C = 0) are refused
    // here too, before any dialog.
    if (!allowed(ResultOutput::Book))
        return;
    const std::optional<TitleBlock> block = askTitleBlock();
    if (!block)
        return;
    prompts_.saveFile(
        window_, outputDialog(ResultOutput::Book), fileDialogs_,
        offeredOutputName(ResultOutput::Book, session_.currentFile()),
        [this, &block](QWidget* dialog, const QString& path) {
            if (const auto failure = writeResultBook(session_, path, *block, contact())) {
                prompts_.inform(dialog, *failure);
                return false;
            }
            if (!prompts_.openUrl(QUrl::fromLocalFile(path)))
                prompts_.inform(dialog, documentNotShown(WrittenDocument::Book, path));
            return true;
        });
}

void ResultCommands::printWithDialog(bool preview) {
    if (!allowed(ResultOutput::Book))
        return;
    const std::optional<TitleBlock> block = askTitleBlock();
    if (!block)
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(calculationBookPageLayout());
    printer.setDocName(QStringLiteral("风振计算书"));
    // The book of the results that were current when it was asked for.
    const ResultsPtr results = session_.results();
    const ReportContact footer = contact();
    const auto paint = [&results, &block, &footer](QPrinter* target) {
        paintCalculationBook(*target, *results, *block, footer);
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
