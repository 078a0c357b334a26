// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// SystemDialogs on the Qt standard dialogs.
#pragma once

#include <QString>

#include "shell/SystemDialogs.h"

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

private:
    std::optional<std::wstring> fileName(QWidget* parent, const FileRequest& request, bool save);
};
