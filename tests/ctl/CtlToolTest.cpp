// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The built tool, run as a user would run it: exit status, what it prints
// and what it leaves on the simulated keyboard and on disk.
#include <gtest/gtest.h>

#if defined(_WIN32)
#include <process.h>
#define getpid _getpid
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "SimulatedKeyboard.h"
#include "profile/KeyboardProfile.h"

namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

std::string readText(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// What the tool printed, with the line ends of a text stream on Windows
// (CR LF) read as LF; a lone CR, as a redrawn progress bar has, stays.
std::string readOutput(const fs::path& path) {
    std::string text = readText(path);
#if defined(_WIN32)
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at))
        text.erase(at, 1);
#endif
    return text;
}

// The paths of the build: absolute on the current drive, as the test
// changes folders to one on another drive when run under Wine.
const std::string kTool = fs::absolute(VELKORONDRIX_CTL).string();
const std::string kSample = fs::absolute(VELKORONDRIX_SAMPLE).string();

// One shell command: in the folder, without inherited simulator settings,
// with env ("NAME=value" or nothing) set, output into the two files. The
// per-user state (backups) goes to the folder's state/, never the real home.
std::string shellCommand(const fs::path& dir, const std::string& env, const std::string& args, const fs::path& out,
                         const fs::path& err) {
#if defined(_WIN32)
    // cmd.exe quotes with double quotes only; unsetting a variable that is
    // not set fails, hence "&" rather than "&&" after it.
    std::string cmdArgs = args;
    std::replace(cmdArgs.begin(), cmdArgs.end(), '\'', '"');
    return std::string("set \"VELKORONDRIX_SIMULATOR=\" 2>nul & set \"VELKORONDRIX_SIMULATOR_FAULT=\" 2>nul & ") +
           "set \"LOCALAPPDATA=" + (dir / "state").string() + "\" & " +
           (env.empty() ? "" : "set \"" + env + "\" & ") + "cd /d \"" + dir.string() + "\" && \"" + kTool + "\" " +
           cmdArgs + " >\"" + out.string() + "\" 2>\"" + err.string() + "\" <nul";
#else
    return "cd '" + dir.string() + "' && env -u VELKORONDRIX_SIMULATOR -u VELKORONDRIX_SIMULATOR_FAULT XDG_STATE_HOME='" +
           (dir / "state").string() + "' " + env + " '" +
           kTool + "' " + args + " >'" + out.string() + "' 2>'" + err.string() + "' </dev/null";
#endif
}

int lineCount(const std::string& text) {
    int lines = 0;
    for (char c : text)
        lines += c == '\n';
    return lines;
}

class CtlTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        // Unique per process: several builds may run these tests at once.
        dir = fs::temp_directory_path() / ("vo-ctl-" + std::string(test->name()) + "-" + std::to_string(getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        state = dir / "kbd.state";
    }
    void TearDown() override { fs::remove_all(dir); }

    // Runs the tool in the test folder; env is prepended to the command
    // ("NAME=value ..."), and the inherited simulator settings are cleared.
    Outcome run(const std::string& args, const std::string& env = "") {
        const fs::path out = dir / "stdout.txt";
        const fs::path err = dir / "stderr.txt";
        const int raw = std::system(shellCommand(dir, env, args, out, err).c_str());
        Outcome result;
#if defined(_WIN32)
        result.status = raw;
#else
        result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
#endif
        result.out = readOutput(out);
        result.err = readOutput(err);
        return result;
    }

    Outcome runSim(const std::string& args, const std::string& fault = "") {
        return run("--simulator kbd.state " + args, fault.empty() ? "" : "VELKORONDRIX_SIMULATOR_FAULT=" + fault);
    }

    void plugIn() { hwi::SimulatedKeyboard(state).plugIn(); }

    // A profile file with a key in every mode and a few colours.
    fs::path writeSampleProfile(const std::string& name = "sample.pro") {
        auto p = std::make_unique<KeyboardProfile>();
        p->buildNameTables();
        p->resetToDefaults();
        auto setCode = [&](int key, int level, int mode, int code) {
            p->modes[KeyboardProfile::slot(key, level)] = mode;
            p->hwCodes[KeyboardProfile::slot(key, level)] = code;
        };
        auto setItems = [&](int key, int level, int mode, std::initializer_list<const wchar_t*> items) -> ActionList& {
            p->modes[KeyboardProfile::slot(key, level)] = mode;
            ActionList& list = p->sequences[KeyboardProfile::slot(key, level)];
            for (const wchar_t* item : items)
                list.setOrAppendItem(20000, item);
            return list;
        };
        setCode(1, 0, ModeSingle, 43);
        setItems(2, 0, ModeCombo, {L"Left CONTROL", L"C"});
        setItems(3, 1, ModeMacro, {L"A", L"<50 ms>", L"B"}).cycles = 2;
        setItems(4, 0, ModeEmulation, {L"H", L"I"}).delay = 80;
        setCode(5, 0, ModeMultimedia, 111);
        setCode(6, 1, ModeMouse, 199);
        setCode(7, 0, ModePower, 76);
        setCode(8, 0, ModeFunction, 156);
        setCode(8, 1, ModeFunction, 156);
        p->lightAreas[1] = {255, 0, 128};
        p->lightAreas[108] = {0, 40, 200};
        const fs::path path = dir / name;
        EXPECT_TRUE(p->saveProfile(path));
        return path;
    }

    fs::path dir;
    fs::path state;
};

TEST_F(CtlTest, HelpForTheToolAndEachCommand) {
    Outcome all = run("--help");
    EXPECT_EQ(all.status, 0);
    for (const char* command : {"list", "version", "write", "read", "show", "firmware", "backups", "restore", "diff", "--force", "--simulator"})
        EXPECT_NE(all.out.find(command), std::string::npos) << command;

    Outcome write = run("write --help");
    EXPECT_EQ(write.status, 0);
    EXPECT_NE(write.out.find("--verify"), std::string::npos);
    EXPECT_NE(write.out.find("--keys-only"), std::string::npos);
    EXPECT_NE(run("help firmware").out.find("FILE.hex"), std::string::npos);
    EXPECT_NE(run("show --help").out.find("zh-CN"), std::string::npos);

    for (const char* args : {"--version", "--simulator kbd.state --version", "list --version"}) {
        Outcome version = run(args);
        EXPECT_EQ(version.status, 0) << args;
        EXPECT_EQ(version.out, "velkorondrix-ctl " VELKORONDRIX_VERSION "\n") << args;
    }
    EXPECT_NE(all.out.find("--version"), std::string::npos);
}

