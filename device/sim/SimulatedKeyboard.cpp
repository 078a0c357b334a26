#include "SimulatedKeyboard.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace hwi {

namespace {

constexpr int kRecordPiece = SimulatedKeyboard::kPacketSize - 8;  // macro payload per packet
constexpr int kLightPiece = 61;

// Command codes, packet byte 1 unless noted.
constexpr unsigned char kKeyWriteStart = 0xF1;
constexpr unsigned char kKeyRecord = 0xF0;
constexpr unsigned char kKeyEnd = 0xF6;  // packet byte 0
constexpr unsigned char kKeyReadRequest = 0xF2;
constexpr unsigned char kLightWriteStart = 0xE1;
constexpr unsigned char kLightData = 0xE0;
constexpr unsigned char kLightEnd = 0xE6;
constexpr unsigned char kLightReadRequest = 0xE2;
constexpr unsigned char kVersionRequest = 0xF9;
constexpr unsigned char kFirmwareRecord = 0x3A;

std::string toHex(const unsigned char* bytes, size_t count) {
    static const char digits[] = "0123456789abcdef";
    std::string text;
    text.reserve(count * 2);
    for (size_t i = 0; i < count; ++i) {
        text.push_back(digits[bytes[i] >> 4]);
        text.push_back(digits[bytes[i] & 15]);
    }
    return text;
}

bool fromHex(const std::string& text, std::vector<unsigned char>* bytes) {
    auto value = [](char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    if (text.size() % 2 != 0)
        return false;
    bytes->clear();
    for (size_t i = 0; i < text.size(); i += 2) {
        const int high = value(text[i]);
        const int low = value(text[i + 1]);
        if (high < 0 || low < 0)
            return false;
        bytes->push_back(static_cast<unsigned char>(high * 16 + low));
    }
    return true;
}

int slotOf(int layer, int key) {
    if (layer < 1 || layer > 2 || key < 1 || key > 108)
        return -1;
    return (layer - 1) * 108 + (key - 1);
}

// Packets a key record spans, from its first packet.
int recordPackets(const unsigned char* first) {
    if (first[4] == 2 && first[7] > kRecordPiece)
        return (first[7] + kRecordPiece - 1) / kRecordPiece;
    return 1;
}

// A firmware record as the packet carries it: count, address, type, data,
// checksum. False when it cannot be a sound record.
bool soundFirmwareRecord(const std::vector<unsigned char>& record) {
    if (record.size() < 5 || record.size() != static_cast<size_t>(record[0]) + 5 || record[3] > 5)
        return false;
    unsigned sum = 0;
    for (unsigned char byte : record)
        sum += byte;
    return (sum & 0xFF) == 0;
}

}  // namespace

SimulatorFault SimulatorFault::parse(const char* text) {
    SimulatorFault fault;
    if (!text)
        return fault;
    const std::string value(text);
    auto number = [&](size_t from, int* out) {
        const std::string digits = value.substr(from);
        if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos || digits.size() > 9)
            return false;
        *out = std::atoi(digits.c_str());
        return true;
    };
    if (value == "no-answer") {
        fault.kind = NoAnswer;
    } else if (value.rfind("no-answer:", 0) == 0) {
        if (number(10, &fault.value))
            fault.kind = NoAnswer;
    } else if (value.rfind("drop-after:", 0) == 0) {
        if (number(11, &fault.value))
            fault.kind = DropAfter;
    } else if (value == "garbage") {
        fault.kind = Garbage;
    } else if (value == "refuse-open") {
        fault.kind = RefuseOpen;
    }
    return fault;
}

SimulatedKeyboard::SimulatedKeyboard(std::filesystem::path stateFile) : path(std::move(stateFile)) {
    std::lock_guard<std::mutex> lock(mutex);
    loadLocked();
}

SimulatedKeyboard::~SimulatedKeyboard() = default;

std::shared_ptr<SimulatedKeyboard> SimulatedKeyboard::fromEnvironment(const std::filesystem::path& stateFile) {
    auto keyboard = std::make_shared<SimulatedKeyboard>(stateFile);
    keyboard->setFault(SimulatorFault::parse(std::getenv("VELKORONDRIX_SIMULATOR_FAULT")));
    return keyboard;
}

bool SimulatedKeyboard::present() const {
    std::error_code error;
    return std::filesystem::exists(path, error);
}

