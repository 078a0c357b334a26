// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The backlight settings window: a second on-screen keyboard on which every
// key wears a frame in its backlight colour; clicking a key asks for a new
// colour. The window edits a private copy of the profile's colours and hands
// it back only on OK and Program (which also writes it to the keyboard).
#pragma once

#include <array>

#include "jobs/DeviceJob.h"
#include "profile/KeyboardProfile.h"
#include "shell/CSkinDialog.h"

class SystemDialogs;

class CTarnDialogBkLightSettings : public CSkinDialog {
    Q_OBJECT
public:
    using Colours = std::array<LightArea, KeyboardProfile::kLightAreaCount>;

    // Control numbers of the commands.
    static constexpr int kClose = 88;
    static constexpr int kSetAll = 90;
    static constexpr int kProgram = 91;
    static constexpr int kCancel = 92;
    static constexpr int kOk = 94;
    static constexpr int kDefault = 95;
    static constexpr int kFrameWidth = 2;  // the colour frame just outside each key

    CTarnDialogBkLightSettings(KeyboardProfile& profile, SystemDialogs& dialogs, QWidget* parent = nullptr);

    // Entry n is the colour of key ID n; entry 0 belongs to no key.
    const Colours& workingColours() const { return working_; }
    // Pauses of the backup and write jobs started here (tests shorten them).
    void setJobWaits(DeviceJob::Waits waits) { waits_ = waits; }

protected:
    void controlClicked(SkinControl& control) override;
    void paintWindow(QPainter& painter) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void chooseKeyColour(int keyId);
    void setAllColours();
    void programKeyboard();

    KeyboardProfile& profile_;
    SystemDialogs& dialogs_;
    Colours working_;
    DeviceJob::Waits waits_;
};
