// The --help texts, one per command, beside the exit codes they share.
#include "cli/options.h"

namespace cli {
namespace {

constexpr const char* EXIT_CODES = R"(
Exit status:
  0  done (devices found, change confirmed, plan fine)
  1  network or engine failure: the discovery port is taken, no adapter,
     or a change request left through no adapter (not-sent)
  2  bad command line or refused input; nothing was sent
  3  no device found, or the named device did not answer
  4  change not confirmed, or the plan has problems
)";

constexpr const char* PROGRAM = R"(Usage: quellan-cli COMMAND [options]

Finds the network video devices on the local network and changes their
network settings, from the command line. Data goes to standard output,
messages to standard error.

Commands:
  search   list the devices that answer one search
  set      change one device's settings and check that it took them
  plan     check, and with --apply carry out, an address plan file
  watch    search again and again, printing what appears, changes or goes

Run 'quellan-cli COMMAND --help' for a command's options.
  --version   print the version
)";

constexpr const char* SEARCH =
    R"(Usage: quellan-cli search [--timeout MS] [--format table|json|csv]
                          [--adapter ADDR]

One search: every device that answers, one entry per MAC address, sorted by
address. Devices that share an address are all listed, marked as a conflict.
A device outside every local subnet is marked: its web page opens only once
its address is changed.

  --timeout MS      how long to listen for replies (default 3000)
  --format F        table (default), json (an array of objects) or csv
  --adapter ADDR    search through the adapter with this local address only

JSON and CSV keys: mac, ip, mask, gateway, base_port, http_port, ip_mode,
ip_mode_text, model, firmware, conflict, reachable_from, url.
)";

constexpr const char* SET =
    R"(Usage: quellan-cli set MAC [--ip A] [--mask M] [--gateway G]
                       [--mode fixed|dhcp|pppoe] [--base-port N]
                       [--http-port N] [--no-verify] [--timeout MS]
                       [--verify-timeout MS] [--format table|json]
                       [--adapter ADDR]

Searches for the device, applies the options to its current settings and
checks the result: the window's checks, and no address that is the subnet's
network or broadcast address, the gateway's, this computer's or another
device's. A refusal exits 2 and sends nothing. Then it sends one change
request and searches every 2 seconds until the device answers with the new
settings: confirmed, or not-confirmed. A request that left through no
adapter is not-sent (exit 1).

  --ip, --mask, --gateway A   the new addresses
  --mode M                    fixed, dhcp or pppoe
  --base-port N               1025 to 65535
  --http-port N               80, or 1025 to 65535
  --no-verify                 send the change and stop there
  --timeout MS                the first search's length (default 3000)
  --verify-timeout MS         how long to wait for the device to answer
                              with the new settings (default 20000)
  --format F                  table (default) or json
  --adapter ADDR              use the adapter with this local address only
)";

constexpr const char* PLAN =
    R"(Usage: quellan-cli plan FILE [--apply] [--format table|json|csv]
                        [--timeout MS] [--verify-timeout MS] [--adapter ADDR]

FILE is CSV with a header row: mac and ip are required; mask, gateway, mode
(fixed, dhcp, pppoe), base_port and http_port are optional, and a blank cell
keeps the device's value. After one search each row gets a status: change,
unchanged, missing (did not answer), invalid (with the reason) or conflict
(the address is another device's, planned twice, this computer's, or the
subnet's network, broadcast or gateway address). Devices the plan moves away
free their addresses.

Without --apply nothing is sent. With --apply nothing is sent unless no row
is invalid or in conflict; then the changes go out 50 ms apart and each is
checked as set checks it: confirmed, not-confirmed, or not-sent when its
request left through no adapter (exit 1).

  --apply               send the changes
  --format F            table (default), json or csv; the report's keys are
                        mac, status, current_ip, planned_ip, message
  --timeout MS          the first search's length (default 3000)
  --verify-timeout MS   how long to wait for the changed devices (default
                        20000)
  --adapter ADDR        use the adapter with this local address only
)";

constexpr const char* WATCH =
    R"(Usage: quellan-cli watch [--interval S] [--format table|json]
                         [--adapter ADDR]

Searches every S seconds and prints what happens: "new" for each device of
the first search and every newcomer, "changed" with the fields that changed,
"gone" once a device has missed two searches in a row. Runs until Ctrl+C or
SIGTERM, then exits 0.

  --interval S     seconds between searches (default 10, at least 5: the
                   network is shared with others)
  --format F       table (default) or json, one object per line with the
                   keys event, mac, device and, for "changed", changed
  --adapter ADDR   search through the adapter with this local address only
)";

}  // namespace

std::string UsageText(Command command) {
  const char* text = PROGRAM;
  switch (command) {
    case Command::Search:
      text = SEARCH;
      break;
    case Command::Set:
      text = SET;
      break;
    case Command::Plan:
      text = PLAN;
      break;
    case Command::Watch:
      text = WATCH;
      break;
    case Command::None:
      break;
  }
  return std::string(text) + EXIT_CODES;
}

}  // namespace cli
