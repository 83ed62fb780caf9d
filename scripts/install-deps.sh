#!/usr/bin/env bash
# Installs every Debian package xlsload needs to build, run, test and
# package (cpack reads the package's dependencies with dpkg-shlibdeps).
# Safe to run again: it asks apt only for what is missing.
set -euo pipefail

packages=(
    build-essential cmake pkg-config clang-format
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6sql6-sqlite libqt6sql6-odbc qt6-qpa-plugins
    libgl-dev fonts-dejavu-core
    libsqlite3-dev libgsf-1-dev mdbtools-dev libglib2.0-dev
    unixodbc unixodbc-dev tdsodbc odbc-postgresql
    postgresql
    googletest libgtest-dev
    python3 python3-xlwt python3-xlsxwriter python3-xlrd python3-openpyxl python3-pandas sqlite3
    dpkg-dev file desktop-file-utils
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if ((${#missing[@]})); then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# ODBC drivers. The target's connection string names the driver "SQL Server";
# unixODBC resolves that name to FreeTDS. Registered only when missing.
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
if ! odbcinst -q -d | grep -qx '\[SQL Server\]'; then
    tds_driver=$(dpkg -L tdsodbc | grep '/libtdsodbc\.so$' | head -n 1)
    template=$(mktemp)
    printf '[SQL Server]\nDescription=FreeTDS ODBC driver for Microsoft SQL Server\nDriver=%s\n' \
        "$tds_driver" >"$template"
    $sudo odbcinst -i -d -f "$template" >/dev/null
    rm -f "$template"
fi
# Debian's psqlODBC entry logs every connection into /tmp (CommLog=1); the
# driver reads that switch from its own section only.
$sudo sed -i '/^\[PostgreSQL Unicode\]/,/^\[/{s/^CommLog=1/CommLog=0/;s/^Debug=1/Debug=0/}' \
    /etc/odbcinst.ini
