// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The editor's recordings through the real keyboard hook: Xvfb as the
// desktop, keys typed through XTest, the editor offscreen.
// GoogleTest and Qt first: Xlib's macros clash with them.
#include "KeyMapEditorFixture.h"
#include "jobs/RecordingPath.h"

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
        qputenv(RecordingSession::kForceVariable, "grab");  // whatever session runs the tests
        typist = XOpenDisplay(server->displayName().c_str());
        ASSERT_NE(typist, nullptr);
    }
    void TearDown() override {
        UninstallHook();
        if (typist)
            XCloseDisplay(typist);
        server.reset();
        qunsetenv("DISPLAY");
        qunsetenv(RecordingSession::kForceVariable);
    }

    void type(KeySym symbol) {
        const KeyCode code = XKeysymToKeycode(typist, symbol);
        XTestFakeKeyEvent(typist, code, 1, 0);
        XTestFakeKeyEvent(typist, code, 0, 0);
        XFlush(typist);
    }
    // Whether a client (the hook) holds the keyboard: then nobody else can grab it.
    bool keyboardGrabbed() {
        const int status = XGrabKeyboard(typist, DefaultRootWindow(typist), False, GrabModeAsync, GrabModeAsync,
                                         CurrentTime);
        XUngrabKeyboard(typist, CurrentTime);
        XSync(typist, False);
        return status == AlreadyGrabbed;
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
    // A key that reaches the window anyway belongs to the recording too.
    QTest::keyClick(editor.get(), Qt::Key_Escape);
    EXPECT_TRUE(editor->isVisible());
    click(*editor, CTarnDialogKeyMapSettings::kOk);
    EXPECT_EQ(mode(43, 1), ModeSingle);
    EXPECT_EQ(hwCode(43, 1), 60);  // the keyboard's position of B
    // The hook is gone with the capture: typing reaches nobody.
    editor = openEditor(43, 1);
    type(XK_c);
    QTest::qWait(200);
    EXPECT_EQ(editor->capturedCode(), 'B');
}

TEST_F(EditorHookTest, TheGrabEndsWhenTheMainWindowClosesARecordingEditor) {
    auto editor = openEditor();
    click(*editor, CTarnDialogKeyMapSettings::kCapture);
    EXPECT_TRUE(keyboardGrabbed());
    // What the main window does to its open windows when the cable is pulled,
    // before it asks for Enter on "Keyboard is not connected".
    editor->QDialog::done(QDialog::Rejected);
    EXPECT_FALSE(keyboardGrabbed());
    EXPECT_FALSE(editor->recorder().isRecording());
}

}  // namespace
