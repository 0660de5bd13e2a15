#pragma once

#include "FaultTarget.h"

#include <QList>

// Ways a panel can misbehave on the line; any combination at once.
struct PanelFaults {
    struct Delay {
        int ms = 0;
        FaultTarget where;
    };

    bool silent = false;         // understands everything, answers nothing
    int answerHandshakeFrom = 1; // earlier "A" go unanswered (counted over the panel's life)
    FaultTarget noReply;         // carried out (a write is stored) but the reply is lost
    FaultTarget shortReply;      // only the first three characters: "016", "D00"
    FaultTarget garbled;         // five wrong characters: "D0?0D", "0X600"
    FaultTarget extraChar;       // one more character after the reply: "D000DX"
    QList<Delay> delays;         // matching delays add up
    int hangUpAfter = 0;         // the line drops instead of answering this command; 0 never
};
