// The batch command called in-process through runBatch: results, refusals,
// usage errors and the three output forms.
#include "Batch.h"

#include "BatchOutput.h"
#include "HtmlReport.h"
#include "InputForm.h"
#include "ProjectSession.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QTemporaryDir>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <clocale>
#include <cmath>
#include <limits>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace tamsor {
namespace {

using ::testing::AllOf;
using ::testing::Contains;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::IsSupersetOf;
using ::testing::Not;
using ::testing::StartsWith;

const QString kExamples = QStringLiteral(TAMSOR_EXAMPLES_DIR);
const QString kSingle = kExamples + QStringLiteral("/single_mass.wvd");
const QString kTower = kExamples + QStringLiteral("/steel_tower.wvd");
const QString kChimney = kExamples + QStringLiteral("/rc_chimney.wvd");
// Three modes and a diameter of 6 m; a building with structure=2 and w10.
const QString kCrossWindChimney =
    QStringLiteral(TAMSOR_TEST_DATA_DIR "/files/chimney_crosswind.wvd");
const QString kCodeFormulaBuilding =
    QStringLiteral(TAMSOR_TEST_DATA_DIR "/files/code_formula_building.wvd");

// One project run in-process as tamsor-batch runs it, with its messages.
struct Computed {
    MessageRecorder recorder;
    ProjectSession session{recorder};
    int status = -1;
    const Results& results() const { return *session.results(); }
};

std::unique_ptr<Computed> compute(const QString& path, std::int16_t edition) {
    auto computed = std::make_unique<Computed>();
    computed->status = runProject(computed->session, path, edition);
    return computed;
}

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

Outcome batch(QStringList args) {
    args.prepend(QStringLiteral("tamsor-batch"));
    std::ostringstream out;
    std::ostringstream err;
    Outcome o;
    o.status = runBatch(args, out, err);
    o.out = out.str();
    o.err = err.str();
    return o;
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        result.push_back(line);
    return result;
}

// Every field, the empty ones at the end of a line included.
std::vector<std::string> split(const std::string& line, char sep) {
    std::vector<std::string> fields(1);
    for (char c : line) {
        if (c == sep)
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

double parseDouble(const std::string& text) {
    double value = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
    EXPECT_EQ(r.ptr, text.data() + text.size()) << text;
    return value;
}

// The 12 project file lines, each ended by CR LF.
QString writeProject(const QTemporaryDir& dir, const QString& name,
                     const std::vector<std::string>& fileLines) {
    const QString path = dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    for (const std::string& line : fileLines)
        file.write((line + "\r\n").c_str());
    return path;
}

// Two points; the caller sets the heights line.
std::vector<std::string> twoPoints(const std::string& heights) {
    return {"2", "0", heights, "10;10", "1", "1", "0.05", "10;10", "0.5;1", "2", "0.5", "1.3"};
}

QJsonObject singleJson(const QStringList& extra) {
    const Outcome o =
        batch(extra + QStringList{QStringLiteral("--format"), QStringLiteral("json"), kSingle});
    EXPECT_EQ(o.status, kBatchOk) << o.err;
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(o.out));
    EXPECT_TRUE(doc.isObject());
    return doc.object();
}

TEST(BatchWorkedExample, NewCodeByDefault) {
    const QJsonObject r = singleJson({});
    EXPECT_EQ(r["codeVersion"].toInt(-1), 0);
    EXPECT_EQ(r["terrainType"].toInt(), 2);
    EXPECT_DOUBLE_EQ(r["meanLoad"].toArray()[0].toDouble(), 6.5);
    EXPECT_NEAR(r["windVibCoef"].toArray()[0].toDouble(), 1.95610, 5e-6);
    EXPECT_NEAR(r["dynFactor"].toDouble(), 1.36586, 5e-6);
    EXPECT_NEAR(r["lrcLoad"].toArray()[0].toDouble(), 12.7146, 5e-5);
    // The values read off the results: one point of 6.5 kN at 10 m; the
    // resonant part is R / sqrt(1 + R^2) of 6.2146 kN (4.2331 kN); one point
    // makes C = 1, so the corrected load is the code load.
    EXPECT_DOUBLE_EQ(r["meanBaseShear"].toDouble(), 6.5);
    EXPECT_DOUBLE_EQ(r["meanBaseMoment"].toDouble(), 65.0);
    EXPECT_NEAR(r["totalBaseShear"].toDouble(), 6.5 + 6.2146, 5e-5);
    EXPECT_NEAR(r["lrcResonant"].toArray()[0].toDouble(), 4.2331, 5e-5);
    EXPECT_NEAR(r["gbjLoad"].toArray()[0].toDouble(), 12.7146, 5e-5);
}

TEST(BatchWorkedExample, OldCodeIsAppliedAfterTheRead) {
    // A complete read resets the edition to 201X; --code must still win.
    for (const QString& spelling : {QStringLiteral("2001"), QStringLiteral("--code=2001")}) {
        const QStringList args = spelling.startsWith(u'-')
                                     ? QStringList{spelling}
                                     : QStringList{QStringLiteral("--code"), spelling};
        const QJsonObject r = singleJson(args);
        EXPECT_EQ(r["codeVersion"].toInt(-1), 1);
        EXPECT_NEAR(r["windVibCoef"].toArray()[0].toDouble(), 1.68271, 5e-6);
        EXPECT_NEAR(r["i10"].toDouble(), 0.1136, 1e-12);
        EXPECT_DOUBLE_EQ(r["meanLoad"].toArray()[0].toDouble(), 6.5);
    }
    const QJsonObject explicitNew = singleJson({QStringLiteral("--code"), QStringLiteral("201X")});
    EXPECT_NEAR(explicitNew["windVibCoef"].toArray()[0].toDouble(), 1.95610, 5e-6);
}

TEST(BatchJson, HasEveryFieldAndNumbersRoundTrip) {
    const auto tower = compute(kTower, 0);
    ASSERT_EQ(tower->status, kBatchOk);
    const RawResults& raw = tower->results().raw();

    const Outcome o = batch({QStringLiteral("--format"), QStringLiteral("json"), kTower});
    ASSERT_EQ(o.status, kBatchOk) << o.err;
    ASSERT_EQ(lines(o.out).size(), 1u); // one object per line
    const QJsonObject r = QJsonDocument::fromJson(QByteArray::fromStdString(o.out)).object();

    EXPECT_EQ(r["file"].toString(), kTower);
    EXPECT_EQ(r["nFreedom"].toInt(), 10);
    EXPECT_EQ(r["codeVersion"].toInt(-1), 0);
    EXPECT_EQ(r["terrainType"].toInt(), 2);
    // Bit-for-bit equal to what the computation stored.
    EXPECT_EQ(r["alpha"].toDouble(), raw.alpha);
    EXPECT_EQ(r["i10"].toDouble(), raw.i10);
    EXPECT_EQ(r["dynFactor"].toDouble(), raw.dynFactor);
    EXPECT_EQ(r["corrC"].toDouble(), raw.corrC);
    EXPECT_EQ(r["exactBaseShear"].toDouble(), raw.exactBaseShear);
    const std::vector<std::pair<const char*, const List*>> lists{
        {"meanLoad", &raw.meanLoad},
        {"meanDisp", &raw.meanDisp},
        {"windVibForce", &raw.windVibForce},
        {"dispStd", &raw.dispStd},
        {"windVibCoef", &raw.windVibCoef},
        {"eqStaticLoad", &raw.eqStaticLoad},
        {"muR", &raw.muR},
        {"bgFactor", &raw.bgFactor},
        {"lrcBackground", &raw.lrcBackground},
        {"lrcLoad", &raw.lrcLoad},
        {"zCoord", &tower->results().numbers().zCoord}};
    for (const auto& [key, list] : lists) {
        const QJsonArray array = r[QLatin1String(key)].toArray();
        ASSERT_EQ(array.size(), 10) << key;
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ(array[i].toDouble(), (*list)[static_cast<std::size_t>(i)]) << key << i;
    }
}

TEST(BatchJson, SeveralProjectsGiveOneObjectPerLine) {
    const Outcome o =
        batch({QStringLiteral("--format"), QStringLiteral("json"), kTower, kChimney, kSingle});
    ASSERT_EQ(o.status, kBatchOk) << o.err;
    const std::vector<std::string> rows = lines(o.out);
    ASSERT_EQ(rows.size(), 3u);
    const QStringList files{kTower, kChimney, kSingle};
    for (int i = 0; i < 3; ++i) {
        const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(rows[i]));
        ASSERT_TRUE(doc.isObject()) << rows[i];
        EXPECT_EQ(doc.object()["file"].toString(), files[i]);
    }
}

TEST(BatchJson, ManyProjectsStayInTheirOrder) {
    // More projects than one block runs at a time, and more output than is
    // written at once; a refused one among them.
    const QStringList examples{kSingle, kTower, kChimney};
    const QString missing = QStringLiteral("/nonexistent/none.wvd");
    QStringList files;
    for (int i = 0; i < 600; ++i)
        files << (i == 300 ? missing : examples[i % 3]);
    const Outcome o = batch(QStringList{QStringLiteral("--format=json")} + files);
    EXPECT_EQ(o.status, kBatchRefused);
    EXPECT_EQ(o.err, missing.toStdString() + ": 错误: 数据文件不存在\n");
    const std::vector<std::string> rows = lines(o.out);
    ASSERT_EQ(rows.size(), 599u);
    for (std::size_t i = 0, row = 0; i < 600; ++i) {
        if (i == 300)
            continue;
        EXPECT_THAT(rows[row++],
                    HasSubstr("\"file\":\"" + files[static_cast<int>(i)].toStdString() + "\""))
            << i;
    }
}

TEST(BatchJson, EveryShapeAndKindOfAFieldTable) {
    // A table with a field of every shape and kind, on the results of a
    // two-point project: groups as objects (null when absent), per-mode
    // fields in the group's "modes", numbers that do not apply and numbers
    // that are not finite as null, yes or no as booleans, names as strings.
    const auto run = compute(kSingle, 0);
    ASSERT_EQ(run->status, kBatchOk);
    ProjectInput input = run->results().input();
    input.pointCount = 2;
    input.heights = "10;20";
    input.areas = input.masses = input.modeShapes[0] = "1;1";
    const auto outcome = tamsor::compute(input, Edition::GB201X);
    ASSERT_TRUE(outcome.has_value() && std::holds_alternative<ResultsPtr>(*outcome));
    const Results& results = *std::get<ResultsPtr>(*outcome);

    using V = FieldValue;
    using I = FieldIndex;
    const ResultGroup groups[] = {
        {"crossWind", [](const Results&) { return true; },
         [](const Results&) -> std::size_t { return 2; }},
        {"comfort", [](const Results&) { return false; },
         [](const Results&) -> std::size_t { return 0; }},
    };
    const ResultField fields[] = {
        {.key = "heights",
         .shape = FieldShape::PerPoint,
         .value = [](const Results& r, I i) -> V { return r.numbers().zCoord[i.point]; }},
        {.key = "checked",
         .shape = FieldShape::Structure,
         .value = [](const Results&, I) -> V { return true; },
         .kind = ValueKind::Boolean},
        {.key = "diameter",
         .shape = FieldShape::Structure,
         .value = [](const Results&, I) -> V { return 6.0; },
         .group = "crossWind"},
        {.key = "topSpeed",
         .shape = FieldShape::Structure,
         .value = [](const Results&, I) -> V { return std::numeric_limits<double>::infinity(); },
         .group = "crossWind"},
        {.key = "regime",
         .shape = FieldShape::PerMode,
         .value = [](const Results&, I i) -> V {
             return i.mode == 0 ? "supercritical" : "transcritical";
         },
         .kind = ValueKind::Named,
         .group = "crossWind"},
        {.key = "resonance",
         .shape = FieldShape::PerMode,
         .value = [](const Results&, I i) -> V { return i.mode == 1; },
         .kind = ValueKind::Boolean,
         .group = "crossWind"},
        {.key = "lambda",
         .shape = FieldShape::PerMode,
         .value = [](const Results&, I i) -> V { return i.mode == 1 ? V{0.8256} : V{}; },
         .kind = ValueKind::OptionalNumber,
         .group = "crossWind"},
        {.key = "load",
         .shape = FieldShape::PerModePerPoint,
         .value = [](const Results&, I i) -> V { return 10.0 * double(i.mode) + double(i.point); },
         .group = "crossWind"},
        {.key = "etaA",
         .shape = FieldShape::Structure,
         .value = [](const Results&, I) -> V { return 1.0; },
         .group = "comfort"},
    };
    const QJsonObject expected = QJsonDocument::fromJson(R"({
        "heights": [10, 20],
        "checked": true,
        "comfort": null,
        "crossWind": {
            "diameter": 6,
            "topSpeed": null,
            "modes": [
                {"regime": "supercritical", "resonance": false, "lambda": null, "load": [0, 1]},
                {"regime": "transcritical", "resonance": true, "lambda": 0.8256, "load": [10, 11]}
            ]
        }
    })")
                                     .object();
    ASSERT_FALSE(expected.isEmpty());
    const std::string text = fieldsJson(fields, groups, results);
    EXPECT_EQ(QJsonDocument::fromJson(QByteArray::fromStdString(text)).object(), expected);
    // Keys in the order of their bytes at every level, as they always were.
    EXPECT_THAT(text, StartsWith(R"({"checked":true,"comfort":null,"crossWind":{"diameter":6,)"
                                 R"("modes":[{"lambda":null,"load":[0,1],"regime":)"));
}

