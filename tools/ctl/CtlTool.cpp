// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "CtlTool.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <iomanip>
#include <new>
#include <sstream>
#include <thread>
#include <vector>

#include "Doctor.h"
#include "FileAccess.h"
#include "FirmwareFile.h"
#include <velkorondrix/HidPlatform.h>
#include <velkorondrix/KeyRecordFit.h>
#include <velkorondrix/KeyboardMatch.h>
#include "ProgressDisplay.h"
#include "QueuedMessageWindow.h"
#include "Utf8.h"
#include "editor/KeyMapWindowLayout.h"
#include "jobs/KeyboardBackup.h"
#include "jobs/KeyboardComparison.h"
#include "profile/KeyboardProfile.h"
#include "shell/MainWindowLayout.h"

namespace ctl {

namespace {

constexpr const char* kToolName = "velkorondrix-ctl";
constexpr const char* kSimulatorVariable = "VELKORONDRIX_SIMULATOR";
constexpr int kKeySlots = 216;
constexpr int kFirmwareScale = 150;
constexpr int kWordCapacity = 65536;

void setSimulator(const std::string& file) {
#if defined(_WIN32)
    _putenv_s(kSimulatorVariable, file.c_str());
#else
    setenv(kSimulatorVariable, file.c_str(), 1);
#endif
}

std::string quoted(const std::string& path) {
    return "'" + printable(path) + "'";
}

std::string quotedPath(const std::filesystem::path& path) {
    return "'" + printable(path.wstring()) + "'";
}

// The Chinese name the key assignment editor gives a function: its icon's
// tooltip up to the comma after which some go on to say how to use them, or
// for a row without one the caption of its label (numbered 50 higher).
std::wstring chineseFunctionName(int hwCode) {
    const auto& rows = layout::keyMapWindowRows;
    for (const layout::Row& icon : rows) {
        if (icon.id < 400 || icon.auxIndex != hwCode)
            continue;
        if (icon.tooltipZh)
            return std::wstring(icon.tooltipZh).substr(0, std::wstring_view(icon.tooltipZh).find(L','));
        for (const layout::Row& label : rows)
            if (label.id == icon.id + 50 && label.captionZh)
                return label.captionZh;
    }
    return {};
}

// Functions have Chinese names where the editor offers them; keys and the
// sequences' item texts keep their English names.
std::wstring summaryText(const KeyboardProfile& profile, int keyId, int level, bool chinese) {
    const int slot = KeyboardProfile::slot(keyId, level);
    const int mode = profile.modes[slot];
    const bool function = mode == ModeMultimedia || mode == ModeMouse || mode == ModeFunction || mode == ModePower;
    const std::wstring name = chinese && function ? chineseFunctionName(profile.hwCodes[slot]) : std::wstring();
    return name.empty() ? profile.assignmentSummary(keyId, level) : name;
}

// The words of one key definition up to its last word in use.
std::vector<int> keyWords(CTarnHWI& device, int level, int keyId, std::vector<int>& buffer) {
    std::fill(buffer.begin(), buffer.end(), 0);
    device.getKeyConfiguration(level, keyId, buffer.data(), kWordCapacity);
    std::size_t used = 2;
    switch (buffer[0]) {
    case 0: used = 2 + std::max(buffer[1], 0); break;
    case 1: used = 3 + std::max(buffer[2], 0); break;
    case 2: used = 4 + (buffer[2] ? std::max(buffer[3], 0) : std::max(2 * buffer[3] - 1, 0)); break;
    default: break;
    }
    used = std::min<std::size_t>(used, buffer.size());
    return {buffer.begin(), buffer.begin() + used};
}

std::string describeSlot(const KeyboardProfile& profile, int keyId, int level) {
    const int mode = profile.modes[KeyboardProfile::slot(keyId, level)];
    if (mode < 0 || mode >= KeyboardProfile::kModeCount)
        return "mode " + std::to_string(mode);
    std::string text = toUtf8(profile.modeNamesEn[mode]);
    const std::string summary = printable(profile.assignmentSummary(keyId, level));
    if (!summary.empty())
        text += " \"" + summary + "\"";
    return text;
}

std::string colourText(const LightArea& area) {
    std::ostringstream text;
    text << "(" << area.red << ", " << area.green << ", " << area.blue << ")";
    return text.str();
}

std::string noKeyboardMessage() {
    const std::string problem = hwi::hidPlatform().problem();
    if (!problem.empty())
        return "no keyboard found: " + printable(problem);
    const char* simulator = std::getenv(kSimulatorVariable);
    if (simulator && *simulator && !std::filesystem::exists(simulator))
        return std::string("no keyboard found: the simulated keyboard's state file ") + quoted(simulator) +
               " does not exist";
    return "no keyboard found (connect it, or use --simulator FILE)";
}

// Columns on a terminal: East Asian wide characters take two.
std::size_t displayWidth(const std::wstring& text) {
    std::size_t width = 0;
    for (wchar_t c : text) {
        const bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
                          (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
                          (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6);
        width += wide ? 2 : 1;
    }
    return width;
}

std::string keyText(int keyId, int level) {
    return "key " + std::to_string(keyId) + " (" + toUtf8(layout::keyLegend(keyId, false)) + ") L" +
           std::to_string(level + 1);
}

std::string systemReason(const std::error_code& error) {
    return error ? ": " + error.message() : std::string();
}

}  // namespace

CtlTool::CtlTool(std::ostream& out_, std::ostream& err_, bool terminal_, std::istream* questions_)
    : out(out_), err(err_), terminal(terminal_), questions(questions_) {}

int CtlTool::run(int argc, const char* const* argv) {
    // Nothing may end the tool without its one line on the error stream.
    try {
        int code = dispatch(argc, argv);
        errno = 0;
        out.flush();
        if (!out && code == ExitOk)
            code = fail(ExitFailure, "the output cannot be written" +
                                         systemReason(std::error_code(errno, std::generic_category())));
        return code;
    } catch (const std::bad_alloc&) {
        err << kToolName << ": out of memory\n";
    } catch (const std::exception& error) {
        err << kToolName << ": " << printable(std::string(error.what())) << '\n';
    } catch (...) {
        err << kToolName << ": unexpected failure\n";
    }
    return ExitFailure;
}

int CtlTool::dispatch(int argc, const char* const* argv) {
    const CommandLine line = CommandLine::parse(argc, argv);
    if (line.help) {
        out << CommandLine::usage(line.command);
        return ExitOk;
    }
    if (line.version) {
        out << kToolName << ' ' << VELKORONDRIX_VERSION << '\n';
        return ExitOk;
    }
    if (!line.error().empty()) {
        err << kToolName << ": " << line.error() << " (try '" << kToolName << " --help')\n";
        return ExitUsage;
    }
    // Before anything asks for the HID platform: the library picks the
    // simulated keyboard when it first looks.
    if (!line.simulator.empty())
        setSimulator(line.simulator);

    if (line.command == "list")
        return list();
    if (line.command == "version")
        return version();
    if (line.command == "write")
        return write(line);
    if (line.command == "read")
        return read(line);
    if (line.command == "show")
        return show(line);
    if (line.command == "backups")
        return backups();
    if (line.command == "restore")
        return restore(line);
    if (line.command == "diff")
        return diff(line);
    if (line.command == "doctor")
        return Doctor(out).run();
    return firmware(line);
}

int CtlTool::fail(int code, const std::string& message) {
    err << kToolName << ": " << message << '\n';
    return code;
}

std::unique_ptr<KeyboardProfile> CtlTool::newProfile() {
    auto profile = std::make_unique<KeyboardProfile>();
    profile->buildNameTables();
    profile->resetToDefaults();
    return profile;
}

int CtlTool::loadProfile(KeyboardProfile& profile, const std::string& path) {
    const ProfileLoadResult result = profile.loadProfileFile(path);
    if (result)
        return ExitOk;
    if (result.status == ProfileLoadResult::Status::FileError)
        return fail(ExitBadProfile, "cannot read profile " + quoted(path) + ": " + printable(result.reason));
    return fail(ExitBadProfile, "cannot load profile " + quoted(path) + ": " + printable(result.description()));
}

int CtlTool::openKeyboard(KeyboardProfile& profile) {
    if (profile.device.__createDev())
        return ExitOk;
    if (profile.device.DetectDevice())
        return fail(ExitNoKeyboard, "the keyboard was found but cannot be opened (in use by another program, or no "
                                    "permission): 'velkorondrix-ctl doctor' says why");
    return fail(ExitNoKeyboard, noKeyboardMessage());
}

bool CtlTool::runTransfer(const std::string& label, int total, bool slotIndices, const Transfer& transfer) {
    QueuedMessageWindow window;
    ProgressDisplay display(out, label, total, terminal);
    bool ok = false;
    std::thread worker([&] {
        try {
            ok = transfer(&window);
        } catch (...) {
            ok = false;  // out of memory: reported as a failed transfer
        }
        window.postMessage(hwi_msg::kDone, 0, 0);
    });
    for (;;) {
        const PostedMessage message = window.take();
        if (message.message == hwi_msg::kDone)
            break;
        if (message.message == hwi_msg::kProgress)
            display.update(static_cast<int>(message.wParam) + (slotIndices ? 1 : 0));
    }
    worker.join();
    // Reads send only the slots the keyboard holds: a complete read may stop
    // short of the last slot index.
    if (ok)
        display.update(total);
    display.finish();
    return ok;
}

int CtlTool::list() {
    const std::vector<std::wstring> paths = hwi::hidPlatform().interfacePaths();
    const auto keyboard = std::find_if(paths.begin(), paths.end(), hwi::isKeyboardInterface);
    out << "HID interfaces (" << paths.size() << "):\n";
    for (auto it = paths.begin(); it != paths.end(); ++it)
        out << (it == keyboard ? "* " : "  ") << printable(*it) << '\n';
    if (keyboard == paths.end())
        return fail(ExitNoKeyboard, noKeyboardMessage());
    out << "The keyboard is the interface marked *.\n";
    return ExitOk;
}

int CtlTool::version() {
    auto profile = newProfile();
    if (const int code = openKeyboard(*profile))
        return code;
    wchar_t text[64] = {};
    if (!profile->device.ReadKeyboardVersion(text))
        return fail(ExitTransferFailed, "the keyboard did not answer the version request");
    out << printable(text) << '\n';
    return ExitOk;
}

int CtlTool::write(const CommandLine& line) {
    auto profile = newProfile();
    if (const int code = loadProfile(*profile, line.operand))
        return code;
    if (const int code = openKeyboard(*profile))
        return code;
    const bool keys = !line.lightsOnly;
    if (const int code = keepContents(*profile, profile.get(), keys, line.force))
        return code;
    return writeProfile(*profile, line.operand, keys, !line.keysOnly, line.verify);
}

int CtlTool::writeProfile(KeyboardProfile& profile, const std::string& name, bool keys, bool lights,
                          bool verifyAfter) {
    if (keys && !runTransfer("Writing keys", kKeySlots, true,
                             [&](MessageWindow* window) { return profile.writeKeysToDevice(window); }))
        return fail(ExitTransferFailed, "writing the keys to the keyboard failed");
    if (keys)
        warnAboutSequencesCut(profile);
    if (lights && !profile.writeLightsToDevice())
        return fail(ExitTransferFailed, "writing the key colours to the keyboard failed");
    out << "Wrote " << (keys && lights ? "keys and colours" : keys ? "keys" : "colours") << " of " << quoted(name)
        << " to the keyboard.\n";
    return verifyAfter ? verify(profile, keys, lights) : ExitOk;
}

bool CtlTool::readKeyboard(KeyboardProfile& profile, KeyboardBackup& backup, const std::string& label) {
    return runTransfer(label, kKeySlots, true,
                       [&](MessageWindow* window) { return backup.readKeys(profile, window); }) &&
           backup.readLights(profile);
}

int CtlTool::keepContents(KeyboardProfile& profile, const KeyboardProfile* written, bool keys, bool force) {
    KeyboardBackup backup;
    if (!readKeyboard(profile, backup, "Reading the keyboard for its backup")) {
        if (written)
            return fail(ExitTransferFailed,
                        "reading the keyboard's keys and colours failed, so nothing was written: they could not be kept");
        if (!force)
            return fail(ExitRefused, "the keyboard's settings could not be read and will not be kept; nothing was "
                                     "downloaded (use --force to download the firmware anyway)");
        err << kToolName << ": warning: the keyboard's settings could not be read and will not be kept\n";
        return ExitOk;
    }
    if (!backup.save())
        return fail(ExitFailure, "cannot keep the keyboard's keys and colours in " +
                                     quotedPath(KeyboardBackup::folder()) + ", so nothing was written");
    out << "Kept the keyboard's keys and colours in " << quotedPath(backup.path()) << ".\n";
    if (!written || !keys || force)
        return ExitOk;

    const KeyboardComparison comparison =
        KeyboardComparison::compare(KeyboardContents::of(*written), backup.contents());
    if (comparison.assigned.empty())
        return ExitOk;
    const std::string what = "the write would change or clear " + std::to_string(comparison.assigned.size()) +
                             " assigned key(s) that the keyboard holds (kept in " + quotedPath(backup.path()) + ")";
    if (!questions)
        return fail(ExitRefused, what + "; nothing was written, as there is no terminal to ask (use --force)");
    if (!confirm(what + ". Write anyway? [y/N] "))
        return fail(ExitRefused, "nothing was written");
    return ExitOk;
}

bool CtlTool::confirm(const std::string& question) {
    err << kToolName << ": " << question << std::flush;
    std::string answer;
    if (!std::getline(*questions, answer))
        return false;
    return answer == "y" || answer == "Y" || answer == "yes" || answer == "Yes";
}

int CtlTool::verify(KeyboardProfile& profile, bool keys, bool lights) {
    // Read into a profile of its own, so that the lines below can name what
    // was written beside what the keyboard holds.
    KeyboardBackup readBack;
    if (keys && !runTransfer("Verifying keys", kKeySlots, true,
                             [&](MessageWindow* window) { return readBack.readKeys(profile, window); }))
        return fail(ExitTransferFailed, "reading the keys back from the keyboard failed");
    if (lights && !readBack.readLights(profile))
        return fail(ExitTransferFailed, "reading the key colours back from the keyboard failed");
    KeyboardComparison comparison = KeyboardComparison::compare(KeyboardContents::of(profile), readBack.contents());
    if (!keys)
        comparison.keys.clear();
    if (!lights)
        comparison.colours.clear();
    printDifferences(profile, readBack.keyboard(), comparison, "wrote");
    if (!comparison.same())
        return fail(ExitVerifyMismatch, "verify failed: " + std::to_string(comparison.keys.size()) +
                                            " key slot(s) and " + std::to_string(comparison.colours.size()) +
                                            " colour(s) differ from the profile");
    out << "Verified: the keyboard holds what was written.\n";
    return ExitOk;
}

void CtlTool::printDifferences(const KeyboardProfile& profile, const KeyboardProfile& keyboard,
                               const KeyboardComparison& comparison, const std::string& wanted) {
    for (int index : comparison.keys) {
        const int keyId = KeyboardContents::keyIdOf(index);
        const int level = KeyboardContents::levelOf(index);
        out << "differs: " << keyText(keyId, level) << ": " << wanted << ' ' << describeSlot(profile, keyId, level)
            << ", the keyboard holds " << describeSlot(keyboard, keyId, level) << '\n';
    }
    for (int keyId : comparison.colours)
        out << "differs: key " << keyId << " (" << toUtf8(layout::keyLegend(keyId, false)) << ") colour: " << wanted
            << ' '
            << colourText(profile.lightAreas[keyId]) << ", the keyboard holds "
            << colourText(keyboard.lightAreas[keyId]) << '\n';
}

// The facade holds the words of what was just written; the record of each
// tells how much of them the keyboard received.
void CtlTool::warnAboutSequencesCut(KeyboardProfile& profile) {
    std::vector<int> buffer(kWordCapacity);
    for (int level = 0; level < 2; ++level) {
        for (int keyId = 1; keyId <= KeyboardProfile::kKeyCount; ++keyId) {
            const std::vector<int> words = keyWords(profile.device, level, keyId, buffer);
            const hwi::KeyRecordFit fit = hwi::fitKeyRecord(words.data(), static_cast<int>(words.size()));
            if (fit.kept >= fit.codes)
                continue;
            const int mode = profile.modes[KeyboardProfile::slot(keyId, level)];
            err << kToolName << ": warning: " << keyText(keyId, level) << ": the "
                << toUtf8(profile.modeNamesEn[std::clamp(mode, 0, KeyboardProfile::kModeCount - 1)]) << " of "
                << fit.codes << " keys is longer than the keyboard can hold; it keeps the first " << fit.kept
                << '\n';
        }
    }
}

int CtlTool::read(const CommandLine& line) {
    // Before the keyboard is read: the reading is lost if it cannot be kept.
    if (const std::error_code error = checkWritable(line.operand))
        return fail(ExitBadProfile, "cannot save profile " + quoted(line.operand) + systemReason(error));
    auto profile = newProfile();
    if (const int code = openKeyboard(*profile))
        return code;
    if (!runTransfer("Reading keys", kKeySlots, true,
                     [&](MessageWindow* window) { return profile->readKeysFromDevice(window); }))
        return fail(ExitTransferFailed, "reading the keys from the keyboard failed");
    if (!profile->readLightsFromDevice())
        return fail(ExitTransferFailed, "reading the key colours from the keyboard failed");
    if (!profile->saveProfile(line.operand))
        return fail(ExitBadProfile,
                    "cannot save profile " + quoted(line.operand) + systemReason(checkWritable(line.operand)));
    out << "Read keys and colours from the keyboard into " << quoted(line.operand) << ".\n";
    return ExitOk;
}

int CtlTool::show(const CommandLine& line) {
    auto profile = newProfile();
    if (const int code = loadProfile(*profile, line.operand))
        return code;
    profile->language = line.language;
    const bool chinese = line.language == "zh-CN";
    const auto& labels = chinese ? profile->modeNamesZh : profile->modeNamesEn;

    std::size_t labelWidth = 0;
    for (const std::wstring& label : labels)
        labelWidth = std::max(labelWidth, displayWidth(label));
    std::size_t legendWidth = 0;
    for (int keyId = 1; keyId <= KeyboardProfile::kKeyCount; ++keyId)
        legendWidth = std::max(legendWidth, displayWidth(layout::keyLegend(keyId, chinese)));
    // ID and legend of a key, padded so that the columns after them align.
    auto keyColumns = [&](int keyId) {
        const std::wstring legend = layout::keyLegend(keyId, chinese);
        std::ostringstream text;
        text << "  " << std::setw(3) << keyId << ' ' << toUtf8(legend)
             << std::string(legendWidth + 2 - displayWidth(legend), ' ');
        return text.str();
    };

    out << (chinese ? "按键：" : "Keys:") << '\n';
    int assigned = 0;
    for (int keyId = 1; keyId <= KeyboardProfile::kKeyCount; ++keyId) {
        for (int level = 0; level < 2; ++level) {
            const int mode = profile->modes[KeyboardProfile::slot(keyId, level)];
            if (mode == ModeNotSet)
                continue;
            ++assigned;
            const std::wstring label = mode > 0 && mode < KeyboardProfile::kModeCount
                                           ? labels[mode]
                                           : L"? " + std::to_wstring(mode);
            out << keyColumns(keyId) << 'L' << level + 1 << "  " << toUtf8(label)
                << std::string(labelWidth + 2 - std::min(displayWidth(label), labelWidth), ' ')
                << printable(summaryText(*profile, keyId, level, chinese)) << '\n';
        }
    }
    if (assigned == 0)
        out << (chinese ? "  （没有已设置的按键）" : "  (no key is assigned)") << '\n';

    out << (chinese ? "背光颜色（红 绿 蓝）：" : "Colours (red green blue):") << '\n';
    int coloured = 0;
    for (int keyId = 1; keyId <= KeyboardProfile::kKeyCount; ++keyId) {
        const LightArea& area = profile->lightAreas[keyId];
        if (area == LightArea{})
            continue;
        ++coloured;
        out << keyColumns(keyId) << std::setw(3) << area.red << ' ' << std::setw(3) << area.green << ' '
            << std::setw(3) << area.blue << '\n';
    }
    if (coloured == 0)
        out << (chinese ? "  （所有按键均为黑色）" : "  (every key is black)") << '\n';
    return ExitOk;
}

int CtlTool::firmware(const CommandLine& line) {
    FirmwareFile image;
    if (!image.load(line.operand))
        return fail(ExitBadFirmware, image.readError()
                                         ? "cannot read firmware image " + quoted(line.operand) +
                                               systemReason(image.readError())
                                         : quoted(line.operand) + " is not a valid firmware image: " + image.error());
    auto profile = newProfile();
    if (const int code = openKeyboard(*profile))
        return code;
    if (const int code = keepContents(*profile, nullptr, false, line.force))
        return code;
    std::string& text = image.text();
    if (!runTransfer("Downloading firmware", kFirmwareScale, false, [&](MessageWindow* window) {
            return profile->device.WriteFirmwareToKeyboard(text.data(), static_cast<int>(text.size()), window);
        }))
        return fail(ExitTransferFailed, "the firmware download failed");
    out << "Firmware downloaded. Keep the keyboard plugged in until its three indicator lights flash together,\n"
           "then unplug it and plug it in again.\n";
    return ExitOk;
}

int CtlTool::backups() {
    const std::vector<std::filesystem::path> found = KeyboardBackup::list();
    if (found.empty()) {
        out << "No backups in " << quotedPath(KeyboardBackup::folder()) << ".\n";
        return ExitOk;
    }
    for (const std::filesystem::path& path : found)
        out << printable(path.wstring()) << '\n';
    return ExitOk;
}

int CtlTool::restore(const CommandLine& line) {
    std::filesystem::path file = line.operand;
    if (file.empty()) {
        const std::vector<std::filesystem::path> found = KeyboardBackup::list();
        if (found.empty())
            return fail(ExitBadProfile, "there is no backup to restore in " + quotedPath(KeyboardBackup::folder()));
        file = found.front();
    }
    auto profile = newProfile();
    if (const int code = loadProfile(*profile, file.string()))
        return code;
    if (const int code = openKeyboard(*profile))
        return code;
    // Restoring is the decision to overwrite: keep what is there, ask nothing.
    if (const int code = keepContents(*profile, profile.get(), true, true))
        return code;
    return writeProfile(*profile, file.string(), true, true, true);
}

int CtlTool::diff(const CommandLine& line) {
    auto profile = newProfile();
    if (const int code = loadProfile(*profile, line.operand))
        return code;
    if (const int code = openKeyboard(*profile))
        return code;
    KeyboardBackup held;
    if (!readKeyboard(*profile, held, "Reading keys"))
        return fail(ExitTransferFailed, "reading the keyboard's keys and colours failed");
    const KeyboardComparison comparison =
        KeyboardComparison::compare(KeyboardContents::of(*profile), held.contents());
    printDifferences(*profile, held.keyboard(), comparison, "the profile has");
    if (comparison.same()) {
        out << "The keyboard holds what " << quoted(line.operand) << " holds.\n";
        return ExitOk;
    }
    out << comparison.keys.size() << " key slot(s) and " << comparison.colours.size()
        << " colour(s) differ.\n";
    return ExitFailure;
}

}  // namespace ctl
