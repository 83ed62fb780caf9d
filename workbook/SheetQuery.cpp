#include "workbook/SheetQuery.h"

namespace {
// A token is only its place in the text; values are cut out when needed, as
// the duplicate checks analyse one query per cell.
struct Token {
    enum Kind { Identifier, String, Number, Word, Punct };
    Kind kind;
    qsizetype begin;
    qsizetype end;        // one past the last character
    bool closed = false;  // a quoted run that found its closing quote
};

bool IsWordChar(QChar c) { return c.isLetterOrNumber() || c == '_' || c == '$'; }

// Ends the quoted run that opens at t.begin: past its closing quote, where
// a doubled closing quote ("]]" in a bracketed name) stands for one.
void EndQuoted(const QString& sql, QChar close, Token& t) {
    for (qsizetype i = t.begin + 1; i < sql.size(); ++i) {
        if (sql[i] != close) continue;
        if (i + 1 < sql.size() && sql[i + 1] == close) {
            ++i;
            continue;
        }
        t.end = i + 1;
        t.closed = true;
        return;
    }
    t.end = sql.size();
}

qsizetype NumberEnd(const QString& sql, qsizetype i) {
    while (i < sql.size() && (sql[i].isDigit() || sql[i] == '.')) ++i;
    if (i < sql.size() && (sql[i] == 'e' || sql[i] == 'E')) {
        qsizetype j = i + 1;
        if (j < sql.size() && (sql[j] == '+' || sql[j] == '-')) ++j;
        if (j < sql.size() && sql[j].isDigit()) {
            i = j;
            while (i < sql.size() && sql[i].isDigit()) ++i;
        }
    }
    return i;
}

QVector<Token> Tokenize(const QString& sql) {
    QVector<Token> tokens;
    for (qsizetype i = 0; i < sql.size();) {
        const QChar c = sql[i];
        if (c.isSpace()) {
            ++i;
            continue;
        }
        Token t{Token::Punct, i, i + 1};
        if (c == '[' || c == '"' || c == '\'') {
            t.kind = c == '\'' ? Token::String : Token::Identifier;
            EndQuoted(sql, c == '[' ? QChar(']') : c, t);
        } else if (c.isDigit() || (c == '.' && i + 1 < sql.size() && sql[i + 1].isDigit())) {
            t.kind = Token::Number;
            t.end = NumberEnd(sql, i);
        } else if (IsWordChar(c)) {
            t.kind = Token::Word;
            while (t.end < sql.size() && IsWordChar(sql[t.end])) ++t.end;
        }
        tokens.append(t);
        i = t.end;
    }
    return tokens;
}

// An identifier or string without its quotes (doubled quotes made single);
// any other token as it stands.
QString Value(const QString& sql, const Token& t) {
    if (t.kind != Token::Identifier && t.kind != Token::String)
        return sql.mid(t.begin, t.end - t.begin);
    const QChar close = sql[t.begin] == '[' ? QChar(']') : sql[t.begin];
    QString inner = sql.mid(t.begin + 1, t.end - t.begin - (t.closed ? 2 : 1));
    inner.replace(QString(2, close), QString(close));
    return inner;
}

// A quoted name, closed: bare words may be keywords.
bool IsQuotedName(const Token& t) { return t.kind == Token::Identifier && t.closed; }

bool IsName(const Token& t) { return t.kind == Token::Identifier || t.kind == Token::Word; }

// A character that stands for a NUL in a name the engine declares: SQLite
// ends every name at a NUL. The character itself is written twice.
constexpr char16_t kNulStandIn = 0xE000;

// Whether SQLite cannot read the quoted name as it is written: its brackets
// end at the first "]", and any name at a NUL.
bool NeedsEngineQuotes(const QString& sql, const Token& t) {
    if (!IsQuotedName(t)) return false;
    const QStringView inner = QStringView(sql).mid(t.begin + 1, t.end - t.begin - 2);
    return (sql[t.begin] == '[' && inner.contains(u"]]")) || inner.contains(QChar(0)) ||
           inner.contains(QChar(kNulStandIn));
}

QVariant NumberValue(const QString& text) {
    bool ok = false;
    const qlonglong n = text.toLongLong(&ok);
    if (ok) return n;
    return text.toDouble();
}
// The tokens of a query and the questions asked of them.
class Tokens {
public:
    explicit Tokens(const QString& sql) : sql_(sql), t_(Tokenize(sql)) {}