// Values of the table below: awkward doubles, then random bit patterns.
std::vector<double> g_numbers;

TEST(BatchJson, EveryNumberReadsBackBitForBit) {
    g_numbers = {0.1,
                 1.0 / 3.0,
                 0.30000000000000004,
                 -0.0,
                 5e-324,                  // least subnormal
                 2.2250738585072009e-308, // greatest subnormal
                 2.2250738585072014e-308, // least normal
                 1.7976931348623157e308,
                 9007199254740993.0, // 2^53 + 1 rounds to 2^53
                 1e21,
                 1e22,
                 123456789012345678901234.0,
                 1e-7,
                 -2.5e-5};
    std::mt19937_64 random(20261207);
    while (g_numbers.size() < 20000) {
        const double number = std::bit_cast<double>(random());
        if (std::isfinite(number))
            g_numbers.push_back(number);
    }
    const auto run = compute(kSingle, 0);
    ASSERT_EQ(run->status, kBatchOk);
    const ResultGroup groups[] = {{"g", [](const Results&) { return true; },
                                   [](const Results&) { return g_numbers.size(); }}};
    const ResultField fields[] = {
        {.key = "v",
         .shape = FieldShape::PerMode,
         .value = [](const Results&, FieldIndex i) -> FieldValue { return g_numbers[i.mode]; },
         .group = "g"}};
    const std::string text = fieldsJson(fields, groups, run->results());
    std::size_t k = 0;
    for (std::size_t at = text.find("\"v\":"); at != std::string::npos;
         at = text.find("\"v\":", at), ++k) {
        at += 4;
        double back = 0.0;
        const auto read = std::from_chars(text.data() + at, text.data() + text.size(), back);
        ASSERT_EQ(read.ec, std::errc()) << text.substr(at, 30);
        ASSERT_LT(k, g_numbers.size());
        EXPECT_EQ(std::bit_cast<std::uint64_t>(back), std::bit_cast<std::uint64_t>(g_numbers[k]))
            << std::string(text.data() + at, read.ptr);
    }
    EXPECT_EQ(k, g_numbers.size());
}

