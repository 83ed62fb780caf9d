#!/usr/bin/env python3
"""Builds the Debian package from a built tree, unpacks it into a scratch
root and checks what it installs: the files, the declared dependencies, the
desktop entry, the manual page, the maintainer scripts, the program folder
the installed program picks, and the demo import run by that program.

Usage: check_package.py BUILD_DIR
"""
import os
import pathlib
import pwd
import re
import sqlite3
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree

INSTALLED_FILES = [
    "usr/bin/xlsload",
    "usr/share/applications/xlsload.desktop",
    "usr/share/icons/hicolor/scalable/apps/xlsload.svg",
    "usr/share/man/man1/xlsload.1",
    "usr/share/doc/xlsload/README.md",
    "usr/share/xlsload/schema/sqlite.sql",
    "usr/share/xlsload/schema/postgresql.sql",
    "usr/share/xlsload/schema/sqlserver.sql",
    "usr/share/xlsload/examples/GSETUP.ini",
    "usr/share/xlsload/examples/EXCEL/Demo.xls",
    "usr/share/xlsload/examples/EXCEL/DEMO_ITEMS.ini",
]

# What apt must bring in on a machine with nothing of it: the window and
# its display plugins, the SQL drivers, FreeTDS and what registers it, the
# workbook and company directory libraries.
DEPENDS = [
    "libqt6widgets6", "libqt6svg6", "qt6-qpa-plugins", "libqt6sql6-sqlite", "libqt6sql6-odbc",
    "tdsodbc", "odbcinst", "libgsf-1-114", "libmdb3", "libsqlite3-0",
]

# The demo job: sheet, match file, {table: rows it holds afterwards}.
DEMO = [
    ("Items", "DEMO_ITEMS", 6, {"MT_ITEM": 6, "MT_PLU": 6}),
    ("Stock", "DEMO_STOCK", 4, {"INVT_MT_ITEM": 4, "INVT_MT_PLU": 4}),
    ("Bom", "DEMO_BOM", 3, {"INVT_MT_BOM": 3, "INVT_MT_BOMMASTER": 1}),
    ("Members", "DEMO_MEMBERS", 3, {"CLUB_MT_MEMBER": 3}),
]

SQL_SERVER = "[SQL Server]"
OURS = "Description=FreeTDS ODBC driver for Microsoft SQL Server, registered by xlsload"
FOREIGN_ENTRY = "[SQL Server]\nDescription=Someone else's\nDriver=/opt/their/driver.so\n"

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAIL:", what, file=sys.stderr)


def run(args, env=None, user=None, check_status=True):
    """Runs a command; user, when given, is the (uid, gid) it runs as."""

    def drop():
        os.setgroups([])
        os.setgid(user[1])
        os.setuid(user[0])

    done = subprocess.run(args, env=env, capture_output=True, text=True,
                          preexec_fn=drop if user else None)
    if check_status and done.returncode != 0:
        raise SystemExit(f"{' '.join(map(str, args))} failed ({done.returncode}):\n"
                         f"{done.stdout}{done.stderr}")
    return done


def build_package(build, out):
    run(["cpack", "-G", "DEB", "--config", build / "CPackConfig.cmake", "-B", out])
    packages = sorted(out.glob("xlsload_*.deb"))
    if len(packages) != 1:
        raise SystemExit(f"expected one package in {out}, found {packages}")
    return packages[0]


def check_control(package, scratch):
    depends = run(["dpkg-deb", "-f", package, "Depends"]).stdout
    names = {re.split(r"[ (]", d.strip())[0] for d in depends.split(",")}
    for name in DEPENDS:
        check(name in names, f"Depends names {name}: {depends.strip()}")
    control = scratch / "control"
    run(["dpkg-deb", "-e", package, control])
    return control


