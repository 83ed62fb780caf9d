#include "workbook/XlsxScanner.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string_view>

#include "workbook/XlsxPackage.h"
#include "workbook/XlsxXml.h"

namespace {
constexpr qsizetype kChunk = 256 * 1024;
// Bounds on what is held whole: markup (a tag, comment or CDATA section)
// and the open elements. Real parts stay far below them; a part made to
// pass them would otherwise take all memory.
constexpr qsizetype kMaxMarkup = 4 * 1024 * 1024;
constexpr size_t kMaxDepth = 256;
// The most characters a cell holds, as in Excel. Of a longer text no more
// is kept than one character past that can take as UTF-8, so that it still
// reads as too long.
constexpr qsizetype kMaxCellChars = 32767;
constexpr qsizetype kKeptTextBytes = 4 * (kMaxCellChars + 1);

// Where a run of text read so far may end without cutting a reference
// ("&amp;") or a line end ("\r\n") in two.
qsizetype TextCut(QByteArrayView text) {
    qsizetype cut = text.size();
    const qsizetype tail = qMax<qsizetype>(0, cut - 12);
    for (qsizetype i = cut - 1; i >= tail; --i) {
        if (text[i] == ';') break;
        if (text[i] == '&') {
            cut = i;
            break;
        }
    }
    if (cut > 0 && text[cut - 1] == '\r') --cut;
    return cut;
}

bool IsSpace(char c) { return c == ' ' || c == '\n' || c == '\t' || c == '\r'; }

// Where a name ends: at white space or the end of a tag.
bool EndsName(char c) { return IsSpace(c) || c == '>' || c == '/' || c == '='; }

// Inline, unlike QByteArrayView's ==: names are compared a few times a cell.
bool Same(QByteArrayView a, QByteArrayView b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), size_t(a.size())) == 0;
}

bool Contains(QByteArrayView text, char c) {
    return std::memchr(text.data(), c, size_t(text.size())) != nullptr;
}

qint64 CountLines(const char* begin, const char* end) {
    qint64 lines = 0;
    while ((begin = static_cast<const char*>(std::memchr(begin, '\n', size_t(end - begin))))) {
        ++lines;
        ++begin;
    }
    return lines;
}

QByteArrayView LocalName(QByteArrayView qualified) {
    qsizetype colon = qualified.size();
    while (colon > 0 && qualified[colon - 1] != ':') --colon;
    return qualified.sliced(colon);
}

bool IsXmlChar(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

void AppendUtf8(char32_t c, QByteArray& out) {
    if (c < 0x80) {
        out.append(char(c));
    } else if (c < 0x800) {
        out.append(char(0xC0 | (c >> 6))).append(char(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.append(char(0xE0 | (c >> 12)))
            .append(char(0x80 | ((c >> 6) & 0x3F)))
            .append(char(0x80 | (c & 0x3F)));
    } else {
        out.append(char(0xF0 | (c >> 18)))
            .append(char(0x80 | ((c >> 12) & 0x3F)))
            .append(char(0x80 | ((c >> 6) & 0x3F)))
            .append(char(0x80 | (c & 0x3F)));
    }
}

// One reference without its "&" and ";" ("amp", "#233", "#xE9") appended as
// the character it stands for; false when it stands for none.
bool AppendReference(QByteArrayView name, QByteArray& out) {
    static const struct {
        const char* name;
        char c;
    } kEntities[] = {{"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"quot", '"'}, {"apos", '\''}};
    for (const auto& e : kEntities) {
        if (name == e.name) {
            out.append(e.c);
            return true;
        }
    }
    if (name.size() < 2 || name[0] != '#') return false;
    const bool hex = name[1] == 'x';
    const QByteArrayView digits = name.sliced(hex ? 2 : 1);
    quint32 code = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), code, hex ? 16 : 10);
    if (digits.isEmpty() || error != std::errc() || end != digits.data() + digits.size() ||
        !IsXmlChar(code))
        return false;
    AppendUtf8(code, out);
    return true;
}

// Appends text as XML reads it: line ends as line feeds, and references
// decoded unless it is raw (CDATA). False on a reference to nothing.
bool AppendDecoded(QByteArrayView raw, bool references, QByteArray& out) {
    const char* p = raw.data();
    const char* const end = p + raw.size();
    // The next of each special character, looked for again only once
    // passed: a text of many references and no line end is scanned once.
    const auto next = [end](const char* from, char c) {
        const void* found = std::memchr(from, c, size_t(end - from));
        return found ? static_cast<const char*>(found) : end;
    };
    const char* cr = next(p, '\r');
    const char* amp = references ? next(p, '&') : end;
    while (p < end) {
        if (cr < p) cr = next(p, '\r');
        if (amp < p) amp = next(p, '&');
        const char* special = std::min(cr, amp);
        out.append(p, special - p);
        if (special == end) break;
        if (*special == '\r') {
            out.append('\n');
            p = special + 1;
            if (p < end && *p == '\n') ++p;
            continue;
        }
        const char* semicolon = static_cast<const char*>(std::memchr(special, ';', end - special));
        if (!semicolon || !AppendReference(QByteArrayView(special + 1, semicolon), out))
            return false;
        p = semicolon + 1;
    }
    return true;
}
}  // namespace

