#include "TitleBlock.h"

namespace tamsor {

TitleBlock withDate(TitleBlock block, const QDate& today) {
    if (block.date.trimmed().isEmpty())
        block.date = today.toString(QStringLiteral("yyyy-MM-dd"));
    return block;
}

} // namespace tamsor
