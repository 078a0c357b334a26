// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "profile/KeyboardProfile.h"
#include "profile/xml/TextCodec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "ScratchDir.h"

namespace {

const char kDeclaration[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

std::string listLine(int sizeOfView) {
    return "<List SizeOfView=\"" + std::to_string(sizeOfView) +
           "\" ViewStartAt=\"0\" CursorPos=\"0\" Cycles=\"1\" IsAutoInterval=\"0\" Delay=\"30\"/>";
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    if (start < text.size())
        lines.push_back(text.substr(start));  // an unterminated last line
    return lines;
}

ActionList sequence(int seed, int itemCount) {
    ActionList list;
    list.sizeOfView = seed % 7 + 1;
    list.viewStartAt = seed % 5;
    list.cursorPos = seed % 3;
    list.cycles = seed % 9 + 2;
    list.isAutoInterval = seed % 2 == 1;
    list.delay = 10 + seed;
    for (int i = 0; i < itemCount; ++i) {
        list.items.push_back(L"K" + std::to_wstring(seed) + L"_" + std::to_wstring(i));
        ActionList child;
        child.sizeOfView = i;
        list.children.push_back(child);
    }
    return list;
}

ActionList library(int seed, std::vector<std::wstring> names) {
    ActionList list = sequence(seed, 0);
    for (std::size_t i = 0; i < names.size(); ++i) {
        list.items.push_back(names[i]);
        list.children.push_back(sequence(seed * 10 + static_cast<int>(i), static_cast<int>(i) + 1));
    }
    return list;
}

// Gives every stored field a value of its own.
void fill(KeyboardProfile& p) {
    p.resetToDefaults();
    p.predefinedCombo = library(1, {L"New Combo 1", L"'", L"a\"b&c'd<e>f"});
    p.predefinedMacro = library(2, {L"<30 ms>", L"\u5B8F\u4E00", L"smile \U0001F600"});
    p.predefinedEmu = library(3, {L"New Emu 1", L"", L"New Emu 3", L"tab\there"});
    for (int id = 1; id <= KeyboardProfile::kKeyCount; ++id)
        p.lightAreas[static_cast<std::size_t>(id)] = LightArea{id, 255 - id, (id * 7) % 256};
    for (int s = 2; s < KeyboardProfile::kSlotCount; ++s) {
        const auto i = static_cast<std::size_t>(s);
        p.modes[i] = s % 9;
        p.hwCodes[i] = (s * 3) % 200 + 1;
        p.sequences[i] = sequence(s, s % 5);
    }
    p.sequences[11].items[0] = L"'";
    p.sequences[12].items[1] = L"<30 ms>";
}

void expectSameList(const ActionList& a, const ActionList& b, const std::string& where) {
    SCOPED_TRACE(where);
    EXPECT_EQ(a.sizeOfView, b.sizeOfView);
    EXPECT_EQ(a.viewStartAt, b.viewStartAt);
    EXPECT_EQ(a.cursorPos, b.cursorPos);
    EXPECT_EQ(a.cycles, b.cycles);
    EXPECT_EQ(a.isAutoInterval, b.isAutoInterval);
    EXPECT_EQ(a.delay, b.delay);
    ASSERT_EQ(a.items, b.items);
    ASSERT_EQ(a.children.size(), b.children.size());
    for (std::size_t i = 0; i < a.children.size(); ++i)
        expectSameList(a.children[i], b.children[i], where + "/" + std::to_string(i));
}

void expectSameStoredPart(const KeyboardProfile& a, const KeyboardProfile& b) {
    expectSameList(a.predefinedCombo, b.predefinedCombo, "combo");
    expectSameList(a.predefinedMacro, b.predefinedMacro, "macro");
    expectSameList(a.predefinedEmu, b.predefinedEmu, "emu");
    EXPECT_EQ(a.lightAreas, b.lightAreas);
    EXPECT_EQ(a.modes, b.modes);
    EXPECT_EQ(a.hwCodes, b.hwCodes);
    for (int s = 0; s < KeyboardProfile::kSlotCount; ++s)
        expectSameList(a.sequences[static_cast<std::size_t>(s)], b.sequences[static_cast<std::size_t>(s)],
                       "slot " + std::to_string(s));
}

class ProfileFileTest : public ::testing::Test {
protected:
    ProfileFileTest() : profile(std::make_unique<KeyboardProfile>()), reference(std::make_unique<KeyboardProfile>()) {}

    // Loads `body` wrapped in the declaration into `profile`.
    bool loadText(const std::string& body) {
        const auto file = dir / "in.pro";
        ScratchDir::write(file, kDeclaration + body);
        return profile->loadProfile(file);
    }

    ScratchDir dir;
    std::unique_ptr<KeyboardProfile> profile;
    std::unique_ptr<KeyboardProfile> reference;
};

}  // namespace

TEST_F(ProfileFileTest, FreshSaveIsExactlyTheDocumentedText) {
    profile->resetToDefaults();
    const auto file = dir / "fresh.pro";
    ASSERT_TRUE(profile->saveProfile(file));

    std::vector<std::string> expected = {
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>",
        "<VelkorOndrix_108>",
        "<PredefinedCombo>", listLine(6), "</PredefinedCombo>",
        "<PredefinedMacro>", listLine(9), "</PredefinedMacro>",
        "<PredefinedEmu>", listLine(9), "</PredefinedEmu>",
        "<BackgroundLightSettings>",
    };
    for (int id = 1; id <= 108; ++id)
        expected.push_back("<AREA ID=\"" + std::to_string(id) + "\" Red=\"0\" Green=\"0\" Blue=\"0\"/>");
    expected.push_back("</BackgroundLightSettings>");
    expected.push_back("<CurrentSettings>");
    for (int id = 1; id <= 108; ++id) {
        for (int level = 0; level < 2; ++level) {
            expected.push_back("<KEY ID=\"" + std::to_string(id) + "\" Level=\"" + std::to_string(level) +
                               "\" Mode=\"0\" HWCode=\"" + std::to_string(id) + "\">");
            expected.push_back("<ComboKey>");
            expected.push_back(listLine(0));
            expected.push_back("</ComboKey>");
            expected.push_back("</KEY>");
        }
    }
    expected.push_back("</CurrentSettings>");
    expected.push_back("</VelkorOndrix_108>");

    const std::string bytes = ScratchDir::read(file);
    const std::vector<std::string> lines = splitLines(bytes);
    ASSERT_EQ(lines.size(), expected.size());
    for (std::size_t i = 0; i < lines.size(); ++i)
        ASSERT_EQ(lines[i], expected[i]) << "line " << i + 1;
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    EXPECT_EQ(bytes.find("\n\n"), std::string::npos);
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), std::count(bytes.begin(), bytes.end(), '\r'));
    EXPECT_FALSE(std::filesystem::exists(dir / "fresh.pro.tmp"));
}

