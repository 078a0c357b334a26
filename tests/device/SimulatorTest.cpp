// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The simulated keyboard: round trips through the facade, its state file,
// and the faults it can play.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "FakeHidPlatform.h"
#include "KeyWords.h"
#include "SimulatedHidPlatform.h"
#include "SimulatedKeyboard.h"

namespace fs = std::filesystem;

namespace {

class Simulator : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("vo-sim-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        state = dir / "keyboard.state";
        keyboard = std::make_shared<hwi::SimulatedKeyboard>(state);
        keyboard->plugIn();
        hwi::setHidPlatform(std::make_unique<hwi::SimulatedHidPlatform>(keyboard));
    }
    void TearDown() override {
        hwi::setHidPlatform(nullptr);
        fs::remove_all(dir);
    }
    std::string stateText() {
        std::ifstream in(state);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    fs::path dir;
    fs::path state;
    std::shared_ptr<hwi::SimulatedKeyboard> keyboard;
};

std::vector<int> sixteenCodeMacro() {
    std::vector<int> w{2, 3, 0, 16};
    for (int i = 0; i < 16; ++i) {
        w.push_back(40 + i);
        if (i < 15)
            w.push_back(1000 + i);
    }
    return w;
}

}  // namespace

TEST_F(Simulator, AppearsAsTwoInterfacesWhileItsFileExists) {
    hwi::SimulatedHidPlatform platform(keyboard);
    EXPECT_EQ(platform.interfacePaths(),
              (std::vector<std::wstring>{hwi::SimulatedKeyboard::kInterface0Path,
                                         hwi::SimulatedKeyboard::kInterface1Path}));
    CTarnHWI device;
    EXPECT_TRUE(device.DetectDevice());
    keyboard->unplug();
    EXPECT_TRUE(platform.interfacePaths().empty());
    EXPECT_FALSE(device.DetectDevice());
    EXPECT_FALSE(device.__createDev());
}

TEST_F(Simulator, FactoryFreshKeyboardAnswersEveryRequest) {
    CTarnHWI device;
    ASSERT_TRUE(device.__createDev());
    wchar_t version[64];
    ASSERT_TRUE(device.ReadKeyboardVersion(version));
    EXPECT_EQ(std::wstring(version), L"VO108 1.0.1 (simulated)");

    RecordingWindow window;
    EXPECT_TRUE(device.readKeyDefinationFromDev(&window));
    EXPECT_TRUE(window.progressValues().empty());  // nothing stored yet
    EXPECT_TRUE(device.readKeyLightFromDev());
    std::vector<int> lights(324, -1);
    device.getKeyboardLightArea(lights.data());
    EXPECT_EQ(lights, std::vector<int>(324, 0));
}

TEST_F(Simulator, KeyConfigurationRoundTrip) {
    {
        CTarnHWI device;
        ASSERT_TRUE(device.__createDev());
        device.prepare();
        setKeyWords(device, 0, 1, {0, 1, 4});
        setKeyWords(device, 0, 2, {0, 2, 130, 130});
        setKeyWords(device, 1, 3, {1, 250, 3, 4, 5, 6});
        setKeyWords(device, 1, 108, sixteenCodeMacro());
        setKeyWords(device, 0, 108, {2, 1, 1, 3, 7, 8, 9});
        RecordingWindow window;
        ASSERT_TRUE(device.writeKeyConfigurationToDev(&window));
        EXPECT_EQ(window.progressValues().size(), 216u);
    }
    EXPECT_EQ(keyboard->storedKeyRecords(), 216);
    EXPECT_EQ(keyboard->keyRecord(215).size(), 128u);  // the macro's two packets

    CTarnHWI device;
    ASSERT_TRUE(device.__createDev());
    RecordingWindow window;
    ASSERT_TRUE(device.readKeyDefinationFromDev(&window));
    EXPECT_EQ(window.progressValues().size(), 216u);
    EXPECT_EQ(keyWords(device, 0, 1), (std::vector<int>{0, 1, 4}));
    EXPECT_EQ(keyWords(device, 0, 2), (std::vector<int>{0, 2, 130, 130}));
    EXPECT_EQ(keyWords(device, 1, 3), (std::vector<int>{1, 250, 3, 4, 5, 6}));
    EXPECT_EQ(keyWords(device, 1, 108), sixteenCodeMacro());
    EXPECT_EQ(keyWords(device, 0, 108), (std::vector<int>{2, 1, 1, 3, 7, 8, 9}));
    EXPECT_EQ(keyWords(device, 0, 50), (std::vector<int>{0, 0}));
}

