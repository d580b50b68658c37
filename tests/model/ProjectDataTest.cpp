#include "ProjectData.h"

#include <gtest/gtest.h>

#include <string>
#include <variant>

namespace tamsor {
namespace {

ProjectInput withTail(std::string diameter, std::string structure, std::string w10) {
    ProjectInput in;
    in.diameter = std::move(diameter);
    in.structureType = std::move(structure);
    in.w10 = std::move(w10);
    return in;
}

TailTexts accepted(const ProjectDataEntry& entry, const ProjectInput& current = {}) {
    const auto result = acceptProjectData(entry, current);
    if (const auto* refusal = std::get_if<ProjectDataRefusal>(&result))
        ADD_FAILURE() << refusal->message.text;
    return std::holds_alternative<TailTexts>(result) ? std::get<TailTexts>(result) : TailTexts{};
}

ProjectDataRefusal refused(const ProjectDataEntry& entry) {
    const auto result = acceptProjectData(entry, ProjectInput{});
    EXPECT_TRUE(std::holds_alternative<ProjectDataRefusal>(result));
    return std::holds_alternative<ProjectDataRefusal>(result) ? std::get<ProjectDataRefusal>(result)
                                                              : ProjectDataRefusal{};
}

TEST(ProjectData, EntryShowsTheTailAndItsStructureTypeAsAListPosition) {
    EXPECT_EQ(projectDataEntry(withTail("6", "2", "0.3")), (ProjectDataEntry{"6", 2, "0.3"}));
    EXPECT_EQ(projectDataEntry(withTail("", "1.0", "")).structureEntry, 1);
    EXPECT_EQ(projectDataEntry(ProjectInput{}), ProjectDataEntry{});
}

TEST(ProjectData, NumbersAreTakenAsTheValueBoxesTakeThemAndEmptyMeansNotSet) {
    // Full-width digits and a decimal comma, as a Chinese input method types them.
    EXPECT_EQ(accepted({" \xEF\xBC\x96\xEF\xBC\x8C\xEF\xBC\x95 ", 2, "0.35"}),
              (TailTexts{"6.5", "2", "0.35"}));
    EXPECT_EQ(accepted({"", 0, ""}), (TailTexts{"", "", ""}));
    EXPECT_EQ(accepted({"0", 1, ""}), (TailTexts{"0", "1", ""})); // D = 0: no cross-wind check
    // A type left as it was keeps its text.
    EXPECT_EQ(accepted({"6", 1, ""}, withTail("6", "1.0", ""))[1], "1.0");
    EXPECT_EQ(accepted({"6", 0, ""}, withTail("6", "1.0", ""))[1], "");
}

TEST(ProjectData, NegativeDiameterAndW10OfZeroOrBelowAreRefusedSayingSo) {
    ProjectDataRefusal r = refused({"-6", 0, ""});
    EXPECT_EQ(r.field, ProjectDataField::Diameter);
    EXPECT_EQ(r.message.title, "错误提示");
    EXPECT_EQ(r.message.text.rfind("圆形截面的直径D为-6 m，不能为负数。", 0), 0u) << r.message.text;

    r = refused({"6 m", 0, ""});
    EXPECT_EQ(r.field, ProjectDataField::Diameter);
    EXPECT_EQ(r.message.text.rfind("圆形截面的直径D应为一个数。", 0), 0u) << r.message.text;

    for (const char* w10 : {"0", "-0.2"}) {
        r = refused({"6", 0, w10});
        EXPECT_EQ(r.field, ProjectDataField::W10);
        EXPECT_EQ(
            r.message.text.rfind("10年一遇基本风压w10为" + std::string(w10) + " kPa，应大于0。", 0),
            0u)
            << r.message.text;
    }
    EXPECT_EQ(refused({"", 0, "abc"}).field, ProjectDataField::W10);
}

TEST(ProjectData, ApplyingSetsOnlyTheTextsThatDifferAndMakesResultsStale) {
    MessageRecorder sink;
    InputForm form(sink);
    form.show(withTail("6", "1", ""));
    form.setResultButtonsEnabled(true);
    EXPECT_FALSE(applyProjectData(form, TailTexts{"6", "1", ""}));
    EXPECT_TRUE(form.resultButtonsEnabled());

    EXPECT_TRUE(applyProjectData(form, TailTexts{"", "1", "0.3"}));
    EXPECT_EQ(form.input(), withTail("", "1", "0.3"));
    EXPECT_FALSE(form.resultButtonsEnabled());
    EXPECT_TRUE(sink.messages.empty());
}

} // namespace
} // namespace tamsor
