#pragma once

// The three-point project of tests/data/files/three_points.wvd as its boxes
// hold it, shared by the tests of the parse and of the project file.

#include "ProjectInput.h"

namespace tamsor {

inline ProjectInput threePoints() {
    ProjectInput in;
    in.pointCount = 3;
    in.terrain = 2;
    in.width = "12.5";
    in.heights = "10;20;30";
    in.areas = "5;6;7";
    in.frequencies = "0.8";
    in.dampingRatios = "0.05";
    in.masses = "100;110;120";
    in.modeShapes[0] = "0.2;0.6;1";
    in.windPressure = "0.45";
    in.shapeCoefficients = "1.3";
    return in;
}

} // namespace tamsor
