#pragma once

#include <QString>

// Where the operator reaches the program's makers: the about box shows these, and nothing else
// in the program names them.
namespace Contacts {

inline QString mailAddress()
{
    return QStringLiteral("support@trelvax.ru");
}

inline QString webAddress()
{
    return QStringLiteral("https://www.trelvax.ru");
}

} // namespace Contacts
