// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// SystemDialogs on the Qt standard dialogs, dressed in the skin: Qt's own
// dialogs (never the desktop's native ones, which would ignore it) in one
// dark palette taken from the skin's colours.
#pragma once

#include <memory>

#include <QPalette>
#include <QString>

#include "shell/SystemDialogs.h"

class QColorDialog;
class QFileDialog;
class QMenu;
class QMessageBox;

class QtSystemDialogs : public SystemDialogs {
public:
    Answer messageBox(QWidget* parent, const std::wstring& text, Buttons buttons, Icon icon,
                      const std::wstring& caption) override;
    std::optional<std::wstring> openFileName(QWidget* parent, const FileRequest& request) override;
    std::optional<std::wstring> saveFileName(QWidget* parent, const FileRequest& request) override;
    std::optional<QColor> chooseColor(QWidget* parent, QColor initial) override;
    int popupMenu(QWidget* parent, QPoint globalPos, const std::vector<MenuItem>& items) override;

    // "pro(*.pro)|*.pro|All Files(*.*)|*.*||" -> "pro(*.pro);;All Files(*.*)":
    // each description, with its pattern appended when it does not show it.
    static QString qtFilter(const std::wstring& filter);

    // Fusion for the whole application: the one style that draws whatever
    // palette it is given, on every desktop.
    static void useSkinStyle();
    static QPalette skinPalette();

    // The dialogs as they are shown, before they run (the screenshots show
    // them too). A message box is at least wide enough for its whole title.
    static std::unique_ptr<QMessageBox> makeMessageBox(QWidget* parent, const std::wstring& text, Buttons buttons,
                                                       Icon icon, const std::wstring& caption);
    static std::unique_ptr<QFileDialog> makeFileDialog(QWidget* parent, const FileRequest& request, bool save);
    static std::unique_ptr<QColorDialog> makeColorDialog(QWidget* parent, QColor initial);
    static std::unique_ptr<QMenu> makeMenu(QWidget* parent, const std::vector<MenuItem>& items);

private:
    std::optional<std::wstring> fileName(QWidget* parent, const FileRequest& request, bool save);
};
