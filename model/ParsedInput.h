#pragma once

// The numbers of a project's input, as the command gate accepts them from the
// boxes' texts (ProjectInput.h) and the computation takes them.

#include <array>
#include <optional>
#include <vector>

#include "ProjectInput.h"

namespace tamsor {

// A list of 64-bit floats, indexed from 0. Element k of a per-point list
// belongs to mass point k + 1 in the order entered; element k of a per-mode
// list to mode k + 1.
using List = std::vector<double>;

struct ParsedInput {
    int nFreedom = 1;    // mass points, 1..kMaxFreedom
    int nModes = 1;      // modes taken into account
    int terrainType = 1; // 1..4 = terrain category "A".."D"

    List zCoord;   // height of each mass point above ground, m
    List windArea; // windward area of each mass point, m^2
    List mass;     // lumped mass per point, t
    // Mode shape ordinates per point, one list per mode ([0] is the first
    // mode); the lists beyond the mode count are empty.
    std::array<List, kModeShapeBoxes> modeShapes;
    List shapeCoef; // shape coefficient per point (one typed value spread over all)
    List freq;      // natural frequency per mode, Hz
    // Damping ratio per mode; a single typed value (one element) applies to
    // every mode.
    List dampRatio;
    double structWidth = 0; // width across the wind B, m; 0 = no horizontal correlation
    double w0 = 0;          // basic wind pressure, N/m^2 (typed in kPa)

    // The tail's known keys; empty when not set.
    std::optional<double> diameterM;  // round section's diameter, m
    std::optional<int> structureType; // 1 tall structure (高耸结构), 2 building (高层建筑)
    std::optional<double> w10KPa;     // 10-year basic wind pressure, kPa

    friend bool operator==(const ParsedInput&, const ParsedInput&) = default;
};

} // namespace tamsor
