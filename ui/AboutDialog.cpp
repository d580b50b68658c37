#include "AboutDialog.h"

#include "Twips.h"

#include "MainWindow.h"
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

    picIcon_ = new QLabel(this);
    picIcon_->setObjectName(QStringLiteral("picIcon"));
    picIcon_->setGeometry(twipRect(240, 240, 480, 480));
    const QIcon icon = programIcon(parent);
    if (!icon.isNull())
        picIcon_->setPixmap(icon.pixmap(picIcon_->size()));

    lblTitle_ = new QLabel(this);
    lblTitle_->setObjectName(QStringLiteral("lblTitle"));
    lblTitle_->setGeometry(twipRect(1050, 480, 3885, 480));
    QFont titleFont = lblTitle_->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    lblTitle_->setFont(titleFont);

    lblNotice_ = new QLabel(
        QStringLiteral(
            "本程序为自由软件，可自由使用、复制和分发。"
            "计算结果仅供参考，使用者应自行校核；开发者不对使用本程序造成的任何后果负责。"),
        this);
    lblNotice_->setObjectName(QStringLiteral("lblDescription0"));
    lblNotice_->setWordWrap(true);
    lblNotice_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblNotice_->setGeometry(twipRect(1080, 1020, 4395, 750));

    lblDescription_ =
        new QLabel(QStringLiteral("Tamsor 项目组 · 维护：Tamsor 开发者 · 2026"), this);
    lblDescription_->setObjectName(QStringLiteral("lblDescription1"));
    lblDescription_->setGeometry(twipRect(1080, 1800, 4395, 450));

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
        line1_[i] = line;
    }

    cmdOK_ = new QPushButton(QStringLiteral("确定"), this);
    cmdOK_->setObjectName(QStringLiteral("cmdOK"));
    cmdOK_->setGeometry(twipRect(4125, 2640, 1500, 345));
    cmdOK_->setDefault(true); // Enter; Esc closes the dialog as well
    connect(cmdOK_, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    cmdOK_->setFocus();

    Form_Load();
}

void AboutDialog::Form_Load() {
    const QString title = QString::fromUtf8(kAppTitle);
    setWindowTitle(QStringLiteral("关于 ") + title);
    lblTitle_->setText(title);
}

void AboutDialog::cmdOK_Click() {
    accept();
}

} // namespace tamsor
