#pragma once

#include <cmath>

#include "fakes.h"
#include "ileum_model.h"

// The chances that make the ileum's experiment draw the values a test wants.

// RefY = BaseY − 6 + k (k 0 … 6).
inline double refYChance(int k) {
    return (k + 0.5) / 7;
}
// This sensitivity (1.0 … 5.0 in tenths).
inline double sensitivityChance(float s) {
    return (std::round(s * 10) - 10 + 0.5) / 41;
}
// A confirmed standard's MatchVolume (0.20 … 0.50 ml).
inline double volumeChance(float v) {
    return (std::round(v * 100) - 20 + 0.5) / 31;
}
// Mepyramine's pA2 on the tissue (9.1 … 9.5 in steps of 0.05).
inline double pA2Chance(double pA2) {
    return (std::round((pA2 - 9.1) / 0.05) + 0.5) / 9;
}

// An experiment on the 225-pixel paper (BaseY 185), RefY 182 unless told.
inline IleumModel referenceModel(float sensitivity, qint16 refY = 182) {
    IleumModel m;
    ScriptedRandom random;
    m.setUpRecorder(225, random);
    random.values = {refYChance(refY - 179), sensitivityChance(sensitivity)};
    m.startExperiment(random);
    return m;
}
