#pragma once

#include <QStringView>
#include <cstdint>

// Reads a field's text as a decimal number, else gives d ("number, else d").
//
// Leading spaces are skipped; an optional + or - and one or more ASCII digits must then make up
// the whole rest. Anything else gives d: the empty text, a sign alone, a second sign, a blank
// between two digits ("6 4"), trailing blanks, letters. A number outside the 32-bit range
// (below -2147483648 or above 2147483647) is not a 32-bit number either and also gives d.
int32_t NumberOr(QStringView text, int32_t d);
