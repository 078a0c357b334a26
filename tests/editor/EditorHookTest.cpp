// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The editor's single-key capture through the real keyboard hook: Xvfb as the
// desktop, a key typed through XTest, the editor offscreen.
// GoogleTest and Qt first: Xlib's macros clash with them.
#include "KeyMapEditorFixture.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include "XvfbServer.h"

namespace {

class EditorHookTest : public KeyMapEditorFixture {
protected:
    void SetUp() override {
        KeyMapEditorFixture::SetUp();
        std::string why;
        server = XvfbServer::start(&why);
        if (!server)
            GTEST_SKIP() << "hook capture test SKIPPED: " << why;
        qputenv("DISPLAY", QByteArray::fromStdString(server->displayName()));
        typist = XOpenDisplay(server->displayName().c_str());
        ASSERT_NE(typist, nullptr);
    }
    void TearDown() override {
        UninstallHook();
        if (typist)
            XCloseDisplay(typist);
        server.reset();
        qunsetenv("DISPLAY");
    }

    void type(KeySym symbol) {
        const KeyCode code = XKeysymToKeycode(typist, symbol);
        XTestFakeKeyEvent(typist, code, 1, 0);
        XTestFakeKeyEvent(typist, code, 0, 0);
        XFlush(typist);
    }

    std::unique_ptr<XvfbServer> server;
    Display* typist = nullptr;
};

TEST_F(EditorHookTest, AKeyTypedOnTheDesktopIsCapturedAndStored) {
    auto editor = openEditor(43, 1);
    click(*editor, CTarnDialogKeyMapSettings::kCapture);
    ASSERT_TRUE(editor->recorder().isRecording());
    // The grab is taken on the hook's own thread: type until it is seen.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            type(XK_b);
            return editor->capturedCode() == 'B';
        },
        5000));
    click(*editor, CTarnDialogKeyMapSettings::kOk);
    EXPECT_EQ(mode(43, 1), ModeSingle);
    EXPECT_EQ(hwCode(43, 1), 60);  // the keyboard's position of B
    // The hook is gone with the capture: typing reaches nobody.
    editor = openEditor(43, 1);
    type(XK_c);
    QTest::qWait(200);
    EXPECT_EQ(editor->capturedCode(), 'B');
}

}  // namespace
