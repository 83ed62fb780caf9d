#include "import/DefaultValues.h"

#include <QHash>

#include "base/Ini.h"
#include "base/ValueText.h"
#include "import/Companions.h"

namespace {

struct SetupCode {
    const char* key;
    const char* fallback;
};

// Reference codes read from the setup file, by table and entry.
const QHash<QString, QHash<QString, SetupCode>>& SetupCodes() {
    static const QHash<QString, QHash<QString, SetupCode>> codes{
        {"INVT_MT_CLASS", {{"APPCODE", {"App", "NIL"}}}},
        {"INVT_MT_ITEM",
         {{"REFPOSCODE", {"General", "DEF"}},
          {"REFPRINTERGROUPCODE", {"Printer", "K1"}},
          {"REFTAXCODE", {"Tax", "NON-TAX"}},
          {"REFCHARGECODE", {"ServiceCharge", "NON-SERV"}},
          {"REFDISCOUNTCODE", {"Discount", "NON-DISC"}},
          {"REFSEASONCODE", {"Season", "NON"}}}},
    };
    return codes;
}

QString SetupValue(const RecordContext& r, const SetupCode& code) {
    const QString value = ReadIni("DEFAULTDEFCODE", code.key, r.home + "/GSETUP.ini");
    return value.isEmpty() ? QString(code.fallback) : value;
}

// "POSDESCRIPTION", or "POSDESCRIPTION" and a number from 1 to last.
bool IsPosDescription(const QString& entry, int last) {
    static const QString kName = "POSDESCRIPTION";
    if (!entry.startsWith(kName)) return false;
    const QStringView number = QStringView(entry).mid(kName.size());
    if (number.isEmpty()) return true;
    if (number.front() == u'0') return false;
    int n = 0;
    for (const QChar c : number) {
        if (c < u'0' || c > u'9') return false;
        n = n * 10 + c.digitValue();
        if (n > last) return false;
    }
    return true;
}

void ItemDefault(const RecordContext& r, const QString& entry) {
    if (entry == "ITEMCODE AS PLUCODE") {
        CreatePluOfItemCode(r);
    } else if (entry == "DATECREATED") {
        r.target.SetValue(entry, r.today);
    } else if (r.table == "INVT_MT_ITEM" && IsPosDescription(entry, 10)) {
        r.target.SetValue(entry, TextOf(r, "ITEMNAME"));
    } else if (r.table == "MT_ITEM" && IsPosDescription(entry, 3)) {
        r.target.SetValue(entry, Left(r.V("ITEMNAME"), 40));
    } else if (r.table == "MT_ITEM" && entry == "BUTTONDESC") {
        r.target.SetValue(entry, Left(r.V("ITEMNAME"), 20));
    } else if (r.table == "MT_ITEM" && entry == "ITEMTYPE") {
        static const QStringList kTypes{"I", "N", "C", "P"};
        const bool given =
            FieldExists(r.sheet, "TILL-ITEMTYPE") && kTypes.contains(ValueText(r.V("ITEMTYPE")));
        r.target.SetValue("ItemType", given ? r.V("ITEMTYPE") : QVariant("I"));
    } else if (r.table == "MT_ITEM" && entry == "REFCODE") {
        const bool given =
            FieldExists(r.sheet, "TILL-REFCODE") && !ValueText(r.V("REFCODE")).isEmpty();
        r.target.SetValue("RefCode", given ? r.V("REFCODE") : QVariant("DEF"));
    }
}

}  // namespace

void ApplyDefault(const RecordContext& r, const QString& entry) {
    if (const auto codes = SetupCodes().value(r.table); codes.contains(entry)) {
        r.target.SetValue(entry, SetupValue(r, codes[entry]));
    } else if (r.table == "INVT_MT_ITEM" || r.table == "MT_ITEM") {
        ItemDefault(r, entry);
    } else if (r.table == "MT_PLU") {
        if (entry == "ITEMCODE")
            CreateItemOfPlu(r);
        else if (entry == "POSDESCRIPTION1" || entry == "POSDESCRIPTION2" ||
                 entry == "POSDESCRIPTION3")
            r.target.SetValue(entry, TextOf(r, "POSDESCRIPTION"));
        else if (entry == "BUTTONDESC")
            r.target.SetValue(entry, Left(r.V("POSDESCRIPTION"), 20));
    } else if (r.table == "CLUB_MT_MEMBER" && entry == "MEMBERNAME") {
        r.target.SetValue(entry, TextOf(r, "MEMBERCODE"));
    }
}
