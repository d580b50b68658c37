#include "Startup.h"

namespace tamsor {

void initializeProject(ProjectModel& model) {
    // 1. Load-code tables: [edition][terrain A..D]; edition 0 = GB50009-201X,
    //    edition 1 = GB50009-2001. Exact decimal literals.
    model.gradientHeight = {{{300.0, 350.0, 450.0, 550.0}, {300.0, 350.0, 400.0, 450.0}}};
    model.terrainAlpha = {{{0.12, 0.15, 0.22, 0.30}, {0.12, 0.16, 0.22, 0.30}}};
    model.terrainI10 = {{{0.12, 0.14, 0.23, 0.39}, {0.088, 0.1136, 0.1668, 0.2784}}};
    model.peakFactor = {2.5, 2.2};

    // 2. Scalar defaults; everything else keeps its initial 0.
    model.codeVersion = 0;
    model.maxFreedom = kMaxFreedom;
    model.nFreedom = 1;
    model.nModes = 1;
    model.terrainType = 1;

    // 3. and 4. The input lists, one zero each.
    model.resizePointLists();
    model.resizeModeLists();
}

} // namespace tamsor
