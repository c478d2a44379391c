// Reads a response body into page text, the form every downloaded page and
// rule file takes in the engine.
#pragma once

#include <string>
#include <string_view>

namespace gleaner {

class HttpFile;

// Every body line (see HttpFile::readLine) followed by "\r\n", the last line
// included; an empty body gives the empty text. The bytes are not converted.
// Throws InternetError when the body breaks off or outgrows its limit.
std::string readPageText(HttpFile& file);

// The same text from a body in hand (a saved page, a rule file on disk):
// every line followed by "\r\n", a line's own CR before its LF kept once.
std::string pageTextOf(std::string_view body);

}  // namespace gleaner
