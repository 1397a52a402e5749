// The edge between the program's texts (code page 936) and Qt's strings (UTF-16).
#pragma once

#include <QString>

#include "text/Text.h"

namespace tavelo {

QString ToQString(std::string_view gbk);
Text ToText(const QString& string);

}  // namespace tavelo
