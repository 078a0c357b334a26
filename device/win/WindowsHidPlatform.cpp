// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "WindowsHidPlatform.h"

#include <windows.h>
#include <setupapi.h>

// The HID user-mode headers have no C++ linkage guards.
extern "C" {
#include <hidsdi.h>
}

#include <vector>

#include "NativeHidPlatform.h"
#include "WindowsHidChannel.h"

namespace hwi {

namespace {

// The device information set, released on every way out of the walk.
class DeviceInfoSet {
public:
    explicit DeviceInfoSet(HDEVINFO set) : set(set) {}
    ~DeviceInfoSet() {
        if (valid())
            SetupDiDestroyDeviceInfoList(set);
    }
    DeviceInfoSet(const DeviceInfoSet&) = delete;
    DeviceInfoSet& operator=(const DeviceInfoSet&) = delete;

    bool valid() const { return set != INVALID_HANDLE_VALUE && set != nullptr; }
    HDEVINFO get() const { return set; }

private:
    HDEVINFO set;
};

// The interface path, asked in two calls: the size, then the text.
bool interfacePath(HDEVINFO set, SP_DEVICE_INTERFACE_DATA& interface, std::wstring* path) {
    DWORD required = 0;
    SetupDiGetDeviceInterfaceDetailW(set, &interface, nullptr, 0, &required, nullptr);
    if (required < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W))
        return false;
    // DWORD-aligned storage for the variable-length record.
    std::vector<DWORD> storage((required + sizeof(DWORD) - 1) / sizeof(DWORD));
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(storage.data());
    // The header size of this build's own layout (8 on 64-bit, 6 on 32-bit).
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
    if (!SetupDiGetDeviceInterfaceDetailW(set, &interface, detail, required, nullptr, nullptr))
        return false;
    *path = detail->DevicePath;
    return true;
}

// The interface's report lengths; the keyboard's 65 when the driver cannot say.
void reportLengths(HANDLE device, int* input, int* output) {
    *input = *output = 65;
    PHIDP_PREPARSED_DATA preparsed = nullptr;
    if (!HidD_GetPreparsedData(device, &preparsed))
        return;
    HIDP_CAPS caps{};
    if (HidP_GetCaps(preparsed, &caps) == HIDP_STATUS_SUCCESS) {
        if (caps.InputReportByteLength > 0)
            *input = caps.InputReportByteLength;
        if (caps.OutputReportByteLength > 0)
            *output = caps.OutputReportByteLength;
    }
    HidD_FreePreparsedData(preparsed);
}

}  // namespace

std::vector<std::wstring> WindowsHidPlatform::interfacePaths() {
    std::vector<std::wstring> paths;
    GUID hidGuid;
    HidD_GetHidGuid(&hidGuid);
    DeviceInfoSet set(SetupDiGetClassDevsW(&hidGuid, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE));
    if (!set.valid())
        return paths;

    for (DWORD k = 0;; ++k) {
        SP_DEVINFO_DATA device{};
        device.cbSize = sizeof(device);
        if (!SetupDiEnumDeviceInfo(set.get(), k, &device))
            break;
        SP_DEVICE_INTERFACE_DATA interface{};
        interface.cbSize = sizeof(interface);
        if (!SetupDiEnumDeviceInterfaces(set.get(), nullptr, &hidGuid, k, &interface))
            break;
        std::wstring path;
        if (!interfacePath(set.get(), interface, &path))
            break;
        paths.push_back(std::move(path));
    }
    return paths;
}

std::unique_ptr<HidChannel> WindowsHidPlatform::open(const std::wstring& path) {
    HANDLE device = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_FLAG_OVERLAPPED, nullptr);
    if (device == INVALID_HANDLE_VALUE)
        return nullptr;
    int input = 0, output = 0;
    reportLengths(device, &input, &output);
    return WindowsHidChannel::adopt(device, input, output);
}

}  // namespace hwi

std::unique_ptr<hwi::HidPlatform> makeNativeHidPlatform() {
    return std::make_unique<hwi::WindowsHidPlatform>();
}
