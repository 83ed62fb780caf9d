#include "validation/RepeatedValues.h"

#include <QHash>
#include <optional>

#include "base/Connection.h"
#include "base/Recordset.h"

namespace {

// The text in upper case (a to z only, as the sheet's comparison folds
// ASCII), or none when it holds another character: such a text may equal a
// repeated one in other letters (the Kelvin sign and "k"). Codes are mostly
// in upper case already and are then their own key, not copied.
std::optional<QString> AsciiKey(const QString& text) {
    qsizetype lower = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (u >= 0x80) return std::nullopt;
        if (lower < 0 && u >= u'a' && u <= u'z') lower = i;
    }
    if (lower < 0) return text;
    QString key = text;
    for (qsizetype i = lower; i < key.size(); ++i)
        if (const char16_t u = key[i].unicode(); u >= u'a' && u <= u'z') key[i] = QChar(u - 32);
    return key;
}

// The texts joined, as one key.
std::optional<QString> AsciiKey(const QStringList& texts) {
    return AsciiKey(texts.size() == 1 ? texts[0] : texts.join(QChar(0x1f)));
}

}  // namespace

RepeatedValues::RepeatedValues(Connection& excel, const QString& sql) {
    const auto rs = excel.Open(sql);
    any_ = !rs->Eof();
    // Once a value is no ASCII text, every cell is counted: no key is kept.
    for (; byKey_ && !rs->Eof(); rs->MoveNext()) {
        QStringList texts;
        for (int i = 0; i < rs->FieldCount(); ++i) {
            const QVariant v = rs->Value(i);
            if (v.typeId() != QMetaType::QString) byKey_ = false;
            texts << v.toString();
        }
        const std::optional<QString> key = AsciiKey(texts);
        if (!key) byKey_ = false;
        if (byKey_) keys_.insert(*key);
    }
}

RepeatedValues RepeatedValues::OfColumn(Connection& excel, const QString& sql,
                                        const Recordset& rows, int field) {
    QHash<QString, int> counts;
    counts.reserve(rows.RecordCount());  // codes are mostly distinct: no rehash as it fills
    for (int position = 1; position <= rows.RecordCount(); ++position) {
        const QVariant v = rows.ValueAt(position, field);
        if (v.isNull()) continue;
        const std::optional<QString> key =
            v.typeId() == QMetaType::QString ? AsciiKey(v.toString()) : std::nullopt;
        if (!key) return RepeatedValues(excel, sql);
        ++counts[*key];
    }
    RepeatedValues repeats;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > 1) repeats.keys_.insert(it.key());
    repeats.any_ = !repeats.keys_.isEmpty();
    repeats.counted_ = true;
    return repeats;
}

std::optional<bool> RepeatedValues::Repeats(const QString& text) const {
    if (!counted_) return std::nullopt;
    const std::optional<QString> key = AsciiKey(text);
    if (!key) return std::nullopt;
    return keys_.contains(*key);
}

bool RepeatedValues::MayMatch(const QStringList& texts, bool comparedAsText) const {
    if (!any_) return false;
    if (!comparedAsText || !byKey_) return true;
    const std::optional<QString> key = AsciiKey(texts);
    return !key || keys_.contains(*key);
}