def check_maintainer_scripts(control, scratch):
    """postinst registers FreeTDS only when no "SQL Server" driver exists;
    postrm takes back only that entry, and only when the package goes."""
    cases = [
        # name, odbcinst.ini before, postrm argument, entry after postinst, after postrm
        ("no driver, removed", "", "remove", OURS, None),
        ("no driver, purged", "", "purge", OURS, None),
        ("no driver, upgraded", "", "upgrade", OURS, OURS),
        ("someone else's driver", FOREIGN_ENTRY, "remove", "Description=Someone else's",
         "Description=Someone else's"),
    ]
    for name, before, postrm_argument, after_install, after_remove in cases:
        ini_folder = pathlib.Path(tempfile.mkdtemp(dir=scratch))
        (ini_folder / "odbcinst.ini").write_text(before)
        env = dict(os.environ, ODBCSYSINI=str(ini_folder))

        def entry():
            listed = run(["odbcinst", "-q", "-d"], env=env, check_status=False).stdout
            if SQL_SERVER not in listed.splitlines():
                return None
            section = run(["odbcinst", "-q", "-d", "-n", "SQL Server"], env=env).stdout
            return next((l for l in section.splitlines() if l.startswith("Description=")), "")

        run([control / "postinst", "configure"], env=env)
        check(entry() == after_install, f"{name}: after postinst the entry is {entry()!r}")
        if after_install == OURS:
            driver = run(["odbcinst", "-q", "-d", "-n", "SQL Server"], env=env).stdout
            path = re.search(r"^Driver=(.*)$", driver, re.M).group(1)
            check(pathlib.Path(path).is_file(), f"{name}: the driver {path} exists")
        run([control / "postinst", "configure"], env=env)
        check(entry() == after_install, f"{name}: a second postinst keeps {entry()!r}")
        run([control / "postrm", postrm_argument], env=env)
        check(entry() == after_remove, f"{name}: after postrm the entry is {entry()!r}")


def check_files(root):
    for path in INSTALLED_FILES:
        check((root / path).is_file(), f"the package installs {path}")
    run(["desktop-file-validate", root / "usr/share/applications/xlsload.desktop"])
    icon = ElementTree.parse(root / "usr/share/icons/hicolor/scalable/apps/xlsload.svg")
    check(icon.getroot().tag == "{http://www.w3.org/2000/svg}svg", "the icon is an SVG")


def check_help_and_manual(root, env):
    help_text = run([root / "usr/bin/xlsload", "--help"], env=env).stdout
    check("xlsload import [OPTIONS]" in help_text, "--help lists the commands")
    check("XLSLOAD_HOME" in help_text, "--help tells the program folder rule")
    manual = (root / "usr/share/man/man1/xlsload.1").read_text()
    check(manual.startswith(".TH XLSLOAD 1"), "the manual page has its title line")
    # Undo the manual page's escapes: it must say every line --help says.
    said = re.sub(r"^\\&", "", manual.replace("\\-", "-").replace("\\e", "\\"), flags=re.M)
    said_lines = set(said.splitlines())
    for line in help_text.splitlines():
        heading = re.fullmatch(r"(.+):", line)
        if heading:
            line = f'.SH "{heading.group(1).upper()}"'
        check(not line or line in said_lines, f"the manual page says {line!r}")


def program_folder(root, env, user=None):
    out = run([root / "usr/bin/xlsload", "--version"], env=env, user=user).stdout
    match = re.fullmatch(r"xlsload \d+\nProgram folder: (.*)\n", out)
    check(match is not None, f"--version says the program folder: {out!r}")
    return match.group(1) if match else None


def new_home(scratch, user):
    home = pathlib.Path(tempfile.mkdtemp(dir=scratch))
    if user:
        os.chown(home, *user)
    return home


def check_program_folder(root, scratch, env, unprivileged):
    """The executable's folder when it holds GSETUP.ini (a portable copy),
    else the user's data folder, made on first start, even where the
    executable's folder can be written, as root can write /usr/bin;
    XLSLOAD_HOME overrides either."""
    bin_folder = str(root / "usr/bin")
    elsewhere = str(scratch / "elsewhere")
    cases = [
        # name, writable usr/bin, GSETUP.ini in it, XLSLOAD_HOME, expected (None: the data folder)
        ("a portable copy", True, True, "", bin_folder),
        ("a portable copy, XLSLOAD_HOME", True, True, elsewhere, elsewhere),
        ("writable, installed", True, False, "", None),
        ("read-only", False, False, "", None),
        ("read-only, XLSLOAD_HOME", False, False, elsewhere, elsewhere),
    ]
    example = (root / "usr/share/xlsload/examples/GSETUP.ini").read_text()
    portable = root / "usr/bin/GSETUP.ini"
    for name, writable, copy, environment, expected in cases:
        home = new_home(scratch, unprivileged)
        case_env = dict(env, HOME=str(home), XLSLOAD_HOME=environment)
        data_folder = home / ".local/share/xlsload"
        (root / "usr/bin").chmod(0o755)
        if copy:
            portable.write_text(example)
        elif portable.exists():
            portable.unlink()
        (root / "usr/bin").chmod(0o755 if writable else 0o555)
        folder = program_folder(root, case_env, None if writable else unprivileged)
        check(folder == (expected or str(data_folder)), f"{name}: the program folder is {folder}")
        made = data_folder.exists()
        check(made == (expected is None), f"{name}: the data folder is made: {made}")
        if not made:
            continue
        # What a first start makes in the data folder.
        for path in ("EXCEL", "LOG/XLSLOADLOG"):
            check((data_folder / path).is_dir(), f"{name}: a first start makes {path}")
        setup = data_folder / "GSETUP.ini"
        check(setup.is_file() and setup.read_text() == example,
              f"{name}: a first start writes the example GSETUP.ini")
        check(setup.stat().st_mode & 0o200, f"{name}: the example GSETUP.ini can be edited")


