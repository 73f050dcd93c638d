#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>

namespace setzaiko {

// The display formats "##0", "#####0", "########0", "###,##0" and "#,###,##0": plain digits,
// at least one, a leading "-" for a negative value, and "," between groups of three digits
// where the pattern holds a ",". A value wider than the pattern shows all its digits.
QString formatNumber(std::int64_t value, QStringView pattern);

namespace formats {
inline constexpr QStringView digits3 = u"##0";
inline constexpr QStringView digits6 = u"#####0";
inline constexpr QStringView digits9 = u"########0";
inline constexpr QStringView grouped6 = u"###,##0";
inline constexpr QStringView grouped9 = u"#,###,##0";
} // namespace formats

} // namespace setzaiko
