// The --help texts, one per command, beside the exit codes they share.
#include "cli/commands/options.h"

namespace cli {
namespace {

constexpr const char* EXIT_CODES = R"(
Exit status:
  0  done (devices found, change confirmed, plan fine)
  1  network or engine failure: the discovery port is taken, no adapter
     (or none with the --adapter address), a change request left through
     no adapter (not-sent), or the device was heard only on an interface
     without an IPv4 address
  2  bad command line or refused input; nothing was sent
  3  no device found, or the named device did not answer
  4  change not confirmed, or the plan has problems (not-confirmed,
     returned, stranded, ...)
  130  stopped by Ctrl+C or SIGTERM during a change
)";

constexpr const char* PROGRAM = R"(Usage: quellan-cli COMMAND [options]

Finds the network video devices on the local network and changes their
network settings, from the command line. Data goes to standard output,
messages to standard error (on a Windows console as Unicode text, to files
and pipes as UTF-8).

Commands:
  search   list the devices that answer one search
  set      change one device's settings and check that it took them
  plan     check, and with --apply carry out, an address plan file
  watch    search again and again, printing what appears, changes or goes
  help     print this, or with a command's name its options

Each device belongs to the broadcast domain (LAN, VLAN) of the adapters that
heard it; one host may reach several. Addresses conflict, and are free or
taken, only within a domain, and a change leaves only through its device's.

Other makers' cameras and recorders answer ONVIF WS-Discovery: search and
watch list them beside ours with --protocol onvif or all, and plan and set
look at them by default, so that no change takes an address one of them
holds. Quellan changes only devices of its own protocol.

A MAC address may be written 00:1A:2B:00:01:03, 00-1A-2B-00-01-03,
"00 1A 2B 00 01 03" (quoted), 001A2B000103 or 001a.2b00.0103, in any case.
Commands, formats, modes and protocols are read in any case, blanks around
a value are ignored, and a mistyped command or option gets the name of a
close one.

While it waits 2 s or more for devices (a search, a verify), a command
shows its progress on one line of standard error when that is a terminal,
drawn over as it goes and cleared at the end; --quiet, which every command
takes, silences it. A file or a pipe never gets it.

Run 'quellan-cli help COMMAND' or 'quellan-cli COMMAND --help' for a
command's options.
  --version   print the version
)";

constexpr const char* SEARCH =
    R"(Usage: quellan-cli search [--timeout MS] [--format table|json|csv|xlsx]
                          [--output FILE] [--adapter ADDR]
                          [--protocol quellan|onvif|all] [--quiet]

One search: every device that answers, up to 65536, one entry per MAC
address, sorted by address. Devices that share an address in one broadcast
domain are all listed, marked as a conflict. A device outside the subnet of
every adapter of its domain is marked: its web page opens only once its
address is changed. Beyond 65536 devices, standard error says how many more
answered. When none answers, standard error names the adapters searched.
On Linux, standard error also names an adapter that filters by reverse path
strictly (rp_filter=1), which drops the replies of devices on a foreign
subnet, with the sysctl that loosens it.

  --timeout MS      how long to listen for replies (default 3000)
  --format F        table (default), json (an array of objects), csv or
                    xlsx (a workbook: the sheet Devices with csv's columns
                    as typed cells, and the sheet Site to hand over: when,
                    from which computer and adapters and with which
                    version the search ran, and per broadcast domain and
                    subnet its devices, conflicts, devices not reachable
                    from here and the addresses in use)
  --output FILE     write the report to FILE, whole or not at all, instead
                    of standard output; a workbook is never written to a
                    terminal
  --adapter ADDR    search through the adapter with this local address only,
                    and list only the devices heard on it; an address this
                    computer does not have is refused with those it has
  --protocol P      quellan (default): the devices of Quellan's own
                    protocol; onvif: the devices that answer an ONVIF
                    WS-Discovery probe; all: both, one row per device
  --quiet           no progress line on a terminal

