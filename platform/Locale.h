#pragma once

#include <QString>

// The decimal separator of the user's regional settings, as one character.
QString SystemDecimalSeparator();