TEST_F(CtlTest, UsageErrorsAreOneLineAndStatusTwo) {
    for (const char* args : {"", "frobnicate", "write", "show a.pro b.pro", "read x.pro --verify",
                             "write x.pro --keys-only --lights-only", "show x.pro --lang fr", "list --bogus",
                             "version --simulator"}) {
        Outcome r = run(args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_EQ(lineCount(r.err), 1) << args << ": " << r.err;
        EXPECT_TRUE(r.out.empty()) << args;
    }
    EXPECT_NE(run("frobnicate").err.find("unknown command 'frobnicate'"), std::string::npos);
}

TEST_F(CtlTest, NoKeyboardIsStatusThreeForEveryDeviceCommand) {
    const fs::path profile = writeSampleProfile();
    std::ofstream(dir / "fw.hex") << ":00000001FF\r\n";
    for (const char* args : {"list", "version", "write sample.pro", "read out.pro", "firmware fw.hex"}) {
        Outcome r = runSim(args);
        EXPECT_EQ(r.status, 3) << args;
        EXPECT_EQ(lineCount(r.err), 1) << args;
        EXPECT_NE(r.err.find("no keyboard found"), std::string::npos) << args << ": " << r.err;
    }
    EXPECT_FALSE(fs::exists(dir / "out.pro"));

    // The environment variable works as the option does.
    plugIn();
    EXPECT_EQ(run("version", "VELKORONDRIX_SIMULATOR=kbd.state").status, 0);
    Outcome refused = runSim("version", "refuse-open");
    EXPECT_EQ(refused.status, 3);
    EXPECT_NE(refused.err.find("cannot be opened"), std::string::npos) << refused.err;
}

TEST_F(CtlTest, ListMarksTheKeyboardAndVersionPrintsItsText) {
    plugIn();
    hwi::SimulatedKeyboard(state).setVersionText("VO108 7.7.7 test build");
    Outcome list = runSim("list");
    EXPECT_EQ(list.status, 0) << list.err;
    EXPECT_NE(list.out.find("* \\\\?\\hid#vid_0483&pid_5022&mi_01#simulated"), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("  \\\\?\\hid#vid_0483&pid_5022&mi_00#simulated"), std::string::npos) << list.out;

    Outcome version = runSim("version");
    EXPECT_EQ(version.status, 0) << version.err;
    EXPECT_EQ(version.out, "VO108 7.7.7 test build\n");
}

TEST_F(CtlTest, UnreadableOrInvalidProfileIsStatusFour) {
    plugIn();
    std::ofstream(dir / "garbage.pro") << "this is not a profile";
    std::ofstream(dir / "other.xml") << "<?xml version=\"1.0\"?>\r\n<Something/>\r\n";
    std::ofstream(dir / "cut.pro") << readText(kSample).substr(0, 3000);
    for (const char* args : {"write missing.pro", "write garbage.pro", "write other.xml", "show missing.pro",
                             "show garbage.pro", "write cut.pro", "show cut.pro"}) {
        Outcome r = runSim(args);
        EXPECT_EQ(r.status, 4) << args;
        EXPECT_EQ(lineCount(r.err), 1) << args;
        EXPECT_NE(r.err.find("profile"), std::string::npos) << r.err;
    }
    EXPECT_NE(runSim("show missing.pro").err.find("No such file or directory"), std::string::npos);
    const std::string cut = runSim("write cut.pro").err;
    EXPECT_NE(cut.find("cannot load profile 'cut.pro': not a well-formed XML file: line "), std::string::npos) << cut;
    EXPECT_NE(cut.find(", column "), std::string::npos) << cut;
    // Nothing was written to the keyboard.
    EXPECT_EQ(hwi::SimulatedKeyboard(state).storedKeyRecords(), 0);
    // A profile that cannot be saved is known before the keyboard is read
    // (a read would fail on this link).
    Outcome r = runSim("read no/such/folder/out.pro", "drop-after:0");
    EXPECT_EQ(r.status, 4);
    EXPECT_NE(r.err.find("cannot save profile 'no/such/folder/out.pro': No such file or directory"), std::string::npos)
        << r.err;
    EXPECT_NE(runSim("read .").err.find("Is a directory"), std::string::npos);
    Outcome folder = runSim("show .");
    EXPECT_EQ(folder.status, 4);
    EXPECT_NE(folder.err.find("cannot read profile '.': Is a directory"), std::string::npos) << folder.err;
}

// Whatever goes wrong, it is one line with the system's reason; text from the
// keyboard cannot reach the terminal raw.
TEST_F(CtlTest, FailuresSayWhyAndDeviceTextIsEscaped) {
    for (const char* args : {"firmware .", "firmware missing.hex"}) {
        Outcome r = runSim(args);
        EXPECT_EQ(r.status, 6) << args;
        EXPECT_EQ(lineCount(r.err), 1) << args;
        EXPECT_NE(r.err.find("cannot read firmware image"), std::string::npos) << r.err;
    }
    EXPECT_NE(runSim("firmware .").err.find("Is a directory"), std::string::npos);
    EXPECT_NE(runSim("firmware missing.hex").err.find("No such file or directory"), std::string::npos);

    fs::create_directory(state);
    Outcome folder = runSim("list");
    EXPECT_EQ(folder.status, 3);
    EXPECT_NE(folder.err.find("no keyboard found: the simulated keyboard's state file 'kbd.state' is a directory"),
              std::string::npos)
        << folder.err;
    fs::remove(state);
    plugIn();
    Outcome fault = runSim("version", "bogus");
    EXPECT_EQ(fault.status, 3);
    EXPECT_EQ(lineCount(fault.err), 1);
    EXPECT_NE(fault.err.find("unknown VELKORONDRIX_SIMULATOR_FAULT 'bogus'"), std::string::npos) << fault.err;

#if !defined(_WIN32)
    // Output that is lost is no success.
    const std::string full = "'" + kTool + "' --help >/dev/full 2>'" + (dir / "full.txt").string() + "'";
    const int raw = std::system(full.c_str());
    EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, 1);
    EXPECT_EQ(readText(dir / "full.txt"), "velkorondrix-ctl: the output cannot be written: No space left on device\n");
#endif

    hwi::SimulatedKeyboard(state).setVersionText("VO\x1b[2J\x85\t1.0\n");
    EXPECT_EQ(runSim("version").out, "VO\\x1B[2J\\x85\\x091.0\n");
}