QStringList keysOf(const QJsonObject& object) {
    QStringList keys = object.keys();
    keys.sort();
    return keys;
}

QJsonObject projectJson(const QString& path, const QString& code) {
    const Outcome o =
        batch({QStringLiteral("--format=json"), QStringLiteral("--code"), code, path});
    EXPECT_EQ(o.status, kBatchOk) << o.err;
    return QJsonDocument::fromJson(QByteArray::fromStdString(o.out)).object();
}

// The two projects of docs/verification.md; the values are its independent
// ones (hand calculation and script), each within half a unit of its last
// digit.
TEST(BatchJson, CarriesTheChecksBesideTheAlongWindResults) {
    const QJsonObject chimney = projectJson(kCrossWindChimney, QStringLiteral("201X"));
    const QJsonObject crossWind = chimney["crossWind"].toObject();
    EXPECT_EQ(keysOf(crossWind), (QStringList{"diameter", "modes", "structureType",
                                              "subcriticalResonance", "topSpeed"}));
    EXPECT_EQ(crossWind["diameter"].toDouble(), 6.0);
    EXPECT_EQ(crossWind["structureType"].toDouble(), 1.0);
    EXPECT_NEAR(crossWind["topSpeed"].toDouble(), 39.9526, 5e-5);
    EXPECT_EQ(crossWind["subcriticalResonance"], QJsonValue(false));
    const QJsonArray modes = crossWind["modes"].toArray();
    ASSERT_EQ(modes.size(), 3);
    for (const QJsonValue& mode : modes)
        EXPECT_EQ(
            keysOf(mode.toObject()),
            (QStringList{"baseMoment", "baseShear", "combinationClause", "combinedMoment",
                         "combinedShear", "criticalSpeed", "force", "lambda", "load",
                         "lockInHeight", "mode", "period", "regime", "resonance", "reynolds"}));
    const QJsonObject first = modes[0].toObject();
    EXPECT_EQ(first["regime"].toString(), QStringLiteral("supercritical"));
    EXPECT_TRUE(first["lambda"].isNull() && first["combinedShear"].isNull() &&
                first["combinationClause"].isNull());
    const QJsonObject second = modes[1].toObject();
    EXPECT_EQ(second["mode"].toInt(), 2);
    EXPECT_EQ(second["regime"].toString(), QStringLiteral("transcritical"));
    EXPECT_EQ(second["resonance"], QJsonValue(true));
    EXPECT_NEAR(second["reynolds"].toDouble(), 12420000.0, 0.5);
    EXPECT_NEAR(second["lockInHeight"].toDouble(), 4.3917, 5e-5);
    EXPECT_NEAR(second["lambda"].toDouble(), 0.825608, 5e-7);
    EXPECT_NEAR(second["load"].toArray()[9].toDouble(), 1.161012, 5e-7);
    EXPECT_NEAR(second["force"].toArray()[0].toDouble(), -6.2695, 5e-5);
    EXPECT_NEAR(second["baseShear"].toDouble(), -113.5469, 5e-5);
    EXPECT_NEAR(second["baseMoment"].toDouble(), 633.9124, 5e-5);
    EXPECT_NEAR(second["combinedShear"].toDouble(), 301.9203, 5e-5);
    EXPECT_NEAR(second["combinedMoment"].toDouble(), 18056.65, 5e-3);
    EXPECT_EQ(second["combinationClause"].toString(), QStringLiteral("GB50009-201X 表8.5.6 工况2"));
    // What the checks found is no input warning.
    EXPECT_EQ(chimney["warnings"].toArray(), QJsonArray());
    EXPECT_TRUE(chimney["comfort"].isNull()); // no w10

    const QJsonObject building = projectJson(kCodeFormulaBuilding, QStringLiteral("201X"));
    EXPECT_TRUE(building["crossWind"].isNull());
    const QJsonObject closed = building["codeFormula"].toObject();
    EXPECT_EQ(keysOf(closed),
              (QStringList{"a1", "bgFactor", "heightCoef", "heightUsed", "k", "resonanceFactor",
                           "rhoX", "rhoZ", "windVibCoef", "x1"}));
    EXPECT_NEAR(closed["x1"].toDouble(), 22.4733, 5e-5);
    EXPECT_NEAR(closed["resonanceFactor"].toDouble(), 1.145212, 5e-7);
    EXPECT_NEAR(closed["rhoZ"].toDouble(), 0.716467, 5e-7);
    EXPECT_NEAR(closed["rhoX"].toDouble(), 0.923171, 5e-7);
    EXPECT_EQ(closed["k"].toDouble(), 0.670);
    EXPECT_EQ(closed["a1"].toDouble(), 0.187);
    EXPECT_EQ(closed["heightUsed"].toDouble(), 100.0);
    EXPECT_NEAR(closed["heightCoef"].toArray()[7].toDouble(), 1.866066, 5e-7);
    EXPECT_NEAR(closed["bgFactor"].toArray()[7].toDouble(), 0.415775, 5e-7);
    EXPECT_NEAR(closed["windVibCoef"].toArray()[7].toDouble(), 1.442491, 5e-7);
    const QJsonObject comfort = building["comfort"].toObject();
    EXPECT_EQ(keysOf(comfort), (QStringList{"acceleration", "etaA", "massPerHeight",
                                            "officeLimitMet", "residentialLimitMet", "w10"}));
    EXPECT_EQ(comfort["w10"].toDouble(), 0.40);
    EXPECT_NEAR(comfort["etaA"].toDouble(), 1.172900, 5e-7);
    EXPECT_EQ(comfort["massPerHeight"].toDouble(), 213.75);
    EXPECT_NEAR(comfort["acceleration"].toArray()[9].toDouble(), 0.052354, 5e-7);
    EXPECT_EQ(comfort["residentialLimitMet"], QJsonValue(true));
    EXPECT_EQ(comfort["officeLimitMet"], QJsonValue(true));

    // The old code: no closed form and no comfort check; the cross-wind
    // check combines after its own clause.
    const QJsonObject old = projectJson(kCodeFormulaBuilding, QStringLiteral("2001"));
    EXPECT_TRUE(old["codeFormula"].isNull() && old["comfort"].isNull());
    const QJsonArray oldModes = projectJson(kCrossWindChimney, QStringLiteral("2001"))["crossWind"]
                                    .toObject()["modes"]
                                    .toArray();
    EXPECT_EQ(oldModes[1].toObject()["combinationClause"].toString(),
              QStringLiteral("GB50009-2001 第7.6.3条"));
}

