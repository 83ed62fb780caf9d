#!/usr/bin/python3
"""What `xlsload import` sends to SQL Server, counted at the wire: each sheet
kind is imported into the scripted endpoint of the shared tools
(tds-capture), optionally through bench/latency_relay.py, and the requests,
bytes and seconds are printed, per 1,000 sheet rows and per staged row.

Usage: wire_bench.py [--rows N] [--delay MS] [--kinds items,stock,members,bom]
                     [--record-by-record] [--capture PATH] [--keep DIR]

The workbooks are shaped like a shop's: the items sheet is the benchmark's
(codes, long distinct remarks, a date a row, a few rows Verify rejects)."""
import argparse
import datetime
import json
import os
import re
import shutil
import socket
import subprocess
import sys
import tempfile
import time

import xlsxwriter

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(HERE)
sys.path.insert(0, HERE)
import make_bench_workbook  # noqa: E402


def members(n):
    return (["No", "Name", "Born", "Phone"],
            [["M%06d" % i, "Member %d of the club, %s" % (i, make_bench_workbook.WORDS[i % 12]),
              datetime.datetime(1950, 1, 1) + datetime.timedelta(days=i % 20000),
              "555-%04d" % (i % 10000)] for i in range(1, n + 1)],
            ["No=MEMBERCODE", "Name=MEMBERNAME", "Born=BIRTHDATE", "Phone=PHONE"])


def stock(n):
    return (["Code", "Name", "Portion Price"],
            [["S%06d" % i, "Stock item %d, %s" % (i, make_bench_workbook.WORDS[i % 12]),
              0.25 + i % 40] for i in range(1, n + 1)],
            ["Code=ITEMCODE", "Name=ITEMNAME", "Portion Price=PORTIONUNITPRICE"])


