#include "AboutDialog.h"

#include "Twips.h"

#include "TamsorVersion.h"

#include <QApplication>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

namespace tamsor {

namespace {

// The program icon: the window's, or else the application's (main() sets it).
QIcon programIcon(const QWidget* parent) {
    if (parent && !parent->window()->windowIcon().isNull())
        return parent->window()->windowIcon();
    return QApplication::windowIcon();
}

} // namespace

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("关于Tamsor"));
    setModal(true);
    setFixedSize(px(5730), px(3150));

    icon_ = new QLabel(this);
    icon_->setObjectName(QStringLiteral("picIcon"));
    icon_->setGeometry(twipRect(240, 240, 480, 480));
    const QIcon icon = programIcon(parent);
    if (!icon.isNull())
        icon_->setPixmap(icon.pixmap(icon_->size()));

    title_ = new QLabel(this);
    title_->setObjectName(QStringLiteral("lblTitle"));
    title_->setGeometry(twipRect(1050, 480, 3885, 480));
    QFont titleFont = title_->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    title_->setFont(titleFont);

    notice_ = new QLabel(
        QStringLiteral(
            "本程序为自由软件，可自由使用、复制和分发。"
            "计算结果仅供参考，使用者应自行校核；开发者不对使用本程序造成的任何后果负责。"),
        this);
    notice_->setObjectName(QStringLiteral("lblDescription0"));
    notice_->setWordWrap(true);
    notice_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    notice_->setGeometry(twipRect(1080, 1020, 4395, 750));

    maintainer_ = new QLabel(QStringLiteral("Tamsor 项目组 · 维护：Tamsor 开发者 · 2026"), this);
    maintainer_->setObjectName(QStringLiteral("lblDescription1"));
    maintainer_->setGeometry(twipRect(1080, 1800, 4395, 450));

    // The etched rule: a grey line with a white one just below it.
    const char* const colours[2] = {"#808080", "#ffffff"};
    for (int i = 0; i < 2; ++i) {
        auto* line = new QFrame(this);
        line->setObjectName(QStringLiteral("Line1_%1").arg(i));
        line->setGeometry(px(84), px(2460) + i, px(5730) - 2 * px(84), 1);
        line->setAutoFillBackground(true);
        QPalette pal = line->palette();
        pal.setColor(QPalette::Window, QColor(QString::fromLatin1(colours[i])));
        line->setPalette(pal);
        rule_[i] = line;
    }

    ok_ = new QPushButton(QStringLiteral("确定"), this);
    ok_->setObjectName(QStringLiteral("cmdOK"));
    ok_->setGeometry(twipRect(4125, 2640, 1500, 345));
    ok_->setDefault(true); // Enter; Esc closes the dialog as well
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    ok_->setFocus();

    const QString title = QString::fromUtf8(kAppTitle);
    setWindowTitle(QStringLiteral("关于 ") + title);
    title_->setText(title);
}

} // namespace tamsor
