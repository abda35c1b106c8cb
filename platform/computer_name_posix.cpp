#include <unistd.h>

#include "platform/computer_name.h"

std::string ComputerName() {
  char name[256] = {};
  if (gethostname(name, sizeof name - 1) != 0) return {};
  return name;
}