TEST_F(ProfileFileTest, EveryFieldRoundTrips) {
    fill(*reference);
    const auto file = dir / "full.pro";
    ASSERT_TRUE(reference->saveProfile(file));
    profile->resetToDefaults();
    ASSERT_TRUE(profile->loadProfile(file));
    expectSameStoredPart(*profile, *reference);

    // Saving what was loaded gives the same bytes again.
    const auto again = dir / "again.pro";
    ASSERT_TRUE(profile->saveProfile(again));
    EXPECT_EQ(ScratchDir::read(again), ScratchDir::read(file));
}

TEST_F(ProfileFileTest, SpecialCharactersAreEscapedInTheFile) {
    fill(*reference);
    const auto file = dir / "esc.pro";
    ASSERT_TRUE(reference->saveProfile(file));
    const std::string bytes = ScratchDir::read(file);
    EXPECT_NE(bytes.find("<x ID=\"0\" t1=\"&apos;\">"), std::string::npos);
    EXPECT_NE(bytes.find("<x ID=\"1\" t1=\"&lt;30 ms&gt;\">"), std::string::npos);
    EXPECT_NE(bytes.find("t1=\"a&quot;b&amp;c&apos;d&lt;e&gt;f\""), std::string::npos);
    EXPECT_NE(bytes.find("t1=\"\xE5\xAE\x8F\xE4\xB8\x80\""), std::string::npos);  // UTF-8 on disk
    ASSERT_TRUE(profile->loadProfile(file));
    EXPECT_EQ(profile->sequences[11].items[0], L"'");
    EXPECT_EQ(profile->sequences[12].items[1], L"<30 ms>");
    EXPECT_EQ(profile->predefinedCombo.items[2], L"a\"b&c'd<e>f");
}

