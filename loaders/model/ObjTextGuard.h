#pragma once

#include <string>

// Prepares the text of an OBJ model or MTL material library for the parser, which has two faults
// a hostile file can reach:
//  - vertex weight lines ("vw") turn a joint number into an int unchecked: NaN or a number out of
//    range is undefined behaviour. The loader does not read weights, so these lines become
//    comments (line numbers in the parser's messages stay right).
//  - its exponent reader checks for overflow one digit too late: an exponent whose digits
//    (leading zeros aside) begin 2147483648 or 2147483649 overflows an int. Such a number is
//    zero or beyond any float anyway; the first of those digits becomes 9, which the parser's
//    own check refuses or reads as a number out of range, as it does any larger exponent.
// Only blank-separated tokens that begin as a number with such an exponent are touched (the
// parser reads numbers from the start of a token, whatever follows), so a name or file name keeps
// its bytes unless it begins with such a number too.
void GuardObjText(std::string& text);
