#include "FileDialog.h"

#include "Twips.h"

#include "Prompts.h"

#include <QDir>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>

namespace tamsor {

FileDialog::FileDialog(FileDialogKind kind, FileDialogMemory& memory, Prompts& prompts,
                       Action action, QWidget* parent, const QString& offeredName)
    : QDialog(parent), chooser_(kind, memory, offeredName), prompts_(prompts),
      action_(std::move(action)) {
    const FileDialogTexts& texts = chooser_.texts();
    setWindowTitle(texts.caption);
    setModal(true);
    setFixedSize(px(6645), px(3885));

    // Where the drive selector stands on systems with drive letters: a button
    // that leads to the home folder, and the current folder's path.
    home_ = new QPushButton(QStringLiteral("主目录"), this);
    home_->setObjectName(QStringLiteral("cmdHome"));
    home_->setGeometry(px(360), px(120), px(1080), px(300));
    home_->setAutoDefault(false);
    folderLabel_ = new QLabel(this);
    folderLabel_->setObjectName(QStringLiteral("lblFolder"));
    folderLabel_->setGeometry(px(1500), px(120), px(1995), px(300));

    folders_ = new QFileSystemModel(this);
    folders_->setFilter(QDir::AllDirs | QDir::Hidden | QDir::NoDotAndDotDot);
    folders_->setReadOnly(true);
    folders_->setRootPath(QStringLiteral("/"));

    dir1_ = new QTreeView(this);
    dir1_->setObjectName(QStringLiteral("Dir1"));
    dir1_->setModel(folders_);
    for (int column = 1; column < folders_->columnCount(); ++column)
        dir1_->hideColumn(column);
    dir1_->header()->hide();
    dir1_->setGeometry(twipRect(360, 600, 3135, 1770));

    file1_ = new QTreeWidget(this);
    file1_->setObjectName(QStringLiteral("File1"));
    file1_->setSelectionMode(QAbstractItemView::SingleSelection);
    file1_->setRootIsDecorated(false);
    file1_->setHeaderLabels({QStringLiteral("名称"), QStringLiteral("修改日期"),
                             QStringLiteral("类型"), QStringLiteral("大小")});
    file1_->setGeometry(twipRect(3720, 120, 2775, 2250));

    label1_ = new QLabel(QStringLiteral("输入文件名："), this);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setGeometry(twipRect(2400, 2760, 1095, 375));

    txtNameBmp_ = new QLineEdit(this);
    txtNameBmp_->setObjectName(QStringLiteral("txtNameBmp"));
    txtNameBmp_->setGeometry(twipRect(3720, texts.nameBoxTopTwips, 2775, 375));

    // What a screen reader calls the folder tree, the file list and the name box.
    dir1_->setAccessibleName(QStringLiteral("文件夹"));
    file1_->setAccessibleName(QStringLiteral("文件列表"));
    file1_->setAccessibleDescription(QStringLiteral("当前文件夹中的") + texts.pattern +
                                     QStringLiteral("文件"));
    txtNameBmp_->setAccessibleName(QStringLiteral("文件名"));

    // Return and Esc are handled by keyPressEvent: neither button is the
    // default one, so that Return on a focused Cancel cancels.
    cmdOK_ = new QPushButton(QStringLiteral("确  定"), this);
    cmdOK_->setObjectName(QStringLiteral("cmdOK"));
    cmdOK_->setGeometry(twipRect(3840, 3360, 855, 375));
    cmdCancel_ = new QPushButton(QStringLiteral("取  消"), this);
    cmdCancel_->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel_->setGeometry(twipRect(5280, 3360, 855, 375));
    cmdOK_->setAutoDefault(false);
    cmdCancel_->setAutoDefault(false);

    setTabOrder(dir1_, home_);
    setTabOrder(home_, txtNameBmp_);
    setTabOrder(txtNameBmp_, cmdOK_);
    setTabOrder(cmdOK_, cmdCancel_);
    setTabOrder(cmdCancel_, file1_);

    connect(dir1_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (syncingTree_ || !current.isValid())
                    return;
                chooser_.setFolder(folders_->filePath(current));
                Dir1_Change();
            });
    scrollTimer_ = new QTimer(this);
    scrollTimer_->setSingleShot(true);
    scrollTimer_->setInterval(50);
    connect(scrollTimer_, &QTimer::timeout, this, [this] { scrollToFolder(); });
    // Folders are read in the background: once the chain down to the current
    // folder is known, bring the current folder into view.
    connect(folders_, &QFileSystemModel::directoryLoaded, this, [this](const QString& loaded) {
        const QString& folder = chooser_.folder();
        const QString prefix =
            loaded.endsWith(QLatin1Char('/')) ? loaded : loaded + QLatin1Char('/');
        if (folder != loaded && !folder.startsWith(prefix))
            return;
        showFolderInTree();
        scrollTimer_->start();
    });
    connect(home_, &QPushButton::clicked, this, [this] { setFolder(QDir::homePath()); });
    connect(file1_, &QTreeWidget::itemSelectionChanged, this, [this] { File1_Click(); });
    connect(file1_, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { File1_Open(item); });
    connect(cmdOK_, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel_, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });

    // Form_Load: the folder list and the file list on the start folder; the
    // name box as the chooser says.
    showFolderInTree();
    Dir1_Change();
    txtNameBmp_->setText(chooser_.nameText());
    dir1_->setFocus();
}

