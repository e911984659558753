#pragma once

#include <string>
#include <string_view>

// Windows-1252 is the code page of Wahl.txt; everything in memory is UTF-8.

// Bytes of the file to UTF-8. The five bytes that Windows-1252 leaves
// undefined (81, 8D, 8F, 90, 9D) become "?".
std::string DecodeWindows1252(std::string_view bytes);

// Whether every byte stands for a character: none of the five above.
bool IsWindows1252(std::string_view bytes);

// UTF-8 to bytes of the file. A character outside Windows-1252, a C1 control
// among them, and every byte of invalid UTF-8 become "?".
std::string EncodeWindows1252(std::string_view utf8);

// The name rules, applied to every text when it is written and when it is
// read, so that our own write reads back as the same record: a double quote
// becomes an apostrophe (it would end the field early), a control character
// (C0, DEL, C1) a space, a character outside Windows-1252 and invalid UTF-8
// "?". The result is valid UTF-8 and unchanged by a second application.
std::string NormaliseText(std::string_view utf8);