def bom(n):
    # Bills of five lines each, their components among a hundred items.
    return (["Group", "Type", "Finished Item", "Component", "Quantity"],
            [["G%02d" % (i // 5000), "D", "F%06d" % (i // 5), "C%03d" % (i % 5 * 20 + i // 5 % 20),
              1 + i % 3] for i in range(n)],
            ["Group=BOMGROUPCODE", "Type=TYPE", "Finished Item=ITEMCODE", "Component=BOMITEMCODE",
             "Quantity=SERVEQTY"])


def items(n):
    header = make_bench_workbook.HEADER
    till = ["ITEMCODE", "ITEMNAME", "PLUCODE", "POSDESCRIPTION", "UOM", "UNITPRICE", "UNITCOST",
            "ITEMTYPE", "REFCODE", "CLASSCODE", "BUTTONDESC", "UNITPRICERCP", "DATECREATED",
            "REMARK"]
    return (header, [make_bench_workbook.row(i, n) for i in range(1, n + 1)],
            ["%s=%s" % pair for pair in zip(header, till)])


KINDS = {"items": ("MT_ITEM", items), "stock": ("INVT_MT_ITEM", stock),
         "members": ("CLUB_MT_MEMBER", members), "bom": ("INVT_MT_BOM", bom)}


def write_workbook(path, header, rows):
    book = xlsxwriter.Workbook(path)
    sheet = book.add_worksheet("Sheet")
    date = book.add_format({"num_format": "yyyy-mm-dd hh:mm"})
    sheet.write_row(0, 0, header)
    for r, values in enumerate(rows, 1):
        for c, value in enumerate(values):
            if isinstance(value, datetime.datetime):
                sheet.write_datetime(r, c, value, date)
            else:
                sheet.write(r, c, value)
    book.close()


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def wait_for(path, text, seconds=10):
    end = time.time() + seconds
    while time.time() < end:
        if os.path.exists(path) and text in open(path, encoding="utf-8").read():
            return
        time.sleep(0.05)
    sys.exit("the endpoint did not start: " + path)


def statement_of(kind, rest, prepared):
    """The statement text a request carries, and for sp_execute the one it
    names; prepared: the texts of the prepared handles, in order."""
    if kind == "BATCH":
        return json.loads(rest)
    name, _, params = rest.partition(" ")
    params = json.loads(params)
    if name in ("sp_prepare", "sp_prepexec"):
        prepared.append(params[2]["value"])
        return params[2]["value"]
    if name == "sp_executesql":
        return params[0]["value"]
    if name == "sp_execute":
        return prepared[params[0]["value"] - 1]
    return ""


def count(log, table):
    """Requests, bytes, and the calls and staging of the table in a log."""
    c = {"requests": 0, "bytes": 0, "sp_unprepare": 0, "sp_prepexec": 0, "sp_execute": 0,
         "staged rows": 0, "staged bytes": 0, "inserts after staging": 0}
    prepared, staging, last = [], set(), ""
    for line in open(log, encoding="utf-8"):
        parts = line.rstrip("\n").split(" ", 2)
        if len(parts) < 3 or parts[1] not in ("BATCH", "RPC", "TRANMGR", "BYTES"):
            continue
        kind, rest = parts[1], parts[2]
        if kind == "BYTES":
            c["bytes"] += int(rest)
            if last.startswith("Insert Into #") and last.split()[2] in staging:
                c["staged bytes"] += int(rest)
            continue
        c["requests"] += 1
        if kind == "RPC":
            c[rest.split(" ")[0]] = c.get(rest.split(" ")[0], 0) + 1
        last = statement_of(kind, rest, prepared) if kind != "TRANMGR" else ""
        made = re.match(r"Select .* Into (#\w+) From \[(\w+)\] Where 1 = 0", last)
        if made and made.group(2) == table:
            staging.add(made.group(1))
        if last.startswith("Insert Into #") and last.split()[2] in staging:
            c["staged rows"] += last.count("), (") + 1
        if staging and last.startswith("Insert Into [%s] (" % table) and " Values " in last:
            c["inserts after staging"] += 1
    return c


def run(kind, rows, args, work):
    table, make = KINDS[kind]
    header, data, maps = make(rows)
    home = os.path.join(work, kind)
    os.makedirs(os.path.join(home, "EXCEL"), exist_ok=True)
    book = os.path.join(home, "EXCEL", kind + ".xlsx")
    write_workbook(book, header, data)
    log = os.path.join(work, kind + ".log")
    if os.path.exists(log):
        os.remove(log)  # the endpoint appends
    port = free_port()
    # Record by record: the endpoint refuses the staging table, as a server
    # that refuses the set does.
    refuse = ["--fail-on", "Where 1 = 0"] if args.record_by_record else []
    servers = [subprocess.Popen([sys.executable, args.capture, "--schema",
                                 os.path.join(REPO, "database/schema/sqlserver.sql"), "--port",
                                 str(port), "--log", log] + refuse)]
    wait_for(log, "listening")
    if args.delay:
        relay = free_port()
        servers.append(subprocess.Popen([sys.executable, os.path.join(HERE, "latency_relay.py"),
                                         str(relay), str(port), str(args.delay)]))
        time.sleep(1)
        port = relay
    command = [os.path.join(REPO, "build/cli/xlsload"), "import", "--home", home, "--server",
               "127.0.0.1,%d" % port, "--database", "till", "--user", "sa", "--password", "bench",
               "--workbook", book, "--sheet", "Sheet", "--table", table, "--yes"]
    for m in maps:
        command += ["--map", m]
    start = time.time()
    done = subprocess.run(command, capture_output=True, text=True)
    seconds = time.time() - start
    for s in servers:
        s.kill()
        s.wait()
    if done.returncode != 0:
        print(done.stdout, done.stderr, file=sys.stderr)
    c = count(log, table)
    per = 1000.0 / rows
    print("%-8s %7d rows  %7.1f s  exit %d  %7.1f requests/1,000 rows  %8.0f bytes/row  "
          "%6.0f bytes/staged row  prepexec %d execute %d unprepare %d  inserts after staging %d"
          % (kind, rows, seconds, done.returncode, c["requests"] * per, c["bytes"] / rows,
             c["staged bytes"] / c["staged rows"] if c["staged rows"] else 0,
             c["sp_prepexec"], c["sp_execute"], c["sp_unprepare"], c["inserts after staging"]))
    notices = [l for l in done.stderr.splitlines() if l.startswith("Notice:")]
    for n in notices:
        print("         " + n)


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--rows", type=int, default=20000)
    ap.add_argument("--delay", type=int, default=0, help="ms each way through the relay")
    ap.add_argument("--kinds", default="items,stock,members,bom")
    ap.add_argument("--record-by-record", action="store_true",
                    help="the endpoint refuses the set, so that the records go one by one")
    ap.add_argument("--capture", default=os.path.join(REPO, "../shared/tools/tds-capture/"
                                                            "tds_capture.py"))
    ap.add_argument("--keep", help="keep the workbooks and logs in this folder")
    args = ap.parse_args()
    if not os.path.exists(args.capture):
        sys.exit("no tds-capture at " + args.capture + " (--capture PATH)")
    work = args.keep or tempfile.mkdtemp(prefix="xlsload-wire.")
    os.makedirs(work, exist_ok=True)
    try:
        for kind in args.kinds.split(","):
            run(kind, args.rows, args, work)
    finally:
        if not args.keep:
            shutil.rmtree(work)


if __name__ == "__main__":
    main()
