// The results table as text: what its cells show, what the clipboard and the
// CSV file carry.
//
// The expected cells come from the independent python3 script at the top of
// tests/engine/WindResponseTest.cpp, run for the three-point model (new code,
// terrain C) and extended by the derived results as the report defines them:
//   lrcResonant = sqrt(R2)/d*F, totalDisp = meanDisp + dispStd,
//   gbjLoad = (eq - meanLoad)/C + meanLoad, acceleration = lrcResonant / mass
//   (kN / t = m/s^2), base shears = sums of the loads, base moments = sums of
//   load x height;
// each value printed with Decimal(repr(v)).quantize(..., ROUND_HALF_UP) to the
// field's decimals. The load code's closed form of beta_z and the cross-wind
// check come from the independent script of docs/verification.md
// (code_formula() and cross_wind()) on the same projects.

#include "ResultTable.h"

#include "EngineTestModels.h"
#include "GermanLocale.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <charconv>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace tamsor {
namespace {

using ::testing::ElementsAre;

std::vector<std::string> shownRow(const std::vector<ResultCell>& row) {
    std::vector<std::string> shown;
    for (const ResultCell& cell : row)
        shown.push_back(cell.shown);
    return shown;
}

double parsed(const std::string& text) {
    double value = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    EXPECT_TRUE(ec == std::errc{} && end == text.data() + text.size()) << text;
    return value;
}

class ResultTableOfThreePoints : public ::testing::Test {
protected:
    ResultsPtr results = test::computed(test::threePoints(3), Edition::GB201X);
    ResultTable table = buildResultTable(*results);
};

TEST_F(ResultTableOfThreePoints, ShowsTheIndependentlyWorkedValues) {
    EXPECT_THAT(table.points.header,
                ElementsAre("质点", "高度(m)", "平均风荷载(KN)", "平均位移(mm)", "第1阶风振力(KN)",
                            "第1阶位移标准差(mm)", "风振系数", "规范公式βz", "等效静力风荷载(KN)",
                            "两个系数的乘积u1*r1", "背景分量因子Bz", "等效风荷载背景分量(KN)",
                            "LRC法等效风荷载(KN)", "等效风荷载共振分量(KN)", "总位移(mm)",
                            "修正后的GBJ法等效风荷载(KN)", "顺风向加速度(m/s^2)"));
    ASSERT_EQ(table.points.rows.size(), 3u);
    EXPECT_THAT(shownRow(table.points.rows[0]),
                ElementsAre("1", "20.00", "15.838", "5.115", "6.233", "4.934", "1.3936", "1.3179",
                            "22.071", "0.2743", "0.2386", "11.869", "28.520", "4.469", "10.049",
                            "22.693", "0.0894"));
    EXPECT_THAT(shownRow(table.points.rows[1]),
                ElementsAre("2", "40.00", "21.485", "18.754", "18.284", "18.091", "1.8510",
                            "1.8594", "39.769", "0.5932", "0.5158", "15.416", "41.723", "13.110",
                            "36.846", "41.595", "0.3278"));
    EXPECT_THAT(shownRow(table.points.rows[2]),
                ElementsAre("3", "60.00", "23.048", "34.099", "24.933", "32.894", "2.0818",
                            "2.3072", "47.980", "0.7541", "0.6557", "13.953", "45.726", "17.878",
                            "66.992", "50.469", "0.5959"));

    std::vector<std::string> structure;
    for (const auto& row : table.structure.rows)
        structure.push_back(row[0].shown + "=" + row[1].shown);
    EXPECT_THAT(structure,
                ElementsAre("SQRT(1+R^2)=1.4346", "脉动底部剪力精确解(KN)=54.386",
                            "脉动修正系数C=0.9092", "α=0.22", "I10=0.2300",
                            "平均基底剪力(KN)=60.370", "平均基底弯矩(KN*m)=2559.012",
                            "第1阶脉动基底剪力(KN)=49.450", "第1阶脉动基底弯矩(KN*m)=2351.999",
                            "总基底剪力(KN)=109.820", "总基底弯矩(KN*m)=4911.011",
                            "LRC法总底部剪力(KN)=115.969", "LRC法总底部弯矩(KN*m)=4982.864"));
}

TEST_F(ResultTableOfThreePoints, CarriesEveryDigitToTheClipboard) {
    // Full precision reads back as the very double, and agrees with the
    // independent values (meanDisp of point 3, corrC).
    EXPECT_EQ(parsed(table.points.rows[2][3].exact), results->raw().meanDisp[2]);
    EXPECT_REL(parsed(table.points.rows[2][3].exact), 34.09851430868116);
    EXPECT_REL(parsed(table.structure.rows[2][1].exact), 0.9092357539764553);

    // Two cells of different rows and columns: the header of both columns,
    // both rows, the cells not selected left empty.
    EXPECT_EQ(tabSeparated(table.points, {{0, 2}, {2, 6}}),
              "平均风荷载(KN)\t风振系数\n" + table.points.rows[0][2].exact + "\t\n\t" +
                  table.points.rows[2][6].exact + "\n");
    const std::string whole = tabSeparated(table);
    EXPECT_EQ(whole.substr(0, whole.find('\n')),
              "质点\t高度(m)\t平均风荷载(KN)\t平均位移(mm)\t第1阶风振力(KN)\t第1阶位移标准差(mm)"
              "\t风振系数\t规范公式βz\t等效静力风荷载(KN)\t两个系数的乘积u1*r1\t背景分量因子Bz"
              "\t等效风荷载背景分量(KN)\tLRC法等效风荷载(KN)\t等效风荷载共振分量(KN)\t总位移(mm)"
              "\t修正后的GBJ法等效风荷载(KN)\t顺风向加速度(m/s^2)");
    EXPECT_NE(whole.find("\n3\t60\t"), std::string::npos);
    EXPECT_NE(whole.find("\n\n结果\t数值\nSQRT(1+R^2)\t" + table.structure.rows[0][1].exact + "\n"),
              std::string::npos);
}

TEST_F(ResultTableOfThreePoints, TextDoesNotDependOnTheLocale) {
    test::GermanLocale german;
    if (!german.armed())
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    const ResultTable again = buildResultTable(*results);
    EXPECT_EQ(again.points.rows[1][2].shown, "21.485");
    EXPECT_EQ(tabSeparated(again), tabSeparated(table));
    EXPECT_EQ(resultTableCsv(again), resultTableCsv(table));
}

TEST_F(ResultTableOfThreePoints, CsvRoundTripsThroughACsvReader) {
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty())
        GTEST_SKIP() << "python3 is not installed";
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("结果.csv"));
    ASSERT_EQ(writeResultTableCsv(*results, path), std::nullopt);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith("\xEF\xBB\xBF"));

    // Python's csv module, reading UTF-8 with its byte-order mark.
    QProcess reader;
    reader.start(python, {QStringLiteral("-c"),
                          QStringLiteral("import csv, json, sys; print(json.dumps(list(csv.reader("
                                         "open(sys.argv[1], encoding='utf-8-sig', newline='')))))"),
                          path});
    ASSERT_TRUE(reader.waitForFinished(30000));
    ASSERT_EQ(reader.exitCode(), 0) << reader.readAllStandardError().toStdString();
    const QJsonArray rows = QJsonDocument::fromJson(reader.readAllStandardOutput()).array();

    // Points header, three points, an empty line, the structure's header
    // and rows; an empty line, the closed form's title and its blocks; at
    // the end "说明" and the remarks.
    const auto cell = [&](std::size_t row, qsizetype column) {
        return rows[static_cast<qsizetype>(row)].toArray()[column].toString().toStdString();
    };
    for (std::size_t c = 0; c < table.points.header.size(); ++c)
        EXPECT_EQ(cell(0, static_cast<qsizetype>(c)), table.points.header[c]);
    for (std::size_t r = 0; r < 3; ++r)
        for (std::size_t c = 1; c < table.points.header.size(); ++c)
            EXPECT_EQ(parsed(cell(r + 1, static_cast<qsizetype>(c))),
                      parsed(table.points.rows[r][c].exact));
    EXPECT_TRUE(rows[4].toArray().isEmpty());
    EXPECT_EQ(cell(6, 0), "SQRT(1+R^2)");
    EXPECT_EQ(parsed(cell(6, 1)), results->raw().dynFactor);
    const std::size_t section = 6 + table.structure.rows.size();
    EXPECT_TRUE(rows[static_cast<qsizetype>(section)].toArray().isEmpty());
    EXPECT_EQ(cell(section + 1, 0), "规范公式对照");
    EXPECT_EQ(cell(section + 2, 0), "结果");
    EXPECT_EQ(cell(section + 3, 0), "系数x1");
    EXPECT_REL(parsed(cell(section + 3, 1)), 44.038550605054425);
    const std::size_t remarks = static_cast<std::size_t>(rows.size()) - table.remarks.size();
    EXPECT_EQ(cell(remarks - 1, 0), "说明");
    EXPECT_EQ(cell(remarks, 0), table.remarks[0]);
}

