// The widgets' side of the translation: a text of the sources in the
// language the user chose.
#pragma once

#include <QString>

#include <string>

#include "translate.h"

namespace morsk {

inline QString Tr(const char* text)
{
    return QString::fromStdString(Translate(text));
}

inline QString Tr(const std::string& text)
{
    return QString::fromStdString(Translate(text));
}

}  // namespace morsk
