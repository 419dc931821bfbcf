// How the program turns stored text into numbers and numbers into stored text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velmora {

// Reads as much of a number as the text holds: blanks, tabs and line feeds are
// dropped first; a sign, digits, one full stop and an E or D exponent, or &H / &O
// integers; reading stops at the first misfit. Nothing readable gives 0. A value
// too large for a double comes back infinite, never as an error.
double lenientNumber(std::string_view text);
// The same, but none when the text holds nothing readable as a number.
std::optional<double> tryLenientNumber(std::string_view text);

// Narrowed to single precision; beyond its range gives an infinity rather than
// undefined behaviour.
float toSingle(double value);

// Decimal text of a single-precision value in its shortest form, with a blank
// before zero or positive numbers and "-" before negative ones.
std::string numberText(float value);

// Nearest integer, halves to the even neighbour.
double roundHalfEven(double value);

// Rounded to a 16-bit integer; outside -32768..32767 is the runtime's overflow.
std::int16_t roundToInt16(double value);

// A stored colour component: its lenient number rounded and kept within 0..255.
int colourComponent(std::string_view text);

}  // namespace velmora
