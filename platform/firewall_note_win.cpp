#include "platform/firewall_note.h"

// A standard user is never asked whether a program may receive, and a prompt
// that was dismissed leaves a block rule behind, which wins over every allow
// rule: the rule has to go, or an administrator has to add one for the port.
std::vector<std::string> FirewallNote(std::uint16_t port) {
  const std::string number = std::to_string(port);
  return {
      "if devices are there, Windows Firewall may be dropping their answers: "
      "inbound UDP port " +
          number +
          " must be allowed. A standard user gets no firewall prompt, and a "
          "dismissed prompt leaves a block rule, which beats any allow rule.",
      "remove that block rule (Windows Security \u203A Firewall & network "
      "protection \u203A Allow an app through firewall), or ask an "
      "administrator to allow the port from an elevated command prompt:",
      "  netsh advfirewall firewall add rule name=\"Quellan discovery\" "
      "dir=in action=allow protocol=UDP localport=" +
          number};
}