JSON and CSV keys: mac, ip, mask, gateway, base_port, http_port, ip_mode,
ip_mode_text, model, firmware, conflict, reachable_from, url, adapter (the
lowest local address among the adapters of the device's broadcast domain;
null when none of them has an IPv4 address). The url is
http://ADDRESS:PORT, https://ADDRESS/ for HTTP port 443, and null (empty in
CSV and the table) for port 0 or less. In CSV, a model or firmware
that begins with =, +, -, @, a tab or a carriage return gets a leading ',
so that a spreadsheet does not run a device's text as a formula.

With --protocol onvif or all, the keys protocol (quellan, onvif, or
quellan+onvif for a device that answers both), mac_source, name, hardware,
location, endpoint and xaddrs (an array in JSON, blank-separated in CSV and
the table) follow, and the table shows protocol, name and xaddrs. Devices
are one row when they are one MAC, never by address alone: an ONVIF device
on the address of another device is a conflict. An ONVIF device's ip is the
host of its first service address (XAddr) outside 169.254/16, preferring
the adapter's subnet, else the address it answered from. Its MAC comes from
its scopes, else from this computer's neighbour table (the entry of the
interface that heard it) when it answered from that address, else is null.
mac_source says which: reply (ours), scope, neighbour (a guess: in a real
address conflict the entry may be the other device's; on a quellan+onvif
row the merge rests on it alone, and the table's note says "one device
presumed"), or null. What its answer does not tell (mask, gateway, ports,
mode, firmware) is null; its model is its hardware; its url is
http://ADDRESS/. WS-Discovery replies that could not be read are counted
by reason on standard error, for one: 3 WS-Discovery replies could not be
read: a DOCTYPE (1), the 2009/01 discovery namespace (2). "No device
answered" is not said then; when none of ours answered, "no device answered
Quellan's own protocol" and the firewall hints are.
)";

constexpr const char* SET =
    R"(Usage: quellan-cli set MAC [--ip A] [--mask M] [--gateway G]
                       [--mode fixed|dhcp|pppoe] [--base-port N]
                       [--http-port N] [--no-verify] [--timeout MS]
                       [--verify-timeout MS] [--format table|json|csv|xlsx]
                       [--output FILE] [--adapter ADDR]
                       [--protocol quellan|all] [--quiet]

Searches for the device, applies the options to its current settings and
checks the result: the window's checks, a mask whose ones come first and
that is not /0, /31 or /32, and no address that is the subnet's network or
broadcast address, the gateway's, this computer's or another device's in its
broadcast domain. Only what changes is judged: the mask and address rules
when the address, mask or gateway changes, a port when it changes. A new
address is checked on the link too: something that answers ARP for it
("A answers on the network (MAC); nothing was sent") is a refusal. A refusal
exits 2 and sends nothing; after the window's own message it names the value
and the option that fixes it ("The gateway 192.168.1.1 lies outside the
subnet 10.77.0.0/255.255.255.0 of 10.77.0.5: give a gateway in that subnet
with --gateway."). A device in DHCP mode takes its address from the DHCP
server: --ip for one is refused unless --mode fixed comes with it. A new
address outside the subnet of every adapter of the device's domain is sent,
with a warning of how to reach the device afterwards. Then it sends one
change request, through the adapters of the device's domain only, and
searches every 2 seconds until the device answers with the new settings:
confirmed, or not-confirmed. A request that left through no adapter is
not-sent (exit 1); so is a device heard only on an interface without an IPv4
address, which no request can reach. With nothing to change the status is
unchanged and nothing is sent. The report is always printed: when the
verifying searches fail it says sent (exit 1). Ctrl+C before the request
leaves sends nothing: not-sent, "stopped before sending" (exit 130); while
the change is verified it lets the verify end (exit 130); a second one ends
at once.

  --ip, --mask, --gateway A   the new addresses
  --mode M                    fixed, dhcp or pppoe
  --base-port N               1025 to 65535
  --http-port N               80, or 1025 to 65535
  --no-verify                 send the change and stop there
  --timeout MS                the first search's length (default 3000)
  --verify-timeout MS         how long to wait for the device to answer
                              with the new settings (default 20000)
  --format F                  table (default; the mode by its name), json
                              or csv (the keys mac, status, setting,
                              before, sent: a row per setting, the mode as
                              its number, sent empty when nothing was sent)
                              or xlsx (csv's rows as a workbook)
  --output FILE               write the report to FILE, as search does
  --adapter ADDR              use the adapter with this local address only
  --protocol P                all (default): an address an ONVIF device
                              holds is taken too, and an ONVIF device's
                              MAC is refused (exit 2); quellan: look at
                              Quellan's own protocol only
  --quiet                     no progress line on a terminal
)";

constexpr const char* PLAN =
    R"(Usage: quellan-cli plan FILE [--apply] [--from START|A-B [--mask M]
                        [--gateway G]] [--temp ADDR|A-B]
                        [--format table|json|csv|xlsx] [--output FILE]
                        [--sheet NAME] [--timeout MS] [--verify-timeout MS]
                        [--adapter ADDR] [--protocol quellan|all] [--quiet]