TEST_F(ProfileFileTest, Utf16AndBomFilesLoadLikeOurOwnOutput) {
    fill(*reference);
    const auto file = dir / "own.pro";
    ASSERT_TRUE(reference->saveProfile(file));
    const std::string utf8 = ScratchDir::read(file);
    const std::wstring wide = TextCodec::decodeUtf8(utf8);
    const std::pair<const char*, std::string> variants[] = {
        {"utf-16le", "\xFF\xFE" + TextCodec::encodeUtf16(wide, false)},
        {"utf-16be", "\xFE\xFF" + TextCodec::encodeUtf16(wide, true)},
        {"utf-8 bom", "\xEF\xBB\xBF" + utf8},
        {"utf-16le without bom", TextCodec::encodeUtf16(wide, false)},
        {"utf-16be without bom", TextCodec::encodeUtf16(wide, true)},
    };
    for (const auto& [label, bytes] : variants) {
        SCOPED_TRACE(label);
        const auto path = dir / (std::string(label) + ".pro");
        ScratchDir::write(path, bytes);
        profile->resetToDefaults();
        ASSERT_TRUE(profile->loadProfile(path));
        expectSameStoredPart(*profile, *reference);
    }
}

TEST_F(ProfileFileTest, ItemIdsWithGapsGrowTheList) {
    ASSERT_TRUE(loadText("<VelkorOndrix_108><PredefinedCombo><List SizeOfView=\"6\">"
                         "<x ID=\"0\" t1=\"a\"><List SizeOfView=\"2\"/></x>"
                         "<x ID=\"3\" t1=\"d\"><List Cycles=\"5\"/></x>"
                         "</List></PredefinedCombo></VelkorOndrix_108>"));
    const ActionList& combo = profile->predefinedCombo;
    ASSERT_EQ(combo.items, (std::vector<std::wstring>{L"a", L"", L"", L"d"}));
    ASSERT_EQ(combo.children.size(), 4u);
    EXPECT_EQ(combo.children[0].sizeOfView, 2);
    EXPECT_EQ(combo.children[3].cycles, 5);
    EXPECT_TRUE(combo.children[1].items.empty());
}

TEST_F(ProfileFileTest, SectionsAreFoundOnlyInWrittenOrder) {
    fill(*profile);
    ASSERT_TRUE(loadText("<VelkorOndrix_108>"
                         "<PredefinedMacro><List><x ID=\"0\" t1=\"M\"/></List></PredefinedMacro>"
                         "<PredefinedCombo><List SizeOfView=\"4\"><x ID=\"0\" t1=\"C\"/></List></PredefinedCombo>"
                         "<PredefinedEmu><List><x ID=\"0\" t1=\"E\"/></List></PredefinedEmu>"
                         "</VelkorOndrix_108>"));
    EXPECT_EQ(profile->predefinedCombo.items, std::vector<std::wstring>{L"C"});
    EXPECT_EQ(profile->predefinedCombo.sizeOfView, 4);
    EXPECT_TRUE(profile->predefinedMacro.items.empty());  // passed over, so reset
    EXPECT_EQ(profile->predefinedMacro.sizeOfView, 9);
    EXPECT_EQ(profile->predefinedEmu.items, std::vector<std::wstring>{L"E"});

    // Areas are found wherever they are; the search for the keys then starts
    // after them and misses the keys written before.
    ASSERT_TRUE(loadText("<VelkorOndrix_108>"
                         "<CurrentSettings><KEY ID=\"1\" Level=\"0\" Mode=\"1\" HWCode=\"9\"/></CurrentSettings>"
                         "<BackgroundLightSettings><AREA ID=\"1\" Red=\"7\"/></BackgroundLightSettings>"
                         "</VelkorOndrix_108>"));
    EXPECT_EQ(profile->lightAreas[1].red, 7);
    EXPECT_EQ(profile->modes[2], 0);
}