TEST(BatchCsv, HeaderThenOneRoundTripRowPerPoint) {
    const auto computed = compute(kChimney, 1);
    ASSERT_EQ(computed->status, kBatchOk);
    const Results& chimney = computed->results();

    const Outcome o = batch({QStringLiteral("--format"), QStringLiteral("csv"),
                             QStringLiteral("--code"), QStringLiteral("2001"), kSingle, kChimney});
    ASSERT_EQ(o.status, kBatchOk) << o.err;
    const std::vector<std::string> rows = lines(o.out);
    ASSERT_EQ(rows.size(), 1u + 1u + 6u);
    const std::vector<std::string> header = split(rows[0], ',');
    // file, point, 15 results, 2 checks, 10 of the checks beside them
    ASSERT_EQ(header.size(), 29u);
    EXPECT_EQ(header[0], "file");
    EXPECT_EQ(header[1], "point");
    EXPECT_EQ(header[7], "windVibCoef");
    EXPECT_EQ(header[16], "acceleration");
    EXPECT_EQ(header[17], "windVibCoefBelowMin");
    EXPECT_EQ(header[18], "belowCutoffHeight");

    const std::vector<std::string> single = split(rows[1], ',');
    EXPECT_EQ(single[0], kSingle.toStdString());
    EXPECT_NEAR(parseDouble(single[7]), 1.68271, 5e-6);

    for (std::size_t i = 0; i < 6; ++i) {
        const std::vector<std::string> row = split(rows[2 + i], ',');
        ASSERT_EQ(row.size(), 29u);
        EXPECT_EQ(row[0], kChimney.toStdString());
        EXPECT_EQ(row[1], std::to_string(i + 1));
        EXPECT_EQ(parseDouble(row[2]), chimney.numbers().zCoord[i]);
        EXPECT_EQ(parseDouble(row[3]), chimney.raw().meanLoad[i]);
        EXPECT_EQ(parseDouble(row[7]), chimney.raw().windVibCoef[i]);
        EXPECT_EQ(parseDouble(row[12]), chimney.raw().lrcLoad[i]);
        EXPECT_EQ(parseDouble(row[15]), chimney.derived().gbjLoad[i]);
        EXPECT_EQ(parseDouble(row[16]), chimney.derived().acceleration[i]);
        // The lowest point: 10 m lies below terrain C's cut-off of 15 m, and
        // its wind vibration coefficient is below 1.2.
        EXPECT_EQ(row[17], i == 0 ? "1" : "0");
        EXPECT_EQ(row[18], i == 0 ? "1" : "0");
    }
}

TEST(BatchCsv, FileNamesWithCommasAndQuotesAreQuoted) {
    QTemporaryDir dir;
    QFile::copy(kSingle, dir.filePath(QStringLiteral("a,\"b\".wvd")));
    const Outcome o =
        batch({QStringLiteral("--format=csv"), dir.filePath(QStringLiteral("a,\"b\".wvd"))});
    ASSERT_EQ(o.status, kBatchOk) << o.err;
    const std::vector<std::string> rows = lines(o.out);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_THAT(rows[1], StartsWith("\"" + dir.path().toStdString() + "/a,\"\"b\"\".wvd\",1,"));
}

TEST(BatchCsv, ChecksBesideTheAlongWindResultsInTheSameColumnsForEveryProject) {
    QTemporaryDir dir;
    // One mode with a diameter: the cells of modes 2 and 3 stay empty.
    std::vector<std::string> oneMode = twoPoints("10;20");
    oneMode.push_back("diameter=2");
    const QString oneModePath = writeProject(dir, QStringLiteral("one_mode.wvd"), oneMode);
    const auto building = compute(kCodeFormulaBuilding, 0);
    ASSERT_EQ(building->status, kBatchOk);

    const Outcome o = batch(
        {QStringLiteral("--format=csv"), kCrossWindChimney, kCodeFormulaBuilding, oneModePath});
    ASSERT_EQ(o.status, kBatchOk) << o.err;
    const std::vector<std::string> rows = lines(o.out);
    ASSERT_EQ(rows.size(), 1u + 10u + 10u + 2u);
    const std::vector<std::string> header = split(rows[0], ',');
    EXPECT_EQ(header[18], "belowCutoffHeight"); // the columns before keep their places
    EXPECT_EQ(std::count_if(rows.begin(), rows.end(),
                            [](const std::string& row) { return row.starts_with("file,"); }),
              1);
    for (const std::string& row : rows)
        EXPECT_EQ(split(row, ',').size(), header.size()) << row;
    const auto cell = [&](std::size_t row, const std::string& key) {
        const auto at = std::find(header.begin(), header.end(), key);
        EXPECT_NE(at, header.end()) << key;
        return at == header.end()
                   ? std::string("?")
                   : split(rows[row], ',')[static_cast<std::size_t>(at - header.begin())];
    };

    // The chimney (rows 1 to 10): the load of mode 2 at the top and its force
    // at the lowest point as docs/verification.md works them out; mode 1
    // carries none; no w10, no comfort check.
    EXPECT_NEAR(parseDouble(cell(10, "crossWind.mode2.load")), 1.161012, 5e-7);
    EXPECT_NEAR(parseDouble(cell(1, "crossWind.mode2.force")), -6.2695, 5e-5);
    EXPECT_EQ(cell(10, "crossWind.mode1.load"), "0");
    EXPECT_EQ(cell(10, "comfort.acceleration"), "");
    // The building (rows 11 to 20), at 80 m and at the top, by hand as in
    // docs/verification.md, in every digit the results hold.
    EXPECT_EQ(cell(11, "crossWind.mode1.load"), "");
    EXPECT_NEAR(parseDouble(cell(18, "codeFormula.heightCoef")), 1.866066, 5e-7);
    const double beta80 = parseDouble(cell(18, "codeFormula.windVibCoef"));
    EXPECT_NEAR(beta80, 1.442491, 5e-7);
    EXPECT_EQ(beta80, building->results().codeFormula().codeFormula->windVibCoef[7]);
    EXPECT_NEAR(parseDouble(cell(20, "comfort.acceleration")), 0.052354, 5e-7);
    // One mode (rows 21 and 22).
    EXPECT_THAT(cell(22, "crossWind.mode1.force"), Not(IsEmpty()));
    EXPECT_EQ(cell(22, "crossWind.mode2.force"), "");
    EXPECT_EQ(cell(22, "crossWind.mode3.load"), "");
}