XlsxScanner::XlsxScanner(QIODevice& device, const QString& part) : device_(device), part_(part) {
    buffer_.resize(kChunk);
    Fill();
    // A byte order mark of UTF-8 says nothing (the package hands UTF-16
    // parts over in UTF-8).
    if (end_ >= 3 && std::memcmp(buffer_.constData(), "\xEF\xBB\xBF", 3) == 0) pos_ = 3;
}

void XlsxScanner::Fail(const char* what) const {
    const qint64 line =
        linesBefore_ + CountLines(buffer_.constData(), buffer_.constData() + pos_) + 1;
    throw XlsxFault{
        QString("%1 is not well-formed XML (line %2: %3)").arg(part_).arg(line).arg(what)};
}

// Keeps the bytes not read yet and reads more after them; false when the
// part has no more.
bool XlsxScanner::Fill() {
    if (atEnd_) return false;
    if (pos_ > 0) {
        linesBefore_ += CountLines(buffer_.constData(), buffer_.constData() + pos_);
        std::memmove(buffer_.data(), buffer_.constData() + pos_, size_t(end_ - pos_));
        end_ -= pos_;
        pos_ = 0;
    }
    // A token longer than the buffer makes it grow.
    if (buffer_.size() - end_ < kChunk / 2) buffer_.resize(buffer_.size() * 2);
    const qint64 n = device_.read(buffer_.data() + end_, buffer_.size() - end_);
    if (n <= 0) {
        atEnd_ = true;
        if (XlsxPackage::Failed(device_)) throw XlsxFault{part_ + " cannot be unpacked"};
        return false;
    }
    end_ += n;
    return true;
}

XlsxScanner::Token XlsxScanner::Next() {
    if (pendingEnd_) {
        pendingEnd_ = false;
        Pop();
        return token_ = End;
    }
    for (;;) {
        if (pos_ == end_ && !Fill()) {
            if (!rootSeen_ || !openStarts_.empty()) Fail("premature end of document");
            return token_ = Done;
        }
        const char* begin = buffer_.constData() + pos_;
        if (*begin == '<') {
            const qsizetype markupStart = pos_;
            if (!Markup()) {
                if (end_ - pos_ > kMaxMarkup) Fail("markup longer than 4 MiB");
                const bool more = Fill();
                if (more) continue;
                if (!Markup()) Fail("premature end of document");
            }
            if (pos_ - markupStart > kMaxMarkup) Fail("markup longer than 4 MiB");
            if (token_ == Done) continue;  // a comment or processing instruction
        } else {
            const void* lt = std::memchr(begin, '<', size_t(end_ - pos_));
            // The text may go on; a long one is given in pieces.
            if (!lt && end_ - pos_ < kChunk && Fill()) continue;
            qsizetype textEnd = lt ? static_cast<const char*>(lt) - buffer_.constData() : end_;
            if (!lt && !atEnd_) textEnd = pos_ + TextCut(QByteArrayView(begin, end_ - pos_));
            text_ = QByteArrayView(buffer_.constData() + pos_, textEnd - pos_);
            textRaw_ = false;
            pos_ = textEnd;
            token_ = Text;
        }
        if (token_ == Text && openStarts_.empty()) {
            if (!std::all_of(text_.begin(), text_.end(), IsSpace))
                Fail("text outside the document element");
            continue;
        }
        return token_;
    }
}

// Reads the markup at pos_; false when the buffer ends within it. Sets
// token_ to what it was, Done for markup that is no token.
bool XlsxScanner::Markup() {
    const QByteArrayView rest(buffer_.constData() + pos_, end_ - pos_);
    if (rest.size() < 2) return false;
    if (rest[1] == '/') return EndTag();
    if (rest[1] == '?') return Skip("?>");
    if (rest[1] != '!') return StartTag();
    if (rest.size() < 9 && !atEnd_) return false;
    if (rest.startsWith("<!--")) return Skip("-->");
    if (!rest.startsWith("<![CDATA[")) {
        if (rest.startsWith("<!DOCTYPE")) throw XlsxFault{"it declares a document type"};
        Fail("unexpected markup");
    }
    const qsizetype close = rest.indexOf("]]>");
    if (close < 0) return false;
    text_ = rest.sliced(9, close - 9);
    textRaw_ = true;
    pos_ += close + 3;
    token_ = Text;
    return true;
}

bool XlsxScanner::Skip(const char* terminator) {
    const QByteArrayView rest(buffer_.constData() + pos_, end_ - pos_);
    const qsizetype close = rest.indexOf(terminator, 2);
    if (close < 0) return false;
    pos_ += close + qsizetype(std::strlen(terminator));
    token_ = Done;
    return true;
}

