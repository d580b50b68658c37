#include "ResultsWindow.h"

#include "ProjectSession.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
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

// A table as large as its rows and columns, so that it never scrolls.
void fitToContents(QTableWidget* view) {
    int width = 2 * view->frameWidth();
    for (int c = 0; c < view->columnCount(); ++c)
        width += view->columnWidth(c);
    // The header's own wish: a table not shown yet has no laid-out header.
    const int height = 2 * view->frameWidth() + view->horizontalHeader()->sizeHint().height() +
                       view->rowCount() * view->verticalHeader()->defaultSectionSize();
    view->setFixedSize(width, height);
}

// The blocks of a section in the order of the table, with the caption above
// each (none above the structure's, whose header says it).
constexpr std::pair<std::string_view, const char*> kSectionBlocks[] = {
    {"structure", ""}, {"modes", "各阶振型"}, {"points", "各质点"}};

const ResultBlock& sectionBlock(const ResultSection& section, std::string_view block) {
    return block == "structure" ? section.structure
           : block == "modes"   ? section.modes
                                : section.points;
}

// "crossWindModes": the group's key and the block's.
QString sectionTableName(std::string_view group, std::string_view block) {
    QString name = QString::fromUtf8(block.data(), static_cast<qsizetype>(block.size()));
    name[0] = name[0].toUpper();
    return QString::fromUtf8(group.data(), static_cast<qsizetype>(group.size())) + name;
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
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("resultTabs"));
    // Without sections the points stand alone, as a table without tabs.
    tabs_->setTabBarAutoHide(true);
    tabs_->setDocumentMode(true);
    points_ = makeTable(tabs_);
    points_->setObjectName(QStringLiteral("pointTable"));
    tabs_->addTab(points_, QStringLiteral("各质点结果"));
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
    // The structure's along-wind results go with the points: a section's tab
    // takes their room.
    auto* structureBox = new QWidget(this);
    auto* structure = new QVBoxLayout(structureBox);
    structure->setContentsMargins(0, 0, 0, 0);
    structure->addWidget(new QLabel(QStringLiteral("整体结果"), structureBox));
    structure->addWidget(structure_);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(structureBox);
    bottom->addSpacing(12);
    bottom->addWidget(remarks_, 1);
    bottom->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(note_);
    layout->addWidget(tabs_, 1);
    layout->addLayout(bottom);

    // A selection lives in one table at a time, and only while its tab is
    // shown, so that Ctrl+C copies what the user sees selected.
    watchSelection(points_);
    watchSelection(structure_);
    connect(tabs_, &QTabWidget::currentChanged, this, [this, structureBox](int index) {
        structureBox->setVisible(index <= 0);
        for (const auto& [view, block] : views_)
            view->clearSelection();
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

void ResultsWindow::watchSelection(QTableWidget* view) {
    connect(view, &QTableWidget::itemSelectionChanged, this, [this, view] {
        if (view->selectedItems().isEmpty())
            return;
        for (const auto& [other, block] : views_)
            if (other != view)
                other->clearSelection();
    });
}

void ResultsWindow::refresh(bool current) {
    filled_ = current;
    table_ = current ? buildResultTable(*session_.results()) : ResultTable{};
    fill(points_, table_.points, true);
    fill(structure_, table_.structure, false);
    if (current)
        fitStructureTable();
    showSections();
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
    fitToContents(structure_);
}

// Each section on a tab of its own: its blocks one below the other, each
// table as large as its contents, the whole page scrolling.
void ResultsWindow::showSections() {
    views_ = {{points_, &table_.points}, {structure_, &table_.structure}};
    while (tabs_->count() > 1) {
        QWidget* page = tabs_->widget(1);
        tabs_->removeTab(1);
        delete page;
    }
    for (const ResultSection& section : table_.sections) {
        auto* scroll = new QScrollArea;
        scroll->setObjectName(QString::fromStdString(section.key) + QStringLiteral("Section"));
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        auto* page = new QWidget;
        auto* layout = new QVBoxLayout(page);
        for (const auto& [block, caption] : kSectionBlocks) {
            const ResultBlock& contents = sectionBlock(section, block);
            if (contents.header.empty())
                continue;
            auto* view = makeTable(page);
            view->setObjectName(sectionTableName(section.key, block));
            view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            fill(view, contents, block != "structure");
            fitToContents(view);
            if (*caption != '\0') {
                auto* label = new QLabel(QString::fromUtf8(caption), page);
                label->setBuddy(view);
                layout->addWidget(label);
            }
            layout->addWidget(view);
            views_.emplace_back(view, &contents);
            watchSelection(view);
        }
        layout->addStretch();
        scroll->setWidget(page);
        tabs_->addTab(scroll, qs(section.title));
    }
}

QTableWidget* ResultsWindow::sectionTable(std::string_view group, std::string_view block) const {
    return tabs_->findChild<QTableWidget*>(sectionTableName(group, block));
}

std::string ResultsWindow::copyText() const {
    if (!filled_)
        return {};
    for (const auto& [view, block] : views_)
        if (const auto cells = selectedCells(view); !cells.empty())
            return tabSeparated(*block, cells);
    return tabSeparated(table_);
}

void ResultsWindow::copy() {
    const std::string text = copyText();
    if (!text.empty())
        QGuiApplication::clipboard()->setText(qs(text));
}

} // namespace tamsor