TEST(BatchText, TableAndSingleValuesWithoutLocaleInfluence) {
    // A comma-decimal locale for both the C library and Qt must not leak in.
    const char* previous = std::setlocale(LC_ALL, "de_DE.UTF-8");
    const std::string saved = previous ? previous : "C";
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const Outcome o = batch({kSingle});
    QLocale::setDefault(QLocale::c());
    std::setlocale(LC_ALL, saved.c_str());

    ASSERT_EQ(o.status, kBatchOk) << o.err;
    EXPECT_THAT(o.err, IsEmpty());
    const std::vector<std::string> rows = lines(o.out);
    ASSERT_GE(rows.size(), 9u);
    EXPECT_EQ(rows[0], "文件: " + kSingle.toStdString());
    EXPECT_THAT(rows[1], HasSubstr("GB50009-201X"));
    EXPECT_THAT(rows[2], HasSubstr("平均风荷载(KN)"));
    EXPECT_THAT(rows[3], HasSubstr("6.500"));
    EXPECT_THAT(rows[3], HasSubstr("1.9561"));
    EXPECT_THAT(rows[3], HasSubstr("12.715"));
    EXPECT_EQ(rows[4], "SQRT(1+R^2): 1.3659");
    EXPECT_EQ(rows[6], "脉动修正系数C: 1.0000");
    EXPECT_EQ(rows[8], "I10: 0.1400");

    const Outcome old = batch({QStringLiteral("--code"), QStringLiteral("2001"), kSingle});
    EXPECT_THAT(old.out, HasSubstr("GB50009-2001"));
    EXPECT_THAT(old.out, HasSubstr("脉动增大系数ξ1: 1.3659"));
}

// The lines under a line of the text form: those after it indented deeper.
std::vector<std::string> linesUnder(const std::vector<std::string>& all, const std::string& head) {
    const auto indent = [](const std::string& line) { return line.find_first_not_of(' '); };
    std::vector<std::string> under;
    auto it = std::find(all.begin(), all.end(), head);
    EXPECT_NE(it, all.end()) << head;
    if (it != all.end())
        for (++it; it != all.end() && !it->empty() && indent(*it) > indent(head); ++it)
            under.push_back(*it);
    return under;
}

// The reference values are the hand calculations of docs/verification.md,
// rounded to the decimals the results table shows.
TEST(BatchText, ChecksBesideTheAlongWindResultsFollowTheTable) {
    const Outcome chimney = batch({kCrossWindChimney});
    ASSERT_EQ(chimney.status, kBatchOk) << chimney.err;
    const std::vector<std::string> rows = lines(chimney.out);
    // After the failed checks, in the order of the groups; without w10 no
    // comfort check and nothing said about it.
    const auto checks = std::find(rows.begin(), rows.end(), "与现行规范对照:");
    const auto crossWind = std::find(rows.begin(), rows.end(), "横风向风振(旋涡脱落)验算:");
    const auto closedForm = std::find(rows.begin(), rows.end(), "规范公式对照:");
    ASSERT_TRUE(checks < crossWind && crossWind < closedForm && closedForm != rows.end());
    EXPECT_THAT(chimney.out, Not(HasSubstr("舒适度验算")));
    const std::vector<std::string> section = linesUnder(rows, "横风向风振(旋涡脱落)验算:");
    EXPECT_THAT(section,
                IsSupersetOf({"  圆截面直径D(m): 6.00", "  结构类型: 高耸结构",
                              "  结构顶部风速v_H(m/s): 39.953", "  第1阶亚临界微风共振: 否"}));
    EXPECT_THAT(linesUnder(rows, "  第1阶振型:"), IsSupersetOf({"    流态: 超临界", "    系数λ: ―",
                                                                "    横风向基底剪力(KN): 0.000"}));
    EXPECT_THAT(
        linesUnder(rows, "  第2阶振型:"),
        IsSupersetOf({"    流态: 跨临界", "    跨临界强风共振: 是",
                      "    临界风速起始点高度H1(m): 4.392", "    系数λ: 0.8256",
                      "    横风向基底剪力(KN): -113.547", "    组合基底剪力(KN): 301.920"}));
    EXPECT_THAT(section, Contains("  第3阶振型:"));
    EXPECT_THAT(section.back(), StartsWith("  第2阶振型发生跨临界强风共振"));

    const Outcome building = batch({kCodeFormulaBuilding});
    ASSERT_EQ(building.status, kBatchOk) << building.err;
    const std::vector<std::string> buildingRows = lines(building.out);
    EXPECT_THAT(building.out, Not(HasSubstr("横风向风振"))); // no diameter
    const std::vector<std::string> closed = linesUnder(buildingRows, "规范公式对照:");
    EXPECT_THAT(closed, Contains("  系数x1: 22.4733"));
    const std::string betaHead = "  规范公式βz:";
    const auto beta = std::find_if(closed.begin(), closed.end(), [&](const std::string& line) {
        return line.starts_with(betaHead);
    });
    ASSERT_NE(beta, closed.end());
    // " v1; v2; ...;" as the report lists values.
    const std::vector<std::string> betas = split(beta->substr(betaHead.size()), ' ');
    ASSERT_EQ(betas.size(), 11u);
    EXPECT_EQ(betas[8], "1.4425;"); // 1.442491 at 80 m
    EXPECT_EQ(closed.back(), "  按体型和质量沿高度均匀分布计算，未乘8.4.5条的修正系数θB、θV");
    const std::vector<std::string> comfort = linesUnder(buildingRows, "舒适度验算:");
    EXPECT_THAT(comfort, IsSupersetOf({"  脉动系数ηa: 1.1729", "  单位高度质量m(t/m): 213.750",
                                       "  满足住宅、公寓限值0.15 m/s^2: 是"}));
    ASSERT_FALSE(comfort.empty());
    EXPECT_THAT(comfort.back(), AllOf(StartsWith("  舒适度加速度(m/s^2): 0.0010;"),
                                      EndsWith(" 0.0524;"))); // 0.052354 at the top
}