bool XlsxScanner::EndTag() {
    const char* const begin = buffer_.constData() + pos_;
    const void* gt = std::memchr(begin, '>', size_t(end_ - pos_));
    if (!gt) return false;
    QByteArrayView name(begin + 2, static_cast<const char*>(gt));
    while (!name.isEmpty() && IsSpace(name.back())) name.chop(1);
    if (openStarts_.empty() || !Same(QByteArrayView(open_).sliced(openStarts_.back()), name))
        Fail("opening and ending tag mismatch");
    Pop();
    name_ = LocalName(name);
    pos_ = static_cast<const char*>(gt) + 1 - buffer_.constData();
    token_ = End;
    return true;
}

bool XlsxScanner::StartTag() {
    const char* const begin = buffer_.constData() + pos_;
    const char* const end = buffer_.constData() + end_;
    const char* p = begin + 1;
    while (p < end && !EndsName(*p)) ++p;
    if (p == end) return false;
    const QByteArrayView name(begin + 1, p);
    if (name.isEmpty()) Fail("an element without a name");
    attributes_.clear();
    for (;;) {
        while (p < end && IsSpace(*p)) ++p;
        if (p == end) return false;
        if (*p == '>' || *p == '/') break;
        const char* attributeName = p;
        while (p < end && !EndsName(*p)) ++p;
        const QByteArrayView qualified(attributeName, p);
        while (p < end && IsSpace(*p)) ++p;
        if (p == end) return false;
        if (*p != '=' || qualified.isEmpty()) Fail("an attribute without a value");
        ++p;
        while (p < end && IsSpace(*p)) ++p;
        if (p == end) return false;
        if (*p != '"' && *p != '\'') Fail("an attribute value without quotes");
        const void* close = std::memchr(p + 1, *p, size_t(end - p - 1));
        if (!close) return false;
        attributes_.push_back(
            {LocalName(qualified), QByteArrayView(p + 1, static_cast<const char*>(close))});
        p = static_cast<const char*>(close) + 1;
    }
    const bool empty = *p == '/';
    if (empty) {
        if (p + 1 == end) return false;
        if (p[1] != '>') Fail("a '/' inside a tag");
        ++p;
    }
    if (openStarts_.empty()) {
        if (rootSeen_) Fail("extra content at the end of the document");
        rootSeen_ = true;
    }
    Push(name);
    name_ = LocalName(name);
    pendingEnd_ = empty;
    pos_ = p + 1 - buffer_.constData();
    token_ = Start;
    return true;
}

void XlsxScanner::Push(QByteArrayView qualifiedName) {
    if (openStarts_.size() >= kMaxDepth) Fail("elements nested more than 256 deep");
    openStarts_.push_back(qsizetype(open_.size()));
    open_.append(qualifiedName.data(), size_t(qualifiedName.size()));
}

bool XlsxScanner::NameIs(QByteArrayView localName) const { return Same(name_, localName); }

void XlsxScanner::Pop() {
    open_.resize(size_t(openStarts_.back()));
    openStarts_.pop_back();
}

QByteArrayView XlsxScanner::Attribute(QByteArrayView localName) {
    for (const Attr& a : attributes_) {
        if (!Same(a.name, localName)) continue;
        if (!Contains(a.value, '&') && !Contains(a.value, '\r')) return a.value;
        decoded_.clear();
        if (!AppendDecoded(a.value, true, decoded_)) Fail("an undefined reference");
        return decoded_.isNull() ? QByteArrayView("") : QByteArrayView(decoded_);
    }
    return {};
}

void XlsxScanner::AppendText(QByteArray& out) const {
    if (!AppendDecoded(text_, !textRaw_, out)) Fail("an undefined reference");
}

void XlsxScanner::AppendElementText(QByteArray& out) {
    for (int depth = 1; depth > 0;) {
        switch (Next()) {
            case Start:
                ++depth;
                break;
            case End:
                --depth;
                break;
            case Text:
                if (depth == 1 && out.size() <= kKeptTextBytes) {
                    AppendText(out);
                    // Cut between characters: what is kept is too long already.
                    if (out.size() > kKeptTextBytes) {
                        qsizetype cut = kKeptTextBytes;
                        while (cut > 0 && (uchar(out[cut]) & 0xC0) == 0x80) --cut;
                        out.truncate(cut);
                    }
                }
                break;
            case Done:
                return;
        }
    }
}

bool FitsACell(const QString& text) { return text.size() <= kMaxCellChars; }

QString RichText(XlsxScanner& scan) {
    QByteArray utf8;
    int phonetic = 0;  // depth inside an rPh element
    for (int depth = 1; depth > 0;) {
        switch (scan.Next()) {
            case XlsxScanner::Start:
                if (scan.NameIs("rPh") || phonetic > 0) {
                    ++phonetic;
                    ++depth;
                } else if (scan.NameIs("t")) {
                    scan.AppendElementText(utf8);
                } else {
                    ++depth;
                }
                break;
            case XlsxScanner::End:
                --depth;
                if (phonetic > 0) --phonetic;
                break;
            case XlsxScanner::Text:
                break;
            case XlsxScanner::Done:
                return {};
        }
    }
    const QString text = QString::fromUtf8(utf8);
    return std::string_view(utf8.constData(), size_t(utf8.size())).find("_x") !=
                   std::string_view::npos
               ? DecodeEscapes(text)
               : text;
}