TEST_F(ProfileFileTest, UnusableFilesLeaveTheProfileUntouched) {
    fill(*profile);
    fill(*reference);
    const std::pair<const char*, std::string> files[] = {
        {"empty", ""},
        {"not xml", "hello, world"},
        {"other root", "<?xml version=\"1.0\"?><Other><CurrentSettings/></Other>"},
        {"root only in a comment", "<!-- <VelkorOndrix_108> --><x/>"},
        {"binary", std::string("\x00\x01\xFF\xFE\x80<", 6)},
        {"unfinished tag", "<VelkorOndrix_108"},
    };
    for (const auto& [label, bytes] : files) {
        SCOPED_TRACE(label);
        const auto path = dir / "bad.pro";
        ScratchDir::write(path, bytes);
        EXPECT_FALSE(profile->loadProfile(path));
    }
    EXPECT_FALSE(profile->loadProfile(dir / "absent.pro"));
    EXPECT_FALSE(profile->loadProfile(dir.path()));
    expectSameStoredPart(*profile, *reference);
}

TEST_F(ProfileFileTest, WhatTheFileLeavesOutGetsResetValues) {
    fill(*profile);
    profile->sequences[KeyboardProfile::slot(7, 0)].sizeOfView = 5;
    ASSERT_TRUE(loadText("<VelkorOndrix_108><PredefinedCombo><List/></PredefinedCombo>"
                         "<CurrentSettings><KEY ID=\"5\" Level=\"1\" Mode=\"3\"/>"
                         "<KEY ID=\"6\" Level=\"0\"><ComboKey><List Delay=\"\"/></ComboKey></KEY>"
                         "</CurrentSettings></VelkorOndrix_108>"));
    fill(*reference);
    reference->sequences[KeyboardProfile::slot(7, 0)].sizeOfView = 5;
    reference->resetToDefaults();  // keeps the view size of key sequences
    reference->modes[KeyboardProfile::slot(5, 1)] = 3;        // HWCode absent: key ID
    reference->sequences[KeyboardProfile::slot(6, 0)].delay = 0;  // present but empty reads as 0
    expectSameStoredPart(*profile, *reference);
    EXPECT_EQ(profile->sequences[KeyboardProfile::slot(7, 0)].sizeOfView, 5);
    EXPECT_EQ(profile->predefinedCombo.sizeOfView, 6);
    EXPECT_EQ(profile->predefinedCombo.cycles, 1);
    EXPECT_EQ(profile->hwCodes[KeyboardProfile::slot(5, 1)], 5);
}

TEST_F(ProfileFileTest, MalformedFilesAreRefusedSayingWhereAndWhy) {
    fill(*reference);
    const auto file = dir / "bad.pro";
    ASSERT_TRUE(reference->saveProfile(file));
    const std::string whole = ScratchDir::read(file);
    const std::size_t cut = whole.find("<KEY ID=\"54\" Level=\"1\"");
    const int cutLine = static_cast<int>(std::count(whole.begin(), whole.begin() + static_cast<long>(cut), '\n')) + 1;
    const std::string root = kDeclaration + std::string("<VelkorOndrix_108>");
    const struct {
        std::string bytes;
        int line;
        int column;
    } cases[] = {
        {whole.substr(0, cut + 10), cutLine, 1},  // inside a tag
        {whole.substr(0, cut), cutLine, 1},       // between tags
        {root + "<CurrentSettings></VelkorOndrix_108>", 2, 36},
        {root + "</VelkorOndrix_108>\r\n<VelkorOndrix_108/>", 3, 1},
        {root + "</VelkorOndrix_108> x", 2, 39},
        {root + "\n<CurrentSettings a=\"1\"b/>", 3, 1},
    };
    fill(*profile);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes.substr(c.bytes.size() - 20));
        ScratchDir::write(file, c.bytes);
        const ProfileLoadResult result = profile->loadProfileFile(file);
        EXPECT_EQ(result.status, ProfileLoadResult::Status::NotWellFormed);
        EXPECT_EQ(result.line, c.line);
        EXPECT_EQ(result.column, c.column);
        EXPECT_NE(result.description().find("line " + std::to_string(c.line)), std::string::npos);
        EXPECT_EQ(ScratchDir::read(file), c.bytes);
    }
    EXPECT_NE(profile->loadProfileFile(dir / "absent.pro").reason.find("No such file"), std::string::npos);
    std::filesystem::resize_file(file, KeyboardProfile::kMaxProfileFileBytes + 1);
    EXPECT_EQ(profile->loadProfileFile(file).status, ProfileLoadResult::Status::FileTooLarge);
    ScratchDir::write(file, kDeclaration + std::string("<Other/>"));
    EXPECT_EQ(profile->loadProfileFile(file).status, ProfileLoadResult::Status::NotAProfile);
    expectSameStoredPart(*profile, *reference);
}

