#include "model/ChannelCode.h"

qint16 ChannelCode::form(qint16 moduleItemData, qint16 channelItemData) {
    if (moduleItemData == notAssigned)
        return notAssigned;
    return qint16(moduleItemData + channelItemData);
}

void SplitChannelCode(ConfigRecord& r) {
    r.m_index = 1;
    if (r.A >= 160) {
        r.m_index = 0;
        return;
    }
    if (r.A < 10) {
        r.c_index = r.A;
        return;
    }
    do {
        r.A = qint16(r.A - 10);
        r.m_index = qint16(r.m_index + 1);
        r.c_index = r.A;
    } while (r.A >= 10);
}
