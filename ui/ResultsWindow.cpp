#include "ResultsWindow.h"

#include "ProjectSession.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <vector>

namespace tamsor {

namespace {

QString qs(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

// "平均风荷载(KN)" as two header lines, the unit below the caption, so that
// the columns stay narrow.
QString headerText(const std::string& caption) {
    QString text = qs(caption);
    const qsizetype open = text.lastIndexOf(u'(');
    if (open > 0 && text.endsWith(u')'))
        text.insert(open, u'\n');
    return text;
}

std::vector<CellIndex> selectedCells(const QTableWidget* view) {
    std::vector<CellIndex> cells;
    for (const QModelIndex& index : view->selectionModel()->selectedIndexes())
        cells.push_back(CellIndex{static_cast<std::size_t>(index.row()),
                                  static_cast<std::size_t>(index.column())});
    return cells;
}

QTableWidget* makeTable(QWidget* parent) {
    auto* view = new QTableWidget(parent);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    view->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    return view;
}

} // namespace

ResultsWindow::ResultsWindow(ProjectSession& session, QWidget* parent)
    : QWidget(parent, Qt::Window), session_(session) {
    setObjectName(QStringLiteral("resultsWindow"));
    setWindowTitle(QStringLiteral("结果表"));

    note_ = new QLabel(this);
    remarks_ = new QLabel(this);
    remarks_->setObjectName(QStringLiteral("remarks"));
    remarks_->setWordWrap(true);
    remarks_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    remarks_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    points_ = makeTable(this);
    points_->setObjectName(QStringLiteral("pointTable"));
    structure_ = makeTable(this);
    structure_->setObjectName(QStringLiteral("structureTable"));
    copy_ = new QPushButton(QStringLiteral("复制"), this);
    export_ = new QPushButton(QStringLiteral("导出CSV..."), this);

    // Below the points: the structure's results, as tall as their rows, and
    // the buttons.
    auto* buttons = new QVBoxLayout;
    buttons->addStretch();
    buttons->addWidget(copy_);
    buttons->addWidget(export_);
    auto* structure = new QVBoxLayout;
    structure->addWidget(new QLabel(QStringLiteral("整体结果"), this));
    structure->addWidget(structure_);
    auto* bottom = new QHBoxLayout;
    bottom->addLayout(structure);
    bottom->addSpacing(12);
    bottom->addWidget(remarks_, 1);
    bottom->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(note_);
    layout->addWidget(points_, 1);
    layout->addLayout(bottom);

    // A selection lives in one table at a time, so that Ctrl+C copies what
    // the user sees selected.
    connect(points_, &QTableWidget::itemSelectionChanged, this, [this] {
        if (!points_->selectedItems().isEmpty())
            structure_->clearSelection();
    });
    connect(structure_, &QTableWidget::itemSelectionChanged, this, [this] {
        if (!structure_->selectedItems().isEmpty())
            points_->clearSelection();
    });

    auto* copyAction = new QAction(QStringLiteral("复制"), this);
    copyAction->setShortcut(QKeySequence::Copy);
    copyAction->setShortcutContext(Qt::WindowShortcut);
    addAction(copyAction);
    connect(copyAction, &QAction::triggered, this, [this] { copy(); });
    connect(copy_, &QPushButton::clicked, this, [this] { copy(); });
    connect(export_, &QPushButton::clicked, this, [this] { emit exportRequested(); });
    connect(&session_, &ProjectSession::resultsChanged, this,
            [this](bool current) { refresh(current); });

    refresh(session_.resultsCurrent());
    resize(1100, 720);
}

void ResultsWindow::refresh(bool current) {
    filled_ = current;
    table_ = current ? buildResultTable(*session_.results()) : ResultTable{};
    fill(points_, table_.points, true);
    fill(structure_, table_.structure, false);
    if (current)
        fitStructureTable();
    QString remarks;
    for (const std::string& remark : table_.remarks)
        remarks += (remarks.isEmpty() ? QStringLiteral("说明：\n· ") : QStringLiteral("\n· ")) +
                   qs(remark);
    remarks_->setText(remarks);
    copy_->setEnabled(current);
    export_->setEnabled(current);
    if (current) {
        const Results& results = *session_.results();
        note_->setText(QStringLiteral("%1，地貌类型 %2，%3 个质点")
                           .arg(results.edition() == Edition::GB201X
                                    ? QStringLiteral("新规范GB50009-201X")
                                    : QStringLiteral("旧规范GB50009-2001"))
                           .arg(QChar(u"ABCD"[results.numbers().terrainType - 1]))
                           .arg(results.pointCount()));
    } else {
        note_->setText(qs(ProjectSession::noCurrentResults().text));
    }
}

void ResultsWindow::fill(QTableWidget* view, const ResultBlock& block, bool wrapUnits) {
    view->clear();
    view->setColumnCount(static_cast<int>(block.header.size()));
    view->setRowCount(static_cast<int>(block.rows.size()));
    QStringList header;
    for (const std::string& caption : block.header)
        header << (wrapUnits ? headerText(caption) : qs(caption));
    view->setHorizontalHeaderLabels(header);
    for (std::size_t r = 0; r < block.rows.size(); ++r) {
        for (std::size_t c = 0; c < block.rows[r].size(); ++c) {
            auto* item = new QTableWidgetItem(qs(block.rows[r][c].shown));
            item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
            // Numbers right-aligned so their decimals line up; captions left.
            const bool caption = !wrapUnits && c == 0;
            item->setTextAlignment(Qt::AlignVCenter | (caption ? Qt::AlignLeft : Qt::AlignRight));
            view->setItem(static_cast<int>(r), static_cast<int>(c), item);
        }
    }
    view->resizeColumnsToContents();
}

// The structure's table shows every row and column without scrolling.
void ResultsWindow::fitStructureTable() {
    int width = 2 * structure_->frameWidth();
    for (int c = 0; c < structure_->columnCount(); ++c)
        width += structure_->columnWidth(c);
    const int height = 2 * structure_->frameWidth() + structure_->horizontalHeader()->height() +
                       structure_->rowCount() * structure_->verticalHeader()->defaultSectionSize();
    structure_->setFixedSize(width, height);
}

std::string ResultsWindow::copyText() const {
    if (!filled_)
        return {};
    if (const auto cells = selectedCells(points_); !cells.empty())
        return tabSeparated(table_.points, cells);
    if (const auto cells = selectedCells(structure_); !cells.empty())
        return tabSeparated(table_.structure, cells);
    return tabSeparated(table_);
}

void ResultsWindow::copy() {
    const std::string text = copyText();
    if (!text.empty())
        QGuiApplication::clipboard()->setText(qs(text));
}

} // namespace tamsor
