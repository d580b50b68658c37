#include "Prompts.h"

#include <QDesktopServices>
#include <QMessageBox>

namespace tamsor {

namespace {
QMessageBox::Icon toQt(Message::Icon icon) {
    switch (icon) {
    case Message::Icon::Exclamation:
        return QMessageBox::Warning;
    case Message::Icon::Critical:
        return QMessageBox::Critical;
    case Message::Icon::Question:
        return QMessageBox::Question;
    case Message::Icon::Information:
        return QMessageBox::Information;
    case Message::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}
} // namespace

void QtPrompts::inform(QWidget* parent, const Message& message) {
    QMessageBox box(toQt(message.icon), QString::fromStdString(message.title),
                    QString::fromStdString(message.text), QMessageBox::Ok, parent);
    box.exec();
}

bool QtPrompts::confirm(QWidget* parent, const Message& message) {
    QMessageBox box(toQt(message.icon), QString::fromStdString(message.title),
                    QString::fromStdString(message.text), QMessageBox::Yes | QMessageBox::No,
                    parent);
    return box.exec() == QMessageBox::Yes;
}

bool QtPrompts::openUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

} // namespace tamsor
