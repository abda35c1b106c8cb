// A UTF-8 path as the wide path Windows keeps.
#pragma once

#include <string>

// False with errno set to EILSEQ for a name that is not UTF-8.
bool WidePath(const std::string& path, std::wstring* wide);
