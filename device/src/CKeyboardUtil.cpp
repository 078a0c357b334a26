// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "CKeyboardUtil.h"

#include <algorithm>
#include <chrono>
#include <cstring>

CKeyboardUtil::CKeyboardUtil(std::unique_ptr<hwi::HidChannel> handle_, const std::atomic<bool>* cancel_)
    : handle(std::move(handle_)), cancel(cancel_) {}

CKeyboardUtil::~CKeyboardUtil() = default;

bool CKeyboardUtil::writeReport(const unsigned char* report, int count) {
    if (!handle || !report || count <= 0 || cancelled())
        return false;
    return handle->writeReport(report, count);
}

bool CKeyboardUtil::readReport(unsigned char* packet, int* length, int timeoutMs) {
    if (!handle || !packet || !length || *length < 0 || cancelled())
        return false;
    const int wanted = std::min(*length, kPacketSize);

    unsigned char report[kReportSize] = {};
    int received = 0;
    // Waiting in short slices keeps a cancel request (from another thread)
    // effective while the keyboard is silent; the overall bound stays the
    // caller's.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        const int slice = static_cast<int>(std::clamp<long long>(left, 0, kWaitSliceMs));
        received = 0;
        const auto sliceStart = std::chrono::steady_clock::now();
        if (handle->readReport(report, kReportSize, &received, slice))
            break;
        // A negative count is the channel's word for a broken link, and a
        // channel that gives up well before its slice is over has failed
        // rather than timed out: waiting longer cannot help.
        const auto spent = std::chrono::steady_clock::now() - sliceStart;
        if (received < 0 || (slice >= 10 && spent < std::chrono::milliseconds(slice / 2)))
            return false;
        if (left <= 0 || cancelled())
            return false;
    }
    if (cancelled())
        return false;
    std::memcpy(packet, report + 1, static_cast<size_t>(wanted));
    *length = std::max(*length, received - 1);
    return true;
}

bool CKeyboardUtil::writePacket(const unsigned char* packet) {
    unsigned char report[kReportSize];
    report[0] = 0;  // report ID
    std::memcpy(report + 1, packet, kPacketSize);
    return writeReport(report, kReportSize);
}

bool CKeyboardUtil::writeCommand(unsigned char command) {
    unsigned char packet[kPacketSize] = {};
    packet[1] = command;
    return writePacket(packet);
}

bool CKeyboardUtil::readPacket(unsigned char* packet, int timeoutMs) {
    int length = kPacketSize;
    return readReport(packet, &length, timeoutMs);
}
