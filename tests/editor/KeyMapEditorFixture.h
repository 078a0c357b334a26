// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The key assignment editor, offscreen, on a profile of its own with the
// scripted desktop dialogs; key events arrive as the hook posts them.
#pragma once

#include <memory>

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>

#include "SimulatedKeyboardSetup.h"
#include "editor/CTarnDialogKeyMapSettings.h"
#include "support/FakeSystemDialogs.h"

// A list of these items (each with its empty child), as the editor makes them.
inline ActionList listOf(std::initializer_list<const wchar_t*> items, int rows = 0) {
    ActionList list;
    list.sizeOfView = rows;
    for (const wchar_t* item : items)
        list.setOrAppendItem(static_cast<int>(list.items.size()), item);
    list.viewStartAt = 0;
    list.cursorPos = 0;
    return list;
}

class KeyMapEditorFixture : public ::testing::Test {
public:
    static constexpr std::uintptr_t kRelease = 0x80000000u;
    static constexpr std::intptr_t kExtended = 0x01000000;
    // The fill of an active control in the plain look (no artwork loaded).
    static inline const QColor kPlainActive{150, 64, 0};

protected:
    void SetUp() override {
        // The hook must not grab a real desktop's keyboard while tests run.
        qunsetenv("DISPLAY");
        profile = emptyProfile();
    }

public:
    std::unique_ptr<CTarnDialogKeyMapSettings> openEditor(int keyId = 43, int level = 0) {
        profile->currentKey = keyId;
        profile->currentLevel = level;
        auto editor = std::make_unique<CTarnDialogKeyMapSettings>(*profile, dialogs);
        editor->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(editor.get()));
        return editor;
    }

    static QPoint centreOf(CSkinDialog& window, int id) {
        const layout::Rect& r = window.controlById(id)->rect;
        return QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    static void click(CSkinDialog& window, int id) {
        QTest::mouseClick(&window, Qt::LeftButton, {}, centreOf(window, id));
    }
    static bool drawnActive(CSkinDialog& window, int id) {
        return window.grab().toImage().pixelColor(centreOf(window, id)) == kPlainActive;
    }
    // One hook event, handled at once.
    static void key(CSkinDialog& window, int virtualKey, bool release, bool extended = false) {
        window.postMessage(hwi_msg::kKeyEvent, static_cast<std::uintptr_t>(virtualKey) | (release ? kRelease : 0),
                           extended ? kExtended : 0);
        QCoreApplication::sendPostedEvents(&window);
    }
    static void tap(CSkinDialog& window, int virtualKey) {
        key(window, virtualKey, false);
        key(window, virtualKey, true);
    }

    int& mode(int keyId, int level = 0) { return profile->modes[KeyboardProfile::slot(keyId, level)]; }
    int& hwCode(int keyId, int level = 0) { return profile->hwCodes[KeyboardProfile::slot(keyId, level)]; }

    FakeSystemDialogs dialogs;
    std::unique_ptr<KeyboardProfile> profile;
};
