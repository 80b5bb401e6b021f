#pragma once

#include <string>
#include <string_view>

namespace Hive {

// The form under which key and value names are matched: every character of the UTF-8 name
// upper-cased, as the registry compares names. Bytes that are not UTF-8 are kept as they are.
std::string foldCase(std::string_view name);

// The length of a UTF-8 name as the registry counts it, in UTF-16 units: a character beyond
// U+FFFF counts two. Bytes that are not UTF-8 count one each.
size_t nameLength(std::string_view name);

} // namespace Hive