TEST_F(Simulator, LightImageRoundTrip) {
    std::vector<int> values(324);
    for (int i = 0; i < 324; ++i)
        values[static_cast<size_t>(i)] = (i * 7) & 0xFF;
    {
        CTarnHWI device;
        ASSERT_TRUE(device.__createDev());
        ASSERT_TRUE(device.setKeyboardLightArea(values.data()));
    }
    EXPECT_EQ(keyboard->lightImage()[323], (323 * 7) & 0xFF);
    CTarnHWI device;
    ASSERT_TRUE(device.__createDev());
    ASSERT_TRUE(device.readKeyLightFromDev());
    std::vector<int> back(324);
    device.getKeyboardLightArea(back.data());
    EXPECT_EQ(back, values);
}

TEST_F(Simulator, StateFileIsReadableTextAndSurvivesANewSimulator) {
    keyboard->setVersionText("VO108 9.9");
    CTarnHWI device;
    ASSERT_TRUE(device.__createDev());
    setKeyWords(device, 0, 4, {0, 1, 44});
    ASSERT_TRUE(device.writeKeyConfigurationToDev(nullptr));
    std::vector<int> lights(324, 17);
    device.setKeyboardLightArea(lights.data());

    const std::string text = stateText();
    EXPECT_NE(text.find("version VO108 9.9\n"), std::string::npos);
    EXPECT_NE(text.find("key 3 00f001040001"), std::string::npos);
    // Nothing but the state file is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);

    hwi::SimulatedKeyboard again(state);
    EXPECT_EQ(again.versionText(), "VO108 9.9");
    EXPECT_EQ(again.keyRecord(3), keyboard->keyRecord(3));
    EXPECT_EQ(again.lightImage()[100], 17);
}

// The windowed program keeps its link open while the tool, another process
// with a simulator of its own, writes the same file: the next command of
// the open link works on what the tool wrote, and overwrites none of it.
TEST_F(Simulator, AnOpenLinkWorksOnWhatAnotherProgramWrote) {
    CTarnHWI program;
    ASSERT_TRUE(program.__createDev());
    hwi::setHidPlatform(std::make_unique<hwi::SimulatedHidPlatform>(std::make_shared<hwi::SimulatedKeyboard>(state)));
    CTarnHWI tool;
    ASSERT_TRUE(tool.__createDev());
    setKeyWords(tool, 0, 4, {0, 1, 44});
    ASSERT_TRUE(tool.writeKeyConfigurationToDev(nullptr));

    ASSERT_TRUE(program.readKeyDefinationFromDev(nullptr));
    EXPECT_EQ(keyWords(program, 0, 4), (std::vector<int>{0, 1, 44}));
    std::vector<int> lights(324, 9);
    ASSERT_TRUE(program.setKeyboardLightArea(lights.data()));
    EXPECT_EQ(hwi::SimulatedKeyboard(state).storedKeyRecords(), 216);
}

TEST_F(Simulator, WriteCutOffBeforeItsEndKeepsThePreviousConfiguration) {
    {
        CTarnHWI device;
        ASSERT_TRUE(device.__createDev());
        setKeyWords(device, 0, 1, {0, 1, 4});
        ASSERT_TRUE(device.writeKeyConfigurationToDev(nullptr));
    }
    const std::string before = stateText();

    keyboard->dropLinkAfter(100);
    CTarnHWI device;
    ASSERT_TRUE(device.__createDev());
    setKeyWords(device, 0, 1, {0, 1, 99});
    EXPECT_FALSE(device.writeKeyConfigurationToDev(nullptr));
    std::vector<int> lights(324, 3);
    EXPECT_FALSE(device.setKeyboardLightArea(lights.data()));  // never reaches the keyboard
    EXPECT_EQ(stateText(), before);
    EXPECT_EQ(keyboard->keyRecord(0)[6], 4);
}

TEST_F(Simulator, PullingTheCableFailsTheOpenLink) {
    CTarnHWI device;
    ASSERT_TRUE(device.__createDev());
    keyboard->unplug();
    wchar_t version[64] = L"old";
    EXPECT_FALSE(device.ReadKeyboardVersion(version));
    EXPECT_FALSE(device.writeKeyConfigurationToDev(nullptr));
    EXPECT_FALSE(fs::exists(state));  // a failed commit does not bring it back
}

