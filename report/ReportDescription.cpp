#include "ReportDescription.h"

#include "CodeChecks.h"
#include "InputFields.h"
#include "NumberFormat.h"
#include "ResultFields.h"
#include "ResultTable.h"
#include "TamsorVersion.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

namespace tamsor {

namespace {

// The footer's texts when the user has set no contact: no invented one.
constexpr std::string_view kContactRequest = "软件问题请反馈给使用单位";
constexpr std::string_view kContactRequestToOrganisation = "本软件在使用中如发现问题，请告知";
constexpr std::string_view kContactNotSet = "（未设置）";
constexpr std::string_view kDesignerAndYear = "程序设计：Tamsor开发者  2026";

// What stands where a value does not apply (a mode without a load).
constexpr std::string_view kNotApplicable = "―"; // U+2015, which GB2312 holds

using Format = std::string (*)(double);

std::string fixed2(double v) {
    return formatFixed(v, 2);
}
std::string fixed3(double v) {
    return formatFixed(v, 3);
}
std::string fixed4(double v) {
    return formatFixed(v, 4);
}

// The first `count` values of a list (fewer when it holds fewer), formatted.
std::vector<std::string> formatted(const List& list, std::size_t count, Format format) {
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < std::min(count, list.size()); ++i)
        texts.push_back(format(list[i]));
    return texts;
}

ReportRow textRow(std::string_view label, std::string value, RowLook look = {}) {
    return ReportRow{std::string(label), {std::move(value)}, ValueLayout::Text, look};
}
ReportRow listRow(std::string_view label, std::vector<std::string> values, RowLook look = {}) {
    return ReportRow{std::string(label), std::move(values), ValueLayout::List, look};
}
ReportRow ownLineRow(std::string_view label, std::string value, RowLook look = {}) {
    return ReportRow{std::string(label), {std::move(value)}, ValueLayout::OwnLine, look};
}

ReportHeading partHeading(std::string text, std::string remark = {}, HeadingLook look = {}) {
    return ReportHeading{ReportHeading::Level::Part, std::move(text), std::move(remark), look};
}
ReportHeading tableHeading(std::string text, HeadingLook look = {}) {
    return ReportHeading{ReportHeading::Level::Table, std::move(text), {}, look};
}

// The page's labels, from the field tables.
std::string_view resultLabel(std::string_view key, Edition edition = Edition::GB201X) {
    return resultField(key).reportCaptionFor(edition);
}
std::string_view listBoxLabel(int box) {
    return listBoxField(box).reportCaption;
}
std::string_view valueBoxLabel(int box) {
    return valueBoxField(box).reportCaption;
}

// The page's row looks.
constexpr RowLook kLabel27{.labelWidth = 27};
constexpr RowLook kLabel27Space{.labelWidth = 27, .ideographicSpaceAfter = true};
constexpr RowLook kLabel27Paragraph{.labelWidth = 27, .labelParagraph = true};
constexpr RowLook kHeight16{.height = 16};
constexpr RowLook kHeight15{.height = 15};

// --- 一 计算参数 -------------------------------------------------------------

ReportSection inputSection(const Results& r) {
    const ParsedInput& in = r.numbers();
    const std::size_t n = r.pointCount();
    ReportSection s{1, true, {}};
    s.blocks.emplace_back(partHeading("一、计算参数:", {}, {.boldOutside = true}));

    s.blocks.emplace_back(tableHeading("1 几何模型", {.boldOutside = true, .trailingSpaces = 2}));
    s.blocks.emplace_back(
        ReportTable{"geometry",
                    {textRow("自由度数目", formatInteger(in.nFreedom)),
                     textRow(valueBoxLabel(ValueBox::Width),
                             fixed2(in.structWidth / valueBoxField(ValueBox::Width).reportDivisor) +
                                 "         (仅用于计算水平向相关性，等于0时表示不考虑水平相关性)"),
                     listRow(listBoxLabel(Box::Heights), formatted(in.zCoord, n, fixed2)),
                     listRow(listBoxLabel(Box::Areas), formatted(in.windArea, n, fixed2))}});

    s.blocks.emplace_back(tableHeading("2 动力特性", {.trailingSpaces = 2}));
    s.blocks.emplace_back(
        ReportTable{"dynamics",
                    {textRow("拟取振型数 ", formatInteger(in.nModes)),
                     textRow(listBoxLabel(Box::Frequency), fixed3(in.freq[0])),
                     textRow(listBoxLabel(Box::DampingRatio), fixed3(in.dampRatio[0])),
                     listRow(listBoxLabel(Box::Masses), formatted(in.mass, n, fixed2)),
                     listRow(listBoxLabel(Box::ModeShape1),
                             formatted(in.modeShapes[0], n, formatScientific))}});

    s.blocks.emplace_back(
        tableHeading("3 风振计算参数", {.boldOutside = true, .trailingSpaces = 2}));
    const std::string terrain = std::string(1, "ABCD"[in.terrainType - 1]) +
                                "(α=" + fixed2(r.raw().alpha) + "  ;" +
                                "I10=" + fixed3(r.raw().i10) + ")";
    s.blocks.emplace_back(
        ReportTable{"windParameters",
                    {textRow(valueBoxLabel(ValueBox::WindPressure),
                             fixed2(in.w0 / valueBoxField(ValueBox::WindPressure).reportDivisor)),
                     ownLineRow(resultLabel("alpha"), terrain),
                     listRow(listBoxLabel(Box::ShapeCoef), formatted(in.shapeCoef, n, fixed2))}});
    s.blocks.emplace_back(ReportGap{});
    return s;
}

// --- 二 计算结果 ------------------------------------------------------------

ReportSection resultSection(const Results& r) {
    const RawResults& raw = r.raw();
    const DerivedResults& d = r.derived();
    const Edition edition = r.edition();
    const bool newCode = edition == Edition::GB201X;
    const std::size_t n = r.pointCount();
    ReportSection s{2, true, {}};
    s.blocks.emplace_back(
        partHeading("二 计算结果", newCode ? "(新规范GB50009-201X)" : "(旧规范GB50009-2001)"));

    s.blocks.emplace_back(tableHeading("1 平均风计算结果", {.trailingSpaces = 2}));
    s.blocks.emplace_back(ReportTable{
        std::string(kMeanResultsTable),
        {listRow(resultLabel("meanLoad"), formatted(raw.meanLoad, n, fixed2), kHeight16),
         listRow(resultLabel("meanDisp"), formatted(raw.meanDisp, n, fixed2), kHeight15),
         textRow(resultLabel("meanBaseShear"), fixed2(d.meanBaseShear), kHeight16),
         textRow(resultLabel("meanBaseMoment"), fixed2(d.meanBaseMoment), kHeight16)},
        87});

    s.blocks.emplace_back(tableHeading("2 脉动风计算结果", {.trailingSpaces = 2}));
    s.blocks.emplace_back(ReportTable{
        std::string(kFluctuatingResultsTable),
        {listRow(resultLabel("windVibForce"), formatted(raw.windVibForce, n, fixed2), kLabel27),
         listRow(resultLabel("dispStd"), formatted(raw.dispStd, n, fixed2), kLabel27),
         textRow(resultLabel("fluctBaseShear"), fixed2(d.fluctBaseShear), kLabel27Space),
         textRow(resultLabel("fluctBaseMoment"), fixed2(d.fluctBaseMoment), kLabel27Space)}});

    // The first two rows name the intermediate factors of the chosen edition.
    s.blocks.emplace_back(tableHeading("3 等效静力风荷载模型", {.trailingSpaces = 1}));
    s.blocks.emplace_back(ReportTable{
        std::string(kEquivalentStaticLoadTable),
        {ownLineRow(resultLabel("dynFactor", edition), fixed2(raw.dynFactor), kLabel27Paragraph),
         listRow(resultLabel(newCode ? "bgFactor" : "muR"),
                 formatted(newCode ? raw.bgFactor : raw.muR, n, fixed2), kLabel27Paragraph),
         listRow(resultLabel("windVibCoef"), formatted(raw.windVibCoef, n, fixed2),
                 kLabel27Paragraph),
         listRow(resultLabel("eqStaticLoad"), formatted(raw.eqStaticLoad, n, fixed2),
                 kLabel27Paragraph)}});

    s.blocks.emplace_back(tableHeading("4 总响应(平均响应+脉动响应)", {.trailingSpaces = 1}));
    s.blocks.emplace_back(ReportTable{
        "totalResponse",
        {listRow(resultLabel("totalDisp"), formatted(d.totalDisp, n, fixed2), kLabel27),
         textRow(resultLabel("totalBaseShear"), fixed2(d.totalBaseShear), kLabel27),
         textRow(resultLabel("totalBaseMoment"), fixed2(d.totalBaseMoment), kLabel27Space)}});
    s.blocks.emplace_back(ReportGap{});
    return s;
}

// --- 三 LRC法, 四 GBJ法 -----------------------------------------------------

ReportSection lrcSection(const Results& r) {
    const std::size_t n = r.pointCount();
    const DerivedResults& d = r.derived();
    ReportSection s{3, true, {}};
    s.blocks.emplace_back(partHeading("三 LRC法计算结果", "(计算参数同上)"));
    s.blocks.emplace_back(ReportTable{
        "lrc",
        {listRow(resultLabel("lrcBackground"), formatted(r.raw().lrcBackground, n, fixed2),
                 kHeight16),
         listRow(resultLabel("lrcResonant"), formatted(d.lrcResonant, n, fixed2), kHeight15),
         listRow(resultLabel("lrcLoad"), formatted(r.raw().lrcLoad, n, fixed2), kHeight15),
         textRow(resultLabel("lrcBaseShear"), fixed2(d.lrcBaseShear), kHeight16),
         textRow(resultLabel("lrcBaseMoment"), fixed2(d.lrcBaseMoment), kHeight16)}});
    s.blocks.emplace_back(ReportGap{});
    return s;
}

ReportSection gbjSection(const Results& r) {
    const std::size_t n = r.pointCount();
    ReportSection s{4, true, {}};
    s.blocks.emplace_back(partHeading("四 GBJ法等效风荷载修正", "(基于脉动底部剪力)"));
    s.blocks.emplace_back(ReportTable{
        "gbj",
        {listRow(resultLabel("exactBaseShear"), {fixed2(r.raw().exactBaseShear)}, kHeight16),
         listRow(resultLabel("corrC"), {fixed2(r.raw().corrC)}, kHeight15),
         listRow(resultLabel("gbjLoad"), formatted(r.derived().gbjLoad, n, fixed2), kHeight15)}});
    s.blocks.emplace_back(ReportGap{});
    return s;
}

// --- 五 其他计算结果, 六 与现行规范对照 (the book's own) ---------------------

// The results of the field table that the page does not show, with their
// notes.
ReportSection otherResultsSection(const Results& r) {
    const Edition edition = r.edition();
    ReportSection s{5, false, {}};
    s.blocks.emplace_back(partHeading("五 其他计算结果"));
    ReportTable table{"otherResults", {}};
    std::vector<std::string> notes;
    const auto added = [](const ResultField& field, FieldShape shape) {
        return field.group.empty() && field.shape == shape && !field.onReportPage();
    };
    const auto noteOf = [&](const ResultField& field) {
        if (!field.note.empty())
            notes.push_back(std::string(field.captionFor(edition)) + "：" +
                            std::string(field.note));
    };
    for (const ResultField& field : kResultFields) {
        if (!added(field, FieldShape::PerPoint))
            continue;
        std::vector<std::string> values;
        for (std::size_t i = 0; i < r.pointCount(); ++i)
            values.push_back(shownText(field.value(r, FieldIndex{0, i}), field.decimals));
        table.rows.push_back(listRow(field.heading(edition), std::move(values)));
        noteOf(field);
    }
    for (const ResultField& field : kResultFields) {
        if (!added(field, FieldShape::Structure))
            continue;
        table.rows.push_back(textRow(field.heading(edition),
                                     shownText(field.value(r, FieldIndex{}), field.decimals)));
        noteOf(field);
    }
    if (!table.rows.empty())
        s.blocks.emplace_back(std::move(table));
    for (std::string& note : notes)
        s.blocks.emplace_back(ReportNote{std::move(note)});
    s.blocks.emplace_back(ReportGap{});
    return s;
}

ReportSection codeChecksSection(const Results& r) {
    ReportSection s{6, false, {}};
    s.blocks.emplace_back(partHeading("六 与现行规范对照"));
    const std::vector<CodeFinding> findings = checkAgainstCodes(r);
    for (const CodeFinding& finding : findings)
        s.blocks.emplace_back(ReportNote{"· " + finding.text()});
    if (findings.empty())
        s.blocks.emplace_back(ReportNote{"各质点的风振系数均不小于" +
                                         messageNumber(kMinWindVibCoef) +
                                         "，且均不低于风压高度变化系数表的截断高度。"});
    s.blocks.emplace_back(ReportGap{});
    return s;
}

// --- 七 横风向风振 ------------------------------------------------------------

std::string modeName(std::size_t mode) {
    return "第" + formatInteger(static_cast<long long>(mode)) + "阶";
}

// The input of the check as the project gives it, read with care: a refused
// check may have met lists shorter than it needs.
ReportTable crossWindInputTable(const Results& r) {
    const ParsedInput& in = r.numbers();
    const std::size_t n = r.pointCount();
    const auto modes =
        static_cast<std::size_t>(std::clamp(in.nModes, 1, static_cast<int>(kModeShapeBoxes)));
    std::string type;
    if (!in.structureType)
        type = kStructureTypeUnspecifiedText;
    else if (*in.structureType == 1 || *in.structureType == 2)
        type = structureTypeCaption(static_cast<StructureType>(*in.structureType));
    else
        type = formatInteger(*in.structureType);

    ReportTable table{"crossWindInput", {}};
    table.rows.push_back(textRow("圆截面直径D(m)", fixed2(in.diameterM.value_or(0.0))));
    table.rows.push_back(textRow("结构类型", type));
    table.rows.push_back(textRow("拟取振型数", formatInteger(in.nModes)));
    table.rows.push_back(listRow("各阶固有频率(Hz)", formatted(in.freq, modes, fixed3)));
    // One damping ratio stands for every mode.
    List damping = in.dampRatio;
    if (damping.size() == 1)
        damping.assign(modes, damping.front());
    table.rows.push_back(listRow("各阶阻尼比", formatted(damping, modes, fixed3)));
    for (std::size_t j = 0; j < modes; ++j)
        table.rows.push_back(
            listRow(modeName(j + 1) + "振型", formatted(in.modeShapes[j], n, formatScientific)));
    return table;
}

// A value of the check as the results window shows it; "―" where it does
// not apply.
std::string crossWindText(const ResultField& field, const FieldValue& value) {
    std::string text = shownText(field, value);
    return text.empty() ? std::string(kNotApplicable) : text;
}

ReportRow structureRow(const ResultField& field, const Results& r) {
    return textRow(field.heading(), crossWindText(field, field.value(r, FieldIndex{})));
}

void addCrossWindResults(ReportSection& s, const Results& r) {
    const CrossWindResult& cw = std::get<CrossWindResult>(r.crossWind());
    const auto fieldsOf = [](FieldShape shape) {
        std::vector<const ResultField*> fields;
        for (const ResultField& field : kResultFields)
            if (field.group == "crossWind" && field.shape == shape)
                fields.push_back(&field);
        return fields;
    };

    // One row per field of a mode, one value per mode.
    ReportTable modes{"crossWindModes", {}};
    for (const ResultField* field : fieldsOf(FieldShape::PerMode)) {
        std::vector<std::string> values;
        for (std::size_t j = 0; j < cw.modes.size(); ++j)
            values.push_back(field->key == "mode"
                                 ? modeName(j + 1)
                                 : crossWindText(*field, field->value(r, FieldIndex{j, 0})));
        modes.rows.push_back(listRow(field->heading(), std::move(values)));
    }
    s.blocks.emplace_back(std::move(modes));

    // The loads of the modes that carry one, a row per field of a point.
    int heading = 3;
    ReportTable loads{"crossWindLoads", {}};
    for (std::size_t j = 0; j < cw.modes.size(); ++j) {
        if (!cw.modes[j].carriesLoad())
            continue;
        for (const ResultField* field : fieldsOf(FieldShape::PerModePerPoint)) {
            std::vector<std::string> values;
            for (std::size_t i = 0; i < r.pointCount(); ++i)
                values.push_back(crossWindText(*field, field->value(r, FieldIndex{j, i})));
            loads.rows.push_back(listRow(modeName(j + 1) + field->heading(), std::move(values)));
        }
    }
    if (!loads.rows.empty()) {
        s.blocks.emplace_back(tableHeading(formatInteger(heading++) + " 横风向风振等效风荷载"));
        s.blocks.emplace_back(std::move(loads));
    }

    s.blocks.emplace_back(tableHeading(formatInteger(heading) + " 结构顶部风速与亚临界微风共振"));

    s.blocks.emplace_back(
        ReportTable{"crossWindTop",
                    {textRow("顺风向基底剪力V_D(KN)", fixed2(cw.alongShear)),
                     textRow("顺风向基底弯矩M_D(KN*m)", fixed2(cw.alongMoment)),
                     textRow("结构顶部高度H(m)", fixed2(cw.topHeight)),
                     textRow("顶部风压高度变化系数μ_H", fixed3(cw.topHeightCoef)),
                     structureRow(resultField("topSpeed", "crossWind"), r),
                     structureRow(resultField("subcriticalResonance", "crossWind"), r)}});

    const std::vector<std::string> findings = crossWindNotices(cw);
    for (const std::string& finding : findings)
        s.blocks.emplace_back(ReportNote{finding});
    if (findings.empty())
        s.blocks.emplace_back(
            ReportNote{"各阶振型均不发生横风向共振，不需计入横风向风振等效风荷载。"});
    s.blocks.emplace_back(ReportNote{"未计算横风向风振加速度(GB 50009-2012附录J.2)。"});
}

std::optional<ReportSection> crossWindSection(const Results& r) {
    const CrossWindOutcome& outcome = r.crossWind();
    if (std::holds_alternative<NoCrossWindData>(outcome))
        return std::nullopt;
    ReportSection s{kCrossWindSection, true, {}};
    s.blocks.emplace_back(partHeading("七 横风向风振(旋涡脱落)验算"));
    s.blocks.emplace_back(tableHeading("1 计算参数"));
    s.blocks.emplace_back(crossWindInputTable(r));
    s.blocks.emplace_back(tableHeading("2 各阶振型的验算结果"));
    if (const auto* refusal = std::get_if<CrossWindRefusal>(&outcome))
        s.blocks.emplace_back(ReportNote{refusal->message});
    else
        addCrossWindResults(s, r);
    s.blocks.emplace_back(ReportGap{});
    return s;
}

// --- 八 规范公式对照与舒适度 --------------------------------------------------

// A per-point field's values with the field's decimals.
std::vector<std::string> pointTexts(const ResultField& field, const Results& r) {
    std::vector<std::string> values;
    for (std::size_t i = 0; i < r.pointCount(); ++i)
        values.push_back(formatFixed(numberOf(field.value(r, {0, i})), field.decimals));
    return values;
}

// The rows of a group's numbers, in the field table's order: one row for a
// value of the structure, a list for a value per point.
void addGroupNumbers(ReportTable& table, std::string_view group, const Results& r) {
    for (const ResultField& field : kResultFields) {
        if (field.group != group || field.kind != ValueKind::Number)
            continue;
        if (field.shape == FieldShape::Structure)
            table.rows.push_back(textRow(
                field.heading(), formatFixed(numberOf(field.value(r, {})), field.decimals)));
        else if (field.shape == FieldShape::PerPoint)
            table.rows.push_back(listRow(field.heading(), pointTexts(field, r)));
    }
}

void addCodeFormula(ReportSection& s, const CodeFormulaResult& cf, const Results& r) {
    const std::size_t n = r.pointCount();
    s.blocks.emplace_back(tableHeading("1 风振系数的规范公式(GB50009-201X 8.4.3~8.4.6)"));
    ReportTable table{"codeFormula", {}};
    table.rows.push_back(textRow("结构类型", std::string(structureTypeCaption(cf.structureType))));
    addGroupNumbers(table, "codeFormula", r);
    table.rows.push_back(listRow("程序计算βz", pointTexts(resultField("windVibCoef"), r)));
    table.rows.push_back(listRow("βz比值(规范公式/程序)",
                                 formatted(windVibCoefRatios(cf, r.raw().windVibCoef), n, fixed3)));
    s.blocks.emplace_back(std::move(table));
    s.blocks.emplace_back(ReportNote{std::string(kUniformSectionText)});
    if (cf.structureTypeUnspecified)
        s.blocks.emplace_back(ReportNote{std::string(kStructureTypeUnspecifiedText)});
}

void addComfort(ReportSection& s, const CodeFormulaOutcome& outcome, const Results& r) {
    if (!r.numbers().w10KPa) {
        s.blocks.emplace_back(ReportNote{"未输入10年重现期基本风压w10，未作舒适度验算。"});
        return;
    }
    s.blocks.emplace_back(tableHeading("2 舒适度验算(10年重现期风压)"));
    if (!outcome.comfort) {
        s.blocks.emplace_back(ReportNote{outcome.comfortWhyNot});
        return;
    }
    const ComfortResult& c = *outcome.comfort;
    ReportTable table{"comfort", {}};
    addGroupNumbers(table, "comfort", r);
    table.rows.push_back(textRow("顶部加速度(m/s^2)", fixed4(c.topAcceleration)));
    if (c.limits) {
        const auto limit = [](double value, bool met) {
            return formatFixed(value, 2) + " m/s^2，" + (met ? "满足" : "不满足");
        };
        table.rows.push_back(
            textRow("住宅、公寓的限值", limit(kComfortLimitResidential, c.limits->residentialMet)));
        table.rows.push_back(
            textRow("办公、旅馆的限值", limit(kComfortLimitOffice, c.limits->officeMet)));
    }
    s.blocks.emplace_back(std::move(table));
    if (c.etaAClamped)
        s.blocks.emplace_back(ReportNote{std::string(kEtaAClampedText)});
    if (!c.limits)
        s.blocks.emplace_back(ReportNote{std::string(kLimitsForBuildingsText)});
}

// Whether the input holds any of the data that bring section 八 onto the
// page.
bool inputHoldsTailData(const ParsedInput& in) {
    return in.diameterM.has_value() || in.structureType.has_value() || in.w10KPa.has_value();
}

ReportSection codeFormulaSection(const Results& r) {
    ReportSection s{kCodeFormulaSection, inputHoldsTailData(r.numbers()), {}};
    s.blocks.emplace_back(partHeading("八 规范公式对照与舒适度"));
    const CodeFormulaOutcome& outcome = r.codeFormula();
    if (outcome.codeFormula) {
        addCodeFormula(s, *outcome.codeFormula, r);
        addComfort(s, outcome, r);
    } else {
        s.blocks.emplace_back(
            ReportNote{outcome.whyNot.empty() ? std::string("未作规范公式对照") : outcome.whyNot});
    }
    s.blocks.emplace_back(ReportGap{});
    return s;
}

} // namespace

