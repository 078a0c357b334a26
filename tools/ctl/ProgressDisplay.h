// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// Progress of one transfer: a bar redrawn in place on a terminal, or a plain
// line at every quarter of the way when the output goes to a file or a pipe.
#pragma once

#include <ostream>
#include <string>

namespace ctl {

class ProgressDisplay {
public:
    ProgressDisplay(std::ostream& out, std::string label, int total, bool terminal);

    // done counts from 0 to total; values beyond total show as complete.
    void update(int done);
    // Ends the bar's line; a plain display says nothing more.
    void finish();

private:
    std::ostream& out;
    std::string label;
    int total;
    bool terminal;
    int lastShown = -1;  // percent last drawn or printed
    bool drawn = false;
};

}  // namespace ctl
