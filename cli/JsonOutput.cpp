#include "BatchOutput.h"

#include "CodeChecks.h"
#include "Plausibility.h"

#include <QJsonArray>
#include <QJsonValue>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <string_view>
#include <variant>
#include <vector>

namespace tamsor {

namespace {

QJsonValue jsonNumber(double value) {
    return std::isfinite(value) ? QJsonValue(value) : QJsonValue(QJsonValue::Null);
}

QJsonValue jsonValue(const FieldValue& value) {
    if (const double* number = std::get_if<double>(&value))
        return jsonNumber(*number);
    if (const bool* flag = std::get_if<bool>(&value))
        return QJsonValue(*flag);
    if (const std::string_view* name = std::get_if<std::string_view>(&value))
        return QString::fromUtf8(name->data(), static_cast<qsizetype>(name->size()));
    return QJsonValue(QJsonValue::Null);
}

// A field's values at one mode (0 for the shapes without modes): one value,
// or an array of one value per mass point.
QJsonValue fieldJson(const ResultField& field, const Results& r, std::size_t mode) {
    if (field.shape == FieldShape::Structure || field.shape == FieldShape::PerMode)
        return jsonValue(field.value(r, FieldIndex{mode, 0}));
    QJsonArray array;
    for (std::size_t i = 0; i < r.pointCount(); ++i)
        array.append(jsonValue(field.value(r, FieldIndex{mode, i})));
    return array;
}

bool perMode(const ResultField& field) {
    return field.shape == FieldShape::PerMode || field.shape == FieldShape::PerModePerPoint;
}

} // namespace

QJsonObject fieldsJson(std::span<const ResultField> fields, std::span<const ResultGroup> groups,
                       const Results& r) {
    // The groups in the order their first field comes, the top first.
    std::vector<std::string_view> order{std::string_view()};
    for (const ResultField& field : fields)
        if (std::find(order.begin(), order.end(), field.group) == order.end())
            order.push_back(field.group);

    QJsonObject top;
    for (std::string_view key : order) {
        const ResultGroup* group = resultGroup(groups, key);
        if (group != nullptr && !group->present(r)) {
            top.insert(QLatin1StringView(key), QJsonValue(QJsonValue::Null));
            continue;
        }
        const std::size_t modes =
            group != nullptr ? group->modeCount(r) : static_cast<std::size_t>(r.numbers().nModes);
        QJsonObject object;
        bool hasModes = false;
        for (const ResultField& field : fields) {
            if (field.group != key)
                continue;
            if (perMode(field))
                hasModes = true;
            else
                object.insert(QLatin1StringView(field.key), fieldJson(field, r, 0));
        }
        if (hasModes) {
            QJsonArray modeObjects;
            for (std::size_t j = 0; j < modes; ++j) {
                QJsonObject mode;
                for (const ResultField& field : fields)
                    if (field.group == key && perMode(field))
                        mode.insert(QLatin1StringView(field.key), fieldJson(field, r, j));
                modeObjects.append(mode);
            }
            object.insert(QStringLiteral("modes"), modeObjects);
        }
        if (key.empty()) {
            for (auto it = object.begin(); it != object.end(); ++it)
                top.insert(it.key(), it.value());
        } else {
            top.insert(QLatin1StringView(key), object);
        }
    }
    return top;
}

QJsonObject resultJson(const Results& r, const ComputeOutcome& outcome, std::string_view file) {
    const std::size_t n = r.pointCount();
    QJsonObject object = fieldsJson(kResultFields, kResultGroups, r);
    object.insert(QStringLiteral("file"),
                  QString::fromUtf8(file.data(), static_cast<qsizetype>(file.size())));
    object.insert(QStringLiteral("nFreedom"), r.numbers().nFreedom);
    object.insert(QStringLiteral("codeVersion"), static_cast<int>(r.edition()));
    object.insert(QStringLiteral("terrainType"), r.numbers().terrainType);
    for (const CodeCheck& check : kCodeChecks) {
        QJsonArray array;
        for (bool failed : failedPoints(outcome.failedChecks, check.check, n))
            array.append(failed);
        object.insert(QLatin1StringView(check.key), array);
    }
    QJsonArray checks;
    for (const CodeFinding& finding : outcome.failedChecks)
        checks.append(
            QJsonObject{{QStringLiteral("check"), QLatin1StringView(finding.key())},
                        {QStringLiteral("point"), finding.point},
                        {QStringLiteral("height"), jsonNumber(finding.height)},
                        {QStringLiteral("value"), jsonNumber(finding.value)},
                        {QStringLiteral("required"), jsonNumber(finding.required)},
                        {QStringLiteral("text"), QString::fromStdString(finding.text())}});
    object.insert(QStringLiteral("codeChecks"), checks);
    QJsonArray warnings;
    for (const InputWarning& warning : outcome.warnings)
        warnings.append(
            QJsonObject{{QStringLiteral("quantity"), QLatin1StringView(warning.quantity)},
                        {QStringLiteral("point"), warning.point > 0 ? QJsonValue(warning.point)
                                                                    : QJsonValue(QJsonValue::Null)},
                        {QStringLiteral("value"), jsonNumber(warning.value)},
                        {QStringLiteral("text"), QString::fromStdString(warning.text)}});
    object.insert(QStringLiteral("warnings"), warnings);
    return object;
}

} // namespace tamsor