TEST_F(Simulator, SoundFirmwareIsInstalledAndAFaultyOneRejected) {
    CTarnHWI device;
    ASSERT_TRUE(device.__createDev());
    std::string image = ":020000040800F2\r\n:0400000001020304F2\r\n:00000001FF\r\n";
    ASSERT_TRUE(device.WriteFirmwareToKeyboard(image.data(), static_cast<int>(image.size()), nullptr));
    hwi::SimulatedFirmware firmware = keyboard->lastFirmware();
    EXPECT_TRUE(firmware.received);
    EXPECT_TRUE(firmware.installed);
    ASSERT_EQ(firmware.records.size(), 3u);
    EXPECT_EQ(firmware.records[1], (Bytes{4, 0, 0, 0, 1, 2, 3, 4, 0xF2}));

    // The facade never sends a bad record, so send one the raw way.
    hwi::SimulatedHidPlatform platform(keyboard);
    auto channel = platform.open(hwi::SimulatedKeyboard::kInterface1Path);
    ASSERT_TRUE(channel);
    Bytes report(65, 0);
    report[2] = 0x3A;
    const Bytes bad{4, 0, 0, 0, 1, 2, 3, 4, 0xF3};
    std::copy(bad.begin(), bad.end(), report.begin() + 3);
    ASSERT_TRUE(channel->writeReport(report.data(), 65));
    const Bytes eof{0, 0, 0, 1, 0xFF};
    std::fill(report.begin() + 3, report.end(), 0);
    std::copy(eof.begin(), eof.end(), report.begin() + 3);
    ASSERT_TRUE(channel->writeReport(report.data(), 65));
    firmware = keyboard->lastFirmware();
    EXPECT_TRUE(firmware.received);
    EXPECT_FALSE(firmware.installed);
    EXPECT_EQ(firmware.records.size(), 2u);
}

TEST_F(Simulator, RefusedOpenLeavesTheFacadeClosed) {
    keyboard->refuseOpen();
    CTarnHWI device;
    EXPECT_TRUE(device.DetectDevice());
    EXPECT_FALSE(device.__createDev());
    keyboard->clearFault();
    EXPECT_TRUE(device.__createDev());
}

TEST_F(Simulator, GarbageBetweenAnswersIsSkipped) {
    {
        CTarnHWI device;
        ASSERT_TRUE(device.__createDev());
        setKeyWords(device, 1, 20, sixteenCodeMacro());
        ASSERT_TRUE(device.writeKeyConfigurationToDev(nullptr));
    }
    keyboard->answerGarbage();
    CTarnHWI device;
    ASSERT_TRUE(device.__createDev());
    EXPECT_TRUE(device.readKeyDefinationFromDev(nullptr));
    EXPECT_EQ(keyWords(device, 1, 20), sixteenCodeMacro());
    EXPECT_EQ(keyWords(device, 1, 21), (std::vector<int>{0, 0}));
    EXPECT_TRUE(device.readKeyLightFromDev());

    // The version read takes the junk packet for the answer: it is still a
    // terminated text inside the buffer.
    wchar_t version[65];
    std::fill(std::begin(version), std::end(version), L'#');
    ASSERT_TRUE(device.ReadKeyboardVersion(version));
    EXPECT_EQ(std::wstring(version).size(), 62u);
    EXPECT_EQ(version[63], L'#');
}

TEST_F(Simulator, SilentKeyboardEndsTheReadOnceTheLinkGivesUp) {
    keyboard->stopAnswering(300);
    CTarnHWI device;
    ASSERT_TRUE(device.__createDev());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(device.readKeyDefinationFromDev(nullptr));
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(250));
    EXPECT_LT(waited, std::chrono::seconds(5));
}

TEST_F(Simulator, DropAfterCountsEveryReport) {
    std::vector<int> values(324, 1);
    {
        CTarnHWI writer;
        ASSERT_TRUE(writer.__createDev());
        ASSERT_TRUE(writer.setKeyboardLightArea(values.data()));
    }
    keyboard->dropLinkAfter(3);  // the request and two answers
    CTarnHWI device;
    ASSERT_TRUE(device.__createDev());
    EXPECT_FALSE(device.readKeyLightFromDev());
    std::vector<int> back(324, -1);
    device.getKeyboardLightArea(back.data());
    EXPECT_EQ(back[121], 1);  // the two pieces that arrived
    EXPECT_EQ(back[122], 0);  // the rest did not

    // Each new link gets its own N reports.
    device.__closeDev();
    ASSERT_TRUE(device.__createDev());
    wchar_t version[64];
    EXPECT_TRUE(device.ReadKeyboardVersion(version));
}

TEST_F(Simulator, AnswersGoToTheLinkThatAsked) {
    CTarnHWI first;
    CTarnHWI second;
    ASSERT_TRUE(first.__createDev());
    ASSERT_TRUE(second.__createDev());

    // A request whose answers are never read leaves them with its own link.
    hwi::SimulatedHidPlatform platform(keyboard);
    auto raw = platform.open(hwi::SimulatedKeyboard::kInterface1Path);
    Bytes request(65, 0);
    request[2] = 0xE2;
    ASSERT_TRUE(raw->writeReport(request.data(), 65));

    wchar_t version[64];
    EXPECT_TRUE(second.ReadKeyboardVersion(version));
    EXPECT_EQ(std::wstring(version), L"VO108 1.0.1 (simulated)");
    EXPECT_TRUE(first.readKeyDefinationFromDev(nullptr));
    raw.reset();
    EXPECT_TRUE(first.ReadKeyboardVersion(version));
}