TEST(ResultTable, FollowsTheCodeEditionAndListsTheFailedChecksBeforeTheNotes) {
    // Terrain D: the lowest point, at 20 m, lies below the table's cut-off
    // height of 30 m; every wind vibration coefficient is above 1.2.
    const ResultTable table =
        buildResultTable(*test::computed(test::threePoints(4), Edition::GB2001));
    EXPECT_EQ(table.structure.rows[0][0].shown, "脉动增大系数ξ1");
    EXPECT_TRUE(table.sections.empty());
    ASSERT_EQ(table.remarks.size(), 3u);
    EXPECT_THAT(table.remarks[0], ::testing::StartsWith("第1质点(z=20 m)低于截断高度30 m"));
    EXPECT_EQ(table.remarks[1], "规范公式对照：GB50009-2001无此公式，未作对照");
    EXPECT_THAT(table.remarks[2], ::testing::StartsWith("顺风向加速度：按设计基本风压计算。"));
    EXPECT_NE(tabSeparated(table).find("\n\n说明\n" + table.remarks[0] + "\n"), std::string::npos);
}

TEST(ResultTable, CrossWindSectionPerModeAndPerPoint) {
    const auto outcome = compute(test::chimneyInput(), Edition::GB201X);
    ASSERT_TRUE(outcome && std::holds_alternative<ResultsPtr>(*outcome));
    const ResultTable table = buildResultTable(*std::get<ResultsPtr>(*outcome));
    // The cross-wind check and the closed form; no comfort check without w10.
    ASSERT_EQ(table.sections.size(), 2u);
    const ResultSection& crossWind = table.sections[0];
    EXPECT_EQ(crossWind.title, "横风向风振(旋涡脱落)验算");
    std::vector<std::string> structure;
    for (const auto& row : crossWind.structure.rows)
        structure.push_back(row[0].shown + "=" + row[1].shown);
    EXPECT_THAT(structure, ElementsAre("圆截面直径D(m)=6.00", "结构类型=高耸结构",
                                       "结构顶部风速v_H(m/s)=39.953", "第1阶亚临界微风共振=否"));

    EXPECT_THAT(crossWind.modes.header,
                ElementsAre("振型", "周期T(s)", "临界风速v_cr(m/s)", "雷诺数Re", "流态",
                            "跨临界强风共振", "临界风速起始点高度H1(m)", "系数λ",
                            "横风向基底剪力(KN)", "横风向基底弯矩(KN*m)", "组合基底剪力(KN)",
                            "组合基底弯矩(KN*m)", "组合依据"));
    ASSERT_EQ(crossWind.modes.rows.size(), 3u);
    EXPECT_THAT(shownRow(crossWind.modes.rows[0]),
                ElementsAre("1", "4.000", "7.500", "3105000", "超临界", "否", "", "", "0.000",
                            "0.000", "", "", ""));
    EXPECT_THAT(shownRow(crossWind.modes.rows[1]),
                ElementsAre("2", "1.000", "30.000", "12420000", "跨临界", "是", "4.392", "0.8256",
                            "-113.547", "633.912", "301.920", "18056.651",
                            "GB50009-201X 表8.5.6 工况2"));

    // Per point the heights, then each mode's loads and forces.
    ASSERT_EQ(crossWind.points.header.size(), 2u + 3u * 2u);
    EXPECT_EQ(crossWind.points.header[4], "第2阶横风向风振等效风荷载(KN/m^2)");
    EXPECT_EQ(crossWind.points.header[5], "第2阶横风向风振力(KN)");
    ASSERT_EQ(crossWind.points.rows.size(), 10u);
    EXPECT_THAT(
        shownRow(crossWind.points.rows[9]),
        ElementsAre("10", "100.00", "0.0000", "0.000", "1.1610", "69.661", "0.0000", "0.000"));
    EXPECT_THAT(table.remarks, ::testing::Contains(::testing::StartsWith(
                                   "横风向风振(旋涡脱落)验算：第2阶振型发生跨临界强风共振")));
}

} // namespace
} // namespace tamsor