TEST_F(ProfileFileTest, OutOfRangeValuesAreNeverUsedAsIndexes) {
    ASSERT_TRUE(loadText(
        "<VelkorOndrix_108><PredefinedCombo><List>"
        "<x ID=\"-1\" t1=\"neg\"/><x ID=\"100001\" t1=\"huge\"/><x ID=\"99999999999\" t1=\"wrap\"/>"
        "<x ID=\" +1junk\" t1=\"one\"/></List></PredefinedCombo>"
        "<BackgroundLightSettings><AREA ID=\"0\" Red=\"9\"/><AREA ID=\"109\" Red=\"9\"/>"
        "<AREA Red=\"9\"/><AREA ID=\"108\" Red=\"300\" Green=\"-4\" Blue=\"17\"/></BackgroundLightSettings>"
        "<CurrentSettings><KEY ID=\"0\" Level=\"0\" Mode=\"3\"/><KEY ID=\"109\" Level=\"1\" Mode=\"3\"/>"
        "<KEY ID=\"-1\" Level=\"1\" Mode=\"3\"/><KEY ID=\"4\" Level=\"2\" Mode=\"3\"/>"
        "<KEY ID=\"4\" Level=\"-1\" Mode=\"3\"/><KEY ID=\"4\" Level=\"1\" Mode=\"99\" HWCode=\"5000\"/>"
        "<KEY ID=\"3\" Level=\"1\" Mode=\"-2\" HWCode=\"-1\"/><KEY ID=\"2\" Level=\"0\" Mode=\"8\" HWCode=\"1023\"/>"
        "</CurrentSettings></VelkorOndrix_108>"));
    EXPECT_EQ(profile->predefinedCombo.items, (std::vector<std::wstring>{L"", L"one"}));
    EXPECT_EQ(profile->lightAreas[0], LightArea{});
    EXPECT_EQ(profile->lightAreas[108], (LightArea{255, 0, 17}));
    for (int s = 0; s < KeyboardProfile::kSlotCount; ++s) {
        if (s == KeyboardProfile::slot(2, 0))
            continue;
        ASSERT_EQ(profile->modes[static_cast<std::size_t>(s)], 0) << "slot " << s;
        ASSERT_EQ(profile->hwCodes[static_cast<std::size_t>(s)], s / 2) << "slot " << s;
    }
    EXPECT_EQ(profile->modes[KeyboardProfile::slot(2, 0)], 8);
    EXPECT_EQ(profile->hwCodes[KeyboardProfile::slot(2, 0)], 1023);

}

TEST_F(ProfileFileTest, KeyWithoutComboKeyDoesNotDerailTheRest) {
    ASSERT_TRUE(loadText("<VelkorOndrix_108><CurrentSettings>"
                         "<KEY ID=\"1\" Level=\"0\" Mode=\"2\"><Other/></KEY>"
                         "<KEY ID=\"1\" Level=\"1\" Mode=\"2\"/>"
                         "<KEY ID=\"2\" Level=\"0\" Mode=\"2\"><ComboKey><List><x ID=\"0\" t1=\"A\"/></List>"
                         "</ComboKey></KEY></CurrentSettings></VelkorOndrix_108>"));
    EXPECT_EQ(profile->modes[KeyboardProfile::slot(1, 0)], 2);
    EXPECT_EQ(profile->modes[KeyboardProfile::slot(1, 1)], 2);
    EXPECT_EQ(profile->modes[KeyboardProfile::slot(2, 0)], 2);
    EXPECT_EQ(profile->sequences[KeyboardProfile::slot(2, 0)].items, std::vector<std::wstring>{L"A"});
}

