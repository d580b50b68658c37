#pragma once

#include <QByteArray>
#include <QHash>

class QRawFont;

namespace tamsor {

// Which character a PDF's text gives for each glyph comes from the file's
// ToUnicode maps. The maps Qt writes name, for each glyph, the first
// character the font draws with it. CJK fonts draw a radical and the
// ideograph it stands for with one glyph (U+2EDB and U+98CE "风", U+2F06 and
// U+4E8C "二"), and the space with the glyph of the tab, so text copied or
// searched in such a PDF holds radicals and tabs where the page shows
// ideographs and spaces.

// The characters to put right for `font`: every radical (U+2E80..U+2FDF)
// that the font draws with the glyph of an ideograph (U+3400..U+9FFF) maps to
// that ideograph, and the tab to the space.
[[nodiscard]] QHash<char16_t, char16_t> ideographsForRadicals(const QRawFont& font);

// Replaces, in every ToUnicode map of `pdf`, each target character found in
// `replacements` by its replacement. Only single characters are replaced
// (never the start of a range of several), and each by four hex digits as
// before, so every byte keeps its offset and the file stays valid. Returns
// the number of characters replaced.
int replaceInTextMaps(QByteArray& pdf, const QHash<char16_t, char16_t>& replacements);

} // namespace tamsor
