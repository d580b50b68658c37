#include "SpreadsheetPasteMenu.h"

#include "Message.h"
#include "Prompts.h"
#include "SpreadsheetPaste.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>

#include <memory>

namespace tamsor {

void addSpreadsheetPaste(QLineEdit* box, Prompts& prompts, std::function<void()> paste) {
    box->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(
        box, &QLineEdit::customContextMenuRequested, box,
        [box, &prompts, paste](const QPoint& pos) {
            const std::unique_ptr<QMenu> menu(box->createStandardContextMenu());
            for (QAction* action : menu->actions()) {
                // The box's own paste would put the clipboard's
                // text in as it stands.
                if (QObject::disconnect(action, SIGNAL(triggered()), box, SLOT(paste())) ||
                    QObject::disconnect(action, &QAction::triggered, box, &QLineEdit::paste)) {
                    action->setObjectName(QStringLiteral("edit-paste"));
                    QObject::connect(action, &QAction::triggered, box, paste);
                }
            }
            menu->addSeparator();
            QAction* paste = menu->addAction(QStringLiteral("从表格粘贴"));
            paste->setObjectName(QStringLiteral("spreadsheetPaste"));
            paste->setEnabled(!QGuiApplication::clipboard()->text().isEmpty());
            QObject::connect(paste, &QAction::triggered, box,
                             [box, &prompts] { pasteFromSpreadsheet(box, prompts); });
            menu->exec(box->mapToGlobal(pos));
        });
}

bool pasteFromSpreadsheet(QLineEdit* box, Prompts& prompts) {
    const std::optional<std::string> list =
        listFromSpreadsheet(QGuiApplication::clipboard()->text().toStdString());
    if (!list) {
        prompts.inform(box->window(),
                       inputError("剪贴板中没有可以粘贴的数据：请在表格中复制一行或一列单元格。"));
        return false;
    }
    box->setText(QString::fromStdString(*list));
    return true;
}

} // namespace tamsor
