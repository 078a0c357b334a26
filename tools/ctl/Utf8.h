// The model's texts are wide; the terminal speaks UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace ctl {

std::string toUtf8(std::wstring_view text);

}  // namespace ctl
