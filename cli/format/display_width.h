// How many columns of a terminal a text takes, so that a table's columns
// line up whatever script a device's or a site's texts are written in: a
// wide (East Asian) character takes two, a combining mark none. Counting
// bytes puts "Eingang Süd" one column short of "Tor 1 Nord".
#pragma once

#include <cstddef>
#include <string>

namespace cli {

// The width of UTF-8 text; a byte that starts no valid character counts
// one, as the replacement character a terminal shows for it.
std::size_t DisplayWidth(const std::string& utf8);

}  // namespace cli
