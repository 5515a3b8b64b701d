#pragma once
#include <QString>

// A value as the commands with no window write it: '.' as decimal separator,
// enough digits for 8-bit measurements and for a frequency's fractions of a hertz.
inline QString NombreEnLigne(double v) { return QString::number(v, 'g', 8); }
