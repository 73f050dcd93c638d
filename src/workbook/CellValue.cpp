#include "workbook/CellValue.h"

#include "common/NumberText.h"

namespace setzaiko {

QString CellValue::toText() const
{
    switch (kind) {
    case Kind::Empty:
        return {};
    case Kind::Number:
        return numberToText(number);
    case Kind::Text:
        return kept ? *kept : text;
    }
    return {};
}

} // namespace setzaiko
