// The record as start-up leaves it, and the two list re-creation operations.

#include "Startup.h"
#include "ProjectModel.h"
#include "WindResponse.h"

#include <gtest/gtest.h>

namespace tamsor {
namespace {

const List kOneZero{0.0};

TEST(Startup, SetsDefaultCountsAndSettings) {
    ProjectModel m;
    initializeProject(m);
    EXPECT_EQ(m.nFreedom, 1);
    EXPECT_EQ(m.nModes, 1);
    EXPECT_EQ(m.terrainType, 1);
    EXPECT_EQ(m.codeVersion, 0);
    EXPECT_EQ(m.maxFreedom, 10);
    EXPECT_EQ(m.structWidth, 0.0);
    EXPECT_EQ(m.w0, 0.0);
    EXPECT_EQ(m.alpha, 0.0);
    EXPECT_EQ(m.i10, 0.0);
    EXPECT_EQ(m.dynFactor, 0.0);
    EXPECT_EQ(m.corrC, 0.0);
    EXPECT_EQ(m.exactBaseShear, 0.0);
    for (auto flag : m.listError)
        EXPECT_EQ(flag, 0);
    EXPECT_FALSE(m.resultsComplete);
}

TEST(Startup, CreatesOneZeroPerInputListAndNoResults) {
    ProjectModel m;
    initializeProject(m);
    for (const List* list : {&m.zCoord, &m.windArea, &m.mass, &m.modeShape, &m.modeShape2,
                             &m.modeShape3, &m.shapeCoef, &m.freq, &m.dampRatio})
        EXPECT_EQ(*list, kOneZero);
    for (const List* list :
         {&m.meanLoad, &m.windVibForce, &m.windVibCoef, &m.eqStaticLoad, &m.lrcLoad,
          &m.lrcBackground, &m.meanDisp, &m.dispStd, &m.bgFactor, &m.muR})
        EXPECT_TRUE(list->empty());
}

TEST(Startup, WritesTheLoadCodeTables) {
    ProjectModel m;
    initializeProject(m);
    // [edition][terrain A..D]; edition 0 = GB50009-201X, 1 = GB50009-2001.
    EXPECT_EQ(m.gradientHeight,
              (EditionTerrainTable{{{300, 350, 450, 550}, {300, 350, 400, 450}}}));
    EXPECT_EQ(m.terrainAlpha,
              (EditionTerrainTable{{{0.12, 0.15, 0.22, 0.30}, {0.12, 0.16, 0.22, 0.30}}}));
    EXPECT_EQ(m.terrainI10,
              (EditionTerrainTable{{{0.12, 0.14, 0.23, 0.39}, {0.088, 0.1136, 0.1668, 0.2784}}}));
    EXPECT_EQ(m.peakFactor, (std::array<double, 2>{2.5, 2.2}));
}

TEST(Startup, ComputingTheStartUpRecordFaultsWithoutCrashing) {
    // Every input is 0; the window's gate refuses this, the engine must not
    // crash if it is reached anyway.
    ProjectModel m;
    initializeProject(m);
    const auto fault = computeWindResponse(m);
    ASSERT_TRUE(fault.has_value());
    EXPECT_EQ(fault->quantity, "第1质点的湍流强度");
    EXPECT_FALSE(m.resultsComplete);
}

ProjectModel computedThreePoints() {
    ProjectModel m;
    initializeProject(m);
    m.nFreedom = 3;
    m.terrainType = 2;
    m.zCoord = {15.0, 30.0, 45.0};
    m.windArea = {20.0, 20.0, 20.0};
    m.shapeCoef = {1.3, 1.3, 1.3};
    m.mass = {30.0, 30.0, 30.0};
    m.modeShape = {0.2, 0.6, 1.0};
    m.modeShape2 = {1.0, 0.0, -1.0};
    m.modeShape3 = {1.0, -1.0, 1.0};
    m.freq = {1.1};
    m.dampRatio = {0.05};
    m.w0 = 450.0;
    EXPECT_FALSE(computeWindResponse(m).has_value());
    return m;
}

TEST(ProjectModelLists, ResizingPointListsZeroesOnlyThePointInputs) {
    ProjectModel m = computedThreePoints();
    const ProjectModel before = m;
    m.nFreedom = 4;
    m.resizePointLists();
    const List fourZeros(4, 0.0);
    for (const List* list : {&m.zCoord, &m.windArea, &m.mass, &m.modeShape, &m.modeShape2,
                             &m.modeShape3, &m.shapeCoef})
        EXPECT_EQ(*list, fourZeros);
    EXPECT_EQ(m.freq, before.freq);
    EXPECT_EQ(m.dampRatio, before.dampRatio);
    EXPECT_EQ(m.meanLoad, before.meanLoad);
    EXPECT_EQ(m.windVibForce, before.windVibForce);
    EXPECT_EQ(m.windVibCoef, before.windVibCoef);
    EXPECT_EQ(m.eqStaticLoad, before.eqStaticLoad);
    EXPECT_EQ(m.lrcLoad, before.lrcLoad);
    EXPECT_EQ(m.lrcBackground, before.lrcBackground);
    EXPECT_EQ(m.meanDisp, before.meanDisp);
    EXPECT_EQ(m.dispStd, before.dispStd);
    EXPECT_EQ(m.bgFactor, before.bgFactor);
    EXPECT_EQ(m.muR, before.muR);
    EXPECT_EQ(m.corrC, before.corrC);
    EXPECT_TRUE(m.resultsComplete);

    // Fewer points: the lists shrink to the new count.
    m.zCoord = {1.0, 2.0, 3.0, 4.0};
    m.nFreedom = 2;
    m.resizePointLists();
    EXPECT_EQ(m.zCoord, List(2, 0.0));
}

TEST(ProjectModelLists, ResizingModeListsZeroesOnlyFrequencyAndDamping) {
    ProjectModel m = computedThreePoints();
    const ProjectModel before = m;
    m.freq = {1.1, 3.0};
    m.dampRatio = {0.05, 0.02};
    m.resizeModeLists();
    EXPECT_EQ(m.freq, kOneZero);
    EXPECT_EQ(m.dampRatio, kOneZero);
    EXPECT_EQ(m.zCoord, before.zCoord);
    EXPECT_EQ(m.modeShape, before.modeShape);
    EXPECT_EQ(m.lrcLoad, before.lrcLoad);
}

TEST(ProjectModelLists, NegativeCountGivesEmptyLists) {
    ProjectModel m;
    initializeProject(m);
    m.nFreedom = -2;
    m.nModes = -1;
    m.resizePointLists();
    m.resizeModeLists();
    EXPECT_TRUE(m.zCoord.empty());
    EXPECT_TRUE(m.shapeCoef.empty());
    EXPECT_TRUE(m.freq.empty());
}

} // namespace
} // namespace tamsor
