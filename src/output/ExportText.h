#pragma once

#include <string>
#include <string_view>

// Text conversions of the exported files.
namespace exporttext {

// Windows-1251 bytes of UTF-8 text. A character without a Windows-1251 form becomes "?", as the
// platform's default replacement does (never the converter's control character).
std::string toWindows1251(std::string_view utf8);

// XML character data: & < > " ' escaped; characters XML 1.0 does not allow become "?".
std::string xmlEscaped(std::string_view utf8);

// A number as a spreadsheet "Number" cell needs it: decimal commas turned into points.
std::string withDecimalPoint(std::string_view number);

} // namespace exporttext
