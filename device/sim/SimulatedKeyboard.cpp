// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "SimulatedKeyboard.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string_view>
#include <system_error>

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

// Every packet of a key record carries the same header: command, layer, key,
// type, cycles, delay flag and payload length.
bool sameRecordHeader(const unsigned char* first, const unsigned char* next) {
    return std::memcmp(first, next, 8) == 0;
}

// What keeps a record from being the one the host sends for this slot, or
// empty: whole packets, a key record header naming the slot and a known
// type, as many packets as its payload needs, each repeating the header.
std::string recordProblem(int slot, const std::vector<unsigned char>& record) {
    constexpr size_t packet = SimulatedKeyboard::kPacketSize;
    if (record.empty() || record.size() % packet != 0)
        return "a key record is whole packets of 64 bytes";
    if (record[0] != 0 || record[1] != kKeyRecord || record[4] > 2)
        return "not a key record";
    if (slotOf(record[2], record[3]) != slot)
        return "the key record names another slot";
    const size_t packets = static_cast<size_t>(recordPackets(record.data()));
    if (record.size() != packets * packet)
        return "the key record announces " + std::to_string(packets) + " packet(s) but holds " +
               std::to_string(record.size() / packet);
    for (size_t offset = packet; offset < record.size(); offset += packet)
        if (!sameRecordHeader(record.data(), record.data() + offset))
            return "packet " + std::to_string(offset / packet + 1) + " of the key record has another header";
    return {};
}