TEST(BatchText, OldCodeGivesTheReasonForTheMissingClosedFormOnly) {
    const Outcome old =
        batch({QStringLiteral("--code"), QStringLiteral("2001"), kSingle, kCodeFormulaBuilding});
    ASSERT_EQ(old.status, kBatchOk) << old.err;
    const std::vector<std::string> rows = lines(old.out);
    const std::string reason = "规范公式对照: GB50009-2001无此公式，未作对照";
    EXPECT_EQ(std::count(rows.begin(), rows.end(), reason), 2);
    // The one point's text is today's followed by that line alone.
    const auto gap = std::find(rows.begin(), rows.end(), "");
    ASSERT_NE(gap, rows.end());
    EXPECT_EQ(*(gap - 1), reason);
    EXPECT_THAT(*(gap - 2), StartsWith("I10: "));
    // The old code has no comfort check: the building's w10 brings no line.
    EXPECT_THAT(old.out, Not(HasSubstr("舒适度验算")));
}

TEST(BatchCodeChecks, FailedChecksInEveryForm) {
    const auto computed = compute(kChimney, 0);
    ASSERT_EQ(computed->status, kBatchOk);
    const Results& chimney = computed->results();

    const Outcome json = batch({QStringLiteral("--format=json"), kChimney});
    ASSERT_EQ(json.status, kBatchOk) << json.err;
    EXPECT_THAT(json.err, IsEmpty()); // a failed check is no message
    const QJsonObject r = QJsonDocument::fromJson(QByteArray::fromStdString(json.out)).object();
    const QJsonArray flags{true, false, false, false, false, false};
    EXPECT_EQ(r["windVibCoefBelowMin"].toArray(), flags);
    EXPECT_EQ(r["belowCutoffHeight"].toArray(), flags);
    EXPECT_EQ(r["warnings"].toArray(), QJsonArray());
    const QJsonArray checks = r["codeChecks"].toArray();
    ASSERT_EQ(checks.size(), 2);
    const QJsonObject beta = checks[0].toObject();
    EXPECT_EQ(beta["check"].toString(), QStringLiteral("windVibCoefBelowMin"));
    EXPECT_EQ(beta["point"].toInt(), 1);
    EXPECT_EQ(beta["value"].toDouble(), chimney.raw().windVibCoef[0]);
    EXPECT_EQ(beta["required"].toDouble(), 1.2);
    const QJsonObject cutoff = checks[1].toObject();
    EXPECT_EQ(cutoff["check"].toString(), QStringLiteral("belowCutoffHeight"));
    EXPECT_EQ(cutoff["height"].toDouble(), 10.0);
    // The height coefficient over terrain C (201X) at 10 m and at the cut-off
    // of 15 m: (350/10)^0.3 (10/450)^0.44 (z/10)^0.44 (python3).
    EXPECT_NEAR(cutoff["value"].toDouble(), 0.5442606139665072, 1e-12);
    EXPECT_NEAR(cutoff["required"].toDouble(), 0.6505595570062833, 1e-12);
    const QJsonArray acceleration = r["acceleration"].toArray();
    ASSERT_EQ(acceleration.size(), 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(acceleration[i].toDouble(),
                  chimney.derived().acceleration[static_cast<std::size_t>(i)]);

    // The text form lists them under the table; nothing for the one point.
    const Outcome text = batch({kChimney, kSingle});
    ASSERT_EQ(text.status, kBatchOk);
    const std::vector<std::string> rows = lines(text.out);
    const auto heading = std::find(rows.begin(), rows.end(), "与现行规范对照:");
    ASSERT_NE(heading, rows.end());
    EXPECT_EQ(*(heading - 1), "I10: 0.2300");
    EXPECT_THAT(*(heading + 1), StartsWith("  第1质点(z=10 m)的风振系数1.148小于1.2："));
    EXPECT_THAT(*(heading + 2),
                StartsWith("  第1质点(z=10 m)低于截断高度15 m：程序按公式取μz=0.5443，"));
    EXPECT_EQ(*(heading + 3), "规范公式对照:");
    EXPECT_EQ(std::count(rows.begin(), rows.end(), "与现行规范对照:"), 1);
}

// Damping ratio 2 (meant 2 %) and basic wind pressure 550 (meant 0.55 kPa)
// in the one-point example.
std::vector<std::string> unitSlips() {
    return {"1", "0", "10", "10", "1", "1", "2", "10", "1", "2", "550", "1.3"};
}

TEST(BatchWarnings, UnitSlipsAreWarnedButComputedAsTyped) {
    QTemporaryDir dir;
    const QString slips = writeProject(dir, "slips.wvd", unitSlips());
    const Outcome o = batch({QStringLiteral("--format=json"), slips});
    EXPECT_EQ(o.status, kBatchOk);
    const std::vector<std::string> messages = lines(o.err);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_THAT(messages[0], StartsWith("提示: 阻尼比为2，大于0.2。"));
    EXPECT_THAT(messages[1], StartsWith("提示: 基本风压为550 kPa，大于5 kPa。"));

    const QJsonObject r = QJsonDocument::fromJson(QByteArray::fromStdString(o.out)).object();
    const QJsonArray warnings = r["warnings"].toArray();
    ASSERT_EQ(warnings.size(), 2);
    const QJsonObject damping = warnings[0].toObject();
    EXPECT_EQ(damping["quantity"].toString(), QStringLiteral("dampRatio"));
    EXPECT_TRUE(damping["point"].isNull());
    EXPECT_EQ(damping["value"].toDouble(), 2.0);
    EXPECT_EQ("提示: " + damping["text"].toString().toStdString(), messages[0]);
    const QJsonObject pressure = warnings[1].toObject();
    EXPECT_EQ(pressure["quantity"].toString(), QStringLiteral("w0"));
    EXPECT_EQ(pressure["value"].toDouble(), 550.0);

    // Computed as typed: zeta = 2, w0 = 550000 N/m^2, by the closed forms of
    // tests/engine/WindResponseTest.cpp (python3):
    // run(0, 2, [10], [10], [1.3], [10], [1], 1, 2, 0, 550000).
    const double rel = 1e-9;
    EXPECT_NEAR(r["dynFactor"].toDouble(), 1.0569980011556033, rel * 1.06);
    EXPECT_NEAR(r["meanLoad"].toArray()[0].toDouble(), 7150.0, rel * 7150.0);
    EXPECT_NEAR(r["windVibCoef"].toArray()[0].toDouble(), 1.7398986008089223, rel * 1.74);
    EXPECT_NEAR(r["acceleration"].toArray()[0].toDouble(), 171.376326574449, rel * 171.4);

    // With several projects the warning names its file.
    const Outcome two = batch({kSingle, slips});
    EXPECT_EQ(two.status, kBatchOk);
    const std::vector<std::string> named = lines(two.err);
    ASSERT_EQ(named.size(), 2u);
    EXPECT_THAT(named[0], StartsWith(slips.toStdString() + ": 提示: 阻尼比为2"));
}

TEST(BatchRefusals, MissingFile) {
    const Outcome o = batch({QStringLiteral("/nonexistent/none.wvd")});
    EXPECT_EQ(o.status, kBatchRefused);
    EXPECT_EQ(o.err, "错误: 数据文件不存在\n");
    EXPECT_THAT(o.out, IsEmpty());
}

TEST(BatchRefusals, FileContentsListsAndGate) {
    QTemporaryDir dir;
    // Too short: the reader refuses before anything is loaded.
    const QString shortFile = writeProject(dir, "short.wvd", {"1", "0", "10"});
    Outcome o = batch({shortFile});
    EXPECT_EQ(o.status, kBatchRefused);
    EXPECT_EQ(o.err, "错误: 数据文件不完整，数据太少，请补充\n");

    // A list with the wrong number of heights is refused by the sweep; the
    // gate then stops silently as the first values are non-zero.
    std::vector<std::string> wrongCount = twoPoints("10;20");
    wrongCount[0] = "3";
    o = batch({writeProject(dir, "count.wvd", wrongCount)});
    EXPECT_EQ(o.status, kBatchRefused);
    EXPECT_THAT(o.err, HasSubstr("错误提示: 输入的数据数目与自由度数不一致\n"));
    EXPECT_THAT(o.out, IsEmpty());

    // A zero basic wind pressure passes every parse but not the gate.
    std::vector<std::string> noWind = twoPoints("10;20");
    noWind[10] = "0";
    o = batch({writeProject(dir, "nowind.wvd", noWind)});
    EXPECT_EQ(o.status, kBatchRefused);
    EXPECT_EQ(o.err, "错误提示: 输入的数据有错误\n");

    // Gate refusal leaves no report behind.
    const QString report = dir.filePath(QStringLiteral("r.htm"));
    o = batch({QStringLiteral("--report"), report, writeProject(dir, "nw2.wvd", noWind)});
    EXPECT_EQ(o.status, kBatchRefused);
    EXPECT_FALSE(QFile::exists(report));
}

TEST(BatchRefusals, ComputationFault) {
    QTemporaryDir dir;
    // Only the first height is checked by the gate; a later zero height
    // makes the turbulence intensity undefined. The warnings that name it
    // follow the fault.
    const Outcome o =
        batch({QStringLiteral("--format=json"), writeProject(dir, "zero.wvd", twoPoints("10;0"))});
    EXPECT_EQ(o.status, kBatchFault);
    const std::vector<std::string> messages = lines(o.err);
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_THAT(messages[0], StartsWith("错误提示: 计算出错："));
    EXPECT_THAT(messages[1], StartsWith("提示: 第2质点的高度0 m不高于第1质点的10 m。"));
    EXPECT_EQ(messages[2], "提示: 第2质点的高度为0 m。高度应大于0。");
    EXPECT_THAT(o.out, IsEmpty());
}

TEST(BatchRefusals, AProjectsMessagesDoNotDependOnTheProjectsBeforeIt) {
    // A basic wind pressure with a decimal comma: its box is refused, and the
    // gate then finds w0 missing, as a new window would, even right after a
    // project whose w0 was read.
    QTemporaryDir dir;
    std::vector<std::string> comma = twoPoints("10;20");
    comma[10] = "0,5";
    const QString bad = writeProject(dir, "comma.wvd", comma);
    const Outcome alone = batch({bad});
    EXPECT_EQ(alone.status, kBatchRefused);
    EXPECT_THAT(alone.err, HasSubstr("错误提示: " + std::string(InputForm::kIncompleteMessage)));
    const Outcome after = batch({kSingle, bad});
    std::string named;
    for (const std::string& line : lines(alone.err))
        named += bad.toStdString() + ": " + line + "\n";
    EXPECT_EQ(after.err, named);
}

TEST(BatchRefusals, SeveralProjectsContinueAndReturnTheWorstStatus) {
    QTemporaryDir dir;
    const QString fault = writeProject(dir, "zero.wvd", twoPoints("10;0"));
    const QString missing = dir.filePath(QStringLiteral("missing.wvd"));

    Outcome o = batch({QStringLiteral("--format=csv"), missing, kSingle});
    EXPECT_EQ(o.status, kBatchRefused);
    EXPECT_EQ(lines(o.out).size(), 2u); // header + the single point
    // With several files every message names its file.
    EXPECT_EQ(o.err, missing.toStdString() + ": 错误: 数据文件不存在\n");

    o = batch({QStringLiteral("--format=csv"), fault, missing, kSingle});
    EXPECT_EQ(o.status, kBatchFault);
    EXPECT_EQ(lines(o.out).size(), 2u);
    const std::vector<std::string> messages = lines(o.err);
    ASSERT_EQ(messages.size(), 4u); // the fault, its two warnings, the missing file
    EXPECT_THAT(messages[0], StartsWith(fault.toStdString() + ": 错误提示: 计算出错："));
    EXPECT_THAT(messages[2], StartsWith(fault.toStdString() + ": 提示: "));
    EXPECT_THAT(messages[3], StartsWith(missing.toStdString() + ": 错误:"));
}

TEST(BatchUsage, RefusedCommandLinesExitTwoWithUsage) {
    QTemporaryDir dir;
    const QString report = dir.filePath(QStringLiteral("r.htm"));
    const std::vector<QStringList> bad{
        {QStringLiteral("--frobnicate"), kSingle},
        {QStringLiteral("-x"), kSingle},
        {QStringLiteral("--code"), QStringLiteral("2012"), kSingle},
        {QStringLiteral("--code"), QStringLiteral("1"), kSingle},
        {QStringLiteral("--format"), QStringLiteral("xml"), kSingle},
        {QStringLiteral("--format"), QStringLiteral("JSON"), kSingle},
        {QStringLiteral("--report"), report, kSingle, kTower},
        {QStringLiteral("--report="), kSingle},
        // Wildcards name no one file, as in the report dialog.
        {QStringLiteral("--report"), dir.filePath(QStringLiteral("*.htm")), kSingle},
        {QStringLiteral("--report"), dir.filePath(QStringLiteral("r?.htm")), kSingle},
        {QStringLiteral("--pdf"), dir.filePath(QStringLiteral("*.pdf")), kSingle},
        {QStringLiteral("--pdf"), dir.filePath(QStringLiteral("b?.pdf")), kSingle},
        {},
        {QStringLiteral("--format"), QStringLiteral("json")},
        {kSingle, QStringLiteral("--code")}, // value missing
        {QStringLiteral("--pdf"), report, kSingle, kTower},
        {QStringLiteral("--pdf"), kSingle, kSingle}, // the book over the project
        {QStringLiteral("--report"), report, QStringLiteral("--pdf"), report, kSingle},
    };
    for (const QStringList& args : bad) {
        const Outcome o = batch(args);
        EXPECT_EQ(o.status, kBatchUsage) << args.join(u' ').toStdString();
        EXPECT_THAT(o.err, StartsWith("用法错误: "));
        EXPECT_THAT(o.err, HasSubstr("用法: tamsor-batch"));
        EXPECT_THAT(o.out, IsEmpty());
    }
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    EXPECT_THAT(batch({QStringLiteral("--frobnicate"), kSingle}).err,
                StartsWith("用法错误: 未知选项: --frobnicate\n"));
}

TEST(BatchUsage, HelpPrintsUsageAndSucceeds) {
    for (const QString& flag : {QStringLiteral("--help"), QStringLiteral("-h")}) {
        const Outcome o = batch({flag});
        EXPECT_EQ(o.status, kBatchOk);
        EXPECT_THAT(o.out, StartsWith("用法: tamsor-batch"));
        EXPECT_THAT(o.out, HasSubstr("退出码"));
        // The usage line names every option that writes a file.
        EXPECT_THAT(o.out,
                    StartsWith("用法: tamsor-batch [--code 201X|2001] [--report 文件.htm] "
                               "[--pdf 文件.pdf] [--format text|json|csv] 数据文件.wvd...\n"));
        EXPECT_THAT(o.err, IsEmpty());
    }
}

TEST(BatchReport, WritesTheWindowsReport) {
    QTemporaryDir dir;
    const QString report = dir.filePath(QStringLiteral("tower.htm"));
    const Outcome o = batch({QStringLiteral("--code"), QStringLiteral("2001"),
                             QStringLiteral("--report"), report, kTower});
    ASSERT_EQ(o.status, kBatchOk) << o.err;
    EXPECT_THAT(o.out, HasSubstr("GB50009-2001")); // the results are printed too

    const auto tower = compute(kTower, 1);
    ASSERT_EQ(tower->status, kBatchOk);
    QFile written(report);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray bytes = written.readAll();
    EXPECT_FALSE(bytes.isEmpty());
    EXPECT_EQ(bytes, htmlReportBytes(tower->results()));
    EXPECT_TRUE(bytes.contains(QByteArray("GB50009-2001")));
}

TEST(BatchReport, NeverOverwritesTheProjectAndReportsWriteFailures) {
    QTemporaryDir dir;
    const QString project = dir.filePath(QStringLiteral("p.wvd"));
    ASSERT_TRUE(QFile::copy(kSingle, project));
    QFile original(kSingle);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    const QByteArray before = original.readAll();

    // The same file under another spelling of its path.
    Outcome o =
        batch({QStringLiteral("--report"), dir.path() + QStringLiteral("/./p.wvd"), project});
    EXPECT_EQ(o.status, kBatchUsage);
    QFile after(project);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), before);

    // A folder cannot take the report: the results are still printed, the
    // failure is reported and the status is not success.
    o = batch({QStringLiteral("--report"), dir.path(), project});
    EXPECT_EQ(o.status, kBatchRefused);
    EXPECT_THAT(o.out, HasSubstr("1.9561"));
    EXPECT_THAT(o.err, Not(IsEmpty()));
}

