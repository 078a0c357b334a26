// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// One opened HID interface on Windows. The handle is opened for overlapped
// I/O so that a read can be bounded by its timeout: a keyboard that never
// answers must not hang the caller.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include <velkorondrix/HidPlatform.h>

namespace hwi {

class WindowsHidChannel : public HidChannel {
public:
    // Takes ownership of `device` (opened with FILE_FLAG_OVERLAPPED). The
    // lengths are the interface's report lengths, ID byte included; shorter
    // writes are padded to the output length, as the HID driver takes whole
    // reports only. Null when the wait events cannot be made (the handle is
    // closed then).
    static std::unique_ptr<WindowsHidChannel> adopt(HANDLE device, int inputReportLength,
                                                    int outputReportLength);

    struct Parts;  // what adopt() hands to the constructor
    explicit WindowsHidChannel(const Parts& parts);
    ~WindowsHidChannel() override;
    WindowsHidChannel(const WindowsHidChannel&) = delete;
    WindowsHidChannel& operator=(const WindowsHidChannel&) = delete;

    bool writeReport(const unsigned char* report, int length) override;
    // A read that times out stays pending, so a report arriving after the
    // timeout is delivered by the next call instead of being lost.
    bool readReport(unsigned char* report, int length, int* received, int timeoutMs) override;

    // How long a write may take before it is abandoned.
    static constexpr DWORD kWriteTimeoutMs = 1000;

private:
    void cancelPendingRead();

    HANDLE device;
    HANDLE readEvent;
    HANDLE writeEvent;
    OVERLAPPED readOverlapped{};
    bool readPending = false;
    std::vector<unsigned char> readBuffer;
    std::size_t outputReportLength;
};

}  // namespace hwi
