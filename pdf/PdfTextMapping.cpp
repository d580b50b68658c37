#include "PdfTextMapping.h"

#include <QRawFont>
#include <QString>

namespace tamsor {

namespace {

QString range(char32_t first, char32_t last) {
    QString text;
    for (char32_t c = first; c <= last; ++c)
        text += QChar(static_cast<char16_t>(c));
    return text;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// The four-digit hex token <XXXX> at pos, or -1.
int token(const QByteArray& text, qsizetype pos) {
    if (pos + 5 >= text.size() || text[pos] != '<' || text[pos + 5] != '>')
        return -1;
    int value = 0;
    for (qsizetype i = pos + 1; i < pos + 5; ++i) {
        const int d = hexDigit(text[i]);
        if (d < 0)
            return -1;
        value = value * 16 + d;
    }
    return value;
}

void putToken(QByteArray& text, qsizetype pos, char16_t value) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (int i = 0; i < 4; ++i)
        text[pos + 1 + i] = kHex[(value >> (12 - 4 * i)) & 0xF];
}

} // namespace

QHash<char16_t, char16_t> ideographsForRadicals(const QRawFont& font) {
    QHash<char16_t, char16_t> replacements{{u'\t', u' '}};
    const QString radicals = range(0x2E80, 0x2FDF);
    const QList<quint32> radicalGlyphs = font.glyphIndexesForString(radicals);
    QHash<quint32, char16_t> wanted;
    for (qsizetype i = 0; i < radicals.size() && i < radicalGlyphs.size(); ++i)
        if (radicalGlyphs[i] != 0)
            wanted.insert(radicalGlyphs[i], 0);
    // The first ideograph drawn with each of those glyphs.
    const QString ideographs = range(0x3400, 0x9FFF);
    const QList<quint32> glyphs = font.glyphIndexesForString(ideographs);
    for (qsizetype i = 0; i < ideographs.size() && i < glyphs.size(); ++i) {
        const auto found = wanted.find(glyphs[i]);
        if (found != wanted.end() && found.value() == 0)
            found.value() = ideographs[i].unicode();
    }
    for (qsizetype i = 0; i < radicals.size() && i < radicalGlyphs.size(); ++i) {
        const char16_t ideograph = wanted.value(radicalGlyphs[i], 0);
        if (ideograph != 0)
            replacements.insert(radicals[i].unicode(), ideograph);
    }
    return replacements;
}

int replaceInTextMaps(QByteArray& pdf, const QHash<char16_t, char16_t>& replacements) {
    int replaced = 0;
    const auto replaceAt = [&](qsizetype pos) {
        const int value = token(pdf, pos);
        if (value < 0)
            return;
        const auto found = replacements.find(static_cast<char16_t>(value));
        if (found != replacements.end()) {
            putToken(pdf, pos, found.value());
            ++replaced;
        }
    };
    for (qsizetype begin = pdf.indexOf("beginbfrange"); begin >= 0;
         begin = pdf.indexOf("beginbfrange", begin + 1)) {
        const qsizetype end = pdf.indexOf("endbfrange", begin);
        if (end < 0)
            break;
        // One entry a line: "<a> <b> <target>" or "<a> <b> [<t1> <t2> ...]".
        qsizetype line = pdf.indexOf('\n', begin) + 1;
        while (line > 0 && line < end) {
            qsizetype next = pdf.indexOf('\n', line);
            if (next < 0 || next > end)
                next = end;
            const int first = token(pdf, line);
            const int last = token(pdf, line + 7);
            const qsizetype targets = line + 14;
            if (first >= 0 && last >= 0 && targets < next) {
                if (pdf[targets] == '[') {
                    for (qsizetype pos = targets + 1; pos + 5 < next; ++pos)
                        if (pdf[pos] == '<')
                            replaceAt(pos);
                } else if (first == last) {
                    replaceAt(targets);
                }
            }
            line = next + 1;
        }
        begin = end;
    }
    return replaced;
}

} // namespace tamsor
