#!/usr/bin/env bash
# The main job: installs what is missing, builds xlsload, creates a demo
# SQLite till database and imports the example workbook into it through its
# match files, printing the verify totals and what was written.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target xlsload

demo=out/demo
rm -rf "$demo"
mkdir -p "$demo"
cp -r examples/EXCEL examples/GSETUP.ini "$demo"/
xlsload=build/cli/xlsload
target="sqlite:$demo/till.db"
"$xlsload" init-db "$target"

for job in Items:DEMO_ITEMS Stock:DEMO_STOCK Bom:DEMO_BOM Members:DEMO_MEMBERS; do
    sheet=${job%%:*}
    match=${job#*:}
    echo "== Sheet $sheet (match file $match)"
    "$xlsload" import --home "$demo" --target "$target" --workbook "$demo/EXCEL/Demo.xls" \
        --sheet "$sheet" --match "$match" --yes
done

echo "== The demo till database $demo/till.db now holds"
sqlite3 -header -column "$demo/till.db" <<'SQL'
Select 'MT_ITEM' As TableName, Count(*) As Records From MT_ITEM
Union All Select 'MT_PLU', Count(*) From MT_PLU
Union All Select 'INVT_MT_ITEM', Count(*) From INVT_MT_ITEM
Union All Select 'INVT_MT_PLU', Count(*) From INVT_MT_PLU
Union All Select 'INVT_MT_BOM', Count(*) From INVT_MT_BOM
Union All Select 'INVT_MT_BOMMASTER', Count(*) From INVT_MT_BOMMASTER
Union All Select 'CLUB_MT_MEMBER', Count(*) From CLUB_MT_MEMBER;
Select BOMGROUPCODE, ITEMCODE, TOTALBOMCOST From INVT_MT_BOMMASTER;
SQL
