// A firmware image file read whole and checked before anything is sent, so
// the tool can say what is wrong with a file (and on which line) instead of
// only that the download did not happen.
#pragma once

#include <filesystem>
#include <string>

namespace ctl {

class FirmwareFile {
public:
    // Reads and checks the Intel HEX text: every non-blank line up to the
    // end-of-file record is one well-formed record that fits one firmware
    // packet, and the end-of-file record exists. False with error() set.
    bool load(const std::filesystem::path& path);

    const std::string& error() const { return problem; }
    // The file's bytes; std::string keeps a zero byte after them.
    std::string& text() { return bytes; }

private:
    bool check();

    std::string bytes;
    std::string problem;
};

}  // namespace ctl