TEST_F(CtlTest, WriteVerifyReadAndShowRoundTrip) {
    plugIn();
    writeSampleProfile();
    Outcome write = runSim("write sample.pro --verify");
    ASSERT_EQ(write.status, 0) << write.err;
    EXPECT_TRUE(write.err.empty());
    EXPECT_NE(write.out.find("Writing keys: 100%"), std::string::npos) << write.out;
    EXPECT_NE(write.out.find("Verified"), std::string::npos);
    EXPECT_EQ(hwi::SimulatedKeyboard(state).lightImage()[0], 255);

    Outcome read = runSim("read back.pro");
    ASSERT_EQ(read.status, 0) << read.err;
    KeyboardProfile back;
    back.buildNameTables();
    back.resetToDefaults();
    ASSERT_TRUE(back.loadProfile(dir / "back.pro"));
    EXPECT_EQ(back.modes[KeyboardProfile::slot(3, 1)], ModeMacro);
    EXPECT_EQ(back.sequences[KeyboardProfile::slot(3, 1)].items,
              (std::vector<std::wstring>{L"A", L"<50 ms>", L"B"}));
    EXPECT_EQ(back.modes[KeyboardProfile::slot(6, 1)], ModeMouse);
    EXPECT_EQ(back.hwCodes[KeyboardProfile::slot(6, 1)], 199);
    EXPECT_EQ(back.lightAreas[108], (LightArea{0, 40, 200}));

    Outcome show = run("show back.pro");
    ASSERT_EQ(show.status, 0) << show.err;
    EXPECT_NE(show.out.find("  3 F2             L2  Macro"), std::string::npos) << show.out;
    EXPECT_NE(show.out.find("A,50,B"), std::string::npos);
    EXPECT_NE(show.out.find("Left CONTROL | C"), std::string::npos);
    EXPECT_NE(show.out.find("Power"), std::string::npos);
    EXPECT_NE(show.out.find("108 KPEnter          0  40 200"), std::string::npos) << show.out;
    EXPECT_EQ(show.out.find("  9 L1"), std::string::npos);  // not set: not shown
    EXPECT_EQ(lineCount(show.out), 2 + 9 + 2);

    Outcome chinese = run("show back.pro --lang zh-CN");
    EXPECT_EQ(chinese.status, 0);
    EXPECT_NE(chinese.out.find("宏键"), std::string::npos);
    EXPECT_EQ(chinese.out.find("Macro"), std::string::npos);
    EXPECT_NE(chinese.out.find("多媒体键  播放/暂停"), std::string::npos) << chinese.out;
    EXPECT_NE(chinese.out.find("左键双击"), std::string::npos);
    EXPECT_NE(chinese.out.find("Left CONTROL | C"), std::string::npos);  // key names have no Chinese ones
}

