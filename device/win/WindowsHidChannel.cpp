// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "WindowsHidChannel.h"

#include <algorithm>
#include <cstring>

namespace hwi {

namespace {
// The keyboard's reports: the ID byte and a 64-byte packet.
constexpr int kDefaultReportLength = 65;
}  // namespace

struct WindowsHidChannel::Parts {
    HANDLE device;
    HANDLE readEvent;
    HANDLE writeEvent;
    int inputReportLength;
    int outputReportLength;
};

std::unique_ptr<WindowsHidChannel> WindowsHidChannel::adopt(HANDLE device, int inputReportLength,
                                                            int outputReportLength) {
    if (device == nullptr || device == INVALID_HANDLE_VALUE)
        return nullptr;
    // Manual-reset events, as GetOverlappedResult expects.
    HANDLE readEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE writeEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!readEvent || !writeEvent) {
        if (readEvent)
            CloseHandle(readEvent);
        if (writeEvent)
            CloseHandle(writeEvent);
        CloseHandle(device);
        return nullptr;
    }
    return std::make_unique<WindowsHidChannel>(
        Parts{device, readEvent, writeEvent, inputReportLength, outputReportLength});
}

WindowsHidChannel::WindowsHidChannel(const Parts& parts)
    : device(parts.device),
      readEvent(parts.readEvent),
      writeEvent(parts.writeEvent),
      readBuffer(static_cast<std::size_t>(parts.inputReportLength > 0 ? parts.inputReportLength
                                                                      : kDefaultReportLength)),
      outputReportLength(static_cast<std::size_t>(parts.outputReportLength > 0 ? parts.outputReportLength
                                                                               : kDefaultReportLength)) {}

WindowsHidChannel::~WindowsHidChannel() {
    // The buffer and OVERLAPPED of a pending read belong to the system until
    // it completes: cancel and wait before they go.
    cancelPendingRead();
    CloseHandle(device);
    CloseHandle(readEvent);
    CloseHandle(writeEvent);
}

void WindowsHidChannel::cancelPendingRead() {
    if (!readPending)
        return;
    CancelIoEx(device, &readOverlapped);
    DWORD ignored = 0;
    GetOverlappedResult(device, &readOverlapped, &ignored, TRUE);
    readPending = false;
}

bool WindowsHidChannel::writeReport(const unsigned char* report, int length) {
    if (!report || length <= 0)
        return false;
    std::vector<unsigned char> buffer(report, report + length);
    if (buffer.size() < outputReportLength)
        buffer.resize(outputReportLength, 0);

    OVERLAPPED overlapped{};
    overlapped.hEvent = writeEvent;
    ResetEvent(writeEvent);
    const DWORD size = static_cast<DWORD>(buffer.size());
    if (!WriteFile(device, buffer.data(), size, nullptr, &overlapped)) {
        if (GetLastError() != ERROR_IO_PENDING)
            return false;
        if (WaitForSingleObject(writeEvent, kWriteTimeoutMs) != WAIT_OBJECT_0) {
            // The buffer is ours again only once the write is really over.
            CancelIoEx(device, &overlapped);
            DWORD ignored = 0;
            GetOverlappedResult(device, &overlapped, &ignored, TRUE);
            return false;
        }
    }
    DWORD written = 0;
    if (!GetOverlappedResult(device, &overlapped, &written, TRUE))
        return false;
    return written == size;
}

bool WindowsHidChannel::readReport(unsigned char* report, int length, int* received, int timeoutMs) {
    if (received)
        *received = 0;
    if (!report || length <= 0)
        return false;

    if (!readPending) {
        readOverlapped = OVERLAPPED{};
        readOverlapped.hEvent = readEvent;
        ResetEvent(readEvent);
        if (!ReadFile(device, readBuffer.data(), static_cast<DWORD>(readBuffer.size()), nullptr, &readOverlapped) &&
            GetLastError() != ERROR_IO_PENDING) {
            if (received)
                *received = -1;  // the link is broken, not merely quiet
            return false;
        }
        readPending = true;
    }

    const DWORD wait = WaitForSingleObject(readEvent, static_cast<DWORD>(std::max(timeoutMs, 0)));
    if (wait == WAIT_TIMEOUT)
        return false;
    DWORD got = 0;
    const BOOL done = wait == WAIT_OBJECT_0 && GetOverlappedResult(device, &readOverlapped, &got, FALSE);
    if (wait != WAIT_OBJECT_0)
        cancelPendingRead();
    readPending = false;
    if (!done) {
        if (received)
            *received = -1;
        return false;
    }
    const std::size_t n = std::min<std::size_t>(got, static_cast<std::size_t>(length));
    std::memcpy(report, readBuffer.data(), n);
    if (received)
        *received = static_cast<int>(n);
    return n > 0;
}

}  // namespace hwi
