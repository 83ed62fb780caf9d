#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <QString>
#include <string>
#include <vector>

// A forward-only reader of the elements and text of a package part, for the
// parts that run to megabytes (worksheets, shared strings). It works on the
// UTF-8 bytes as they stream from the zip, a chunk at a time, and makes no
// string for a name or an attribute: a general XML reader spends most of a
// sheet's reading time there. Elements and attributes are matched by their
// local names, whatever their prefixes. Text is read in pieces of bounded
// size; a tag, comment or CDATA section may not pass 4 MiB, nor elements
// nest more than 256 deep. Throws an XlsxFault naming the part when it is
// not well-formed, passes those bounds, declares a document type or cannot
// be unpacked.
class XlsxScanner {
public:
    enum Token { Start, End, Text, Done };

    XlsxScanner(QIODevice& device, const QString& part);

    // Steps to the next element start or end, or run of text. An empty
    // element gives its start and then its end. Done only at the end of a
    // complete document.
    Token Next();
    // Whether the element started or ended has that local name.
    bool NameIs(QByteArrayView localName) const;
    // The value of the attribute of that local name of the element started,
    // references decoded; null when the element has none. Valid until the
    // next call.
    QByteArrayView Attribute(QByteArrayView localName);
    // Appends the text read, references decoded, to `out`.
    void AppendText(QByteArray& out) const;
    // Appends the text up to the end of the element just started to `out`,
    // leaving out the text of elements inside it, and of a text longer than
    // a cell holds, the rest once it is too long.
    void AppendElementText(QByteArray& out);

private:
    struct Attr {
        QByteArrayView name;  // local name
        QByteArrayView value;
    };

    bool Fill();
    bool Markup();
    bool StartTag();
    bool EndTag();
    bool Skip(const char* terminator);
    void Push(QByteArrayView qualifiedName);
    void Pop();
    [[noreturn]] void Fail(const char* what) const;

    QIODevice& device_;
    const QString part_;
    QByteArray buffer_;
    qsizetype pos_ = 0;       // next byte to read in buffer_
    qsizetype end_ = 0;       // end of the bytes read into buffer_
    bool atEnd_ = false;      // the part has no more bytes
    qint64 linesBefore_ = 0;  // line feeds dropped from buffer_, to say where a fault is
    std::string open_;        // qualified names of the open elements, one after the other
    std::vector<qsizetype> openStarts_;
    bool rootSeen_ = false;
    bool pendingEnd_ = false;  // an empty element's end is next
    Token token_ = Done;
    QByteArrayView name_;
    QByteArrayView text_;
    bool textRaw_ = false;  // CDATA: no references
    std::vector<Attr> attributes_;
    QByteArray decoded_;
};

// Whether a cell can hold the text: 32,767 characters at most, as in
// Excel. A longer one is cut short as it is read, so that a part cannot
// make one cell take all memory, but kept too long to fit.
bool FitsACell(const QString& text);

// The text of a string item (<si> or <is>, the scanner at its start): its
// <t>, or the <t> of each of its runs, without the phonetic runs.
QString RichText(XlsxScanner& scan);