TEST_F(CtlTest, KeysOnlyAndLightsOnlyTouchOnlyTheirPart) {
    plugIn();
    writeSampleProfile();
    ASSERT_EQ(runSim("write sample.pro --lights-only").status, 0);
    EXPECT_EQ(hwi::SimulatedKeyboard(state).storedKeyRecords(), 0);
    EXPECT_EQ(hwi::SimulatedKeyboard(state).lightImage()[0], 255);

    hwi::SimulatedKeyboard(state).unplug();
    plugIn();
    ASSERT_EQ(runSim("write sample.pro --keys-only --verify").status, 0);
    EXPECT_GT(hwi::SimulatedKeyboard(state).storedKeyRecords(), 0);
    EXPECT_EQ(hwi::SimulatedKeyboard(state).lightImage()[0], 0);
}

TEST_F(CtlTest, VerifyReportsWhatTheKeyboardDidNotKeep) {
    plugIn();
    KeyboardProfile p;
    p.buildNameTables();
    p.resetToDefaults();
    // Codes travel as single bytes: 300 arrives as 44.
    p.modes[KeyboardProfile::slot(5, 0)] = ModeSingle;
    p.hwCodes[KeyboardProfile::slot(5, 0)] = 300;
    p.lightAreas[9] = {1, 2, 3};
    ASSERT_TRUE(p.saveProfile(dir / "odd.pro"));
    Outcome r = runSim("write odd.pro --verify");
    EXPECT_EQ(r.status, 7);
    EXPECT_EQ(lineCount(r.err), 1);
    EXPECT_NE(r.out.find("differs: key 5 (F4) L1"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("wrote Single \"-- --\", the keyboard holds Single \"S\""), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("colour:"), std::string::npos) << r.out;
    EXPECT_NE(r.err.find("1 key slot(s) and 0 colour(s)"), std::string::npos) << r.err;
}

TEST_F(CtlTest, WriteWarnsAboutSequencesTheKeyboardCannotHold) {
    plugIn();
    KeyboardProfile p;
    p.buildNameTables();
    p.resetToDefaults();
    p.modes[KeyboardProfile::slot(2, 1)] = ModeCombo;
    for (int i = 0; i < 70; ++i)
        p.sequences[KeyboardProfile::slot(2, 1)].setOrAppendItem(20000, L"A");
    p.modes[KeyboardProfile::slot(3, 0)] = ModeEmulation;
    p.sequences[KeyboardProfile::slot(3, 0)].setOrAppendItem(20000, L"B");
    ASSERT_TRUE(p.saveProfile(dir / "long.pro"));
    Outcome r = runSim("write long.pro");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err,
              "velkorondrix-ctl: warning: key 2 (F1) L2: the Combo of 70 keys is longer than the keyboard can hold; "
              "it keeps the first 58\n");
}

TEST_F(CtlTest, FailedTransfersAreStatusFive) {
    plugIn();
    writeSampleProfile();
    Outcome write = runSim("write sample.pro", "drop-after:30");
    EXPECT_EQ(write.status, 5);
    EXPECT_NE(write.err.find("writing the keys"), std::string::npos) << write.err;
    EXPECT_EQ(hwi::SimulatedKeyboard(state).storedKeyRecords(), 0);

    Outcome lights = runSim("write sample.pro --lights-only", "drop-after:4");
    EXPECT_EQ(lights.status, 5);
    EXPECT_NE(lights.err.find("colours"), std::string::npos) << lights.err;

    ASSERT_EQ(runSim("write sample.pro").status, 0);
    Outcome read = runSim("read back.pro", "drop-after:40");
    EXPECT_EQ(read.status, 5);
    EXPECT_EQ(lineCount(read.err), 1);
    EXPECT_FALSE(fs::exists(dir / "back.pro"));  // no half-read profile saved

    Outcome version = runSim("version", "no-answer:200");
    EXPECT_EQ(version.status, 5);
    EXPECT_EQ(lineCount(version.err), 1);
}

