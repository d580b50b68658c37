#pragma once

// The constants of the two editions of the load code that the computation
// and the checks read, as one value. Exact decimal literals, the old code's
// turbulence intensities (0.1136, 0.1668, 0.2784) included.

#include "Edition.h"

#include <array>
#include <cstddef>
#include <optional>

namespace tamsor {

// The terrain categories "A" to "D" are 1 to 4; B is the reference terrain of
// both editions.
inline constexpr int kTerrainCount = 4;
inline constexpr int kReferenceTerrain = 2;

struct TerrainConstants {
    double gradientHeight; // z_G, m
    double alpha;          // ground roughness exponent
    double i10;            // turbulence intensity at 10 m
    // Below this height (m) the code's table holds the height coefficient
    // constant; the computation applies its formula down to each point's
    // height (the checks against the codes say where the two part).
    double cutoffHeight;
};

struct EditionConstants {
    Edition edition;
    std::array<TerrainConstants, kTerrainCount> terrains; // "A".."D"
    double peakFactor;                                    // g
};

struct CodeTables {
    std::array<EditionConstants, 2> editions;

    // The constants of an edition and terrain (1..4); nothing outside them.
    [[nodiscard]] constexpr const EditionConstants* edition(Edition e) const {
        for (const EditionConstants& constants : editions)
            if (constants.edition == e)
                return &constants;
        return nullptr;
    }
    [[nodiscard]] constexpr const TerrainConstants* terrain(Edition e, int terrainType) const {
        const EditionConstants* constants = edition(e);
        if (constants == nullptr || terrainType < 1 || terrainType > kTerrainCount)
            return nullptr;
        return &constants->terrains[static_cast<std::size_t>(terrainType - 1)];
    }
};

// GB50009-201X first, then GB50009-2001. The cut-off heights are the same in
// both editions' tables of the height coefficient.
inline constexpr CodeTables kCodeTables{{{
    {Edition::GB201X,
     {{{300.0, 0.12, 0.12, 5.0},
       {350.0, 0.15, 0.14, 10.0},
       {450.0, 0.22, 0.23, 15.0},
       {550.0, 0.30, 0.39, 30.0}}},
     2.5},
    {Edition::GB2001,
     {{{300.0, 0.12, 0.088, 5.0},
       {350.0, 0.16, 0.1136, 10.0},
       {400.0, 0.22, 0.1668, 15.0},
       {450.0, 0.30, 0.2784, 30.0}}},
     2.2},
}}};

} // namespace tamsor
