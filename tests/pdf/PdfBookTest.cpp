// The calculation book's parts that need no PDF reader: its pages as laid
// out against the report's page, the text maps put right, the remembered
// title block, the refusals. tests/cli/check_pdf_book.py reads whole books
// back.
#include "BookLayout.h"
#include "CalculationBook.h"
#include "PdfTextMapping.h"
#include "TitleBlock.h"

#include "HtmlReport.h"
#include "PlotPairs.h"
#include "ProjectFile.h"
#include "ReportTestProjects.h"
#include "Results.h"

#include <QBuffer>
#include <QFile>
#include <QFontDatabase>
#include <QPdfWriter>
#include <QRawFont>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QtTest>

using namespace tamsor;

Q_DECLARE_METATYPE(tamsor::ProjectInput)

class PdfBookTest : public QObject {
    Q_OBJECT
private slots:
    void bookHoldsEveryTextOfThePageWholeAndInOrder_data();
    void bookHoldsEveryTextOfThePageWholeAndInOrder();
    void textMapsNameTheIdeographsThePageShows();
    void anEmptyDateIsTheDays();
    void bookIsRefusedWhereTheReportIs();
};

namespace {

ResultsPtr computed(const ProjectInput& input, Edition edition) {
    const auto outcome = compute(input, edition);
    if (!outcome || !std::holds_alternative<ResultsPtr>(*outcome))
        return nullptr;
    return std::get<ResultsPtr>(*outcome);
}

ProjectInput fileProject(const QString& path) {
    const ProjectRead read = readProjectFile(path);
    if (!read.complete())
        qFatal("cannot read %s", qPrintable(path));
    return read.input;
}

// The texts of the page as a browser shows them: every text between two tags
// of the body, runs of white space as one, the lines of hyphens (rules) left
// out.
QStringList pageTexts(const QByteArray& page) {
    QStringDecoder decoder("GB2312");
    QString html = decoder.decode(page);
    html = html.mid(html.indexOf(QStringLiteral("<body>")));
    QStringList texts;
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    static const QRegularExpression rule(QStringLiteral("^-+$"));
    for (QString text : html.split(tag)) {
        text.replace(QStringLiteral("&lt;"), QStringLiteral("<"))
            .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
            .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
        text = text.simplified();
        if (!text.isEmpty() && !rule.match(text).hasMatch())
            texts.push_back(text);
    }
    return texts;
}

struct PlacedItem {
    std::size_t page;
    const BookItem* item;
};

std::vector<PlacedItem> itemsOf(const BookLayout& book) {
    std::vector<PlacedItem> items;
    for (std::size_t p = 0; p < book.pages.size(); ++p)
        for (const BookItem& item : book.pages[p].items)
            items.push_back({p, &item});
    return items;
}

// The first text of the page that the book does not hold, in the page's
// order, whole within one of its texts (which stands on one page); empty
// when it holds them all.
QString firstTextNotHeld(const QStringList& page, const std::vector<PlacedItem>& book) {
    std::size_t at = 0;
    qsizetype from = 0;
    for (const QString& text : page) {
        for (; at < book.size(); ++at, from = 0) {
            const qsizetype found = book[at].item->text.indexOf(text, from);
            if (found >= 0) {
                from = found + text.size();
                break;
            }
        }
        if (at == book.size())
            return text;
    }
    return {};
}

// The book's pages as the PDF has them.
BookLayout bookOf(const Results& results, const ReportContact& contact = {}) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter device(&buffer);
    device.setPageLayout(calculationBookPageLayout());
    device.setResolution(600);
    const TitleBlock block{QStringLiteral("江边电视塔"), QStringLiteral("张工"),
                           QStringLiteral("李工"), QStringLiteral("2026-03-01")};
    return calculationBookLayout(device, results, block, contact);
}

} // namespace