// A keyboard that cannot serve says why and is not listed; a file it cannot
// take is left as it was, and a commit it cannot keep fails the write.
TEST_F(Simulator, RefusesWhatItCannotServe) {
    CTarnHWI device;
    ASSERT_TRUE(device.__createDev());
    setKeyWords(device, 0, 1, {0, 1, 4});
    fs::remove(state);
    fs::create_directory(state);
    EXPECT_FALSE(device.writeKeyConfigurationToDev(nullptr));
    EXPECT_NE(keyboard->problem().find("is a directory"), std::string::npos) << keyboard->problem();
    EXPECT_FALSE(CTarnHWI().DetectDevice());
    fs::remove(state);

    const std::string bad[] = {
        "key 0 00f00101020100ff" + std::string(112, '0') + "\n",  // announces five packets, holds one
        "key 5 00f0010102" + std::string(118, '0') + "\n",        // names slot 0
        "lights 00\n",
        "firmware installed 2\nfirmware-record 00000001ff\n",
        "keys 1\n",
    };
    for (const std::string& text : bad) {
        { std::ofstream(state) << "# comment\n\n" << text; }
        EXPECT_NE(keyboard->problem().find("line 3: "), std::string::npos) << text;
        EXPECT_FALSE(device.DetectDevice()) << text;
        keyboard->setVersionText("not saved");
        EXPECT_EQ(stateText(), "# comment\n\n" + text);
    }
}

TEST(SimulatorFault, ParsesTheEnvironmentFormat) {
    using hwi::SimulatorFault;
    EXPECT_EQ(SimulatorFault::parse("no-answer")->kind, SimulatorFault::NoAnswer);
    EXPECT_EQ(SimulatorFault::parse("no-answer")->value, 0);
    EXPECT_EQ(SimulatorFault::parse("no-answer:250")->value, 250);
    EXPECT_EQ(SimulatorFault::parse("drop-after:12")->kind, SimulatorFault::DropAfter);
    EXPECT_EQ(SimulatorFault::parse("drop-after:12")->value, 12);
    EXPECT_EQ(SimulatorFault::parse("garbage")->kind, SimulatorFault::Garbage);
    EXPECT_EQ(SimulatorFault::parse("refuse-open")->kind, SimulatorFault::RefuseOpen);
    EXPECT_EQ(SimulatorFault::parse("corrupt")->kind, SimulatorFault::Corrupt);
    for (const char* unknown : {"drop-after:", "drop-after:x", "no-answer:-5", "GARBAGE", "garbage "})
        EXPECT_FALSE(SimulatorFault::parse(unknown)) << unknown;
    EXPECT_EQ(SimulatorFault::parse("")->kind, SimulatorFault::None);
    EXPECT_EQ(SimulatorFault::parse(nullptr)->kind, SimulatorFault::None);
}

namespace {
void setEnvironment(const char* name, const char* value) {
#ifdef _WIN32
    _putenv_s(name, value ? value : "");
#else
    if (value)
        ::setenv(name, value, 1);
    else
        ::unsetenv(name);
#endif
}
}  // namespace

TEST(SimulatorSelection, EnvironmentSelectsTheSimulatorAndItsFault) {
    const fs::path state = fs::temp_directory_path() / "vo-env-selection.state";
    { std::ofstream(state).flush(); }
    setEnvironment("VELKORONDRIX_SIMULATOR", state.string().c_str());
    setEnvironment("VELKORONDRIX_SIMULATOR_FAULT", "refuse-open");
    hwi::setHidPlatform(nullptr);  // the default is chosen afresh
    {
        CTarnHWI device;
        EXPECT_TRUE(device.DetectDevice());
        EXPECT_FALSE(device.__createDev());
    }
    setEnvironment("VELKORONDRIX_SIMULATOR_FAULT", "bogus");
    hwi::setHidPlatform(nullptr);
    EXPECT_FALSE(CTarnHWI().DetectDevice());
    EXPECT_NE(hwi::hidPlatform().problem().find("unknown VELKORONDRIX_SIMULATOR_FAULT 'bogus'"), std::string::npos);
    setEnvironment("VELKORONDRIX_SIMULATOR_FAULT", nullptr);
    hwi::setHidPlatform(nullptr);
    {
        CTarnHWI device;
        ASSERT_TRUE(device.__createDev());
        wchar_t version[64];
        EXPECT_TRUE(device.ReadKeyboardVersion(version));
    }
    setEnvironment("VELKORONDRIX_SIMULATOR", nullptr);
    hwi::setHidPlatform(nullptr);
    fs::remove(state);
}
