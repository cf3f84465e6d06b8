// Unicode character properties and normalisation on Qt's character tables.
#include "platform/backend/unicode.h"

#include <QChar>
#include <QString>

namespace backend {

std::u16string DecomposeText(std::u16string_view text) {
    const QString source = QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
    const QString decomposed = source.normalized(QString::NormalizationForm_D);
    return std::u16string(reinterpret_cast<const char16_t*>(decomposed.utf16()),
                          static_cast<size_t>(decomposed.size()));
}

bool IsNumberCodePoint(char32_t c) {
    if (c > 0x10FFFF)
        return false;
    return QChar::isNumber(c);
}

} // namespace backend