FILE is a workbook (.xlsx, found by its content) or CSV, as search writes
them or a spreadsheet saves them. A workbook's first sheet is read, or the
one --sheet names; its cells read as the spreadsheet shows them (a
formula's saved value, never the formula). A legacy .xls or a
password-protected workbook is refused: save it as .xlsx or CSV. CSV is
read as:
UTF-8 or UTF-16 with a byte-order mark; commas, semicolons or tabs (found
from the header row, or named by a first line sep=;); a PowerShell #TYPE
first line is skipped. Column names ignore case, and spaces, hyphens and
underscores count as one: mac (also "MAC address") is required, with one or
more of ip ("IP address"), mask, gateway, mode (or ip_mode), base_port and
http_port; a missing column or a blank cell keeps the device's value. Other
columns are ignored, and those that search does not write are named in one
warning. One ' before a cell that begins with =, +, -, @, a tab or a
carriage return is dropped. A mode is fixed, dhcp, pppoe, 0, 1, 2 or
search's text; another number keeps the device's mode. An all-digit MAC of
fewer than 12 digits gets back the zeros a spreadsheet dropped. A port may
begin with ' or +; one a spreadsheet wrote with a thousands separator or a
decimal part (8.000, 8080,00) is refused with how to format its column. A
file that cannot be read is refused with the system's reason. Every error of
a file is reported at once, up to 20 lines, then a count of the rest.

After one search each row gets a status: unchanged (it asks for what the
device has; never refused), change, missing (did not answer), invalid (with
the reason; also a mask whose ones do not come first, or /0, /31 or /32) or
conflict (the address is another device's, planned twice, this computer's,
or the subnet's network, broadcast or gateway address); after the window's
own message a row's message names the value and the column that fixes it.
The mask and address rules judge a row that changes the address, mask or
gateway; a setting the row leaves as the device has it is never judged. A
device in DHCP mode takes its address from the DHCP server: a row that gives
one an address with a blank mode cell also makes it fixed, and says so; one
whose mode cell says dhcp is invalid. Only devices and rows of the row's
broadcast domain count. Devices the plan moves away free their addresses.

With --from, the rows without an ip cell (or a file without an ip column)
are numbered in file order from START: each gets the first address the
checks allow in its domain, after the last one given there. --from A-B
numbers within A to B inclusive; rows the range has no room for are in
conflict, and standard error says how many addresses it lacks. A device that
did not answer uses up no address. Mask and gateway come from the row, else
from --mask and --gateway, else from the device; a device that shows mask
0.0.0.0 (no DHCP lease) is invalid unless given one.

Without --apply nothing is sent. With --apply nothing is sent unless no row
is invalid, in conflict or out of reach; then the changes go out in waves,
so that no device is asked for an address another device shows or was
asked for: each wave holds every change whose address is free now, 50 ms
apart, through its domain's adapters, and is checked as set checks it
before the next. Each swap or rotation goes by way of a temporary address
of its own, and a long waiting chain is cut the same way while the subnet
has room: taken from the top of the subnet down (no device's gateway, no
broadcast, local, shown or planned address; one given back is taken
again), or from --temp. Every address a device is sent to that no device
showed is checked once on the link just before its wave (64 at a time; the
dry run probes nothing): a temporary address something answers ARP for is
skipped; a planned one makes the row not-sent ("A answers on the network
(MAC); nothing was sent") with the rows that wait for it; "not checked" when
the check cannot be made. While a wave is out its rows are sent. A device
parked on a temporary address whose way on stays blocked is sent back
(returned), or left there (stranded) when its own address is taken. A last
search gives now_ip and decides each sent row's end: confirmed (late),
stranded on its temporary address, returned on its own. Rows end
confirmed, not-confirmed, returned, stranded or not-sent (left through no
adapter, exit 1; waited for a device that did not move; a host at its
address; or the apply stopped first). Standard error then counts the rows
of each status. Ctrl+C or SIGTERM, answered at once, sends no new wave: the
wave under way is verified, then parked devices go on to their planned
address when it is vacant, else back, else stay (stranded); the report is
printed, exit 130. A second Ctrl+C ends at once, printing each row as it
stands: sent (request out, not verified; now_ip is where it was sent),
stranded on its temporary address, not-sent, or its end. When the engine
fails between waves the report is printed too (exit 1). Before an apply
sends anything, standard error warns of each device that moves outside the
subnet of every adapter of its domain.

  --apply               send the changes
  --from START|A-B      number the rows without an address from START, or
                        within A to B
  --mask M, --gateway G for the numbered rows without their own
  --temp ADDR|A-B       the temporary address, or an inclusive range of
                        them within one subnet, for swaps and chains
  --format F            table (default), json, csv or xlsx (a workbook of
                        csv's rows); the report's keys are mac, status,
                        current_ip, planned_ip, message, adapter, now_ip
                        (where the device answered at the end; its
                        current address in a dry run)
  --output FILE         write the report to FILE, as search does
  --sheet NAME          the workbook's sheet that holds the plan
  --timeout MS          the first search's length (default 3000)
  --verify-timeout MS   how long to wait for the devices of one wave
                        (default 20000)
  --adapter ADDR        use the adapter with this local address only
  --protocol P          all (default): an address an ONVIF device holds is
                        taken too, and at the apply until a verifying
                        search (which asks ONVIF too) hears none there; a
                        row whose protocol is onvif (its mac may be blank)
                        is unchanged when left as search listed it, else
                        invalid; quellan: look at Quellan's own protocol
                        only
  --quiet               no progress line on a terminal
)";

constexpr const char* WATCH =
    R"(Usage: quellan-cli watch [--interval S] [--format table|json]
                         [--adapter ADDR] [--protocol quellan|onvif|all]
                         [--quiet]

Searches every S seconds and prints what happens: "new" for each device of
the first search and every newcomer, "changed" with each field that changed
and its old and new value ("conflict began" or "conflict ended"; adapter
when it moved to another broadcast domain, counting the domains of every
search so far), "gone" once a device has missed two searches in a row; a
conflict with a device that missed a search ends with its "gone". The
table has a header line and fixed columns (with --protocol onvif or all, a
Name after the model). Runs until Ctrl+C or SIGTERM, then exits 0.

  --interval S     seconds between searches (default 10, at least 5: the
                   network is shared with others)
  --format F       table (default) or json, one object per line with the
                   keys event, mac, device and, for "changed", changed (the
                   list of keys) with old and new (those keys' values)
  --adapter ADDR   search through the adapter with this local address only
  --protocol P     as for search; a device is known by its MAC (null in
                   JSON when it has none), else by its ONVIF endpoint
  --quiet          no progress line on a terminal
)";

}  // namespace

std::string UsageText(Command command) {
  // In the order of Command's values, None first.
  static const char* const TEXTS[] = {PROGRAM, SEARCH, SET, PLAN, WATCH};
  return std::string(TEXTS[static_cast<int>(command)]) + EXIT_CODES;
}

}  // namespace cli
