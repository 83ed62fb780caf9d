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
