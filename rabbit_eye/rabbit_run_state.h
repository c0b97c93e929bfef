#pragma once

#include <QString>

// What the rabbit-eye experiment keeps for the whole run of the program.
struct RabbitRunState {
    quint8 Rab_Mode = 0;                     // 0 none, 1 tutorial, 2 and 3 the examinations
    QString Rab_Password = QString(10, u' ');  // a fixed field of 10 characters
    quint8 Rab_DataLoaded = 0;               // 1 once the substance table has been read
    quint8 Rab_TableRequest = 0;             // 0 none, 1 asked for, 2 on show

    void reset() { *this = RabbitRunState{}; }
};
