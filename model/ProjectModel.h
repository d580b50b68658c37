#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "Edition.h"
#include "ParsedInput.h"

namespace tamsor {

// Table indexed by code edition (0 = GB50009-201X, 1 = GB50009-2001) and terrain
// category position (0..3 = "A".."D", i.e. terrainType - 1).
using EditionTerrainTable = std::array<std::array<double, 4>, 2>;

// The record of one computation: the numbers it took, the edition, the load
// code's tables and every result. The session builds one from the numbers the
// command gate accepted (computationRecord) and the engine fills in the
// results.
struct ProjectModel {
    // --- the numbers of the input and the edition ------------------------------
    std::int16_t nFreedom = 1;    // number of mass points, 1..10
    std::int16_t codeVersion = 0; // 0 = GB50009-201X (new), 1 = GB50009-2001 (old)
    std::int16_t nModes = 1;      // modes taken into account
    std::int16_t terrainType = 1; // 1..4 = terrain category "A".."D"

    List zCoord;              // height of each mass point above ground, m
    List windArea;            // windward area of each mass point, m^2
    List freq;                // natural frequency per mode, Hz (only element 0 is used)
    List dampRatio;           // damping ratio per mode (only element 0 is used)
    List mass;                // lumped mass per point, t
    List modeShape;           // first mode ordinate per point
    List modeShape2;          // second mode, held only
    List modeShape3;          // third mode, held only
    double structWidth = 0.0; // width across the wind B, m; 0 = no horizontal correlation
    double w0 = 0.0;          // basic wind pressure, N/m^2 (typed in kPa)
    List shapeCoef;           // shape coefficient per point

    // --- constant load-code tables: [edition][terrain A..D]; edition 0 =
    // GB50009-201X, edition 1 = GB50009-2001. Exact decimal literals. ------
    EditionTerrainTable gradientHeight{
        {{300.0, 350.0, 450.0, 550.0}, {300.0, 350.0, 400.0, 450.0}}}; // z_G, m
    EditionTerrainTable terrainAlpha{
        {{0.12, 0.15, 0.22, 0.30}, {0.12, 0.16, 0.22, 0.30}}}; // ground roughness exponent
    EditionTerrainTable terrainI10{
        {{0.12, 0.14, 0.23, 0.39},
         {0.088, 0.1136, 0.1668, 0.2784}}};     // turbulence intensity at 10 m
    std::array<double, 2> peakFactor{2.5, 2.2}; // g by code edition

    // --- results of the last computation ------------------------------------
    double alpha = 0.0;          // alpha of the edition and terrain of the last run
    double i10 = 0.0;            // I10 of the edition and terrain of the last run
    List meanLoad;               // kN
    List windVibForce;           // kN
    List windVibCoef;            // beta_z
    List eqStaticLoad;           // kN
    List lrcLoad;                // kN
    List lrcBackground;          // kN
    List meanDisp;               // mm
    List dispStd;                // mm
    List bgFactor;               // B_z
    List muR;                    // mu1*r1
    double dynFactor = 0.0;      // sqrt(1 + R^2)
    double corrC = 0.0;          // correction coefficient C
    double exactBaseShear = 0.0; // kN

    // --- formed from the results above at the end of a computation --------
    // A value here may be infinite or NaN after a computation that succeeded
    // (a sum that overflows, a corrC of 0); only the outputs that show it
    // refuse then.
    List lrcResonant;            // resonant component of the LRC load, kN
    List totalDisp;              // mean + fluctuating displacement, mm
    List gbjLoad;                // equivalent load with the GBJ correction C, kN
    List acceleration;           // peak along-wind acceleration of the first mode, m/s^2
    double meanBaseShear = 0.0;  // kN
    double meanBaseMoment = 0.0; // kN*m
    double fluctBaseShear = 0.0; // first-mode fluctuating base shear, kN
    double fluctBaseMoment = 0.0;
    double totalBaseShear = 0.0; // mean + fluctuating
    double totalBaseMoment = 0.0;
    double lrcBaseShear = 0.0;
    double lrcBaseMoment = 0.0;

    // True only after a computation ran to its end without an arithmetic
    // fault. A faulted run leaves partial results that must not be plotted or
    // reported; the computation clears this flag when it starts.
    bool resultsComplete = false;
};

// The record a computation starts from: the numbers and the edition, the
// tables, no results.
[[nodiscard]] ProjectModel computationRecord(const ParsedInput& numbers, Edition edition);

} // namespace tamsor
