#include "ResultNotices.h"

#include "CodeFormula.h"
#include "CrossWind.h"
#include "Message.h"

#include <cmath>
#include <cstddef>

namespace tamsor {

namespace {

// "第8、9、10质点" with the values given, "、" between them.
std::string joined(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items) {
        if (!text.empty())
            text += "、";
        text += item;
    }
    return text;
}

std::string divergenceNotice(const CodeFormulaResult& codeFormula, const List& windVibCoef) {
    const std::vector<int> points = divergentPoints(codeFormula, windVibCoef);
    if (points.empty())
        return {};
    const List ratios = windVibCoefRatios(codeFormula, windVibCoef);
    std::vector<std::string> numbers;
    std::vector<std::string> shares;
    for (int point : points) {
        numbers.push_back(std::to_string(point));
        const double ratio = ratios[static_cast<std::size_t>(point - 1)];
        shares.push_back(std::isfinite(ratio) ? messageNumber(ratio, 3) : "—");
    }
    return "第" + joined(numbers) + "质点的规范公式βz与程序的风振系数相差超过" +
           messageNumber(kWindVibCoefDivergence * 100.0) + "%(规范公式/程序：" + joined(shares) +
           ")，多半是振型或单位有误，请检查。";
}

std::string comfortNotice(const ComfortResult& comfort, const CodeFormulaResult& codeFormula,
                          const List& heights) {
    if (!comfortLimitExceeded(comfort))
        return {};
    // The residential limit is the lower: it is exceeded whenever one is.
    const bool officeToo = !comfort.limits->officeMet;
    const NumberPair shown = distinctNumbers(
        comfort.topAcceleration, officeToo ? kComfortLimitOffice : kComfortLimitResidential, 4);
    const auto top = static_cast<std::size_t>(codeFormula.topPoint);
    std::string text =
        "最高质点(第" + std::to_string(top + 1) + "质点，z=" + messageNumber(heights[top]) +
        " m)在10年重现期风压下的顺风向加速度" + shown.first + " m/s^2超过住宅、公寓的限值" +
        (officeToo ? messageNumber(kComfortLimitResidential) : shown.second) + " m/s^2";
    if (officeToo)
        text += "和办公、旅馆的限值" + shown.second + " m/s^2";
    return text + "(JGJ 3-2010第3.7.6条)。";
}

} // namespace

std::vector<ResultNotice> resultNotices(const Results& r) {
    std::vector<ResultNotice> notices;
    if (const auto* refusal = std::get_if<CrossWindRefusal>(&r.crossWind()))
        notices.push_back({"crossWind", refusal->message});
    else if (const auto* crossWind = std::get_if<CrossWindResult>(&r.crossWind()))
        for (std::string& line : crossWindNotices(*crossWind))
            notices.push_back({"crossWind", std::move(line)});

    const CodeFormulaOutcome& closed = r.codeFormula();
    if (!closed.codeFormula)
        return notices;
    if (std::string text = divergenceNotice(*closed.codeFormula, r.raw().windVibCoef);
        !text.empty())
        notices.push_back({"codeFormula", std::move(text)});
    if (closed.comfort)
        if (std::string text =
                comfortNotice(*closed.comfort, *closed.codeFormula, r.numbers().zCoord);
            !text.empty())
            notices.push_back({"comfort", std::move(text)});
    return notices;
}

} // namespace tamsor