TEST_F(CtlTest, FirmwareIsCheckedThenDownloadedWithProgress) {
    plugIn();
    const std::string good =
        ":020000040800F2\r\n"
        ":10000000000102030405060708090A0B0C0D0E0F78\r\n"
        ":00000001FF\r\n";
    std::ofstream(dir / "good.hex", std::ios::binary) << good;
    std::string badChecksum = good;
    badChecksum.replace(badChecksum.find("0F78"), 4, "0F79");
    std::ofstream(dir / "bad.hex", std::ios::binary) << badChecksum;
    std::ofstream(dir / "noend.hex", std::ios::binary) << ":020000040800F2\r\n";
    std::ofstream(dir / "empty.hex", std::ios::binary) << "";

    Outcome bad = runSim("firmware bad.hex");
    EXPECT_EQ(bad.status, 6);
    EXPECT_NE(bad.err.find("line 2: checksum mismatch"), std::string::npos) << bad.err;
    Outcome noEnd = runSim("firmware noend.hex");
    EXPECT_NE(noEnd.err.find("'noend.hex' is not a valid firmware image: no end-of-file record"), std::string::npos)
        << noEnd.err;
    for (const char* args : {"firmware noend.hex", "firmware empty.hex", "firmware missing.hex"}) {
        Outcome r = runSim(args);
        EXPECT_EQ(r.status, 6) << args;
        EXPECT_EQ(lineCount(r.err), 1) << args;
    }
    EXPECT_FALSE(hwi::SimulatedKeyboard(state).lastFirmware().received);

    // A keyboard that cannot be read: its settings cannot be kept, so only
    // --force downloads.
    Outcome unread = runSim("firmware good.hex", "drop-after:1");
    EXPECT_EQ(unread.status, 4);
    EXPECT_NE(unread.err.find("use --force"), std::string::npos) << unread.err;
    Outcome cut = runSim("firmware good.hex --force", "drop-after:1");
    EXPECT_EQ(cut.status, 5);
    EXPECT_NE(cut.err.find("will not be kept"), std::string::npos) << cut.err;
    EXPECT_NE(cut.err.find("firmware download failed"), std::string::npos);

    Outcome ok = runSim("firmware good.hex");
    ASSERT_EQ(ok.status, 0) << ok.err;
    // Not a terminal: plain lines, no carriage returns.
    EXPECT_NE(ok.out.find("Downloading firmware: 33%\nDownloading firmware: 66%\nDownloading firmware: 100%\n"),
              std::string::npos)
        << ok.out;
    EXPECT_EQ(ok.out.find('\r'), std::string::npos);
    const hwi::SimulatedFirmware installed = hwi::SimulatedKeyboard(state).lastFirmware();
    EXPECT_TRUE(installed.installed);
    EXPECT_EQ(installed.records.size(), 3u);
}

// The sample shipped in examples/ is what the keyboard gives back, byte for
// byte, and shows a key in every mode.
TEST_F(CtlTest, ShippedSampleSurvivesTheKeyboardUnchanged) {
    plugIn();
    const std::string sample = "'" + kSample + "'";
    Outcome write = runSim("write " + sample + " --verify");
    ASSERT_EQ(write.status, 0) << write.err;
    Outcome read = runSim("read back.pro");
    ASSERT_EQ(read.status, 0) << read.err;
    EXPECT_EQ(readText(dir / "back.pro"), readText(kSample));

    Outcome show = run("show " + sample);
    ASSERT_EQ(show.status, 0) << show.err;
    for (const char* label : {"Single", "Combo", "Macro", "Emulation", "Multimedia", "Mouse", "Function", "Power"})
        EXPECT_NE(show.out.find(std::string("  ") + label + " "), std::string::npos) << label;
    EXPECT_EQ(show.out.find("(every key is black)"), std::string::npos);
}

}  // namespace