void PdfBookTest::bookHoldsEveryTextOfThePageWholeAndInOrder_data() {
    QTest::addColumn<ProjectInput>("input");
    QTest::addColumn<int>("edition");
    QTest::addColumn<QString>("partNumbers");
    const int newCode = static_cast<int>(Edition::GB201X);
    const int oldCode = static_cast<int>(Edition::GB2001);
    for (const char* example : {"rc_chimney", "steel_tower", "single_mass"})
        QTest::newRow(example) << fileProject(QStringLiteral(TAMSOR_EXAMPLES_DIR "/") + example +
                                              QStringLiteral(".wvd"))
                               << newCode << QStringLiteral("一二三四五六八");
    const QString data = QStringLiteral(TAMSOR_TEST_DATA_DIR "/files/");
    QTest::newRow("code_formula_building")
        << fileProject(data + QStringLiteral("code_formula_building.wvd")) << newCode
        << QStringLiteral("一二三四五六八");
    for (const int edition : {newCode, oldCode})
        QTest::addRow("chimney_crosswind, %s", edition == newCode ? "201X" : "2001")
            << fileProject(data + QStringLiteral("chimney_crosswind.wvd")) << edition
            << QStringLiteral("一二三四五六七八");
    for (int k = 0; k < 16; ++k) {
        const ProjectInput input = test::generatedProject(k);
        QTest::addRow("generated %d", k)
            << input << (k % 3 == 2 ? oldCode : newCode)
            << (input.diameter.empty() ? QStringLiteral("一二三四五六八")
                                       : QStringLiteral("一二三四五六七八"));
    }
}

void PdfBookTest::bookHoldsEveryTextOfThePageWholeAndInOrder() {
    QFETCH(ProjectInput, input);
    QFETCH(int, edition);
    QFETCH(QString, partNumbers);
    const ResultsPtr results = computed(input, static_cast<Edition>(edition));
    QVERIFY(results != nullptr);
    QVERIFY(!calculationBookRefusal(*results).has_value());
    const BookLayout book = bookOf(*results);
    QVERIFY(book.pages.size() >= 2);
    const std::vector<PlacedItem> items = itemsOf(book);

    // Every text of the page encodes in GB2312: the page is not empty.
    const QByteArray html = htmlReportBytes(*results);
    QVERIFY(!html.isEmpty());
    const QString notHeld = firstTextNotHeld(pageTexts(html), items);
    QVERIFY2(notHeld.isEmpty(), qPrintable(QStringLiteral("not in the book: ") + notHeld));

    // Nothing crosses a page's foot; no page is empty or ends in a heading.
    for (const BookPage& page : book.pages) {
        QVERIFY(std::any_of(page.items.begin(), page.items.end(),
                            [](const BookItem& item) { return !item.text.isEmpty(); }));
        for (const BookItem& item : page.items)
            QVERIFY2(item.rect.top() >= 0 && item.rect.bottom() <= book.body.height() + 0.5,
                     qPrintable(item.text));
        const auto last = std::find_if(page.items.rbegin(), page.items.rend(),
                                       [](const BookItem& item) { return !item.text.isEmpty(); });
        QVERIFY2(last->kind != BookItem::Kind::Heading || &page == &book.pages.back(),
                 qPrintable(last->text));
    }

    // The parts in the book's order, then the footer; each pair of plots right
    // after the last row of the table it names.
    QString parts;
    std::vector<int> pairs;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const BookItem& item = *items[i].item;
        if (item.kind == BookItem::Kind::Heading &&
            QStringLiteral("一二三四五六七八").contains(item.text.front()))
            parts += item.text.front();
        if (item.kind == BookItem::Kind::Plots) {
            pairs.push_back(item.plotPair);
            QVERIFY(i > 0);
            const BookItem& before = *items[i - 1].item;
            QCOMPARE(before.kind, BookItem::Kind::Value);
            QCOMPARE(before.table.toStdString(),
                     std::string(kPlotPairs.at(static_cast<std::size_t>(item.plotPair)).table));
            QVERIFY(i + 1 == items.size() || items[i + 1].item->table != before.table);
        }
    }
    QCOMPARE(parts, partNumbers);
    QCOMPARE(pairs, (std::vector<int>{0, 1, 2}));
    QCOMPARE(items.back().item->kind, BookItem::Kind::Rule);

    // The footer names the contact given, as the page does.
    const std::vector<PlacedItem> named =
        itemsOf(bookOf(*results, {"江边设计院", "cad@example.cn"}));
    QCOMPARE(
        firstTextNotHeld(
            {QStringLiteral("请告知 江边设计院"), QStringLiteral("Email : cad@example.cn")}, named),
        QString());
}

