#!/usr/bin/env python3
"""quellan-cli's workbooks end to end, against the simulated devices of
devices.csv (started by netpeer.sh), with Debian's openpyxl as the
spreadsheet: it reads what the program writes, and writes plans as a
spreadsheet saves them. openpyxl writes inline strings only and formulas
without their values, so the shared-string and cached-value workbooks are
put together by hand with zipfile.

  workbook_e2e.py --cli PROGRAM [--emulator wine] --devices CSV --work DIR
"""
import argparse
import ipaddress
import json
import os
import subprocess
import zipfile

import openpyxl

from cli_e2e import Cli, expected_listing, read_devices

# A Hangul name: the Windows build opens no file by its code-page name.
NAME = "\uce74\uba54\ub77c"
ONE, TWO = "02:00:5E:C1:00:01", "02:00:5E:C1:00:02"


def leftovers(folder):
    return [f for f in os.listdir(folder) if f.startswith(".quellan-")]


def check_search(cli, devices, work):
    """Each cell of the Devices sheet has the type and value of the JSON
    form's field, which the device file decides."""
    path = os.path.join(work, NAME + ".xlsx")
    cli.run("search", "--timeout", "1000", "--format", "xlsx", "--output",
            path, expect=0)
    book = openpyxl.load_workbook(path)
    sheet = book["Devices"]
    expected = expected_listing(devices)
    rows = list(sheet.iter_rows())
    keys = [c.value for c in rows[0]]
    assert keys == list(expected[0].keys()), keys
    assert all(c.font.b for c in rows[0]) and sheet.freeze_panes == "A2"
    assert sheet.auto_filter.ref == "A1:%s%d" % (
        rows[0][-1].column_letter, len(rows)), sheet.auto_filter.ref
    for row, want in zip(rows[1:], expected):
        for cell, key in zip(row, keys):
            value = None if want[key] == "" else want[key]
            assert cell.value == value and type(cell.value) is type(value), (
                key, cell.value, want[key])
            # A device's text that looks like a formula stays a string.
            assert cell.data_type != "f", (key, cell.value)
    assert any(str(r["model"]).startswith("=") for r in expected)
    assert len(rows) == len(expected) + 1 and not leftovers(work)
    check_site(book["Site"], expected)
    # --output takes the other formats too, the same bytes as standard
    # output; an output that cannot be written is refused and leaves nothing.
    text = os.path.join(work, NAME + ".csv")
    cli.run("search", "--timeout", "1000", "--format", "csv", "--output", text,
            expect=0)
    out, _ = cli.run("search", "--timeout", "1000", "--format", "csv",
                     expect=0)
    with open(text, newline="") as f:
        assert f.read() == out
    check_standard_output(cli, work)
    missing = os.path.join(work, "no-such-folder", "x.xlsx")
    _, err = cli.run("search", "--timeout", "1000", "--format", "xlsx",
                     "--output", missing, expect=2)
    assert "cannot write '%s'" % missing in err, err
    assert not leftovers(work)
    return path


def check_standard_output(cli, work):
    """A workbook goes to a standard output that is a file, never to a
    terminal."""
    piped = os.path.join(work, "piped.xlsx")
    with open(piped, "wb") as out:
        subprocess.run(cli.command + ["search", "--timeout", "1000",
                                      "--format", "xlsx"], stdout=out,
                       timeout=120, check=True)
    assert openpyxl.load_workbook(piped).sheetnames == ["Devices", "Site"]
    if cli.emulated:
        return  # a pseudo-terminal is no Windows console
    terminal, other = os.openpty()
    done = subprocess.run(cli.command + ["search", "--format", "xlsx"],
                          stdout=other, stderr=subprocess.PIPE, timeout=120)
    os.close(terminal)
    os.close(other)
    assert done.returncode == 2 and b"a workbook is not for a terminal" in \
        done.stderr, done


def ranges(addresses):
    numbers = sorted({int(ipaddress.ip_address(a)) for a in addresses})
    runs = []
    for n in numbers:
        if runs and runs[-1][1] + 1 == n:
            runs[-1][1] = n
        else:
            runs.append([n, n])
    text = lambda n: str(ipaddress.ip_address(n))
    return ", ".join(text(a) if a == b else text(a) + "-" + text(b)
                     for a, b in runs)


