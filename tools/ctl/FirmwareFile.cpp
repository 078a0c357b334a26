#include "FirmwareFile.h"

#include <fstream>
#include <iterator>
#include <string_view>
#include <vector>

namespace ctl {

namespace {

constexpr std::size_t kMaxRecordBytes = 62;  // packet bytes 2..63
constexpr int kEndOfFileRecord = 1;
constexpr int kLastRecordType = 5;

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Empty text when the record is sound, else what is wrong with it.
std::string recordProblem(std::string_view line, int* type) {
    if (line.front() != ':')
        return "does not start with ':'";
    const std::string_view digits = line.substr(1);
    if (digits.size() % 2 != 0)
        return "odd number of hex digits";
    std::vector<int> record;
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        const int high = hexValue(digits[i]);
        const int low = hexValue(digits[i + 1]);
        if (high < 0 || low < 0)
            return "not a hex digit";
        record.push_back(high * 16 + low);
    }
    if (record.size() < 5)
        return "record too short";
    if (record.size() > kMaxRecordBytes)
        return "record longer than 62 bytes";
    if (static_cast<std::size_t>(record[0]) + 5 != record.size())
        return "byte count does not match the data";
    int sum = 0;
    for (int byte : record)
        sum += byte;
    if (sum % 256 != 0)
        return "checksum mismatch";
    if (record[3] > kLastRecordType)
        return "unknown record type";
    *type = record[3];
    return {};
}

}  // namespace

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
    return check();
}

bool FirmwareFile::check() {
    if (bytes.empty()) {
        problem = "is empty";
        return false;
    }
    std::string_view rest(bytes);
    int lineNumber = 0;
    while (!rest.empty()) {
        const std::size_t end = rest.find_first_of("\r\n");
        const std::string_view line = rest.substr(0, end);
        ++lineNumber;
        if (end == std::string_view::npos) {
            rest = {};
        } else {
            // CR LF counts as one line end.
            const std::size_t next = rest.compare(end, 2, "\r\n") == 0 ? end + 2 : end + 1;
            rest.remove_prefix(next);
        }
        if (line.empty())
            continue;
        int type = 0;
        const std::string what = recordProblem(line, &type);
        if (!what.empty()) {
            problem = "line " + std::to_string(lineNumber) + ": " + what;
            return false;
        }
        if (type == kEndOfFileRecord)
            return true;
    }
    problem = "no end-of-file record";
    return false;
}

}  // namespace ctl