// Every write keeps what the keyboard held; one that would overwrite
// assigned keys needs a person's yes or --force; restore brings the kept
// contents back byte for byte, and diff says where keyboard and profile part.
TEST_F(CtlTest, WritesKeepTheKeyboardsContentsAndRestoreBringsThemBack) {
    plugIn();
    writeSampleProfile();
    KeyboardProfile other;
    other.buildNameTables();
    other.resetToDefaults();
    other.modes[KeyboardProfile::slot(9, 0)] = ModeSingle;
    other.hwCodes[KeyboardProfile::slot(9, 0)] = 4;
    ASSERT_TRUE(other.saveProfile(dir / "other.pro"));

    EXPECT_NE(runSim("backups").out.find("No backups"), std::string::npos);
    ASSERT_EQ(runSim("write sample.pro").status, 0);  // a fresh keyboard: nothing to ask
    const std::string written = readText(state);

    Outcome refused = runSim("write other.pro");
    EXPECT_EQ(refused.status, 4);
    EXPECT_NE(refused.err.find("9 assigned key(s)"), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("no terminal"), std::string::npos) << refused.err;
    EXPECT_EQ(readText(state), written);
    EXPECT_EQ(runSim("diff sample.pro").status, 0);

    ASSERT_EQ(runSim("write other.pro --force").status, 0);
    Outcome differs = runSim("diff sample.pro");
    EXPECT_EQ(differs.status, 1);
    EXPECT_NE(differs.out.find("differs: key 9 (F8) L1: the profile has Not set"), std::string::npos);
    EXPECT_NE(differs.out.find("differs: key 108 (KPEnter) colour: the profile has (0, 40, 200)"), std::string::npos);
    EXPECT_NE(differs.out.find("10 key slot(s) and 2 colour(s) differ"), std::string::npos) << differs.out;

    Outcome list = runSim("backups");
    ASSERT_EQ(list.status, 0);
    ASSERT_EQ(lineCount(list.out), 3);  // before each of the three writes, newest first
    const std::string newest = list.out.substr(0, list.out.find('\n'));
    const std::string oldest = list.out.substr(list.out.rfind('\n', list.out.size() - 2) + 1);
    EXPECT_LT(oldest, newest);

    Outcome restored = runSim("restore");
    ASSERT_EQ(restored.status, 0) << restored.err;
    EXPECT_NE(restored.out.find("Verified"), std::string::npos);
    EXPECT_EQ(readText(state), written);
    const std::string oldestFile = "'" + oldest.substr(0, oldest.size() - 1) + "'";
    EXPECT_EQ(runSim("restore " + oldestFile).status, 0);
    EXPECT_EQ(runSim("diff " + oldestFile).status, 0);  // the keyboard as it came, all keys not set

    // The newest 20 are kept; files of other names are left alone.
    const fs::path backups = dir / "state" / "velkorondrix" / "backups";
    for (int i = 0; i < 25; ++i)
        std::ofstream(backups / ("keyboard-2020-01-01-0000" + std::to_string(10 + i) + "-000.pro"));
    std::ofstream(backups / "notes.txt");
    ASSERT_EQ(runSim("write sample.pro").status, 0);
    Outcome pruned = runSim("backups");
    EXPECT_EQ(lineCount(pruned.out), 20);
    EXPECT_EQ(pruned.out.find("keyboard-2020-01-01-000010"), std::string::npos);
    EXPECT_TRUE(fs::exists(backups / "notes.txt"));

    Outcome unreadable = runSim("write other.pro --force", "drop-after:1");
    EXPECT_EQ(unreadable.status, 5);
    EXPECT_NE(unreadable.err.find("nothing was written"), std::string::npos) << unreadable.err;
}
