// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// A stand-in for the 108-key keyboard: it answers every command of the
// keyboard's protocol from a memory kept in a readable text state file.
//
// The keyboard is present exactly while its state file exists (an empty file
// is a factory-fresh keyboard; deleting the file is pulling the cable). Key
// and light writes are committed only when their end packet arrives, and the
// state file is rewritten atomically (temporary file, then rename). A
// firmware download is checked record by record once its end-of-file record
// arrives and only then recorded as installed.
//
// Using it in a test (link VelkorOndrix_HWI; this header is on its include
// path):
//
//   auto keyboard = std::make_shared<hwi::SimulatedKeyboard>(dir / "kbd.state");
//   keyboard->plugIn();                                   // creates the file
//   hwi::setHidPlatform(std::make_unique<hwi::SimulatedHidPlatform>(keyboard));
//   CTarnHWI device;  device.__createDev();  ...
//   hwi::setHidPlatform(nullptr);                         // back to the default
//
// Outside a test, the library selects it by itself when the environment
// variable VELKORONDRIX_SIMULATOR names the state file. Faults can then be
// injected with VELKORONDRIX_SIMULATOR_FAULT, read when the simulator is
// created:
//
//   no-answer        the keyboard takes every packet but never answers;
//                    reads time out
//   no-answer:MS     the same, and after MS milliseconds of waiting in all
//                    the link reports failure (keeps tests of callers that
//                    wait 100 s short)
//   drop-after:N     each link fails every report after its first N
//                    (writes and delivered reads both count)
//   garbage          every answer (a key record, a light piece, an end
//                    packet, the version) is preceded by a junk packet
//                    (no zero byte, no known command code)
//   refuse-open      the interfaces are listed but cannot be opened
//   corrupt          every key write keeps its first record that holds a code
//                    with that code changed, every light write its first
//                    colour value changed:
//                    what a keyboard with failing memory does
//
// An empty value injects nothing. Any other name, a state file that is a
// directory or cannot be written, and a state file holding a line the
// simulator cannot take (an inconsistent key record, say) make the keyboard
// refuse to serve: it is not listed, and problem() says why. Such a file is
// never overwritten.
#pragma once

#include <array>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include <velkorondrix/VelkorOndrix_HWI.h>

namespace hwi {

struct VELKORONDRIX_HWI_INTERNAL SimulatorFault {
    enum Kind { None, NoAnswer, DropAfter, Garbage, RefuseOpen, Corrupt };
    Kind kind = None;
    // NoAnswer: milliseconds of silence before the link reports failure
    // (0 = never). DropAfter: reports each link carries before it fails.
    int value = 0;

    // The VELKORONDRIX_SIMULATOR_FAULT format above; no fault for a null or
    // empty text, nothing for a text that names no fault.
    static std::optional<SimulatorFault> parse(const char* text);
};

// What the last firmware download delivered.
struct VELKORONDRIX_HWI_INTERNAL SimulatedFirmware {
    bool received = false;   // an end-of-file record arrived
    bool installed = false;  // and every record was sound
    std::vector<std::vector<unsigned char>> records;  // as received, binary
};

class VELKORONDRIX_HWI_INTERNAL SimulatedKeyboard {
public:
    static constexpr int kSlots = 216;
    static constexpr int kLightBytes = 324;
    static constexpr int kPacketSize = 64;
    static constexpr const wchar_t* kInterface0Path = L"\\\\?\\hid#vid_0483&pid_5022&mi_00#simulated";
    static constexpr const wchar_t* kInterface1Path = L"\\\\?\\hid#vid_0483&pid_5022&mi_01#simulated";
    static constexpr const char* kDefaultVersion = "VO108 1.0.1 (simulated)";

    explicit SimulatedKeyboard(std::filesystem::path stateFile);
    ~SimulatedKeyboard();
    SimulatedKeyboard(const SimulatedKeyboard&) = delete;
    SimulatedKeyboard& operator=(const SimulatedKeyboard&) = delete;

    // The simulator for this state file with the fault named by
    // VELKORONDRIX_SIMULATOR_FAULT.
    static std::shared_ptr<SimulatedKeyboard> fromEnvironment(const std::filesystem::path& stateFile);

    const std::filesystem::path& stateFile() const { return path; }