def check_demo_import(root, scratch, env, unprivileged):
    """The demo job as a user of the installed program: the data folder is
    the program folder, the match files are found in its EXCEL."""
    home = new_home(scratch, unprivileged)
    env = dict(env, HOME=str(home))
    xlsload = root / "usr/bin/xlsload"
    (root / "usr/bin").chmod(0o555)
    folder = pathlib.Path(program_folder(root, env, unprivileged))
    for example in (root / "usr/share/xlsload/examples/EXCEL").iterdir():
        (folder / "EXCEL" / example.name).write_bytes(example.read_bytes())
    database = home / "till.db"
    run([xlsload, "init-db", f"sqlite:{database}"], env=env, user=unprivileged)
    for sheet, match, rows, tables in DEMO:
        done = run([xlsload, "import", "--target", f"sqlite:{database}", "--workbook",
                    folder / "EXCEL/Demo.xls", "--sheet", sheet, "--match", match, "--yes"],
                   env=env, user=unprivileged)
        expected = [f"Total Line {rows}", f"Total OK Line {rows}", "Total Error Line 0",
                    f"Inserted {rows}", "Updated 0", "Skipped 0"]
        check(done.stdout.splitlines() == expected, f"import {sheet}: {done.stdout!r}")
        with sqlite3.connect(database) as db:
            for table, count in tables.items():
                held = db.execute(f"Select Count(*) From {table}").fetchone()[0]
                check(held == count, f"import {sheet}: {table} holds {held}, not {count}")
    # --home still names the program folder: the match files are not there.
    elsewhere = new_home(scratch, unprivileged)
    done = run([xlsload, "verify", "--home", elsewhere, "--target", f"sqlite:{database}",
                "--workbook", folder / "EXCEL/Demo.xls", "--sheet", "Items", "--match",
                "DEMO_ITEMS"], env=env, user=unprivileged, check_status=False)
    check(done.returncode == 2 and "DEMO_ITEMS.ini does not exist" in done.stderr,
          f"--home overrides the data folder: {done.returncode} {done.stderr!r}")


def main():
    build = pathlib.Path(sys.argv[1]).resolve()
    with tempfile.TemporaryDirectory(prefix="xlsload-package.") as scratch_name:
        scratch = pathlib.Path(scratch_name)
        scratch.chmod(0o755)
        # Root writes everywhere: the read-only cases then run as nobody.
        unprivileged = None
        if os.geteuid() == 0:
            nobody = pwd.getpwnam("nobody")
            unprivileged = (nobody.pw_uid, nobody.pw_gid)
        package = build_package(build, scratch / "out")
        check_maintainer_scripts(check_control(package, scratch), scratch)
        root = scratch / "root"
        run(["dpkg", "-x", package, root])
        env = {k: v for k, v in os.environ.items() if not k.startswith(("XDG_", "XLSLOAD_"))}
        env["QT_QPA_PLATFORM"] = "offscreen"
        try:
            check_files(root)
            check_help_and_manual(root, env)
            check_program_folder(root, scratch, env, unprivileged)
            check_demo_import(root, scratch, env, unprivileged)
        finally:
            # The scratch root goes away with its folder.
            (root / "usr/bin").chmod(0o755)
    if failures:
        raise SystemExit(f"{len(failures)} check(s) failed")
    print("The package installs and runs")


if __name__ == "__main__":
    main()
