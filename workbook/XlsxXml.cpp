#include "workbook/XlsxXml.h"

#include "workbook/XlsxPackage.h"

QXmlStreamReader::TokenType NextToken(QXmlStreamReader& xml) {
    const QXmlStreamReader::TokenType token = xml.readNext();
    if (token == QXmlStreamReader::DTD) throw XlsxFault{"it declares a document type"};
    return token;
}

void CheckPartEnd(const QXmlStreamReader& xml, const QIODevice& device, const QString& part) {
    if (XlsxPackage::Failed(device)) throw XlsxFault{part + " cannot be unpacked"};
    if (xml.hasError())
        throw XlsxFault{QString("%1 is not well-formed XML (line %2: %3)")
                            .arg(part)
                            .arg(xml.lineNumber())
                            .arg(xml.errorString())};
}

void AppendElementText(QXmlStreamReader& xml, QString& out) {
    for (int depth = 1; depth > 0 && !xml.atEnd();) {
        switch (NextToken(xml)) {
            case QXmlStreamReader::StartElement:
                ++depth;
                break;
            case QXmlStreamReader::EndElement:
                --depth;
                break;
            case QXmlStreamReader::Characters:
                if (depth == 1) out += xml.text();
                break;
            default:
                break;
        }
    }
}

QString RichText(QXmlStreamReader& xml) {
    QString text;
    int phonetic = 0;  // depth inside an rPh element
    for (int depth = 1; depth > 0 && !xml.atEnd();) {
        switch (NextToken(xml)) {
            case QXmlStreamReader::StartElement:
                if (xml.name() == u"rPh" || phonetic > 0) {
                    ++phonetic;
                    ++depth;
                } else if (xml.name() == u"t") {
                    AppendElementText(xml, text);
                } else {
                    ++depth;
                }
                break;
            case QXmlStreamReader::EndElement:
                --depth;
                if (phonetic > 0) --phonetic;
                break;
            default:
                break;
        }
    }
    return text.contains(u"_x") ? DecodeEscapes(text) : text;
}

QString DecodeEscapes(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '_' && i + 6 < text.size() && text[i + 1] == 'x' && text[i + 6] == '_') {
            bool ok = false;
            const ushort code = QStringView(text).sliced(i + 2, 4).toUShort(&ok, 16);
            if (ok) {
                out += QChar(code);
                i += 6;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

QStringView Attribute(const QXmlStreamAttributes& attributes, QStringView localName) {
    for (const QXmlStreamAttribute& a : attributes)
        if (a.name() == localName) return a.value();
    return {};
}