def check_site(sheet, expected):
    """The hand-over sheet: where the search ran, then per domain and
    subnet the devices, conflicts, unreachable ones and addresses."""
    rows = [[c.value for c in row] for row in sheet.iter_rows()]
    assert [r[0] for r in rows[:4]] == ["Searched", "Computer", "Adapters",
                                        "Quellan version"], rows
    assert rows[3][1] == "1.0.0.1" and "10.77.0.1/24" in rows[2][1], rows
    assert rows[5] == ["Broadcast domain", "Subnet", "Devices", "Conflicts",
                       "Not reachable", "Addresses in use"], rows
    subnets = {}
    for d in expected:
        net = ipaddress.ip_interface("%s/%s" % (d["ip"], d["mask"])).network
        subnets.setdefault((d["adapter"], str(net)), []).append(d)
    want = [[adapter, net, len(ds), sum(d["conflict"] for d in ds),
             sum(d["reachable_from"] is None for d in ds),
             ranges(d["ip"] for d in ds)]
            for (adapter, net), ds in sorted(
                subnets.items(), key=lambda kv: int(ipaddress.ip_network(
                    kv[0][1]).network_address))]
    assert rows[6:] == want, (rows[6:], want)
    assert sheet.freeze_panes == "A7", sheet.freeze_panes


def plan_statuses(cli, path, *extra):
    out, _ = cli.run("plan", path, "--timeout", "1000", "--format", "json",
                     *extra, expect=0)
    return [(r["mac"], r["status"]) for r in json.loads(out)]


def check_round_trip(cli, path):
    """search's workbook, edited as a spreadsheet edits it, is a plan."""
    statuses = plan_statuses(cli, path)
    assert statuses and {s for _, s in statuses} == {"unchanged"}, statuses
    book = openpyxl.load_workbook(path)
    sheet = book["Devices"]
    sheet.cell(row=2, column=2, value="10.77.0.12")
    sheet.cell(row=3, column=2, value="10.77.0.11")
    # A sheet of the installer's own first: --sheet names the plan's.
    book.create_sheet("Notes", 0)["A1"] = "call the caretaker"
    book.save(path)
    _, err = cli.run("plan", path, expect=2)
    assert "the header needs a mac column" in err, err
    statuses = plan_statuses(cli, path, "--sheet", "devices")
    assert statuses[:2] == [(ONE, "change"), (TWO, "change")], statuses
    # plan's and set's reports as workbooks: the CSV's rows, typed.
    report = os.path.join(os.path.dirname(path), "report.xlsx")
    cli.run("plan", path, "--sheet", "Devices", "--timeout", "1000",
            "--format", "xlsx", "--output", report, expect=0)
    rows = list(openpyxl.load_workbook(report)["Devices"].values)
    assert rows[0][:2] == ("mac", "status") and [r[:2] for r in rows[1:]] \
        == statuses, rows
    cli.run("set", ONE, "--http-port", "80", "--timeout", "1000", "--format",
            "xlsx", "--output", report, expect=0)
    rows = list(openpyxl.load_workbook(report)["Devices"].values)
    assert rows[0] == ("mac", "status", "setting", "before", "sent") and \
        rows[6] == (ONE, "unchanged", "http_port", "80", None), rows
    _, err = cli.run("plan", path, "--sheet", "Site plan", expect=2)
    assert "no sheet 'Site plan'; its sheets: 'Notes', 'Devices'" in err, err


def zipped(path, parts, **options):
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED, **options) as z:
        for name, data in parts.items():
            z.writestr(name, data)


MAIN = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
RELS = "http://schemas.openxmlformats.org/package/2006/relationships"
OFFICE = ("http://schemas.openxmlformats.org/officeDocument/2006/"
          "relationships")


def workbook_parts(sheet_rows, strings=None, prolog=""):
    """The parts of a one-sheet workbook as a spreadsheet writes it, with a
    shared strings part when `strings` is given."""
    rels = ('<Relationship Id="rId1" Type="%s/worksheet" '
            'Target="worksheets/sheet1.xml"/>' % OFFICE)
    parts = {
        "_rels/.rels": '<Relationships xmlns="%s"><Relationship Id="rId1" '
        'Type="%s/officeDocument" Target="xl/workbook.xml"/></Relationships>'
        % (RELS, OFFICE),
        "xl/workbook.xml": '<workbook xmlns="%s" xmlns:r="%s"><sheets>'
        '<sheet name="Plan" sheetId="1" r:id="rId1"/></sheets></workbook>'
        % (MAIN, OFFICE),
        "xl/worksheets/sheet1.xml": prolog + '<worksheet xmlns="%s">'
        '<sheetData>%s</sheetData></worksheet>' % (MAIN, sheet_rows),
    }
    if strings is not None:
        rels += ('<Relationship Id="rId2" Type="%s/sharedStrings" '
                 'Target="sharedStrings.xml"/>' % OFFICE)
        parts["xl/sharedStrings.xml"] = '<sst xmlns="%s">%s</sst>' % (
            MAIN, "".join("<si><t>%s</t></si>" % s for s in strings))
    parts["xl/_rels/workbook.xml.rels"] = (
        '<Relationships xmlns="%s">%s</Relationships>' % (RELS, rels))
    return parts


