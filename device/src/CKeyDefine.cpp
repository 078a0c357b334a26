#include "CKeyDefine.h"

#include <cstring>

#include "CContinousKeyDefine.h"
#include "CMacroKeyDefine.h"
#include "CNormalKeyDefine.h"

std::unique_ptr<CKeyDefine> CKeyDefine::create(int type, int key, int layer) {
    switch (type) {
    case Normal: return std::make_unique<CNormalKeyDefine>(key, layer);
    case Continuous: return std::make_unique<CContinousKeyDefine>(key, layer);
    case Macro: return std::make_unique<CMacroKeyDefine>(key, layer);
    default: return nullptr;
    }
}

void CKeyDefine::writeEmptyRecord(unsigned char* packet, int packetSize, int layer, int key) {
    std::memset(packet, 0, static_cast<size_t>(packetSize));
    packet[1] = kRecordCode;
    packet[2] = static_cast<unsigned char>(layer);
    packet[3] = static_cast<unsigned char>(key);
}

void CKeyDefine::writeHeader(unsigned char* packet) const {
    packet[0] = 0x00;
    packet[1] = kRecordCode;
    packet[2] = static_cast<unsigned char>(layer);
    packet[3] = static_cast<unsigned char>(key);
    packet[4] = static_cast<unsigned char>(type);
}