void SimulatedKeyboard::plugIn() {
    if (!present())
        std::ofstream(path, std::ios::app).flush();
}

void SimulatedKeyboard::unplug() {
    std::error_code error;
    std::filesystem::remove(path, error);
    answered.notify_all();
}

void SimulatedKeyboard::setFault(SimulatorFault fault) {
    std::lock_guard<std::mutex> lock(mutex);
    currentFault = fault;
    for (auto& [id, link] : links) {
        link.reports = 0;
        link.silentMs = 0;
        link.broken = false;
    }
}

SimulatorFault SimulatedKeyboard::fault() const {
    std::lock_guard<std::mutex> lock(mutex);
    return currentFault;
}

std::vector<unsigned char> SimulatedKeyboard::keyRecord(int slot) {
    std::lock_guard<std::mutex> lock(mutex);
    loadLocked();
    const auto found = keys.find(slot);
    return found == keys.end() ? std::vector<unsigned char>{} : found->second;
}

std::array<unsigned char, SimulatedKeyboard::kLightBytes> SimulatedKeyboard::lightImage() {
    std::lock_guard<std::mutex> lock(mutex);
    loadLocked();
    return lights;
}

std::string SimulatedKeyboard::versionText() {
    std::lock_guard<std::mutex> lock(mutex);
    loadLocked();
    return version;
}

void SimulatedKeyboard::setVersionText(const std::string& text) {
    std::lock_guard<std::mutex> lock(mutex);
    loadLocked();
    version = text.substr(0, kPacketSize - 2);
    saveLocked();
}

SimulatedFirmware SimulatedKeyboard::lastFirmware() {
    std::lock_guard<std::mutex> lock(mutex);
    loadLocked();
    return firmware;
}

int SimulatedKeyboard::storedKeyRecords() {
    std::lock_guard<std::mutex> lock(mutex);
    loadLocked();
    return static_cast<int>(keys.size());
}

// ---- State file --------------------------------------------------------------
//
//   # VelkorOndrix simulated keyboard
//   version VO108 1.0.1 (simulated)
//   lights <648 hex digits>
//   key <slot> <hex digits, 128 per packet>
//   firmware <installed|rejected> <record count>
//   firmware-record <hex digits>
//
// Unknown or malformed lines are ignored; an empty file is a fresh keyboard.

void SimulatedKeyboard::loadLocked() {
    keys.clear();
    lights.fill(0);
    version = kDefaultVersion;
    firmware = {};

    std::ifstream in(path);
    std::string line;
    std::vector<unsigned char> bytes;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::istringstream fields(line);
        std::string word;
        fields >> word;
        if (word == "version") {
            std::getline(fields >> std::ws, version);
        } else if (word == "lights") {
            std::string hex;
            fields >> hex;
            if (fromHex(hex, &bytes) && bytes.size() == lights.size())
                std::copy(bytes.begin(), bytes.end(), lights.begin());
        } else if (word == "key") {
            int slot = -1;
            std::string hex;
            fields >> slot >> hex;
            if (slot >= 0 && slot < kSlots && fromHex(hex, &bytes) && !bytes.empty() &&
                bytes.size() % kPacketSize == 0)
                keys[slot] = bytes;
        } else if (word == "firmware") {
            std::string verdict;
            fields >> verdict;
            firmware.received = true;
            firmware.installed = verdict == "installed";
        } else if (word == "firmware-record") {
            std::string hex;
            fields >> hex;
            if (fromHex(hex, &bytes))
                firmware.records.push_back(bytes);
        }
    }
}

