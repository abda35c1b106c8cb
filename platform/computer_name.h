// This computer's name, for the record of where a search ran.
#pragma once

#include <string>

// UTF-8; empty when the system does not tell it.
std::string ComputerName();