TEST(BatchReport, OutputsThatAreTheProjectOrEachOtherThroughLinksAreRefused) {
    QTemporaryDir dir;
    const QString project = dir.filePath(QStringLiteral("p.wvd"));
    ASSERT_TRUE(QFile::copy(kSingle, project));
    const QByteArray before = readFile(project);
    // Another name of the project, and a link to a report not written yet.
    const QString hardLink = dir.filePath(QStringLiteral("p.htm"));
    ASSERT_EQ(link(QFile::encodeName(project).constData(), QFile::encodeName(hardLink).constData()),
              0);
    const QString report = dir.filePath(QStringLiteral("r.htm"));
    const QString dangling = dir.filePath(QStringLiteral("r.pdf"));
    ASSERT_TRUE(QFile::link(QStringLiteral("r.htm"), dangling));

    for (const QStringList& args : {QStringList{QStringLiteral("--report"), hardLink, project},
                                    QStringList{QStringLiteral("--report"), report,
                                                QStringLiteral("--pdf"), dangling, project}}) {
        const Outcome o = batch(args);
        EXPECT_EQ(o.status, kBatchUsage) << args.join(u' ').toStdString();
        EXPECT_THAT(o.out, IsEmpty());
    }
    EXPECT_EQ(readFile(project), before);
    EXPECT_FALSE(QFileInfo::exists(report));
    EXPECT_TRUE(QFileInfo(dangling).isSymLink());
}

