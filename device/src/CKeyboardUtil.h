// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The transport base: one opened HID interface and the two report primitives
// every exchange with the keyboard is built from.
#pragma once

#include <atomic>
#include <memory>

#include <velkorondrix/HidPlatform.h>
#include <velkorondrix/VelkorOndrix_HWI.h>

class VELKORONDRIX_HWI_INTERNAL CKeyboardUtil {
public:
    static constexpr int kPacketSize = 64;
    static constexpr int kReportSize = kPacketSize + 1;  // report ID first
    // A read waits in slices this long so that a cancel request is noticed.
    static constexpr int kWaitSliceMs = 50;

    // cancel may be null; when it is set, every later write and read fails.
    explicit CKeyboardUtil(std::unique_ptr<hwi::HidChannel> handle,
                           const std::atomic<bool>* cancel = nullptr);
    virtual ~CKeyboardUtil();
    CKeyboardUtil(const CKeyboardUtil&) = delete;
    CKeyboardUtil& operator=(const CKeyboardUtil&) = delete;

    // Sends one output report (count bytes, report ID first).
    virtual bool writeReport(const unsigned char* report, int count);
    // Receives one input report and delivers the *length bytes after the
    // report ID into packet; on return *length is the larger of the wanted
    // count and the bytes received less the ID. False on a failed link, on
    // cancel, or when nothing arrived within timeoutMs.
    virtual bool readReport(unsigned char* packet, int* length, int timeoutMs);

    // Frames one 64-byte packet as a report with ID 0 and sends it.
    bool writePacket(const unsigned char* packet);
    // Sends a command packet: 0x00, the command code, zeros.
    bool writeCommand(unsigned char command);
    // Reads one full 64-byte packet.
    bool readPacket(unsigned char* packet, int timeoutMs);

    bool cancelled() const { return cancel && cancel->load(); }
    bool isOpen() const { return handle != nullptr; }

protected:
    std::unique_ptr<hwi::HidChannel> handle;
    const std::atomic<bool>* cancel;
};
