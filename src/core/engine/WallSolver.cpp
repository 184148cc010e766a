#include "WallSolver.h"

#include "ChimneyInput.h"
#include "materials/MaterialArchive.h"

#include <cmath>

namespace camini {

bool CalcResult::finite() const {
    // A NaN or an infinity anywhere makes the sum NaN or infinite, so one
    // test of the sum answers for all the values (finite values too large to
    // add up only arise from inputs that overflow anyway).
    double sum = totalResistance + heatFlux + dropSum + airGapUnitResistance;
    auto add = [&sum](const auto& a) {
        for (double v : a)
            sum += v;
    };
    add(resistances);
    add(drops);
    add(boundaryTemps);
    add(conductivities);
    add(layerMeanTemps);
    add(innerDiameters);
    add(outerDiameters);
    add(profileTemps);
    add(profilePositions);
    return std::isfinite(sum);
}

double cylinderLayerResistance(double lambda, double s, double d1, double d0, bool square) {
    double r = d0 * 0.0005 * std::log((d1 + 2 * s) / d1) / lambda;
    if (square)
        r = r * squareShapeFactor;
    return r;
}

double airGapResistance(double t, double s) {
    double tc = t;
    if (tc > 200)
        tc = 200;
    if (tc < 40)
        tc = 40;
    const double x = s / 1000;
    const double tc2 = tc * tc;
    double rg = (0.1165 - 0.000488 * tc + 6.5e-7 * tc2) + (4.36 - 0.0351 * tc + 8.2e-5 * tc2) * x -
                (58 - 0.46 * tc + 0.0011 * tc2) * x * x;
    if (x == 0)
        rg = 0;
    if (x > 0.05 && t > 200)
        rg = 0;
    return rg;
}

// The pass writes the rows of the table one by one, in the order of its
// formulas.
static_assert(WallRows == 7 && Layers == 5 && ProfilePoints == 8);

void WallSolver::solvePass(const ChimneyInput& in, const MaterialArchive& archive) {
    CalcResult& c = result_;
    auto& R = c.resistances;
    auto& mean = c.layerMeanTemps;
    const double tf = in.flueGasTemp;
    const double ta = in.ambientTemp;
    const double d0 = in.innerDiameter;
    const double s2 = in.singleWall ? 0.0 : in.insulationThickness;
    const double s3 = in.airGapThickness;
    const double s4 = in.technicalGapThickness;
    const double s5 = in.screen1Thickness;
    const double s6 = in.screen2Thickness;
    const bool square = in.squareSection;

    const double dT = tf - ta;
    R[0] = 1 / in.innerCoefficient;
    if (mean[0] == 0)
        mean[0] = (tf + ta) / 2;

    // Diameters of the rings.
    const double d1Row3 = d0 + 2 * s2;
    const double d2Row3 = d0 + 2 * s2 + 2 * s3;
    const double d1Row4 = d0 + 2 * s2 + 2 * s3;
    const double d2Row4 = d1Row4 + 2 * s4;
    const double d1Row5 = d1Row4 + 2 * s4;
    const double d2Row5 = d1Row5 + 2 * s5;
    const double d1Row6 = d1Row5 + 2 * s5;
    const double dOut = d0 + 2 * (s2 + s3 + s4 + s5 + s6);

    // Every row is computed in every pass: nothing is kept from an earlier
    // one. A layer of no thickness has no resistance, whatever its material
    // answers (an empty slot answers 0).
    auto ring = [square, d0](double lambda, double s, double d1, bool shaped) {
        return s == 0 ? 0.0 : cylinderLayerResistance(lambda, s, d1, d0, shaped && square);
    };
    const double lambda2 = archive.conductivity(in.insulationMaterial, mean[0]);
    R[1] = ring(lambda2, s2, d0, false);
    const double rg = airGapResistance(mean[1], s3);
    R[2] = d0 * rg / (d0 + 2 * s2);
    const double lambda4 = archive.conductivity(in.technicalGapMaterial, mean[2]);
    R[3] = ring(lambda4, s4, d1Row4, true);
    const double lambda5 = archive.conductivity(in.screen1Material, mean[3]);
    R[4] = ring(lambda5, s5, d1Row5, true);
    const double lambda6 = archive.conductivity(in.screen2Material, mean[4]);
    R[5] = ring(lambda6, s6, d1Row6, true);
    R[6] = d0 / (dOut * in.outerCoefficient);

    c.totalResistance = R[0] + R[1] + R[2] + R[3] + R[4] + R[5] + R[6];
    c.heatFlux = dT / c.totalResistance;
    c.dropSum = 0;
    for (std::size_t r = 0; r < WallRows; ++r) {
        c.drops[r] = c.heatFlux * R[r];
        c.dropSum += c.drops[r];
    }
    auto& T = c.boundaryTemps;
    T[0] = tf - c.drops[0];
    for (std::size_t r = 1; r < WallRows; ++r)
        T[r] = T[r - 1] - c.drops[r];

    c.profileTemps = {tf, T[0], T[1], T[2], T[3], T[4], T[5], ta};
    const double p2 = s2;
    const double p3 = s2 + s3;
    const double p4 = s2 + s3 + s4;
    const double p5 = s2 + s3 + s4 + s5;
    const double p6 = s2 + s3 + s4 + s5 + s6;
    c.profilePositions = {0, 0, p2, p3, p4, p5, p6, p6};

    const auto asked = mean;
    mean[0] = (T[0] + T[1]) / 2;
    mean[1] = (T[1] + T[2]) / 2;
    mean[2] = (T[2] + T[3]) / 2;
    mean[3] = (T[3] + T[4]) / 2;
    mean[4] = (T[4] + T[5]) / 2;

    c.conductivities = {lambda2, lambda4, lambda5, lambda6};
    c.conductivityTemps = {asked[0], asked[2], asked[3], asked[4]};
    c.airGapUnitResistance = rg;
    c.innerDiameters = {0, d0, d1Row3, d1Row4, d1Row5, d1Row6, dOut};
    c.outerDiameters = {d0, d0 + 2 * s2, d2Row3, d2Row4, d2Row5, dOut, 0};
}

void WallSolver::solveWall(const ChimneyInput& in, const MaterialArchive& archive) {
    for (int pass = 0; pass < SolverPasses; ++pass)
        solvePass(in, archive);
}

} // namespace camini
