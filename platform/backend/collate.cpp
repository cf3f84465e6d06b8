// Collation and case mapping on Qt's collator (ICU) and character tables.
#include "platform/backend/collate.h"

#include <QChar>
#include <QCollator>
#include <QLocale>
#include <QStringView>

namespace backend {

namespace {

QLocale CollationLocale() {
    const QLocale system = QLocale::system();
    if (system.language() == QLocale::C)
        return QLocale(QLocale::English, QLocale::UnitedStates);
    return system;
}

// A collator keeps state of its own while it compares, so each thread has its pair.
struct Collators {
    Collators() : caseSensitive(CollationLocale()), caseInsensitive(CollationLocale()) {
        caseSensitive.setCaseSensitivity(Qt::CaseSensitive);
        caseInsensitive.setCaseSensitivity(Qt::CaseInsensitive);
    }
    QCollator caseSensitive;
    QCollator caseInsensitive;
};

Collators& ThreadCollators() {
    thread_local Collators collators;
    return collators;
}

template <typename Map> std::u16string MapCase(std::u16string_view text, Map map) {
    std::u16string out(text);
    const size_t n = out.size();
    for (size_t i = 0; i < n; ++i) {
        const char16_t c = out[i];
        if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(out[i + 1])) {
            const char32_t mapped = map(QChar::surrogateToUcs4(c, out[i + 1]));
            // Only a pair for a pair keeps the length; every mapping of the tables does that.
            if (QChar::requiresSurrogates(mapped)) {
                out[i] = QChar::highSurrogate(mapped);
                out[i + 1] = QChar::lowSurrogate(mapped);
            }
            ++i;
            continue;
        }
        const char32_t mapped = map(static_cast<char32_t>(c));
        if (!QChar::requiresSurrogates(mapped))
            out[i] = static_cast<char16_t>(mapped);
    }
    return out;
}

} // namespace

int CollateCompare(std::u16string_view a, std::u16string_view b, bool ignoreCase) {
    Collators& collators = ThreadCollators();
    const QCollator& collator = ignoreCase ? collators.caseInsensitive : collators.caseSensitive;
    const int result = collator.compare(QStringView(a.data(), static_cast<qsizetype>(a.size())),
                                        QStringView(b.data(), static_cast<qsizetype>(b.size())));
    return result < 0 ? -1 : (result > 0 ? 1 : 0);
}

std::u16string UpperCaseText(std::u16string_view text) {
    return MapCase(text, [](char32_t c) { return QChar::toUpper(c); });
}

std::u16string LowerCaseText(std::u16string_view text) {
    return MapCase(text, [](char32_t c) { return QChar::toLower(c); });
}

} // namespace backend
