#include "Locale.h"

#include <QLocale>

QString SystemDecimalSeparator()
{
    return QLocale::system().decimalPoint().left(1);
}
