#include "ProjectModel.h"

namespace tamsor {

ProjectModel computationRecord(const ParsedInput& numbers, Edition edition) {
    ProjectModel record;
    record.nFreedom = static_cast<std::int16_t>(numbers.nFreedom);
    record.codeVersion = static_cast<std::int16_t>(edition);
    record.nModes = static_cast<std::int16_t>(numbers.nModes);
    record.terrainType = static_cast<std::int16_t>(numbers.terrainType);
    record.zCoord = numbers.zCoord;
    record.windArea = numbers.windArea;
    record.freq = numbers.freq;
    record.dampRatio = numbers.dampRatio;
    record.mass = numbers.mass;
    record.modeShape = numbers.modeShapes[0];
    record.modeShape2 = numbers.modeShapes[1];
    record.modeShape3 = numbers.modeShapes[2];
    record.structWidth = numbers.structWidth;
    record.w0 = numbers.w0;
    record.shapeCoef = numbers.shapeCoef;
    return record;
}

} // namespace tamsor
