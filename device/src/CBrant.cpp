// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "CBrant.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "CBrantUtil.h"
#include <velkorondrix/IntelHexImage.h>

namespace {

constexpr int kPacket = CKeyboardUtil::kPacketSize;

void post(MessageWindow* window, std::uintptr_t value) {
    if (window)
        window->postMessage(hwi_msg::kProgress, value, 0);
}

}  // namespace

bool CBrant::writeKeys(MessageWindow* window) {
    if (!transport || !transport->writeCommand(kKeyWriteStart))
        return false;

    unsigned char packet[kPacket];
    for (int slot = 0; slot < kSlots; ++slot) {
        const int wireLayer = slot / kKeys + 1;
        const int key = slot % kKeys + 1;
        if (CKeyDefine* def = keys[static_cast<size_t>(slot)].get()) {
            int total = 0;
            int header = 0;
            def->encode(nullptr, kPacket, &total, &header);
            if (total <= 0 || total % kPacket != 0)
                return false;
            std::unique_ptr<unsigned char[]> record(new (std::nothrow) unsigned char[static_cast<size_t>(total)]);
            if (!record)
                return false;
            std::memset(record.get(), 0, static_cast<size_t>(total));
            // A definition without codes writes the empty record and says so;
            // it is sent all the same.
            def->encode(record.get(), kPacket, &total, &header);
            for (int offset = 0; offset < total; offset += kPacket)
                if (!transport->writePacket(record.get() + offset))
                    return false;
        } else {
            CKeyDefine::writeEmptyRecord(packet, kPacket, wireLayer, key);
            if (!transport->writePacket(packet))
                return false;
        }
        post(window, static_cast<std::uintptr_t>(slot));
    }

    // The whole end packet is 0xF6 so that no byte of the last record leaks
    // into it.
    std::memset(packet, kKeyEnd, sizeof packet);
    return transport->writePacket(packet);
}

bool CBrant::readKeys(MessageWindow* window) {
    if (!transport || !transport->writeCommand(kKeyReadRequest))
        return false;

    unsigned char packet[kPacket];
    int records = 0;
    int stray = 0;
    bool whole = true;     // no record was cut short
    bool pending = false;  // packet holds one still to be looked at
    for (;;) {
        if (!pending && !transport->readPacket(packet, CBrantUtil::kReadTimeoutMs))
            return false;
        pending = false;
        if (packet[0] == kKeyEnd)
            return whole;
        if (packet[1] != CKeyDefine::kRecordCode) {
            // Not ours: skipped without effect, but a keyboard that sends
            // nothing else must not keep the read going.
            if (++stray > kMaxStrayPackets)
                return false;
            continue;
        }
        // The keyboard has one record per slot to send.
        if (++records > kSlots)
            return false;

        std::vector<unsigned char> record(packet, packet + kPacket);
        const size_t size = static_cast<size_t>(CKeyDefine::recordPackets(packet)) * kPacket;
        while (record.size() < size) {
            if (!transport->readPacket(packet, CBrantUtil::kReadTimeoutMs))
                return false;
            // A record cut short is dropped, and what cut it (the end
            // packet, another record) is taken for what it is.
            if (!CKeyDefine::continuesRecord(record.data(), packet)) {
                pending = true;
                break;
            }
            record.insert(record.end(), packet, packet + kPacket);
        }
        if (pending) {
            whole = false;
            continue;
        }

        // A record naming no slot or no known type has nowhere to go.
        const int wireLayer = record[2];
        const int key = record[3];
        const int slot = slotOf(wireLayer, key);
        std::unique_ptr<CKeyDefine> def = CKeyDefine::create(record[4], key, wireLayer);
        if (slot < 0 || !def)
            continue;
        def->decode(record.data(), kPacket, static_cast<int>(record.size()));
        keys[static_cast<size_t>(slot)] = std::move(def);
        post(window, static_cast<std::uintptr_t>(slot));
    }
}

bool CBrant::writeLights() {
    if (!transport || !transport->writeCommand(kLightWriteStart))
        return false;
    unsigned char packet[kPacket];
    for (int offset = 0; offset < kLightBytes; offset += kLightChunk) {
        const int n = std::min(kLightChunk, kLightBytes - offset);
        std::memset(packet, 0, sizeof packet);
        packet[1] = kLightData;
        packet[2] = static_cast<unsigned char>(n);
        std::memcpy(packet + 3, lights.data() + offset, static_cast<size_t>(n));
        if (!transport->writePacket(packet))
            return false;
    }
    std::memset(packet, kLightEnd, sizeof packet);
    return transport->writePacket(packet);
}

bool CBrant::readLights() {
    if (!transport || !transport->writeCommand(kLightReadRequest))
        return false;
    unsigned char packet[kPacket];
    int offset = 0;
    int stray = 0;
    for (;;) {
        if (!transport->readPacket(packet, CBrantUtil::kReadTimeoutMs))
            return false;
        if (packet[1] == kLightEnd)
            return true;
        // The image holds 324 bytes and a packet at most 61: anything beyond
        // either is ignored, and so is every packet that is no light data.
        const int n = packet[1] == kLightData
                          ? std::min({static_cast<int>(packet[2]), kPacket - 3, kLightBytes - offset})
                          : 0;
        if (n <= 0) {
            if (++stray > kMaxStrayPackets)
                return false;
            continue;
        }
        std::memcpy(lights.data() + offset, packet + 3, static_cast<size_t>(n));
        offset += n;
    }
}

bool CBrant::writeFirmware(const IntelHexImage& image, MessageWindow* window) {
    const auto& records = image.records();
    if (!transport || records.empty())
        return false;
    const int total = static_cast<int>(records.size());
    long long sentScaled = 0;
    int lastPosted = 0;
    unsigned char packet[kPacket];
    for (const auto& record : records) {
        std::memset(packet, 0, sizeof packet);
        packet[1] = kFirmwareRecord;
        std::memcpy(packet + 2, record.data(), std::min<size_t>(record.size(), kPacket - 2));
        if (!transport->writePacket(packet))
            return false;
        sentScaled += kFirmwareScale;
        const int progress = static_cast<int>(sentScaled / total);
        if (progress > lastPosted) {
            post(window, static_cast<std::uintptr_t>(progress));
            lastPosted = progress;
        }
    }
    return true;
}
