// docs/verification.md against the program: every "program" value of its
// tables is the program's result rounded to the digits shown, and every
// "independent" value lies within half a unit of its last digit of it.
// (tests/app/check_verification_script.py checks the independent values
// against the script the page shows.)
//
// The page's tables: a heading names the project file in backticks and the
// edition (GB50009-201X or GB50009-2001), or only the edition for the
// cut-off heights; a column headed "`key` program" or "`key` independent"
// holds that result ("`group.key`" for a result of a group, such as the load
// code's closed form, "`crossWind.key.mode`" for a value of one mode per
// point); the first cell of a row is the point number, the mode for a value
// per mode, "—" for a value of the structure, or the terrain letter.
#include "CodeChecks.h"
#include "NumberFormat.h"
#include "ProjectSession.h"
#include "ResultFields.h"

#include <QFile>

#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <map>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

namespace tamsor {
namespace {

const std::string kSourceDir = TAMSOR_SOURCE_DIR;

struct Column {
    std::string key;
    bool program; // else independent
};

struct Cell {
    std::string project; // empty for the cut-off heights
    std::int16_t edition;
    std::string row; // point number, "—" or terrain letter
    Column column;
    std::string text;
};

std::vector<std::string> tableCells(const std::string& line) {
    std::vector<std::string> cells;
    std::istringstream in(line.substr(1));
    for (std::string cell; std::getline(in, cell, '|');) {
        const auto first = cell.find_first_not_of(' ');
        const auto last = cell.find_last_not_of(' ');
        cells.push_back(first == std::string::npos ? std::string()
                                                   : cell.substr(first, last - first + 1));
    }
    return cells;
}

std::vector<Cell> readPage() {
    QFile file(QString::fromStdString(kSourceDir + "/docs/verification.md"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    std::istringstream page(file.readAll().toStdString());

    const std::regex project("`([^`]+\\.wvd)`");
    // A key, with its group before a dot and a mode after a second one.
    const std::regex column("^`((?:\\w+\\.)?\\w+(?:\\.\\d+)?)` (program|independent)$");
    std::vector<Cell> cells;
    std::string currentProject;
    std::int16_t edition = -1;
    std::vector<std::optional<Column>> columns; // empty outside a table
    for (std::string line; std::getline(page, line);) {
        if (line.rfind('#', 0) == 0) {
            std::smatch m;
            currentProject = std::regex_search(line, m, project) ? m[1].str() : std::string();
            edition = line.find("GB50009-201X") != std::string::npos   ? 0
                      : line.find("GB50009-2001") != std::string::npos ? 1
                                                                       : -1;
            continue;
        }
        if (line.rfind('|', 0) != 0) {
            columns.clear();
            continue;
        }
        const std::vector<std::string> row = tableCells(line);
        if (columns.empty()) {
            for (const std::string& heading : row) {
                std::smatch m;
                if (std::regex_match(heading, m, column))
                    columns.push_back(Column{m[1].str(), m[2].str() == "program"});
                else
                    columns.push_back(std::nullopt);
            }
            continue;
        }
        if (row.front().rfind("---", 0) == 0)
            continue;
        for (std::size_t k = 0; k < row.size() && k < columns.size(); ++k)
            if (columns[k] && edition >= 0)
                cells.push_back(Cell{currentProject, edition, row.front(), *columns[k], row[k]});
    }
    return cells;
}

int decimalsOf(const std::string& text) {
    const auto point = text.find('.');
    return point == std::string::npos ? 0 : static_cast<int>(text.size() - point - 1);
}

double parsed(const std::string& text) {
    double value = NAN;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
    EXPECT_EQ(r.ptr, text.data() + text.size()) << text;
    return value;
}

// One computed project per file and edition, run as tamsor-batch runs it.
class Projects {
public:
    const Results& results(const std::string& project, std::int16_t edition) {
        auto& session = sessions_[{project, edition}];
        if (!session) {
            session = std::make_unique<ProjectSession>(sink_);
            EXPECT_TRUE(session->open(QString::fromStdString(kSourceDir + "/" + project)))
                << project;
            session->setEdition(static_cast<Edition>(edition));
            EXPECT_EQ(session->compute().status, ComputeOutcome::Status::Computed) << project;
            EXPECT_TRUE(session->resultsCurrent()) << project;
        }
        return *session->results();
    }

private:
    MessageRecorder sink_;
    std::map<std::pair<std::string, std::int16_t>, std::unique_ptr<ProjectSession>> sessions_;
};

// A column's key: a result's key, with its group in front
// ("codeFormula.x1") and, for a value of one mode at each point, the mode
// behind ("crossWind.load.2").
struct FieldKey {
    std::string group;
    std::string key;
    std::size_t mode = 0; // from 1; 0 when the key names none
};

FieldKey fieldKey(const std::string& text) {
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, '.');)
        parts.push_back(part);
    if (parts.size() == 1)
        return FieldKey{{}, parts[0]};
    return FieldKey{parts[0], parts[1],
                    parts.size() > 2 ? static_cast<std::size_t>(parsed(parts[2])) : 0};
}

// The program's value of a cell, through the result field table as every
// output reads it: of the structure on the row "—", of the point (or, for a
// value per mode, of the mode) on a numbered row.
std::optional<FieldValue> programValue(Projects& projects, const Cell& cell) {
    if (cell.project.empty()) {
        // The height coefficient at a terrain's cut-off height.
        if (cell.column.key != "cutoffHeightCoef" || cell.row.size() != 1)
            return std::nullopt;
        const std::optional<Cutoff> cutoff =
            cutoffFor(cell.edition == 0 ? Edition::GB201X : Edition::GB2001, cell.row[0] - 'A' + 1);
        return cutoff ? std::optional<FieldValue>(cutoff->heightCoef) : std::nullopt;
    }
    const Results& r = projects.results(cell.project, cell.edition);
    const FieldKey key = fieldKey(cell.column.key);
    // Intermediate values of the cross-wind check that no output lists.
    if (const auto* crossWind = std::get_if<CrossWindResult>(&r.crossWind());
        crossWind && key.group == "crossWind" && cell.row == "—") {
        if (key.key == "topHeightCoef")
            return crossWind->topHeightCoef;
        if (key.key == "alongShear")
            return crossWind->alongShear;
        if (key.key == "alongMoment")
            return crossWind->alongMoment;
    }
    const bool structure = cell.row == "—";
    const auto row = structure ? 0 : static_cast<std::size_t>(parsed(cell.row));
    for (const ResultField& field : kResultFields) {
        if (field.key != key.key || field.group != key.group ||
            !groupPresent(field, kResultGroups, r))
            continue;
        const ResultGroup* group = resultGroup(kResultGroups, field.group);
        const std::size_t modes = group ? group->modeCount(r) : 1;
        switch (field.shape) {
        case FieldShape::Structure:
            if (structure)
                return field.value(r, FieldIndex{});
            break;
        case FieldShape::PerPoint:
            if (row >= 1 && row <= r.pointCount())
                return field.value(r, FieldIndex{0, row - 1});
            break;
        case FieldShape::PerMode:
            if (row >= 1 && row <= modes)
                return field.value(r, FieldIndex{row - 1, 0});
            break;
        case FieldShape::PerModePerPoint:
            if (key.mode >= 1 && key.mode <= modes && row >= 1 && row <= r.pointCount())
                return field.value(r, FieldIndex{key.mode - 1, row - 1});
            break;
        }
    }
    return std::nullopt;
}

// A value that is no number as the page writes it: "true" or "false", a
// name as it is, "—" for nothing.
std::string pageWords(const FieldValue& value) {
    if (const bool* flag = std::get_if<bool>(&value))
        return *flag ? "true" : "false";
    if (const std::string_view* name = std::get_if<std::string_view>(&value))
        return std::string(*name);
    return "—";
}

TEST(VerificationPage, EveryListedValueAgreesWithTheProgram) {
    const std::vector<Cell> cells = readPage();
    Projects projects;
    std::map<std::string, int> perSection;
    for (const Cell& cell : cells) {
        SCOPED_TRACE(cell.project + " edition " + std::to_string(cell.edition) + " row " +
                     cell.row + " " + cell.column.key);
        const std::optional<FieldValue> value = programValue(projects, cell);
        ASSERT_TRUE(value.has_value()) << "nothing in the program answers this cell";
        const double* number = std::get_if<double>(&*value);
        const int decimals = decimalsOf(cell.text);
        if (number == nullptr)
            EXPECT_EQ(cell.text, pageWords(*value));
        else if (cell.column.program)
            EXPECT_EQ(cell.text, formatFixed(*number, decimals));
        else
            EXPECT_LE(std::fabs(parsed(cell.text) - *number),
                      0.5e-9 + 0.5 * std::pow(10, -decimals))
                << cell.text << " against " << *number;
        ++perSection[cell.project + std::to_string(cell.edition)];
    }
    // The four projects, the chimney of the cross-wind check and the cut-off
    // heights, each under both editions, and the building of the closed form
    // under 201X.
    EXPECT_EQ(perSection.size(), 13u);
    for (const auto& [section, count] : perSection)
        EXPECT_GE(count, 8) << section;
}

} // namespace
} // namespace tamsor
