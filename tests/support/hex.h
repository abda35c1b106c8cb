// Hex packet fixtures: "34 52 34 87" and the like, spaces ignored.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

std::vector<std::uint8_t> FromHex(const std::string& text);
std::string ToHex(const std::uint8_t* bytes, std::size_t size);