FileDialog::~FileDialog() = default;

void FileDialog::setFolder(const QString& folder) {
    chooser_.setFolder(QDir::cleanPath(folder));
    showFolderInTree();
    scrollTimer_->start();
    Dir1_Change();
}

void FileDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    scrollTimer_->start();
}

void FileDialog::scrollToFolder() {
    dir1_->scrollTo(dir1_->currentIndex(), QAbstractItemView::PositionAtCenter);
}

void FileDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        cmdCancel_Click();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        QWidget* focus = focusWidget();
        if (auto* button = qobject_cast<QPushButton*>(focus))
            button->click();
        else if (focus == file1_ && file1_->currentItem() != nullptr)
            File1_Open(file1_->currentItem());
        else if (focus != dir1_)
            cmdOK_Click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void FileDialog::showFolderInTree() {
    const QModelIndex index = folders_->index(chooser_.folder());
    if (!index.isValid())
        return;
    syncingTree_ = true;
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent())
        dir1_->expand(up);
    dir1_->expand(index);
    dir1_->setCurrentIndex(index);
    dir1_->scrollTo(index);
    syncingTree_ = false;
}

void FileDialog::Dir1_Change() {
    const QString& folder = chooser_.folder();
    folderLabel_->setToolTip(folder);
    folderLabel_->setText(
        folderLabel_->fontMetrics().elidedText(folder, Qt::ElideLeft, folderLabel_->width()));
    refreshFileList();
}

void FileDialog::refreshFileList() {
    const QSignalBlocker block(file1_);
    file1_->clear();
    for (const FileListEntry& entry : chooser_.listing()) {
        auto* item = new QTreeWidgetItem(file1_, {entry.name, fileListDate(entry.modified),
                                                  fileListType(entry), fileListSize(entry)});
        item->setData(0, Qt::UserRole, entry.folder);
        item->setIcon(
            0, style()->standardIcon(entry.folder ? QStyle::SP_DirIcon : QStyle::SP_FileIcon));
        item->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
    }
    file1_->resizeColumnToContents(0);
    file1_->resizeColumnToContents(1);
}

void FileDialog::File1_Click() {
    const QList<QTreeWidgetItem*> selected = file1_->selectedItems();
    if (selected.isEmpty() || selected.front()->data(0, Qt::UserRole).toBool())
        return;
    chooser_.fileClicked(selected.front()->text(0));
    txtNameBmp_->setText(chooser_.nameText());
}

void FileDialog::File1_Open(QTreeWidgetItem* item) {
    if (item == nullptr)
        return;
    if (item->data(0, Qt::UserRole).toBool()) {
        // Once the click is over: the new folder's list replaces the item.
        const QString folder = joinFolderAndName(chooser_.folder(), item->text(0));
        QTimer::singleShot(0, this, [this, folder] { setFolder(folder); });
        return;
    }
    chooser_.fileClicked(item->text(0));
    txtNameBmp_->setText(chooser_.nameText());
    cmdOK_Click();
}

void FileDialog::cmdOK_Click() {
    chooser_.setNameText(txtNameBmp_->text());
    if (const auto refusal = chooser_.beginAccept()) {
        prompts_.inform(this, *refusal);
        return;
    }
    txtNameBmp_->setText(chooser_.nameText());
    actionSucceeded_ = action_ ? action_(this, chooser_.path()) : false;
    chooser_.finishAccept(actionSucceeded_);
    accept();
}

void FileDialog::cmdCancel_Click() {
    reject();
}

} // namespace tamsor
