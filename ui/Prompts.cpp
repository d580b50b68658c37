#include "Prompts.h"

#include "DesktopOpener.h"
#include "FileDialog.h"

#include <QApplication>
#include <QDesktopServices>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

#include <algorithm>
#include <chrono>

namespace tamsor {

namespace {

// How long the opener may take to say that it found no program: it needs a
// fraction of a second, more on a busy machine.
constexpr std::chrono::milliseconds kOpenerWait{3000};
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

// The hint at a refused key: a label in the colours of a tool tip inside the
// box's window, under the box (above it when there is no room below). It
// watches the box and goes away at the box's next key or input method text,
// or when the box loses the focus or disappears.
class KeyHint : public QLabel {
public:
    static constexpr const char* kName = "keyHint";

    explicit KeyHint(QWidget* window) : QLabel(window) {
        setObjectName(QString::fromLatin1(kName));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setForegroundRole(QPalette::ToolTipText);
        setBackgroundRole(QPalette::ToolTipBase);
        setAutoFillBackground(true);
        setFrameStyle(QFrame::Box | QFrame::Plain);
        setMargin(3);
        hide();
    }

    void showAt(QWidget* box, const QString& text) {
        if (box_ != box) {
            if (box_)
                box_->removeEventFilter(this);
            box_ = box;
            box->installEventFilter(this);
        }
        setText(text);
        adjustSize();
        const QWidget* window = parentWidget();
        QPoint at = box->mapTo(window, QPoint(0, box->height() + 2));
        if (at.y() + height() > window->height())
            at.setY(box->mapTo(window, QPoint(0, 0)).y() - height() - 2);
        at.setX(std::max(0, std::min(at.x(), window->width() - width())));
        move(at);
        raise();
        show();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == box_.data()) {
            switch (event->type()) {
            case QEvent::KeyPress: {
                const int key = static_cast<QKeyEvent*>(event)->key();
                if (key != Qt::Key_Shift && key != Qt::Key_Control && key != Qt::Key_Alt &&
                    key != Qt::Key_Meta)
                    hide();
                break;
            }
            case QEvent::InputMethod:
                if (!static_cast<QInputMethodEvent*>(event)->commitString().isEmpty())
                    hide();
                break;
            case QEvent::FocusOut:
            case QEvent::Hide:
                hide();
                break;
            default:
                break;
            }
        }
        return QLabel::eventFilter(watched, event);
    }

private:
    QPointer<QWidget> box_;
};

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

SaveAnswer QtPrompts::askToSave(QWidget* parent, const Message& message) {
    QMessageBox box(toQt(message.icon), QString::fromStdString(message.title),
                    QString::fromStdString(message.text),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    // The program's own words, whatever Qt's translations call these buttons.
    box.button(QMessageBox::Save)->setText(QStringLiteral("保存"));
    box.button(QMessageBox::Discard)->setText(QStringLiteral("不保存"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("取消"));
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Save:
        return SaveAnswer::Save;
    case QMessageBox::Discard:
        return SaveAnswer::DontSave;
    default:
        break;
    }
    return SaveAnswer::Cancel;
}

bool QtPrompts::saveFile(QWidget* parent, FileDialogKind kind, FileDialogMemory& memory,
                         const QString& name, const WriteFile& write) {
    FileDialog dialog(kind, memory, *this, write, parent, name);
    dialog.exec();
    return dialog.actionSucceeded();
}

bool QtPrompts::openUrl(const QUrl& url) {
    // Qt's own launcher counts the opener's start as success, also when the
    // opener then finds no program for the file and gives up without a word.
    if (url.isLocalFile()) {
        const QString opener = desktopOpener();
        if (!opener.isEmpty())
            return openWithOpener(opener, url.toLocalFile(), kOpenerWait);
    }
    return QDesktopServices::openUrl(url);
}

void QtPrompts::refuseKey(QWidget* box, const std::string& hint) {
    QApplication::beep();
    if (box == nullptr)
        return;
    QWidget* window = box->window();
    auto* label = dynamic_cast<KeyHint*>(window->findChild<QLabel*>(
        QString::fromLatin1(KeyHint::kName), Qt::FindDirectChildrenOnly));
    if (label == nullptr)
        label = new KeyHint(window);
    label->showAt(box, QString::fromStdString(hint));
}

} // namespace tamsor