def check_spreadsheet_plan(cli, work):
    """Shared strings, a number, and a formula's cached value (never its
    formula) read as CSV's cells would."""
    rows = ('<row r="1"><c r="A1" t="s"><v>0</v></c><c r="B1" t="s"><v>1</v>'
            '</c><c r="C1" t="s"><v>2</v></c></row>'
            '<row r="2"><c r="A2" t="s"><v>3</v></c><c r="B2" t="str">'
            '<f>"10.77.0."&amp;"12"</f><v>10.77.0.12</v></c>'
            '<c r="C2"><v>8080</v></c></row>'
            '<row r="4"><c r="A4" t="s"><v>4</v></c><c r="B4" t="s"><v>5</v>'
            '</c><c r="C4"><f>C2+1</f><v>8081</v></c></row>')
    path = os.path.join(work, "plan.xlsx")
    zipped(path, workbook_parts(rows, ["mac", "IP address", "HTTP port",
                                       ONE, TWO, "10.77.0.11"]))
    out, _ = cli.run("plan", path, "--timeout", "1000", "--format", "json",
                     expect=0)
    report = json.loads(out)
    assert [(r["mac"], r["status"], r["planned_ip"]) for r in report] == [
        (ONE, "change", "10.77.0.12"), (TWO, "change", "10.77.0.11")], report


def check_hostile(cli, work):
    """What a workbook from anywhere may hold is refused before any search,
    with what to do."""
    path = os.path.join(work, "hostile.xlsx")
    good = workbook_parts('<row><c t="inlineStr"><is><t>mac</t></is></c>'
                          '</row>')
    huge = dict(good)
    huge["xl/worksheets/sheet1.xml"] = b" " * ((64 << 20) + 1)
    packed = dict(good)
    packed["xl/worksheets/sheet1.xml"] = b" " * (2 << 20)
    cases = [
        (workbook_parts("", prolog='<!DOCTYPE x [<!ENTITY a "a">]>'),
         "holds a DOCTYPE, refused"),
        (huge, "refused as a zip bomb"),
        (packed, "refused as a zip bomb"),
        ({"[Content_Types].xml": "<Types/>"},
         "not a workbook: the zip has no part 'xl/workbook.xml'"),
    ]
    for parts, words in cases:
        zipped(path, parts)
        _, err = cli.run("plan", path, expect=2)
        assert words in err, (words, err)
    # A member marked as encrypted, as a zip tool's password leaves it.
    zipped(path, good)
    with open(path, "rb") as f:
        data = bytearray(f.read())
    for signature, flag_at in ((b"PK\x03\x04", 6), (b"PK\x01\x02", 8)):
        at = data.find(signature)
        while at >= 0:
            data[at + flag_at] |= 1
            at = data.find(signature, at + 4)
    compound = b"\xd0\xcf\x11\xe0\xa1\xb1\x1a\xe1" + b"\0" * 504
    for data, words in (
            (bytes(data), "password-protected: save it as .xlsx or CSV"),
            (compound, "a legacy .xls workbook: save it as .xlsx or CSV"),
            (compound + "EncryptedPackage".encode("utf-16-le"),
             "password-protected: save it as .xlsx or CSV")):
        with open(path, "wb") as f:
            f.write(data)
        _, err = cli.run("plan", path, expect=2)
        assert words in err, (words, err)
    text = os.path.join(work, "plan.csv")
    with open(text, "w") as f:
        f.write("mac,ip\n%s,10.77.0.12\n" % ONE)
    _, err = cli.run("plan", text, "--sheet", "x", expect=2)
    assert "--sheet names a workbook's sheet, and this is a text file" in err


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--emulator", action="append", default=[])
    parser.add_argument("--devices", required=True)
    parser.add_argument("--work", required=True)
    args = parser.parse_args()
    cli = Cli(args)
    work = os.path.join(args.work, "workbooks")
    os.makedirs(work, exist_ok=True)
    path = check_search(cli, read_devices(args.devices), work)
    check_round_trip(cli, path)
    check_spreadsheet_plan(cli, work)
    check_hostile(cli, work)
    print("ok workbooks")


if __name__ == "__main__":
    main()
