#pragma once

#include <QString>

// What the guinea-pig ileum bioassay keeps for the whole run of the program.
struct IleumRunState {
    quint8 Ile_Mode = 0;       // 0 none chosen, 1 tutorial, 2 examination
    QString Ile_Password;      // upper-case, trimmed
    quint8 RecorderReady = 0;  // 1 once the experiment screen has set up its recorder
    float ActualConc = 0;      // true concentration of the unknown (µg/ml); -1 without a standard dose
    float StudentConc = 0;     // the student's answer (µg/ml)

    void reset() { *this = IleumRunState{}; }
};