TEST_F(ProfileFileTest, HostileNestingAndGapsAreBounded) {
    // Lists nested thousands deep: read to a fixed depth, no deeper.
    std::string deep = "<VelkorOndrix_108><PredefinedMacro>";
    const int levels = 5000;
    for (int i = 0; i < levels; ++i)
        deep += "<List><x ID=\"0\" t1=\"d\">";
    for (int i = 0; i < levels; ++i)
        deep += "</x></List>";
    deep += "</PredefinedMacro></VelkorOndrix_108>";
    ASSERT_TRUE(loadText(deep));
    int depth = 0;
    for (const ActionList* list = &profile->predefinedMacro; !list->children.empty(); list = &list->children[0])
        ++depth;
    EXPECT_GE(depth, 3);  // what a profile needs
    EXPECT_LE(depth, 64);

    // Every key asks for a hundred thousand empty items: the gaps are rationed.
    std::string gaps = "<VelkorOndrix_108><CurrentSettings>";
    for (int id = 1; id <= 108; ++id) {
        for (int level = 0; level < 2; ++level) {
            gaps += "<KEY ID=\"" + std::to_string(id) + "\" Level=\"" + std::to_string(level) +
                    "\"><ComboKey><List><x ID=\"99999\" t1=\"z\"/></List></ComboKey></KEY>";
        }
    }
    gaps += "</CurrentSettings></VelkorOndrix_108>";
    ASSERT_TRUE(loadText(gaps));
    std::size_t total = 0;
    for (const ActionList& list : profile->sequences)
        total += list.items.size();
    EXPECT_GE(total, 100000u);  // the first request is honoured
    EXPECT_LE(total, 200000u);  // but not 216 of them
}

TEST_F(ProfileFileTest, SavingReplacesOnlyTheFileItNames) {
    namespace fs = std::filesystem;
    fill(*profile);
    EXPECT_FALSE(profile->saveProfile(dir / "missing" / "a.pro"));
    const auto folder = dir / "folder.pro";  // cannot be replaced by a file
    fs::create_directory(folder);
    EXPECT_FALSE(profile->saveProfile(folder));
    EXPECT_TRUE(fs::is_directory(folder));

    // The user's own "<name>.tmp" is neither used nor removed; the
    // permissions stay, and so does a link, with the file it names updated.
    const auto target = dir / "keep.pro";
    ScratchDir::write(target, "previous");
    ScratchDir::write(dir / "keep.pro.tmp", "mine");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
    const auto link = dir / "link.pro";
    std::error_code noLinks;  // Windows may not let a user make them
    fs::create_symlink("keep.pro", link, noLinks);
    ASSERT_TRUE(profile->saveProfile(noLinks ? target : link));
    EXPECT_TRUE(noLinks || fs::is_symlink(link));
    EXPECT_EQ(ScratchDir::read(target).substr(0, sizeof kDeclaration - 1), kDeclaration);
#ifndef _WIN32  // no owner and group bits there
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
#endif
    EXPECT_EQ(ScratchDir::read(dir / "keep.pro.tmp"), "mine");

    // A read-only file is refused and stays as it was, even for root.
    ScratchDir::write(target, "previous");
    fs::permissions(target, fs::perms::owner_read);
    EXPECT_FALSE(profile->saveProfile(target));
    EXPECT_TRUE(noLinks || !profile->saveProfile(link));
    EXPECT_EQ(ScratchDir::read(target), "previous");

    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    std::vector<std::string> expected{"folder.pro", "keep.pro", "keep.pro.tmp", "link.pro"};
    if (noLinks)
        expected.pop_back();
    EXPECT_EQ(names, expected);
}
