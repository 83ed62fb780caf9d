#pragma once

#include <array>

// The fixed catalogue of target tables: the label the operator sees and the
// table it names. Entry 7 is a separator that names no table.
struct CatalogueEntry {
    const char* label;
    const char* table;
};

inline constexpr std::array<CatalogueEntry, 11> kCatalogue{{
    {"[Ver 7.0] Classification", "INVT_MT_CLASS"},
    {"[Ver 7.0] Item", "INVT_MT_ITEM"},
    {"[Ver 7.0] Bill of Material", "INVT_MT_BOM"},
    {"[Ver 7.0] Vendor", "LEDG_MT_CREDITOR"},
    {"[Ver 7.0] Customer", "LEDG_MT_DEBTOR"},
    {"[Ver 7.0] Multi Level Group", "INVT_MT_ITEMGROUP"},
    {"[Ver 7.0] Member", "CLUB_MT_MEMBER"},
    {"----------------------------------------", ""},
    {"[Ver 8.0] Classification", "MT_CLASS"},
    {"[Ver 8.0] Item", "MT_ITEM"},
    {"[Ver 8.0] Multi Plu", "MT_PLU"},
}};