bool SimulatedKeyboard::saveLocked() {
    std::ostringstream out;
    out << "# VelkorOndrix simulated keyboard\n";
    out << "version " << version << "\n";
    out << "lights " << toHex(lights.data(), lights.size()) << "\n";
    for (const auto& [slot, record] : keys)
        out << "key " << slot << " " << toHex(record.data(), record.size()) << "\n";
    if (firmware.received) {
        out << "firmware " << (firmware.installed ? "installed" : "rejected") << " " << firmware.records.size()
            << "\n";
        for (const auto& record : firmware.records)
            out << "firmware-record " << toHex(record.data(), record.size()) << "\n";
    }

    // A pulled cable stays pulled: the file is never brought back.
    if (!present())
        return false;
    // Readers see either the old state or the new one, never half of it. The
    // temporary name is one of this writer's own, as other processes may
    // simulate the same keyboard.
    std::filesystem::path temporary = path;
    temporary += ".tmp-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + "-" +
                 std::to_string(reinterpret_cast<std::uintptr_t>(this));
    {
        std::ofstream file(temporary, std::ios::trunc);
        file << out.str();
        file.flush();
        if (!file)
            return false;
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (!error)
        return true;
    std::filesystem::remove(temporary, error);
    return false;
}

// ---- The link ----------------------------------------------------------------

bool SimulatedKeyboard::connect(int* link) {
    std::lock_guard<std::mutex> lock(mutex);
    if (!present() || currentFault.kind == SimulatorFault::RefuseOpen)
        return false;
    loadLocked();
    if (links.empty()) {
        // A fresh session: nothing half-done from an earlier one lingers.
        keyWriteOpen = false;
        lightWriteOpen = false;
        partialRecord.clear();
        pendingFirmware.clear();
    }
    *link = ++lastLink;
    links[*link] = Link{};
    return true;
}

void SimulatedKeyboard::disconnect(int link) {
    std::lock_guard<std::mutex> lock(mutex);
    links.erase(link);
}

bool SimulatedKeyboard::linkUsableLocked(int id) {
    // A missing state file is a pulled cable.
    const auto found = links.find(id);
    if (found == links.end() || found->second.broken || !present())
        return false;
    Link& link = found->second;
    if (currentFault.kind == SimulatorFault::DropAfter && link.reports >= currentFault.value) {
        link.broken = true;
        return false;
    }
    return true;
}

bool SimulatedKeyboard::hostWrite(int link, const unsigned char* report, int length) {
    std::lock_guard<std::mutex> lock(mutex);
    if (!report || length < kPacketSize + 1 || !linkUsableLocked(link))
        return false;
    ++links[link].reports;
    Packet packet;
    std::memcpy(packet.data(), report + 1, kPacketSize);
    replyTo = &links[link].answers;
    handlePacketLocked(packet);
    replyTo = nullptr;
    answered.notify_all();
    return true;
}

bool SimulatedKeyboard::hostRead(int link, unsigned char* report, int length, int* received, int timeoutMs) {
    if (received)
        *received = 0;
    std::unique_lock<std::mutex> lock(mutex);
    const auto start = std::chrono::steady_clock::now();
    auto fail = [&] {
        if (received)
            *received = -1;
        return false;
    };
    if (!report || length < 1 || !linkUsableLocked(link))
        return fail();

    int wait = std::max(timeoutMs, 0);
    const bool limited = currentFault.kind == SimulatorFault::NoAnswer && currentFault.value > 0;
    if (limited)
        wait = std::min(wait, std::max(currentFault.value - links[link].silentMs, 0));
    answered.wait_for(lock, std::chrono::milliseconds(wait),
                      [&] { return !links[link].answers.empty() || !linkUsableLocked(link); });
    if (!linkUsableLocked(link))
        return fail();
    Link& state = links[link];
    if (state.answers.empty()) {
        state.silentMs += static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                               std::chrono::steady_clock::now() - start)
                                               .count());
        if (limited && state.silentMs >= currentFault.value) {
            state.broken = true;
            return fail();
        }
        return false;  // nothing within the timeout
    }

    const Packet packet = state.answers.front();
    state.answers.pop_front();
    ++state.reports;
    report[0] = 0;
    const int copy = std::min(length - 1, kPacketSize);
    std::memcpy(report + 1, packet.data(), static_cast<size_t>(copy));
    if (received)
        *received = copy + 1;
    return true;
}

void SimulatedKeyboard::answerLocked(const Packet& packet, bool continuation) {
    if (!replyTo || currentFault.kind == SimulatorFault::NoAnswer)
        return;
    if (currentFault.kind == SimulatorFault::Garbage && !continuation) {
        Packet junk;
        for (auto& byte : junk) {
            junkSeed = junkSeed * 1103515245u + 12345u;
            byte = static_cast<unsigned char>(1 + (junkSeed >> 16) % 255);  // never zero
        }
        // Nothing that could pass for an answer.
        for (unsigned char* at : {&junk[0], &junk[1]})
            if (*at == kKeyEnd || *at == kKeyRecord || *at == kLightData || *at == kLightEnd)
                *at = 0x55;
        replyTo->push_back(junk);
    }
    replyTo->push_back(packet);
}