TEST(BatchPdf, NeedsAGuiApplicationAndSaysSo) {
    // Only --pdf needs fonts; this test program has no application object.
    EXPECT_TRUE(needsGuiApplication({QStringLiteral("tamsor-batch"), QStringLiteral("--pdf"),
                                     QStringLiteral("b.pdf"), kSingle}));
    EXPECT_FALSE(needsGuiApplication({QStringLiteral("tamsor-batch"), kSingle}));
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("b.pdf"));
    const Outcome o = batch({QStringLiteral("--pdf"), pdf, kSingle});
    EXPECT_EQ(o.status, kBatchRefused);
    EXPECT_THAT(o.err, HasSubstr("QGuiApplication"));
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST(BatchOutput, FailedOutputIsNotSuccess) {
    std::ostream broken(nullptr); // every write fails
    std::ostringstream err;
    const int status = runBatch({QStringLiteral("tamsor-batch"), kSingle}, broken, err);
    EXPECT_EQ(status, kBatchRefused);
    EXPECT_EQ(err.str(), "错误: 计算结果无法写出\n");
}

TEST(BatchExamples, AllExamplesAreTwelveCrLfLinesAndCompute) {
    for (const QString& path : {kSingle, kTower, kChimney}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        const QByteArray bytes = file.readAll();
        EXPECT_EQ(bytes.count("\r\n"), 12) << path.toStdString();
        EXPECT_EQ(bytes.count('\n'), 12);
        EXPECT_TRUE(bytes.endsWith("\r\n"));
        for (std::int16_t edition : {std::int16_t{0}, std::int16_t{1}}) {
            const auto run = compute(path, edition);
            EXPECT_EQ(run->status, kBatchOk) << path.toStdString();
            EXPECT_THAT(run->recorder.messages, IsEmpty());
            EXPECT_TRUE(run->session.resultsCurrent());
            EXPECT_EQ(run->results().edition(), Edition{edition});
        }
    }
    const auto tower = compute(kTower, 0);
    ASSERT_EQ(tower->status, kBatchOk);
    EXPECT_EQ(tower->results().pointCount(), 10u);
    const auto chimney = compute(kChimney, 0);
    ASSERT_EQ(chimney->status, kBatchOk);
    EXPECT_EQ(chimney->results().pointCount(), 6u);
    EXPECT_EQ(chimney->results().numbers().terrainType, 3);
}

} // namespace
} // namespace tamsor