void PdfBookTest::textMapsNameTheIdeographsThePageShows() {
    // A ToUnicode map as Qt writes it: glyphs 1..4 as radicals, a tab and a
    // plain character; glyph 5 alone; glyphs 6..15 one range of ten.
    const QByteArray map = "2 beginbfrange\n"
                           "<0000> <0000> <0000>\n"
                           "<0001> <0004> [<2EDB> <2F06> <0009> <0041> ]\n"
                           "<0005> <0005> <2EDA>\n"
                           "<0006> <000F> <2F00>\n"
                           "endbfrange\n";
    const QHash<char16_t, char16_t> replacements{{u'\t', u' '},
                                                 {u'\u2EDB', u'风'},
                                                 {u'\u2F06', u'二'},
                                                 {u'\u2EDA', u'页'},
                                                 {u'\u2F00', u'一'}};
    QByteArray pdf = "%PDF-1.4\n" + map + "stream <2EDB> endstream";
    const qsizetype size = pdf.size();
    QCOMPARE(replaceInTextMaps(pdf, replacements), 4);
    QCOMPARE(pdf.size(), size); // every offset kept
    QVERIFY(pdf.contains("<0001> <0004> [<98CE> <4E8C> <0020> <0041> ]\n"));
    QVERIFY(pdf.contains("<0005> <0005> <9875>\n"));
    QVERIFY(pdf.contains("<0006> <000F> <2F00>\n"));  // a range starts there: left alone
    QVERIFY(pdf.endsWith("stream <2EDB> endstream")); // outside the maps: left alone

    // The CJK font draws these radicals with the glyphs of these ideographs
    // (Unicode's radical names: C-SIMPLIFIED WIND, KANGXI TWO, C-SIMPLIFIED
    // LEAF).
    const QRawFont font = QRawFont::fromFont(QFont(QStringLiteral("Noto Sans CJK SC")));
    if (!font.familyName().contains(QStringLiteral("Noto Sans CJK")))
        QSKIP("Noto Sans CJK SC (package fonts-noto-cjk) is not installed");
    const QHash<char16_t, char16_t> fromFont = ideographsForRadicals(font);
    QCOMPARE(fromFont.value(u'\u2EDB'), u'风');
    QCOMPARE(fromFont.value(u'\u2F06'), u'二');
    QCOMPARE(fromFont.value(u'\u2EDA'), u'页');
    QCOMPARE(fromFont.value(u'\t'), u' ');
    QVERIFY(!fromFont.contains(u'风'));
}

void PdfBookTest::anEmptyDateIsTheDays() {
    const TitleBlock block{QStringLiteral("江边电视塔"), QStringLiteral("张工"),
                           QStringLiteral("李工"), QString()};
    // No date given: the day's; a date given stays as typed.
    QCOMPARE(withDate(block, QDate(2026, 3, 1)).date, QStringLiteral("2026-03-01"));
    TitleBlock dated = block;
    dated.date = QStringLiteral("2026年3月");
    QCOMPARE(withDate(dated, QDate(2026, 3, 1)).date, QStringLiteral("2026年3月"));
}

void PdfBookTest::bookIsRefusedWhereTheReportIs() {
    // Two equal masses swinging against each other: the first mode's base
    // shear is 0, so C is 0 and the corrected load cannot be formed.
    ProjectInput input;
    input.pointCount = 2;
    input.terrain = 2;
    input.heights = "10;20";
    input.areas = input.masses = "10;10";
    input.modeShapes[0] = "1;-1";
    input.shapeCoefficients = "1.3";
    input.frequencies = "1";
    input.dampingRatios = "0.05";
    input.windPressure = "0.5";
    const auto outcome = compute(input, Edition::GB201X);
    QVERIFY(outcome.has_value() && std::holds_alternative<ResultsPtr>(*outcome));
    const Results& results = *std::get<ResultsPtr>(*outcome);
    QCOMPARE(results.raw().corrC, 0.0);
    QVERIFY(calculationBookRefusal(results).has_value());
    QVERIFY(calculationBookPdf(results, TitleBlock{}).isEmpty());

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("book.pdf"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("old book");
    old.close();
    const std::optional<Message> refusal = writeCalculationBookPdf(results, TitleBlock{}, path);
    QVERIFY(refusal.has_value());
    QCOMPARE(refusal->title, std::string("警告"));
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("old book"));
}

QTEST_MAIN(PdfBookTest)
#include "PdfBookTest.moc"
