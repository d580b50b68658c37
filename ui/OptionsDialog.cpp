#include "OptionsDialog.h"

#include "Twips.h"

#include "ProjectSession.h"

#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabBar>

namespace tamsor {

namespace {

constexpr int kPageTop = 480;
constexpr int kPageWidth = 5685;
constexpr int kPageHeight = 3780;
constexpr int kPageShownLeft = 210;
constexpr int kPageFirstLeft = 240;
constexpr int kPageHiddenLeft = -20000;

} // namespace

OptionsDialog::OptionsDialog(ProjectSession& session, QWidget* parent)
    : QDialog(parent), session_(session) {
    setWindowTitle(QStringLiteral("选项"));
    setModal(true);
    setFixedSize(px(6135), px(4905));

    const QRect stripRect = twipRect(105, 120, 5895, 4245);
    tbsOptions_ = new QTabBar(this);
    tbsOptions_->setObjectName(QStringLiteral("tbsOptions"));
    tbsOptions_->setDrawBase(false);
    const char* const tooltips[kTabCount] = {"为群组 1 设置选项", "为群组 2 设置选项",
                                             "为群组 3 设置选项"};
    const char* const captions[kTabCount] = {"选择规范", "未定义", "未定义"};
    for (int i = 0; i < kTabCount; ++i) {
        const int tab = tbsOptions_->addTab(QString::fromUtf8(captions[i]));
        tbsOptions_->setTabToolTip(tab, QString::fromUtf8(tooltips[i]));
        tbsOptions_->setTabData(tab, QStringLiteral("Group%1").arg(i + 1));
    }
    const int tabHeight = tbsOptions_->sizeHint().height();
    tbsOptions_->setGeometry(stripRect.left(), stripRect.top(), stripRect.width(), tabHeight);

    // The strip's pane, behind the pages.
    auto* pane = new QFrame(this);
    pane->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    pane->setGeometry(stripRect.left(), stripRect.top() + tabHeight - 1, stripRect.width(),
                      stripRect.height() - tabHeight + 1);
    pane->lower();

    const char* const frameCaptions[kPageCount] = {"选择荷载规范", "示例 2", "示例 3", "示例 4"};
    for (int i = 0; i < kPageCount; ++i) {
        auto* page = new QWidget(this);
        page->setObjectName(QStringLiteral("picOptions%1").arg(i));
        page->setGeometry(
            twipRect(i == 0 ? kPageFirstLeft : kPageHiddenLeft, kPageTop, kPageWidth, kPageHeight));
        // A screen reader names each page by what it holds, as its frame does.
        page->setAccessibleName(QString::fromUtf8(frameCaptions[i]));
        auto* frame = new QGroupBox(QString::fromUtf8(frameCaptions[i]), page);
        frame->setObjectName(QStringLiteral("fraSample%1").arg(i + 1));
        frame->setGeometry(twipRect(360, 240, 4935, 2985));
        page->setVisible(i == 0);
        page->setEnabled(i == 0);
        picOptions_[static_cast<std::size_t>(i)] = page;
        fraSample_[static_cast<std::size_t>(i)] = frame;
    }

    option1_[0] = new QRadioButton(QStringLiteral("新规范GB50009-201X"), fraSample_[0]);
    option1_[0]->setGeometry(twipRect(720, 600, 3015, 615));
    option1_[1] = new QRadioButton(QStringLiteral("旧规范GB50009-2001"), fraSample_[0]);
    option1_[1]->setGeometry(twipRect(720, 1440, 3255, 735));
    for (int i = 0; i < 2; ++i)
        option1_[static_cast<std::size_t>(i)]->setObjectName(QStringLiteral("Option1_%1").arg(i));

    cmdOK_ = new QPushButton(QStringLiteral("确定"), this);
    cmdOK_->setObjectName(QStringLiteral("cmdOK"));
    cmdOK_->setGeometry(twipRect(2640, 4455, 1095, 375));
    cmdCancel_ = new QPushButton(QStringLiteral("取消"), this);
    cmdCancel_->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel_->setGeometry(twipRect(4440, 4455, 1095, 375));

    connect(cmdOK_, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel_, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    connect(tbsOptions_, &QTabBar::currentChanged, this, [this] { tbsOptions_Click(); });

    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);

    // Form_Load.
    centreOnScreen();
    const bool oldCode = session_.edition() == Edition::GB2001;
    option1_[1]->setChecked(oldCode);
    option1_[0]->setChecked(!oldCode);
}

void OptionsDialog::centreOnScreen() {
    const QScreen* scr = screen();
    if (!scr)
        return;
    const QRect area = scr->geometry();
    move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
}

void OptionsDialog::cmdOK_Click() {
    // Results of the other edition must not be plotted or reported: they are
    // current only under the edition they were computed under.
    session_.setEdition(option1_[0]->isChecked() ? Edition::GB201X : Edition::GB2001);
    accept();
}

void OptionsDialog::cmdCancel_Click() {
    reject();
}

void OptionsDialog::tbsOptions_Click() {
    const int selected = tbsOptions_->currentIndex();
    for (int i = 0; i < kTabCount; ++i) {
        QWidget* page = picOptions_[static_cast<std::size_t>(i)];
        const bool shown = i == selected;
        page->move(px(shown ? kPageShownLeft : kPageHiddenLeft), px(kPageTop));
        page->setVisible(shown);
        page->setEnabled(shown);
    }
}

bool OptionsDialog::Form_KeyDown(int key, Qt::KeyboardModifiers modifiers) {
    const Qt::KeyboardModifiers held =
        modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (key != Qt::Key_Tab || held != Qt::ControlModifier)
        return false;
    const int i = tbsOptions_->currentIndex() + 1;
    tbsOptions_->setCurrentIndex(i == tbsOptions_->count() ? 0 : i);
    return true;
}

bool OptionsDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (Form_KeyDown(key->key(), key->modifiers()))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace tamsor
