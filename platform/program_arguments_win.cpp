// shellapi.h needs the declarations of windows.h first.
#include <windows.h>

#include <shellapi.h>

#include "core/text/utf8.h"
#include "platform/program_arguments.h"

std::vector<std::string> ProgramArguments(int, char**) {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> args;
  for (int i = 1; wide && i < count; ++i) args.push_back(Utf8(wide[i]));
  LocalFree(wide);
  return args;
}
