// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// Everything a window asks the desktop for: message boxes, file names,
// colours and pop-up menu choices. Windows receive it by reference; the
// program uses QtSystemDialogs, tests a scripted fake.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <QColor>
#include <QPoint>

class QWidget;

class SystemDialogs {
public:
    static constexpr const wchar_t* kProgramName = L"VelkorOndrix";

    // SaveDiscard(Cancel): Save, Don't Save (and Cancel), asked before
    // unsaved changes would go.
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, SaveDiscardCancel, SaveDiscard };
    enum class Icon { None, Information, Exclamation, Error, Question };
    enum class Answer { Ok, Cancel, Yes, No, Save, Discard };

    struct FileRequest {
        // Alternating descriptions and patterns separated by '|', ending in
        // "||": "pro(*.pro)|*.pro|All Files(*.*)|*.*||". Empty: no filter.
        std::wstring filter;
        std::wstring defaultExtension;  // without the dot; empty: none
        std::wstring initialName;
        bool overwritePrompt = false;   // save: ask before replacing a file
        bool hideReadOnly = false;
    };

    struct MenuItem {
        std::wstring text;
        int command = 0;                // ignored for an item with children
        std::vector<MenuItem> children; // non-empty: a sub-menu
    };

    virtual ~SystemDialogs() = default;

    // The answer of a box closed without a choice.
    static Answer closedAnswer(Buttons buttons) {
        return buttons == Buttons::Ok            ? Answer::Ok
               : buttons == Buttons::SaveDiscard ? Answer::Discard
                                                 : Answer::Cancel;
    }

    // Modal message box; an empty caption means the program's name. A box
    // closed without a choice answers Cancel, Ok or Discard, whichever it has.
    virtual Answer messageBox(QWidget* parent, const std::wstring& text,
                              Buttons buttons = Buttons::Ok, Icon icon = Icon::None,
                              const std::wstring& caption = {}) = 0;
    // The chosen path, or nothing when the user cancelled.
    virtual std::optional<std::wstring> openFileName(QWidget* parent, const FileRequest& request) = 0;
    virtual std::optional<std::wstring> saveFileName(QWidget* parent, const FileRequest& request) = 0;
    // The confirmed colour, or nothing when the user cancelled.
    virtual std::optional<QColor> chooseColor(QWidget* parent, QColor initial) = 0;
    // Shows the menu at a global position; the chosen command, 0 when none.
    virtual int popupMenu(QWidget* parent, QPoint globalPos, const std::vector<MenuItem>& items) = 0;
};
