#include "Plausibility.h"

#include "Message.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace tamsor {

namespace {

std::string pointName(std::size_t i) {
    return "第" + std::to_string(i + 1) + "质点";
}

InputWarning pointWarning(InputWarning::Kind kind, std::string_view quantity, std::size_t i,
                          double value, std::string text) {
    return InputWarning{kind, quantity, static_cast<int>(i) + 1, value, std::move(text)};
}

// A natural frequency is positive; a minus sign typed with it is a slip that
// the computation would not show.
void checkFrequency(const List& freq, std::vector<InputWarning>& warnings) {
    if (freq.empty() || !(freq.front() < 0.0))
        return;
    const double f = freq.front();
    warnings.push_back({InputWarning::Kind::FrequencyNegative, "freq", 0, f,
                        "固有频率为" + messageNumber(f) + " Hz，小于0。频率应为正值，应输入" +
                            messageNumber(-f) + "。"});
}

// A mode shape may be scaled freely, but the code's coefficients take it
// positive at the top, where the first mode moves most (1 there as a rule);
// a shape negative there turns the fluctuating response negative and the
// wind vibration coefficients below 1, even below 0.
void checkModeShapeAtTop(const List& zCoord, const List& modeShape, std::size_t n,
                         std::vector<InputWarning>& warnings) {
    const std::size_t count = std::min({n, zCoord.size(), modeShape.size()});
    if (count == 0)
        return;
    std::size_t top = 0;
    for (std::size_t i = 1; i < count; ++i)
        if (zCoord[i] > zCoord[top])
            top = i;
    const double phi = modeShape[top];
    if (!(phi < 0.0))
        return;
    warnings.push_back(pointWarning(
        InputWarning::Kind::ModeShapeNegativeAtTop, "modeShape", top, phi,
        "最高的" + pointName(top) + "的振型值为" + messageNumber(phi) +
            "，小于0。第1阶振型应以最高点为正（一般取1）：请把各质点的振型值都乘以-1后输入。"
            "振型在最高点为负时，脉动风振力和位移均方差都反号，风振系数偏小甚至为负。"));
}

} // namespace

std::vector<InputWarning> checkPlausibility(const ParsedInput& m) {
    std::vector<InputWarning> warnings;

    checkFrequency(m.freq, warnings);

    if (!m.dampRatio.empty() && m.dampRatio.front() > plausibility::kMaxDampingRatio) {
        const double zeta = m.dampRatio.front();
        const NumberPair shown = distinctNumbers(zeta, plausibility::kMaxDampingRatio);
        warnings.push_back(
            {InputWarning::Kind::DampingRatio, "dampRatio", 0, zeta,
             "阻尼比为" + shown.first + "，大于" + shown.second +
                 "。阻尼比按小数输入，钢结构一般为0.01～0.02，混凝土结构约0.05；若指" +
                 messageNumber(zeta) + "%，应输入" + messageNumber(zeta / 100.0) +
                 "。阻尼比过大使共振响应几乎消失，风振系数偏小，偏于不安全。"});
    }

    const double w0KPa = m.w0 / 1000.0;
    if (w0KPa > plausibility::kMaxBasicWindPressureKPa) {
        const NumberPair shown = distinctNumbers(w0KPa, plausibility::kMaxBasicWindPressureKPa);
        warnings.push_back({InputWarning::Kind::WindPressure, "w0", 0, w0KPa,
                            "基本风压为" + shown.first + " kPa，大于" + shown.second +
                                " kPa。基本风压以kPa为单位输入，各地一般为0.3～2 kPa；"
                                "若这是以N/m²计的值，应输入" +
                                messageNumber(w0KPa / 1000.0) + "。"});
    }

    // The 10-year pressure of Table E.5 lies below the 50-year one of the same
    // place; one above it was most likely entered in the other's place.
    if (m.w10KPa && *m.w10KPa > w0KPa) {
        const NumberPair shown = distinctNumbers(*m.w10KPa, w0KPa);
        warnings.push_back({InputWarning::Kind::W10AboveW0, "w10", 0, *m.w10KPa,
                            "10年一遇基本风压w10为" + shown.first + " kPa，大于基本风压w0的" +
                                shown.second +
                                " kPa。w10按荷载规范表E.5取重现期为10年的风压，应小于基本风压"
                                "（重现期50年）；请核对两者是否输反。"});
    }

    struct PositiveInput {
        InputWarning::Kind kind;
        std::string_view quantity;
        const List* list;
        const char* name;
        const char* unit;
    };
    const PositiveInput positives[] = {
        {InputWarning::Kind::HeightNotPositive, "zCoord", &m.zCoord, "高度", " m"},
        {InputWarning::Kind::AreaNotPositive, "windArea", &m.windArea, "受风面积", " m²"},
        {InputWarning::Kind::MassNotPositive, "mass", &m.mass, "质量", " 吨"},
    };
    const auto n = static_cast<std::size_t>(std::max<int>(m.nFreedom, 0));
    for (std::size_t i = 0; i < n; ++i) {
        const List& z = m.zCoord;
        if (i > 0 && i < z.size() && !(z[i] > z[i - 1]))
            warnings.push_back(
                pointWarning(InputWarning::Kind::HeightNotRising, "zCoord", i, z[i],
                             pointName(i) + "的高度" + messageNumber(z[i]) + " m不高于" +
                                 pointName(i - 1) + "的" + messageNumber(z[i - 1]) +
                                 " m。各质点应自下而上按高度递增的顺序输入；程序不排序，"
                                 "图形和基底剪力都按输入的顺序计算。"));
        for (const PositiveInput& input : positives)
            if (i < input.list->size() && !((*input.list)[i] > 0.0))
                warnings.push_back(pointWarning(input.kind, input.quantity, i, (*input.list)[i],
                                                pointName(i) + "的" + input.name + "为" +
                                                    messageNumber((*input.list)[i]) + input.unit +
                                                    "。" + input.name + "应大于0。"));
    }
    checkModeShapeAtTop(m.zCoord, m.modeShapes[0], n, warnings);
    return warnings;
}

} // namespace tamsor
