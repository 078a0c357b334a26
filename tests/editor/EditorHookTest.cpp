// The editor's recordings through the real keyboard hook: Xvfb as the
// desktop, keys typed through XTest, the windows offscreen.
// GoogleTest and Qt first: Xlib's macros clash with them.
#include "KeyMapEditorFixture.h"
#include "MainWindowFixture.h"

#include <functional>

#include "jobs/RecordingPath.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include "XvfbServer.h"

namespace {

// A private X desktop as the program's DISPLAY, recorded through the grab
// whatever session the tests run in, and a second client that types.
class XvfbDesktop {
public:
    bool start(std::string* why) {
        server = XvfbServer::start(why);
        if (!server)
            return false;
        qputenv("DISPLAY", QByteArray::fromStdString(server->displayName()));
        qputenv(RecordingSession::kForceVariable, "grab");
        typist = XOpenDisplay(server->displayName().c_str());
        return typist != nullptr;
    }
    ~XvfbDesktop() {
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
    // Whether some client (the hook) holds the keyboard: then nobody else
    // can grab it.
    bool keyboardGrabbed() {
        const int status = XGrabKeyboard(typist, DefaultRootWindow(typist), False, GrabModeAsync, GrabModeAsync,
                                         CurrentTime);
        if (status == GrabSuccess)
            XUngrabKeyboard(typist, CurrentTime);
        XSync(typist, False);
        return status == AlreadyGrabbed;
    }

private:
    std::unique_ptr<XvfbServer> server;
    Display* typist = nullptr;
};

class EditorHookTest : public KeyMapEditorFixture {
protected:
    void SetUp() override {
        KeyMapEditorFixture::SetUp();
        std::string why;
        if (!desktop.start(&why))
            GTEST_SKIP() << "hook capture test SKIPPED: " << why;
    }

    XvfbDesktop desktop;
};

TEST_F(EditorHookTest, AKeyTypedOnTheDesktopIsCapturedAndStored) {
    auto editor = openEditor(43, 1);
    click(*editor, CTarnDialogKeyMapSettings::kCapture);
    ASSERT_TRUE(editor->recorder().isRecording());
    EXPECT_EQ(editor->recordingPath(), RecordingPath::Hook);
    // The grab is taken on the hook's own thread: type until it is seen.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            desktop.type(XK_b);
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
    desktop.type(XK_c);
    QTest::qWait(200);
    EXPECT_EQ(editor->capturedCode(), 'B');
}

// Message boxes that look at the desktop when they are asked.
class ProbingDialogs : public FakeSystemDialogs {
public:
    Answer messageBox(QWidget* parent, const std::wstring& text, Buttons buttons, Icon icon,
                      const std::wstring& caption) override {
        if (probe)
            probe();
        return FakeSystemDialogs::messageBox(parent, text, buttons, icon, caption);
    }
    std::function<void()> probe;
};

class UnplugDuringRecordingTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        std::string why;
        if (!desktop.start(&why))
            GTEST_SKIP() << "unplug-during-recording test SKIPPED: " << why;
    }

    XvfbDesktop desktop;
};

TEST_F(UnplugDuringRecordingTest, TheGrabEndsWithTheEditorBeforeTheKeyboardIsSaidToBeGone) {
    ProbingDialogs probing;
    bool grabbedWhileRecording = false;
    bool grabbedAtTheMessage = true;
    probing.probe = [&] { grabbedAtTheMessage = desktop.keyboardGrabbed(); };
    CTarnDlg window(*profile, probing);
    window.deviceWatcher().watchStateFile(QString::fromStdString(simulator.keyboard->stateFile().string()));
    ASSERT_TRUE(window.isConnected());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    runWindow(window, {{50, [&] { click(window, keyCentre(window, 30)); }},  // the editor's loop runs in here
                       {300, [&] {
                            for (QWidget* widget : QApplication::topLevelWidgets())
                                if (auto* editor = qobject_cast<CTarnDialogKeyMapSettings*>(widget);
                                    editor && editor->isVisible())
                                    KeyMapEditorFixture::click(*editor, CTarnDialogKeyMapSettings::kCapture);
                            grabbedWhileRecording = desktop.keyboardGrabbed();
                            simulator.keyboard->unplug();
                        }}});
    EXPECT_TRUE(grabbedWhileRecording);
    EXPECT_EQ(probing.messages(), std::vector<std::wstring>{L"Keyboard is not connected"});
    EXPECT_FALSE(grabbedAtTheMessage);
}

}  // namespace
