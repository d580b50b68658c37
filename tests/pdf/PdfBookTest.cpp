// The calculation book's parts that need no PDF reader: the text maps put
// right, the remembered title block, the refusals. tests/cli/check_pdf_book.py
// reads whole books back.
#include "CalculationBook.h"
#include "PdfTextMapping.h"
#include "TitleBlock.h"

#include "Results.h"

#include <QFile>
#include <QFontDatabase>
#include <QRawFont>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

using namespace tamsor;

class PdfBookTest : public QObject {
    Q_OBJECT
private slots:
    void textMapsNameTheIdeographsThePageShows();
    void titleBlockIsRememberedInTheSettingsFile();
    void bookIsRefusedWhereTheReportIs();
};

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

void PdfBookTest::titleBlockIsRememberedInTheSettingsFile() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("tamsor.conf"));
    const TitleBlock block{QStringLiteral("江边电视塔"), QStringLiteral("张工"),
                           QStringLiteral("李工"), QString()};
    {
        QSettings settings(file, QSettings::IniFormat);
        saveTitleBlock(settings, block);
    }
    QSettings settings(file, QSettings::IniFormat);
    QCOMPARE(loadTitleBlock(settings), block);
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