    qsizetype size() const { return t_.size(); }
    const Token& operator[](qsizetype i) const { return t_[i]; }
    bool Punct(qsizetype i, char c) const {
        return i >= 0 && i < t_.size() && t_[i].kind == Token::Punct && sql_[t_[i].begin] == c;
    }
    bool Word(qsizetype i, QStringView word) const {
        return i < t_.size() && t_[i].kind == Token::Word &&
               QStringView(sql_)
                       .mid(t_[i].begin, t_[i].end - t_[i].begin)
                       .compare(word, Qt::CaseInsensitive) == 0;
    }
    bool Number(qsizetype i, QStringView number) const {
        return i < t_.size() && t_[i].kind == Token::Number &&
               QStringView(sql_).mid(t_[i].begin, t_[i].end - t_[i].begin) == number;
    }
    // Position of the ")" closing the "(" at open, or -1.
    qsizetype Closing(qsizetype open) const {
        int depth = 0;
        for (qsizetype i = open; i < t_.size(); ++i) {
            if (Punct(i, '(')) ++depth;
            if (Punct(i, ')') && --depth == 0) return i;
        }
        return -1;
    }
    // Position of the ")" of a "CStr(" call at i, or -1.
    qsizetype CStrClosing(qsizetype i) const {
        const Token& k = t_[i];
        if (k.kind != Token::Word || !Punct(i + 1, '(') ||
            QStringView(sql_).mid(k.begin, k.end - k.begin).compare(u"CStr", Qt::CaseInsensitive) !=
                0)
            return -1;
        return Closing(i + 1);
    }

private:
    const QString& sql_;
    QVector<Token> t_;
};

// The text SQLite prepares: parameters for the caller's "?" and for values
// after "=", the collation after every CStr(...).
SheetQuery Parameterize(const QString& sql, const Tokens& t) {
    SheetQuery q;
    QVector<qsizetype> collateAfter;  // character positions right after a CStr(...)
    for (qsizetype i = 0; i < t.size(); ++i)
        if (const qsizetype close = t.CStrClosing(i); close >= 0) collateAfter.append(t[close].end);
    q.text.reserve(sql.size() + 32 * collateAfter.size());
    qsizetype copied = 0;
    qsizetype nextCollate = 0;
    const auto copyTo = [&](qsizetype at) {
        for (; nextCollate < collateAfter.size() && collateAfter[nextCollate] <= at;
             ++nextCollate) {
            q.text += QStringView(sql).mid(copied, collateAfter[nextCollate] - copied);
            q.text += QLatin1String(" COLLATE ") + QLatin1String(kFoldCollation);
            copied = collateAfter[nextCollate];
        }
        q.text += QStringView(sql).mid(copied, at - copied);
        copied = at;
    };
    for (qsizetype i = 0; i < t.size(); ++i) {
        const Token& k = t[i];
        if (t.Punct(i, '?')) {
            q.binds.append(SheetQuery::Bind{true, {}});
            continue;
        }
        if (k.kind == Token::Identifier && NeedsEngineQuotes(sql, k)) {
            copyTo(k.begin);
            q.text += EngineQuoted(Value(sql, k));
            copied = k.end;
            continue;
        }
        const bool afterEquals =
            t.Punct(i - 1, '=') || (t.Punct(i - 1, '-') && t.Punct(i - 2, '='));
        if (!afterEquals || (k.kind != Token::String && k.kind != Token::Number)) continue;
        copyTo(k.begin);
        q.text += '?';
        copied = k.end;
        const QString value = Value(sql, k);
        q.binds.append(SheetQuery::Bind{
            false, k.kind == Token::String ? QVariant(value) : NumberValue(value)});
    }
    copyTo(sql.size());
    return q;
}

}  // namespace

SheetQuery ParameterizeSheetQuery(const QString& sql) { return Parameterize(sql, Tokens(sql)); }

SheetQuery AnalyzeSheetQuery(const QString& sql) {
    const Tokens t(sql);
    SheetQuery q = Parameterize(sql, t);
    for (qsizetype i = 0; i < t.size(); ++i) {
        const Token& k = t[i];
        if (k.kind == Token::Identifier || (k.kind == Token::Word && sql[k.end - 1] == '$'))
            q.names.append(Value(sql, k));
        if (IsName(k) && t.Punct(i + 1, '=')) q.comparedColumns.append(Value(sql, k));
        if (const qsizetype close = t.CStrClosing(i);
            close == i + 3 && IsName(t[i + 2]) && t.Punct(close + 1, '='))
            q.cstrColumns.append(Value(sql, t[i + 2]));
    }
    return q;
}

std::optional<SheetProjection> ProjectionOf(const QString& sql) {
    const Tokens t(sql);
    if (!t.Word(0, u"Select")) return std::nullopt;
    SheetProjection p;
    qsizetype i = 1;
    for (;; ++i) {
        SheetProjection::Item item;
        if (t.Punct(i, '*')) {
            item.all = true;
        } else if (i < t.size() && IsQuotedName(t[i])) {
            item.column = Value(sql, t[i]);
            if (t.Word(i + 1, u"As")) {
                if (i + 2 >= t.size() || !IsQuotedName(t[i + 2])) return std::nullopt;
                item.name = Value(sql, t[i + 2]);
                i += 2;
            }
        } else {
            return std::nullopt;
        }
        p.items.append(item);
        if (!t.Punct(i + 1, ',')) break;
        ++i;
    }
    if (!t.Word(i + 1, u"From") || i + 2 >= t.size() || !IsQuotedName(t[i + 2]))
        return std::nullopt;
    p.table = Value(sql, t[i + 2]);
    i += 3;
    if (t.Word(i, u"Where") && t.Number(i + 1, u"1") && t.Punct(i + 2, '=') &&
        t.Number(i + 3, u"0")) {
        p.noRows = true;
        i += 4;
    }
    if (i != t.size()) return std::nullopt;
    return p;
}

QString EngineQuoted(const QString& name) {
    QString out;
    out.reserve(name.size() + 2);
    out += u'"';
    for (const QChar c : name) {
        if (c.unicode() == 0) {
            out += QChar(kNulStandIn);
            out += u'0';
            continue;
        }
        out += c;
        if (c == u'"' || c.unicode() == kNulStandIn) out += c;
    }
    out += u'"';
    return out;
}

QString NameFromEngine(const QString& declared) {
    if (!declared.contains(QChar(kNulStandIn))) return declared;
    QString name;
    name.reserve(declared.size());
    for (qsizetype i = 0; i < declared.size(); ++i) {
        if (declared[i] == QChar(kNulStandIn) && i + 1 < declared.size()) {
            ++i;
            name += declared[i] == u'0' ? QChar(0) : declared[i];
        } else {
            name += declared[i];
        }
    }
    return name;
}

QString SqlNameKey(QString name) {
    for (QChar& c : name)
        if (c.unicode() < 0x80) c = c.toLower();
    return name;
}
