// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include <velkorondrix/VelkorOndrix_HWI.h>

#include <algorithm>

#include "CBrant.h"
#include "CBrantUtil.h"
#include "CKeyDefine.h"
#include <velkorondrix/HidPlatform.h>
#include <velkorondrix/IntelHexImage.h>
#include <velkorondrix/KeyboardMatch.h>

namespace {

// Nothing thrown inside the library (an allocation that fails, say) may
// reach the program: it becomes a failed operation.
template <typename Operation>
bool guarded(Operation&& operation) noexcept {
    try {
        return operation();
    } catch (...) {
        return false;
    }
}

// The low bytes of count ints replace the start of the image, which then
// goes to the keyboard. False when a packet was not sent or the transfer was
// cancelled, so callers need not read the image back to know.
bool storeAndSendLights(CBrant* model, const int* values, int count, const std::atomic<bool>& cancel) {
    if (!model || !values)
        return false;
    auto& image = model->lightImage();
    for (int i = 0; i < count; ++i)
        image[static_cast<size_t>(i)] = static_cast<unsigned char>(values[i] & 0xFF);
    return model->writeLights() && !cancel.load();
}

}  // namespace

CTarnHWI::CTarnHWI() = default;

CTarnHWI::~CTarnHWI() { __closeDev(); }

bool CTarnHWI::DetectDevice() {
    return guarded([] { return hwi::findKeyboardInterface(hwi::hidPlatform()).has_value(); });
}

bool CTarnHWI::__createDev() {
    if (transport)
        return true;
    return guarded([this] {
        const auto path = hwi::findKeyboardInterface(hwi::hidPlatform());
        if (!path)
            return false;
        // An interface held by another program (or without permission)
        // leaves the facade closed rather than open on a dead link.
        std::unique_ptr<hwi::HidChannel> channel = hwi::hidPlatform().open(*path);
        if (!channel)
            return false;
        auto link = std::make_unique<CBrantUtil>(std::move(channel), &cancelFlag);
        auto keyboard = std::make_unique<CBrant>(link.get());
        transport = std::move(link);
        model = std::move(keyboard);
        return true;
    });
}

bool CTarnHWI::__closeDev() {
    model.reset();  // before the transport it points to
    transport.reset();
    return true;
}

wchar_t* CTarnHWI::getHardwareVersion() {
    if (transport)
        guarded([this] { return transport->readVersion(versionText); });
    return versionText;
}

bool CTarnHWI::ReadKeyboardVersion(wchar_t* text) {
    return transport && guarded([&] { return transport->readVersion(text); });
}

bool CTarnHWI::prepare() {
    if (!model)
        return false;
    model->clear();
    return true;
}

bool CTarnHWI::setKeyConfiguration(int layer, int key, int* words, int count) {
    const int slot = CKeyboardDefine::slotOf(layer + 1, key);
    if (!model || !words || count < 1 || slot < 0)
        return false;
    return guarded([&] {
        std::unique_ptr<CKeyDefine> def = CKeyDefine::create(words[0], key, layer + 1);
        if (!def)
            return false;  // unknown type: the slot keeps its definition
        def->fromWords(words, count);
        model->setDefinition(slot, std::move(def));
        return true;
    });
}

bool CTarnHWI::getKeyConfiguration(int layer, int key, int* words, int capacity) {
    const int slot = CKeyboardDefine::slotOf(layer + 1, key);
    if (!model || !words || slot < 0)
        return false;
    if (const CKeyDefine* def = model->definition(slot))
        return guarded([&] { return def->toWords(words, capacity) >= 0; });
    if (capacity < 2)
        return false;
    words[0] = CKeyDefine::Normal;  // an empty slot reads as a key with no codes
    words[1] = 0;
    return true;
}

bool CTarnHWI::setKeyboardLightArea(int* values) {
    return guarded([&] { return storeAndSendLights(model.get(), values, CKeyboardDefine::kLightBytes, cancelFlag); });
}

bool CTarnHWI::getKeyboardLightArea(int* values) {
    if (!model || !values)
        return false;
    const auto& image = model->lightImage();
    std::copy(image.begin(), image.end(), values);
    return true;
}

bool CTarnHWI::setKeyLight(int /*ignored*/, int* values) {
    return guarded([&] { return storeAndSendLights(model.get(), values, CKeyboardDefine::kKeys, cancelFlag); });
}

bool CTarnHWI::getKeyLight(int /*ignored*/, int* values) {
    if (!model || !values)
        return false;
    const auto& image = model->lightImage();
    std::copy(image.begin(), image.begin() + CKeyboardDefine::kKeys, values);
    return true;
}

bool CTarnHWI::writeKeyConfigurationToDev(MessageWindow* window) {
    return model && guarded([&] { return model->writeKeys(window); });
}

bool CTarnHWI::readKeyDefinationFromDev(MessageWindow* window) {
    return model && guarded([&] { return model->readKeys(window); });
}

bool CTarnHWI::readKeyLightFromDev() {
    return model && guarded([&] { return model->readLights(); });
}

bool CTarnHWI::WriteFirmwareToKeyboard(char* image, int length, MessageWindow* window) {
    if (!model)
        return false;
    // The whole image is checked first: a bad line must not leave the
    // keyboard with half an update.
    return guarded([&] {
        IntelHexImage hex;
        return hex.load(image, length) && model->writeFirmware(hex, window);
    });
}

void CTarnHWI::requestCancel() { cancelFlag.store(true); }

void CTarnHWI::clearCancelRequest() { cancelFlag.store(false); }

bool CTarnHWI::cancelRequested() const { return cancelFlag.load(); }
