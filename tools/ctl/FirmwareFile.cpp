#include "FirmwareFile.h"

#include <climits>
#include <fstream>
#include <iterator>

#include "IntelHexImage.h"

namespace ctl {

bool FirmwareFile::load(const std::filesystem::path& path) {
    bytes.clear();
    problem.clear();
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        problem = "cannot be opened";
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    if (file.bad()) {
        problem = "cannot be read";
        return false;
    }
    // The download takes the length as an int.
    if (bytes.size() > static_cast<std::size_t>(INT_MAX)) {
        problem = "is too large";
        return false;
    }
    IntelHexImage image;
    if (!image.load(bytes.data(), static_cast<int>(bytes.size()))) {
        problem = image.problem();
        return false;
    }
    return true;
}

}  // namespace ctl
