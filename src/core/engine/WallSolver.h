#pragma once

#include "WallTable.h"

#include <array>

namespace camini {

struct ChimneyInput;
class MaterialArchive;

// Rows of the wall, 1..7 from the flue gas outwards: inner film, insulation,
// air gap, technical gap, screen 1, screen 2, outer film. Arrays below are
// indexed from 0 (row 1 at index 0) unless said otherwise.
struct CalcResult {
    std::array<double, WallRows> resistances{}; // R1..R7, m2 K/W per m2 of inner surface
    double totalResistance = 0.0;
    double heatFlux = 0.0;                        // W per m2 of inner surface
    std::array<double, WallRows> drops{};         // heatFlux * Rr
    double dropSum = 0.0;                         // sum of the drops, ~ Tf - Ta
    std::array<double, WallRows> boundaryTemps{}; // T1..T7: temperature after row r
    // Conductivities used for the four solid layers (rows 2, 4, 5, 6),
    // indexed by their MaterialSlot.
    std::array<double, MaterialSlots> conductivities{};
    // The mean temperatures they were looked up at (those the pass started
    // from), by MaterialSlot.
    std::array<double, MaterialSlots> conductivityTemps{};
    // The air gap's unit resistance Rg (row 3) from its formula, before it
    // is referred to the flue's inner surface.
    double airGapUnitResistance = 0.0;
    // Mean temperatures of rows 2..6 (index row - 2) after the pass: they
    // seed the next pass.
    std::array<double, Layers> layerMeanTemps{};
    // Inner and outer diameters of rows 1..7 (index row - 1); D1 of row 1 and
    // D2 of row 7 are not defined and stay 0.
    std::array<double, WallRows> innerDiameters{};
    std::array<double, WallRows> outerDiameters{};
    // The temperature profile: Tf, T1..T6, Ta at positions (mm from the inner
    // surface) 0, 0, s2, s2+s3, ..., total, total.
    std::array<double, ProfilePoints> profileTemps{};
    std::array<double, ProfilePoints> profilePositions{};
    double fireTempOuter = 0.0;
    double fireTempInner = 0.0;
    // Whether each search ended against an end of its bracket.
    FireRange fireRangeOuter = FireRange::Inside;
    FireRange fireRangeInner = FireRange::Inside;

    // True when every computed value of the pass is a finite number.
    bool finite() const;
};

constexpr double squareShapeFactor = 1.1;

// A solution is this many plain passes, each seeded by the one before; there
// is no convergence test.
constexpr int SolverPasses = 6;

// Resistance of a conductive ring of thickness s (mm) and inner diameter d1
// (mm), per m2 of the flue's inner surface (diameter d0): d0 * 0.0005 *
// ln((d1 + 2 s) / d1) / lambda, times squareShapeFactor when `square`.
double cylinderLayerResistance(double lambda, double s, double d1, double d0, bool square);

// Unit resistance of the air gap (m2 K/W) at mean temperature t (deg C) for a
// gap of s mm.
double airGapResistance(double t, double s);

// The wall solver. Its state (the layer mean temperatures that seed each
// pass) lives for the whole run and is never reset: every pass starts from
// the one before. Every resistance is computed afresh in every pass.
class WallSolver {
public:
    // One pass over the seven rows.
    void solvePass(const ChimneyInput& in, const MaterialArchive& archive);
    // SolverPasses passes.
    void solveWall(const ChimneyInput& in, const MaterialArchive& archive);

    const CalcResult& result() const { return result_; }
    CalcResult& result() { return result_; }

private:
    CalcResult result_;
};

} // namespace camini
