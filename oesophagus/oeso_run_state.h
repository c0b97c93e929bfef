#pragma once

#include <QString>

// What the frog oesophagus experiment keeps for the whole run of the program.
struct OesoRunState {
    quint8 Oeso_Mode = 0;        // 0 none chosen, 1 tutorial, 2 examination
    QString Oeso_Password;       // upper-case, trimmed
    quint8 Oeso_DataLoaded = 0;  // 1 once the drug table has been read since the home screen opened

    // What the home screen does at every load.
    void reset() { *this = OesoRunState{}; }
};
