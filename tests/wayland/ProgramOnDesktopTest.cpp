// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT

// The real program on a headless Wayland desktop, natively and on XWayland,
// used only through the desktop's keyboard and pointer, as a user would: the
// keyboard it configures is the simulated one, read back with the
// command-line tool.
#include <sys/stat.h>

#include <span>

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>

#include "SwayDesktop.h"
#include "editor/CTarnDialogKeyMapSettings.h"
#include "editor/KeyMapWindowLayout.h"
#include "shell/CTarnDlg.h"
#include "shell/MainWindowLayout.h"

namespace {

using Editor = CTarnDialogKeyMapSettings;
constexpr int kKeyA = 43;
constexpr int kKeyS = 44;

QPoint centreOf(const layout::Rect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

layout::Rect controlRect(std::span<const layout::Row> rows, int id) {
    for (const layout::Row& row : rows)
        if (row.id == id)
            return row.rect;
    ADD_FAILURE() << "no control " << id;
    return {};
}

QPoint keyCentre(int keyId) {
    for (const layout::Row& row : layout::mainWindowRows)
        if (row.kind == layout::Kind::Key && row.keyId == keyId)
            return centreOf(row.rect);
    ADD_FAILURE() << "no key " << keyId;
    return {};
}

ino_t fileIdentity(const QString& path) {
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_ino : 0;
}

class ProgramOnDesktop : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        ASSERT_EQ(desktop.error().toStdString(), "");
        simulator = desktop.emptyFile("keyboard.sim");
        program.setStandardOutputFile(QDir(desktop.folder()).filePath("program.log"));
        program.setStandardErrorFile(QDir(desktop.folder()).filePath("program.log"), QIODevice::Append);
        desktop.startClient(program, VELKORONDRIX_PROGRAM, {}, GetParam(), {"VELKORONDRIX_SIMULATOR=" + simulator});
        ASSERT_TRUE(program.waitForStarted()) << program.errorString().toStdString();
        ASSERT_TRUE(desktop.waitForWindows(program.processId(), 1)) << "the main window never appeared" << log();
    }
    void TearDown() override {
        program.kill();
        program.waitForFinished();
    }

    std::string log() const {
        QFile file(QDir(desktop.folder()).filePath("program.log"));
        file.open(QIODevice::ReadOnly);
        return "\nprogram output:\n" + file.readAll().right(3000).toStdString();
    }
    QRect window(qsizetype index) const { return desktop.windowsOf(program.processId()).value(index); }
    bool windowsAre(qsizetype count) const { return desktop.waitForWindows(program.processId(), count); }
    // Window 0 is the main window, window 1 the editor above it.
    bool clickIn(qsizetype index, QPoint point) { return desktop.click(window(index).topLeft() + point); }
    QRect onEditor(const layout::Rect& r) const {
        return QRect(r.left, r.top, r.width(), r.height()).translated(window(1).topLeft());
    }
    QRect editorControl(int id) const { return onEditor(controlRect(layout::keyMapWindowRows, id)); }
    bool clickEditor(int id) { return desktop.click(editorControl(id).center()); }
    bool openEditor(int keyId) { return clickIn(0, keyCentre(keyId)) && windowsAre(2); }

    // Clicks a record button of the editor and waits, as a user would, until
    // the button shows its green "Stop Rec": the keys typed from then on count.
    bool startRecording(int id) {
        const QRect button = editorControl(id);
        auto recording = [&](const QImage& image) {
            for (int y = button.top(); y <= button.bottom(); ++y)
                for (int x = button.left(); x <= button.right(); ++x)
                    if (image.pixel(x, y) == 0xff00ff00)
                        return true;
            return false;
        };
        return clickEditor(id) && recording(desktop.screenshotWhen(recording));
    }
    // Waits until an area of the screen no longer looks as it did.
    bool changes(const QRect& area, const QImage& before) {
        auto changed = [&](const QImage& image) { return image.copy(area) != before.copy(area); };
        return changed(desktop.screenshotWhen(changed));
    }

    // Writes the keys to the keyboard from the main window; then the
    // keyboard's line for the key, "43 A L1 Single X", or why there is none.
    std::string writtenAssignment(int keyId) {
        const ino_t before = fileIdentity(simulator);
        if (!clickIn(0, centreOf(controlRect(layout::mainWindowRows, CTarnDlg::kWriteKeys))))
            return "(cannot click WriteKeys)";
        // The simulated keyboard replaces its file when a write ends.
        const QDeadlineTimer deadline(10000);
        while (fileIdentity(simulator) == before)
            if (deadline.hasExpired())
                return "(no write reached the keyboard)";
            else
                QThread::msleep(50);
        const QString profile = QDir(desktop.folder()).filePath("read.pro");
        QProcess ctl;
        ctl.start(VELKORONDRIX_CTL, {"--simulator", simulator, "read", profile});
        ctl.waitForFinished();
        ctl.start(VELKORONDRIX_CTL, {"show", profile});
        ctl.waitForFinished();
        const QString shown = QString::fromUtf8(ctl.readAllStandardOutput());
        for (const QString& line : shown.split('\n'))
            if (line.simplified().startsWith(QString::number(keyId) + ' '))
                return line.simplified().toStdString();
        return "(key not assigned) " + shown.toStdString();
    }

    SwayDesktop desktop;
    QProcess program;
    QString simulator;
};

