// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "HidapiPlatform.h"

#include <hidapi.h>

#include <cstdio>
#include <mutex>

#include "NativeHidPlatform.h"

namespace hwi {

namespace {

// One opened hidraw node.
class HidapiChannel : public HidChannel {
public:
    explicit HidapiChannel(hid_device* device) : device(device) {}
    ~HidapiChannel() override { hid_close(device); }

    bool writeReport(const unsigned char* report, int length) override {
        return length > 0 && hid_write(device, report, static_cast<size_t>(length)) >= 0;
    }

    bool readReport(unsigned char* report, int length, int* received, int timeoutMs) override {
        if (received)
            *received = 0;
        if (length < 2)
            return false;
        // The keyboard's reports are unnumbered: hidraw delivers them without
        // the ID byte, which the contract puts first.
        const int n = hid_read_timeout(device, report + 1, static_cast<size_t>(length - 1), timeoutMs);
        if (n < 0) {
            if (received)
                *received = -1;  // the link is broken, not merely quiet
            return false;
        }
        if (n == 0)
            return false;
        report[0] = 0;
        if (received)
            *received = n + 1;
        return true;
    }

private:
    hid_device* device;
};

}  // namespace

namespace {
// hidapi's state is process-wide: only the last platform to go may free it.
std::mutex libraryMutex;
int libraryUsers = 0;
}  // namespace

HidapiPlatform::HidapiPlatform() {
    std::lock_guard<std::mutex> lock(libraryMutex);
    initialised = hid_init() == 0;
    if (initialised)
        ++libraryUsers;
}

HidapiPlatform::~HidapiPlatform() {
    std::lock_guard<std::mutex> lock(libraryMutex);
    if (initialised && --libraryUsers == 0)
        hid_exit();
}

std::wstring HidapiPlatform::reportedPath(unsigned short vendor, unsigned short product, int interfaceNumber,
                                          const char* native) {
    wchar_t prefix[64];
    if (interfaceNumber >= 0 && interfaceNumber <= 0xfe)
        std::swprintf(prefix, 64, L"\\\\?\\hid#vid_%04x&pid_%04x&mi_%02x#", vendor, product, interfaceNumber);
    else
        std::swprintf(prefix, 64, L"\\\\?\\hid#vid_%04x&pid_%04x&mi_ff#", vendor, product);
    std::wstring path(prefix);
    for (const char* c = native; c && *c; ++c)
        path.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*c)));
    return path;
}

std::string HidapiPlatform::nativePath(const std::wstring& reported) {
    const size_t hash = reported.rfind(L'#');
    const std::wstring native = hash == std::wstring::npos ? reported : reported.substr(hash + 1);
    std::string narrow;
    for (wchar_t c : native)
        narrow.push_back(static_cast<char>(c));
    return narrow;
}

std::vector<std::wstring> HidapiPlatform::interfacePaths() {
    std::vector<std::wstring> paths;
    if (!initialised)
        return paths;
    hid_device_info* all = hid_enumerate(0, 0);
    for (hid_device_info* info = all; info; info = info->next)
        paths.push_back(reportedPath(info->vendor_id, info->product_id, info->interface_number, info->path));
    hid_free_enumeration(all);
    return paths;
}

std::unique_ptr<HidChannel> HidapiPlatform::open(const std::wstring& path) {
    if (!initialised)
        return nullptr;
    const std::string native = nativePath(path);
    hid_device* device = hid_open_path(native.c_str());
    if (!device)
        return nullptr;
    return std::make_unique<HidapiChannel>(device);
}

}  // namespace hwi

std::unique_ptr<hwi::HidPlatform> makeNativeHidPlatform() {
    return std::make_unique<hwi::HidapiPlatform>();
}