std::string ReportRow::valueText() const {
    if (layout != ValueLayout::List)
        return values.empty() ? std::string() : values.front();
    std::string text;
    for (const std::string& value : values) {
        if (!text.empty())
            text += ' ';
        text += value;
        text += ';';
    }
    return text;
}

ReportFooter reportFooter(const ReportContact& contact) {
    ReportFooter footer;
    footer.caution = "以上结果为软件计算，请谨慎校核";
    footer.contactRequest =
        std::string(contact.organisation.empty() ? kContactRequest : kContactRequestToOrganisation);
    footer.contactName =
        contact.organisation.empty() ? std::string(kContactNotSet) : contact.organisation;
    footer.email = contact.email.empty() ? std::string(kContactNotSet) : contact.email;
    footer.designerAndYear = kDesignerAndYear;
    return footer;
}

ReportDescription describeReport(const Results& results, const ReportContact& contact) {
    ReportDescription d;
    d.title = "风振计算报告书";
    d.version = kVersionTag;
    d.sections.push_back(inputSection(results));
    d.sections.push_back(resultSection(results));
    d.sections.push_back(lrcSection(results));
    d.sections.push_back(gbjSection(results));
    d.sections.push_back(otherResultsSection(results));
    d.sections.push_back(codeChecksSection(results));
    if (std::optional<ReportSection> crossWind = crossWindSection(results))
        d.sections.push_back(std::move(*crossWind));
    d.sections.push_back(codeFormulaSection(results));
    d.footer = reportFooter(contact);
    return d;
}

} // namespace tamsor
