#include "ProjectModel.h"

#include <algorithm>

namespace tamsor {

namespace {
void recreate(List& list, int count) {
    list.assign(static_cast<std::size_t>(std::max(count, 0)), 0.0);
}
} // namespace

void ProjectModel::resizePointLists() {
    for (List* list : {&zCoord, &windArea, &mass, &modeShape, &modeShape2, &modeShape3, &shapeCoef})
        recreate(*list, nFreedom);
}

void ProjectModel::resizeModeLists() {
    recreate(freq, nModes);
    recreate(dampRatio, nModes);
}

} // namespace tamsor
