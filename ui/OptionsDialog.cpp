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
    tabs_ = new QTabBar(this);
    tabs_->setObjectName(QStringLiteral("tbsOptions"));
    tabs_->setDrawBase(false);
    const char* const tooltips[kTabCount] = {"为群组 1 设置选项", "为群组 2 设置选项",
                                             "为群组 3 设置选项"};
    const char* const captions[kTabCount] = {"选择规范", "未定义", "未定义"};
    for (int i = 0; i < kTabCount; ++i) {
        const int tab = tabs_->addTab(QString::fromUtf8(captions[i]));
        tabs_->setTabToolTip(tab, QString::fromUtf8(tooltips[i]));
        tabs_->setTabData(tab, QStringLiteral("Group%1").arg(i + 1));
    }
    const int tabHeight = tabs_->sizeHint().height();
    tabs_->setGeometry(stripRect.left(), stripRect.top(), stripRect.width(), tabHeight);

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
        pages_[static_cast<std::size_t>(i)] = page;
        pageFrames_[static_cast<std::size_t>(i)] = frame;
    }

    editionButtons_[0] = new QRadioButton(QStringLiteral("新规范GB50009-201X"), pageFrames_[0]);
    editionButtons_[0]->setGeometry(twipRect(720, 600, 3015, 615));
    editionButtons_[1] = new QRadioButton(QStringLiteral("旧规范GB50009-2001"), pageFrames_[0]);
    editionButtons_[1]->setGeometry(twipRect(720, 1440, 3255, 735));
    for (int i = 0; i < 2; ++i)
        editionButtons_[static_cast<std::size_t>(i)]->setObjectName(
            QStringLiteral("Option1_%1").arg(i));

    ok_ = new QPushButton(QStringLiteral("确定"), this);
    ok_->setObjectName(QStringLiteral("cmdOK"));
    ok_->setGeometry(twipRect(2640, 4455, 1095, 375));
    cancel_ = new QPushButton(QStringLiteral("取消"), this);
    cancel_->setObjectName(QStringLiteral("cmdCancel"));
    cancel_->setGeometry(twipRect(4440, 4455, 1095, 375));

    connect(ok_, &QPushButton::clicked, this, [this] { storeEdition(); });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(tabs_, &QTabBar::currentChanged, this, [this] { showSelectedPage(); });

    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);

    // The dialog opens centred, on the edition in use.
    centreOnScreen();
    const bool oldCode = session_.edition() == Edition::GB2001;
    editionButton(Edition::GB2001)->setChecked(oldCode);
    editionButton(Edition::GB201X)->setChecked(!oldCode);
}

void OptionsDialog::centreOnScreen() {
    const QScreen* scr = screen();
    if (!scr)
        return;
    const QRect area = scr->geometry();
    move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
}

void OptionsDialog::storeEdition() {
    // Results of the other edition must not be plotted or reported: they are
    // current only under the edition they were computed under.
    session_.setEdition(editionButton(Edition::GB201X)->isChecked() ? Edition::GB201X
                                                                    : Edition::GB2001);
    accept();
}

void OptionsDialog::showSelectedPage() {
    const int selected = tabs_->currentIndex();
    for (int i = 0; i < kTabCount; ++i) {
        QWidget* page = pages_[static_cast<std::size_t>(i)];
        const bool shown = i == selected;
        page->move(px(shown ? kPageShownLeft : kPageHiddenLeft), px(kPageTop));
        page->setVisible(shown);
        page->setEnabled(shown);
    }
}

bool OptionsDialog::selectNextTab(int key, Qt::KeyboardModifiers modifiers) {
    const Qt::KeyboardModifiers held =
        modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (key != Qt::Key_Tab || held != Qt::ControlModifier)
        return false;
    const int i = tabs_->currentIndex() + 1;
    tabs_->setCurrentIndex(i == tabs_->count() ? 0 : i);
    return true;
}

bool OptionsDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (selectNextTab(key->key(), key->modifiers()))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace tamsor