void SimulatedKeyboard::handlePacketLocked(const Packet& packet) {
    // A macro record spanning several packets collects them first.
    if (!partialRecord.empty()) {
        if (packet[1] == kKeyRecord && packet[2] == partialRecord[2] && packet[3] == partialRecord[3]) {
            partialRecord.insert(partialRecord.end(), packet.begin(), packet.end());
            if (static_cast<int>(partialRecord.size()) == partialPackets * kPacketSize) {
                pendingKeys[slotOf(partialRecord[2], partialRecord[3])] = partialRecord;
                partialRecord.clear();
            }
            return;
        }
        partialRecord.clear();  // cut short: the record is dropped
    }

    if (packet[0] == kKeyEnd) {
        if (keyWriteOpen) {
            for (auto& [slot, record] : pendingKeys)
                keys[slot] = std::move(record);
            pendingKeys.clear();
            keyWriteOpen = false;
            saveLocked();
        }
        return;
    }

    switch (packet[1]) {
    case kKeyWriteStart:
        keyWriteOpen = true;
        pendingKeys.clear();
        break;
    case kKeyRecord: {
        const int slot = slotOf(packet[2], packet[3]);
        if (!keyWriteOpen || slot < 0)
            break;
        const int packets = recordPackets(packet.data());
        if (packets > 1) {
            partialRecord.assign(packet.begin(), packet.end());
            partialPackets = packets;
        } else {
            pendingKeys[slot].assign(packet.begin(), packet.end());
        }
        break;
    }
    case kKeyReadRequest: {
        for (const auto& [slot, record] : keys) {
            for (size_t offset = 0; offset + kPacketSize <= record.size(); offset += kPacketSize) {
                Packet out;
                std::memcpy(out.data(), record.data() + offset, kPacketSize);
                answerLocked(out, offset > 0);
            }
        }
        Packet end;
        end.fill(kKeyEnd);
        answerLocked(end);
        break;
    }
    case kLightWriteStart:
        lightWriteOpen = true;
        pendingLights = lights;
        pendingLightOffset = 0;
        break;
    case kLightData:
        if (lightWriteOpen) {
            const int n = std::min({static_cast<int>(packet[2]), kLightPiece, kLightBytes - pendingLightOffset});
            if (n > 0) {
                std::memcpy(pendingLights.data() + pendingLightOffset, packet.data() + 3, static_cast<size_t>(n));
                pendingLightOffset += n;
            }
        }
        break;
    case kLightEnd:
        if (lightWriteOpen) {
            lights = pendingLights;
            lightWriteOpen = false;
            saveLocked();
        }
        break;
    case kLightReadRequest: {
        for (int offset = 0; offset < kLightBytes; offset += kLightPiece) {
            const int n = std::min(kLightPiece, kLightBytes - offset);
            Packet out{};
            out[1] = kLightData;
            out[2] = static_cast<unsigned char>(n);
            std::memcpy(out.data() + 3, lights.data() + offset, static_cast<size_t>(n));
            answerLocked(out);
        }
        Packet end;
        end.fill(kLightEnd);
        answerLocked(end);
        break;
    }
    case kVersionRequest: {
        Packet out{};
        out[1] = kVersionRequest;
        std::memcpy(out.data() + 2, version.data(), std::min<size_t>(version.size(), kPacketSize - 2));
        answerLocked(out);
        break;
    }
    case kFirmwareRecord: {
        // The record's own byte count says how much of the packet it fills;
        // one that claims more than the packet holds cannot be sound.
        const size_t claimed = static_cast<size_t>(packet[2]) + 5;
        std::vector<unsigned char> record(packet.begin() + 2,
                                          packet.begin() + 2 + std::min<size_t>(claimed, kPacketSize - 2));
        if (claimed > kPacketSize - 2)
            record.push_back(0);  // marks it unsound: its size no longer matches
        const bool endOfFile = record.size() >= 4 && record[3] == 1;
        pendingFirmware.push_back(std::move(record));
        if (endOfFile)
            checkFirmwareLocked();
        break;
    }
    default:
        break;  // not a command the keyboard knows
    }
}

void SimulatedKeyboard::checkFirmwareLocked() {
    firmware.received = true;
    firmware.installed = std::all_of(pendingFirmware.begin(), pendingFirmware.end(), soundFirmwareRecord);
    firmware.records = std::move(pendingFirmware);
    pendingFirmware.clear();
    saveLocked();
}

}  // namespace hwi