// A decimal count of at most nine digits.
bool parseCount(const std::string& text, int* value) {
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    *value = std::atoi(text.c_str());
    return true;
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

std::optional<SimulatorFault> SimulatorFault::parse(const char* text) {
    SimulatorFault fault;
    const std::string value(text ? text : "");
    auto numbered = [&](const char* prefix, Kind kind) {
        const size_t length = std::strlen(prefix);
        if (value.compare(0, length, prefix) != 0 || !parseCount(value.substr(length), &fault.value))
            return false;
        fault.kind = kind;
        return true;
    };
    if (value.empty())
        return fault;
    if (value == "no-answer")
        fault.kind = NoAnswer;
    else if (value == "garbage")
        fault.kind = Garbage;
    else if (value == "refuse-open")
        fault.kind = RefuseOpen;
    else if (value == "corrupt")
        fault.kind = Corrupt;
    else if (!numbered("no-answer:", NoAnswer) && !numbered("drop-after:", DropAfter))
        return std::nullopt;
    return fault;
}

SimulatedKeyboard::SimulatedKeyboard(std::filesystem::path stateFile) : path(std::move(stateFile)) {
    std::lock_guard<std::mutex> lock(mutex);
    loadLocked();
}

SimulatedKeyboard::~SimulatedKeyboard() = default;

std::shared_ptr<SimulatedKeyboard> SimulatedKeyboard::fromEnvironment(const std::filesystem::path& stateFile) {
    auto keyboard = std::make_shared<SimulatedKeyboard>(stateFile);
    const char* name = std::getenv("VELKORONDRIX_SIMULATOR_FAULT");
    if (const auto fault = SimulatorFault::parse(name))
        keyboard->setFault(*fault);
    else
        keyboard->faultProblem = "unknown VELKORONDRIX_SIMULATOR_FAULT '" + std::string(name) +
                                 "' (use no-answer[:MS], drop-after:N, garbage, refuse-open or corrupt)";
    return keyboard;
}

bool SimulatedKeyboard::present() const {
    std::error_code error;
    return std::filesystem::exists(path, error);
}

std::string SimulatedKeyboard::problem() {
    std::lock_guard<std::mutex> lock(mutex);
    if (!faultProblem.empty())
        return faultProblem;
    loadLocked();
    return loadProblem;
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
    // The state file keeps the text on one line; a zero byte ends it anyway.
    version = text.substr(0, std::min<size_t>(kPacketSize - 2, text.find_first_of(std::string_view("\r\n\0", 3))));
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
// Blank lines and lines starting with '#' are skipped; an empty file is a
// fresh keyboard. Any other line must be one of these, well-formed.

void SimulatedKeyboard::loadLocked() {
    auto forget = [this] {
        keys.clear();
        lights.fill(0);
        version = kDefaultVersion;
        firmware = {};
    };
    forget();
    loadProblem.clear();

    const std::string name = "the simulated keyboard's state file '" + path.string() + "'";
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (!std::filesystem::exists(status))
        return;  // unplugged
    // Opening anything else (a FIFO, say) could block or read forever.
    if (std::filesystem::is_directory(status)) {
        loadProblem = name + " is a directory";
        return;
    }
    if (!std::filesystem::is_regular_file(status)) {
        loadProblem = name + " is not a regular file";
        return;
    }
    // Writes are committed to this file: one that cannot take them would
    // lose every one.
    errno = 0;
    std::fstream in(path, std::ios::in | std::ios::out | std::ios::binary);
    if (!in) {
        loadProblem = name + " cannot be written: " +
                      (errno ? std::generic_category().message(errno) : std::string("it cannot be opened"));
        return;
    }

    int lineNumber = 0;
    int firmwareRecords = -1;  // announced by the firmware line ...
    int firmwareLine = 0;      // ... on this line
    auto refuse = [&](const std::string& what) {
        forget();
        loadProblem = name + ", line " + std::to_string(lineNumber) + ": " + what;
    };
    std::string line;
    std::vector<unsigned char> bytes;
    while (std::getline(in, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        if (line == "version" || line.rfind("version ", 0) == 0) {
            version = line.substr(std::min<size_t>(line.size(), 8));
            if (version.size() > kPacketSize - 2)
                return refuse("the version text is longer than 62 bytes");
            continue;
        }
        std::istringstream fields(line);
        std::string word, first, second, extra;
        fields >> word >> first >> second >> extra;
        auto hexOnly = [&] { return second.empty() && fromHex(first, &bytes); };
        if (word == "lights") {
            if (!hexOnly() || bytes.size() != lights.size())
                return refuse("the light image is not 324 bytes in hex");
            std::copy(bytes.begin(), bytes.end(), lights.begin());
        } else if (word == "key") {
            int slot = -1;
            if (!parseCount(first, &slot) || slot >= kSlots || !extra.empty() || !fromHex(second, &bytes))
                return refuse("not a slot 0 to 215 and a key record in hex");
            if (keys.count(slot))
                return refuse("a second key record for slot " + first);
            const std::string wrong = recordProblem(slot, bytes);
            if (!wrong.empty())
                return refuse(wrong);
            keys[slot] = bytes;
        } else if (word == "firmware") {
            if ((first != "installed" && first != "rejected") || !parseCount(second, &firmwareRecords) ||
                !extra.empty() || firmware.received)
                return refuse("not one firmware line with a verdict and a record count");
            firmware.received = true;
            firmware.installed = first == "installed";
            firmwareLine = lineNumber;
        } else if (word == "firmware-record") {
            if (!firmware.received || !hexOnly() || bytes.size() < 5 || bytes.size() > kPacketSize - 1)
                return refuse("not a firmware record in hex after the firmware line");
            firmware.records.push_back(bytes);
        } else {
            return refuse("unknown line");
        }
    }
    lineNumber = firmwareLine;
    if (firmware.received && firmware.records.size() != static_cast<size_t>(firmwareRecords))
        refuse("the firmware line announces " + std::to_string(firmwareRecords) + " record(s), " +
               std::to_string(firmware.records.size()) + " follow");
}

bool SimulatedKeyboard::saveLocked() {
    // A file that could not be taken is the user's to mend, not ours to
    // overwrite; a pulled cable stays pulled: the file is never brought back.
    if (!loadProblem.empty() || !present())
        return false;
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

    // Readers see either the old state or the new one, never half of it. The
    // temporary name is one of this writer's own, as other processes may
    // simulate the same keyboard.
    std::filesystem::path temporary = path;
    temporary += ".tmp-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + "-" +
                 std::to_string(reinterpret_cast<std::uintptr_t>(this));
    bool written = false;
    {
        std::ofstream file(temporary, std::ios::trunc | std::ios::binary);
        file << out.str();
        file.flush();
        written = static_cast<bool>(file);
    }
    std::error_code error;
    if (written)
        std::filesystem::rename(temporary, path, error);
    if (written && !error)
        return true;
    std::filesystem::remove(temporary, error);
    // The keyboard holds what its file holds: the change is not kept.
    loadLocked();
    return false;
}

// ---- The link ----------------------------------------------------------------

bool SimulatedKeyboard::connect(int* link) {
    std::lock_guard<std::mutex> lock(mutex);
    if (!present() || currentFault.kind == SimulatorFault::RefuseOpen || !faultProblem.empty())
        return false;
    loadLocked();
    if (!loadProblem.empty())
        return false;
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
    const bool kept = handlePacketLocked(packet);
    replyTo = nullptr;
    answered.notify_all();
    return kept;
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

void SimulatedKeyboard::corruptFirstCodeLocked() {
    // The first record written in this write that holds a code. A normal
    // key's code count is byte 5 and its codes follow; the other types give
    // their payload length in byte 7, the payload after it.
    for (const auto& entry : pendingKeys) {
        std::vector<unsigned char>& record = keys[entry.first];
        const bool normal = record[4] == 0;
        if (record[normal ? 5 : 7] > 0) {
            record[normal ? 6 : 8] ^= 0x01;
            return;
        }
    }
}

bool SimulatedKeyboard::handlePacketLocked(const Packet& packet) {
    // A macro record spanning several packets collects them first.
    if (!partialRecord.empty()) {
        if (sameRecordHeader(partialRecord.data(), packet.data())) {
            partialRecord.insert(partialRecord.end(), packet.begin(), packet.end());
            if (static_cast<int>(partialRecord.size()) == partialPackets * kPacketSize) {
                pendingKeys[slotOf(partialRecord[2], partialRecord[3])] = partialRecord;
                partialRecord.clear();
            }
            return true;
        }
        partialRecord.clear();  // cut short: the record is dropped
    }

    if (packet[0] == kKeyEnd) {
        if (!keyWriteOpen)
            return true;
        for (auto& [slot, record] : pendingKeys)
            keys[slot] = std::move(record);
        if (currentFault.kind == SimulatorFault::Corrupt)
            corruptFirstCodeLocked();
        pendingKeys.clear();
        keyWriteOpen = false;
        return saveLocked();
    }

    // Another program may have written the state file since this one last
    // looked (the tool beside the windowed program): every command starts
    // from what the file holds, as a real keyboard has one memory.
    const unsigned char command = packet[1];
    if (command == kKeyWriteStart || command == kKeyReadRequest || command == kLightWriteStart ||
        command == kLightReadRequest)
        loadLocked();

    switch (command) {
    case kKeyWriteStart:
        keyWriteOpen = true;
        pendingKeys.clear();
        break;
    case kKeyRecord: {
        // Only what the keyboard could send back as a record is kept.
        const int slot = slotOf(packet[2], packet[3]);
        if (!keyWriteOpen || slot < 0 || packet[4] > 2)
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
        if (!lightWriteOpen)
            break;
        lights = pendingLights;
        lightWriteOpen = false;
        if (currentFault.kind == SimulatorFault::Corrupt)
            lights[0] ^= 0x01;
        return saveLocked();
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
            return checkFirmwareLocked();
        break;
    }
    default:
        break;  // not a command the keyboard knows
    }
    return true;
}

bool SimulatedKeyboard::checkFirmwareLocked() {
    firmware.received = true;
    firmware.installed = std::all_of(pendingFirmware.begin(), pendingFirmware.end(), soundFirmwareRecord);
    firmware.records = std::move(pendingFirmware);
    pendingFirmware.clear();
    return saveLocked();
}

}  // namespace hwi