    // ---- Presence: the state file ----------------------------------------
    bool present() const;
    // Why the keyboard refuses to serve although its state file exists: an
    // unknown fault name, a state file that is no regular file or cannot be
    // written, or one naming the line it cannot take. Empty when it serves.
    std::string problem();
    void plugIn();    // creates an empty state file when none exists
    void unplug();    // deletes the state file

    // ---- Fault injection -------------------------------------------------
    void setFault(SimulatorFault fault);
    void stopAnswering(int silenceLimitMs = 0) { setFault({SimulatorFault::NoAnswer, silenceLimitMs}); }
    void dropLinkAfter(int reports) { setFault({SimulatorFault::DropAfter, reports}); }
    void answerGarbage() { setFault({SimulatorFault::Garbage, 0}); }
    void refuseOpen() { setFault({SimulatorFault::RefuseOpen, 0}); }
    void corruptWrites() { setFault({SimulatorFault::Corrupt, 0}); }
    void clearFault() { setFault({}); }
    SimulatorFault fault() const;

    // ---- Memory as committed (reloaded from the state file) ---------------
    // The record stored for a slot, as received (64 bytes per packet);
    // empty when the keyboard holds none for it.
    std::vector<unsigned char> keyRecord(int slot);
    std::array<unsigned char, kLightBytes> lightImage();
    std::string versionText();
    // Saved to the state file: at most 62 bytes, up to a line break or zero.
    void setVersionText(const std::string& text);
    SimulatedFirmware lastFirmware();
    // Key records in store (a factory-fresh keyboard holds none).
    int storedKeyRecords();

    // ---- The keyboard's side of the link (used by SimulatedHidPlatform) ---
    // A new link on interface 1; false when the keyboard is absent or
    // refuses. Returns the link's number for the calls below. Several links
    // may be open at once; each receives the answers to its own requests.
    bool connect(int* link);
    void disconnect(int link);
    // One output report from the host (report ID first).
    bool hostWrite(int link, const unsigned char* report, int length);
    // One input report for the host; see HidChannel::readReport. A broken
    // link sets *received to -1.
    bool hostRead(int link, unsigned char* report, int length, int* received, int timeoutMs);

private:
    using Packet = std::array<unsigned char, kPacketSize>;

    // Reads the state file into memory; a file that cannot be taken leaves
    // memory factory-fresh and loadProblem set.
    void loadLocked();
    // Writes memory to the state file; false (memory then reloaded from the
    // file) when it could not be written.
    bool saveLocked();
    bool linkUsableLocked(int link);
    // False when the packet ended a transfer whose result could not be kept.
    bool handlePacketLocked(const Packet& packet);
    void corruptFirstCodeLocked();  // the corrupt fault, at the end of a key write
    // Queues one answer packet for the link being served; a continuation
    // packet of a record is never separated from its record by junk.
    void answerLocked(const Packet& packet, bool continuation = false);
    bool checkFirmwareLocked();

    std::filesystem::path path;
    std::string faultProblem;  // an unknown fault name
    std::string loadProblem;   // what the last load could not take
    mutable std::mutex mutex;
    std::condition_variable answered;

    struct Link {
        int reports = 0;   // carried so far, written or delivered
        int silentMs = 0;  // time spent waiting in vain
        bool broken = false;
        std::deque<Packet> answers;
    };

    SimulatorFault currentFault;
    int lastLink = 0;
    std::map<int, Link> links;
    std::deque<Packet>* replyTo = nullptr;  // the answers of the link being served
    unsigned junkSeed = 1;

    // Committed memory.
    std::map<int, std::vector<unsigned char>> keys;
    std::array<unsigned char, kLightBytes> lights{};
    std::string version = kDefaultVersion;
    SimulatedFirmware firmware;

    // Transfers in progress.
    bool keyWriteOpen = false;
    std::map<int, std::vector<unsigned char>> pendingKeys;
    std::vector<unsigned char> partialRecord;  // a macro record awaiting packets
    int partialPackets = 0;
    bool lightWriteOpen = false;
    std::array<unsigned char, kLightBytes> pendingLights{};
    int pendingLightOffset = 0;
    std::vector<std::vector<unsigned char>> pendingFirmware;
};

}  // namespace hwi
