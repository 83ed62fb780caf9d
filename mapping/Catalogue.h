#pragma once

#include <array>

// The target tables by name, as TABLENAME holds them.
namespace Table {
inline constexpr char kStockClass[] = "INVT_MT_CLASS";
inline constexpr char kStockItem[] = "INVT_MT_ITEM";
inline constexpr char kStockPlu[] = "INVT_MT_PLU";
inline constexpr char kBom[] = "INVT_MT_BOM";
inline constexpr char kBomMaster[] = "INVT_MT_BOMMASTER";
inline constexpr char kVendor[] = "LEDG_MT_CREDITOR";
inline constexpr char kCustomer[] = "LEDG_MT_DEBTOR";
inline constexpr char kItemGroup[] = "INVT_MT_ITEMGROUP";
inline constexpr char kMember[] = "CLUB_MT_MEMBER";
inline constexpr char kClass[] = "MT_CLASS";
inline constexpr char kItem[] = "MT_ITEM";
inline constexpr char kPlu[] = "MT_PLU";
}  // namespace Table

// The fixed catalogue of target tables: the label the operator sees and the
// table it names. Entry 7 is a separator that names no table.
struct CatalogueEntry {
    const char* label;
    const char* table;
};

inline constexpr std::array<CatalogueEntry, 11> kCatalogue{{
    {"[Ver 7.0] Classification", Table::kStockClass},
    {"[Ver 7.0] Item", Table::kStockItem},
    {"[Ver 7.0] Bill of Material", Table::kBom},
    {"[Ver 7.0] Vendor", Table::kVendor},
    {"[Ver 7.0] Customer", Table::kCustomer},
    {"[Ver 7.0] Multi Level Group", Table::kItemGroup},
    {"[Ver 7.0] Member", Table::kMember},
    {"----------------------------------------", ""},
    {"[Ver 8.0] Classification", Table::kClass},
    {"[Ver 8.0] Item", Table::kItem},
    {"[Ver 8.0] Multi Plu", Table::kPlu},
}};
