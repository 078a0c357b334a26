// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
//
// How true the pauses of a recorded macro are while the editor is busy. A
// private Xvfb is the desktop; a second client types key presses and
// releases through XTest at known intervals while the editor records them
// through the real keyboard grab, and the editor's GUI thread is kept busy
// with 0..15 ms chunks of work (as painting or a slow disk would). Each
// recorded pause is compared with the interval at which the keys were sent:
//   stamped   the pauses from the key events' own X server times (today's way)
//   handling  the time attached to each message is dropped, so the pauses
//             are measured when the window gets round to the message
//             (the former way)
// Counters: mean, 95th percentile and largest size of recorded-minus-true
// per pause. Goal: the stamped error within 1 ms, the timestamps'
// resolution. A key's true moment is the middle of the typist's round trip
// to the server: only pauses between keys whose round trips took at most
// 0.5 ms count ("unmeasured" counts the others).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "editor/CTarnDialogKeyMapSettings.h"
#include "jobs/RecordingPath.h"
#include "profile/KeyboardProfile.h"
#include "support/FakeSystemDialogs.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include "XvfbServer.h"

namespace {

using Clock = std::chrono::steady_clock;
using Editor = CTarnDialogKeyMapSettings;
constexpr int kTaps = 30;  // 60 events, 59 pauses: within a macro's 127 items
constexpr double kExactRoundTripMs = 0.5;

std::string displayName;

// Hands the hook's key messages on without their time: the window then
// measures a pause when it handles the message.
class TimeDroppingWindow : public MessageWindow {
public:
    explicit TimeDroppingWindow(MessageWindow& target) : target_(target) {}
    void postMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override {
        target_.postMessage(message, wParam, lParam);
    }

private:
    MessageWindow& target_;
};

void click(Editor& editor, int id) {
    const layout::Rect& r = editor.controlById(id)->rect;
    QTest::mouseClick(&editor, Qt::LeftButton, {}, QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2));
}

// When a key reached the server: somewhere within the typist's round trip.
struct SentKey {
    Clock::time_point moment;  // the middle of the round trip
    double roundTripMs;
};

std::vector<SentKey> typeKeys(Display* typist, const std::vector<int>& intervalsMs) {
    std::vector<SentKey> sent;
    const KeyCode codes[] = {XKeysymToKeycode(typist, XK_a), XKeysymToKeycode(typist, XK_b)};
    Clock::time_point next = Clock::now();
    for (std::size_t i = 0; i < intervalsMs.size() + 1; ++i) {
        std::this_thread::sleep_until(next);
        const Clock::time_point before = Clock::now();
        XTestFakeKeyEvent(typist, codes[(i / 2) % 2], i % 2 == 0 ? True : False, 0);
        XSync(typist, False);  // stamped by the server within this round trip
        const Clock::time_point after = Clock::now();
        sent.push_back({before + (after - before) / 2, std::chrono::duration<double, std::milli>(after - before).count()});
        if (i < intervalsMs.size())
            next += std::chrono::milliseconds(intervalsMs[i]);
    }
    return sent;
}

void BM_RecordedPauseError(benchmark::State& state) {
    const bool stamped = state.range(0) == 1;
    state.SetLabel(stamped ? "stamped" : "handling");
    Display* typist = XOpenDisplay(displayName.c_str());
    if (!typist) {
        state.SkipWithError("cannot open the X display");
        return;
    }
    std::mt19937 random(7);
    std::vector<double> errors;
    int unknown = 0;
    for (auto _ : state) {
        auto profile = std::make_unique<KeyboardProfile>();
        profile->buildNameTables();
        profile->resetToDefaults();
        FakeSystemDialogs dialogs;
        Editor editor(*profile, dialogs);
        editor.show();
        click(editor, Editor::kFirstTab + 1);
        click(editor, Editor::kNewMacro);
        click(editor, Editor::kRecordMacro);  // ends the rename
        click(editor, Editor::kRecordMacro);
        TimeDroppingWindow dropping(editor);
        if (!stamped)
            InstallHook(&dropping);  // replaces the editor as the hook's window

        std::vector<int> intervals;
        for (int i = 0; i < 2 * kTaps - 1; ++i)
            intervals.push_back(std::uniform_int_distribution<int>(15, 60)(random));
        // The window is busy in chunks of 0..15 ms between its messages.
        QTimer busy;
        QObject::connect(&busy, &QTimer::timeout, [&] {
            const auto until = Clock::now() + std::chrono::microseconds(
                                                  std::uniform_int_distribution<int>(0, 15000)(random));
            while (Clock::now() < until) {
            }
        });
        busy.start(0);
        std::vector<SentKey> sent;
        std::thread typing([&] { sent = typeKeys(typist, intervals); });
        const std::size_t items = 2 * intervals.size() + 1;
        const auto giveUp = Clock::now() + std::chrono::seconds(20);
        while (editor.macros().sequence().items.size() < items && Clock::now() < giveUp)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        typing.join();
        busy.stop();
        click(editor, Editor::kRecordMacro);

        std::vector<int> recorded;
        for (const std::wstring& item : editor.macros().sequence().items)
            if (item.size() > 4 && item.front() == L'<')
                recorded.push_back(std::stoi(item.substr(1)));
        if (recorded.size() != intervals.size()) {
            state.SkipWithError("not every pause was recorded");
            break;
        }
        for (std::size_t i = 0; i < recorded.size(); ++i) {
            // Only pauses whose true length is known to a quarter millisecond:
            // on a loaded machine the typist's round trips grow long.
            if (sent[i].roundTripMs + sent[i + 1].roundTripMs > 2 * kExactRoundTripMs) {
                ++unknown;
                continue;
            }
            const double trueMs = std::chrono::duration<double, std::milli>(sent[i + 1].moment - sent[i].moment).count();
            errors.push_back(recorded[i] - trueMs);
        }
        editor.done(QDialog::Rejected);
    }
    XCloseDisplay(typist);
    std::vector<double> sizes;
    double sum = 0;
    for (double e : errors) {
        sizes.push_back(std::abs(e));
        sum += std::abs(e);
    }
    std::sort(sizes.begin(), sizes.end());
    state.counters["mean_abs_ms"] = sizes.empty() ? 0 : sum / static_cast<double>(sizes.size());
    state.counters["p95_abs_ms"] = sizes.empty() ? 0 : sizes[sizes.size() * 95 / 100];
    state.counters["max_abs_ms"] = sizes.empty() ? 0 : sizes.back();
    state.counters["unmeasured"] = unknown;
    state.counters["pauses"] = static_cast<double>(errors.size());
}
BENCHMARK(BM_RecordedPauseError)->Arg(1)->Arg(0)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    std::string why;
    const std::unique_ptr<XvfbServer> server = XvfbServer::start(&why);
    if (!server) {
        std::fprintf(stderr, "key timing benchmark: no Xvfb (%s)\n", why.c_str());
        return 1;
    }
    displayName = server->displayName();
    qputenv("DISPLAY", QByteArray::fromStdString(displayName));
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv(RecordingSession::kForceVariable, "grab");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    UninstallHook();
    return 0;
}
