#include "toolkit/QtText.h"

#include "answer/TextCodecs.h"

namespace tavelo {

QString ToQString(std::string_view gbk) {
    return QString::fromStdU16String(GbkToUtf16(gbk));
}

Text ToText(const QString& string) {
    return Utf16ToGbk(string.toStdU16String());
}

}  // namespace tavelo