TEST_P(ProgramOnDesktop, CapturesASingleKeyTypedOnTheDesktop) {
    ASSERT_TRUE(openEditor(kKeyA)) << log();
    const QImage idle = desktop.screenshot();
    ASSERT_TRUE(startRecording(Editor::kCapture)) << "no capture started" << log();
    // The desktop's keys reach only the editor's own window, and a tip says so.
    EXPECT_TRUE(changes(onEditor(layout::keyMapRecordingTip), idle)) << "no tip says where to type";
    const QImage before = desktop.screenshot();
    ASSERT_TRUE(desktop.type("45"));  // X
    // A user reads the key's name before taking it with OK.
    EXPECT_TRUE(changes(editorControl(Editor::kCapturedKeyName), before)) << "the captured key is not shown";
    ASSERT_TRUE(clickEditor(Editor::kOk));  // ends the capture and keeps it
    ASSERT_TRUE(windowsAre(1)) << "OK left the editor open" << log();
    EXPECT_EQ(writtenAssignment(kKeyA), "43 A L1 Single X");
}

// While a macro records, Enter and Escape are keys like any other: neither
// ends the editor nor the program. Each delay is the time between the events
// as the window system stamped them: the desktop's keyboard stamps its events
// 400 ms apart but sends them 100 ms apart. XWayland stamps the events it
// passes on with its own clock, so there the delays are the 100 ms.
TEST_P(ProgramOnDesktop, RecordsAMacroWithEnterAndEscapeAtTheEventsOwnTimes) {
    ASSERT_TRUE(openEditor(kKeyS)) << log();
    ASSERT_TRUE(clickEditor(Editor::kFirstTab + 1));
    ASSERT_TRUE(clickEditor(Editor::kNewMacro));
    ASSERT_TRUE(clickEditor(Editor::kRecordMacro));  // names the new macro
    ASSERT_TRUE(startRecording(Editor::kRecordMacro)) << "no recording started" << log();
    ASSERT_TRUE(desktop.type("--pace 100 --step 400 30 +42 48 -42 28 1"));  // A, Shift+B, Enter, Escape
    // Enter acted on would close the editor, Escape then the main window, at once.
    const QDeadlineTimer settle(500);
    while (!settle.hasExpired() && desktop.windowsOf(program.processId()).size() == 2)
        QThread::msleep(50);
    ASSERT_EQ(desktop.windowsOf(program.processId()).size(), 2) << "a key typed while recording closed a window" << log();
    ASSERT_TRUE(clickEditor(Editor::kRecordMacro));  // stops
    ASSERT_TRUE(clickEditor(Editor::kOk));
    ASSERT_TRUE(windowsAre(1)) << "OK left the editor open" << log();

    const QString written = QString::fromStdString(writtenAssignment(kKeyS));
    const QString macro = "44 S L1 Macro ";
    ASSERT_TRUE(written.startsWith(macro)) << written.toStdString();
    const QStringList items = written.mid(macro.size()).split(',');
    QStringList names, delays;
    for (qsizetype i = 0; i < items.size(); ++i)
        (i % 2 ? delays : names).append(items[i]);
    EXPECT_EQ(names.join(','), "A,A,Left SHIFT,B,B,Left SHIFT,ENTER,ENTER,ESC,ESC");
    const bool native = QString(GetParam()) == "wayland";
    for (const QString& delay : delays) {
        if (native)
            EXPECT_NEAR(delay.toInt(), 400, 1) << written.toStdString();
        else
            EXPECT_TRUE(delay.toInt() >= 50 && delay.toInt() < 300) << written.toStdString();
    }
}

// The colour-key corners of the main window show the desktop's background,
// the editor's show the main window beneath them: neither the key colour
// (blue, red) nor black.
TEST_P(ProgramOnDesktop, CornersShowWhatLiesBehindTheWindows) {
    const QRect main = window(0);
    const QImage alone = desktop.screenshotWhen(
        [&](const QImage& image) { return image.pixel(main.center()) != SwayDesktop::kBackground; });
    ASSERT_FALSE(alone.isNull());
    for (const QPoint corner : {main.topLeft(), main.topRight(), main.bottomLeft(), main.bottomRight()})
        EXPECT_EQ(alone.pixel(corner), SwayDesktop::kBackground)
            << "main window corner at " << corner.x() << "," << corner.y() << " is " << std::hex << alone.pixel(corner);
    EXPECT_NE(alone.pixel(main.center()), SwayDesktop::kBackground) << "the main window is not drawn";

    ASSERT_TRUE(openEditor(kKeyA)) << log();
    const QRect editor = window(1);
    const QImage both = desktop.screenshotWhen(
        [&](const QImage& image) { return image.pixel(editor.center()) != alone.pixel(editor.center()); });
    for (const QPoint corner : {editor.topLeft(), editor.topRight(), editor.bottomLeft(), editor.bottomRight()})
        EXPECT_EQ(both.pixel(corner), alone.pixel(corner))
            << "editor corner at " << corner.x() << "," << corner.y() << " is " << std::hex << both.pixel(corner);
    EXPECT_NE(both.pixel(editor.center()), alone.pixel(editor.center())) << "the editor is not drawn";
}

INSTANTIATE_TEST_SUITE_P(Desktop, ProgramOnDesktop, ::testing::Values("wayland", "xcb"),
                         [](const auto& info) { return info.param == std::string("wayland") ? "Native" : "XWayland"; });

}  // namespace
