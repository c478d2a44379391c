// Reads a response body into page text, the form every downloaded page and
// rule file takes in the engine.
#pragma once

#include <string>

namespace gleaner {

class HttpFile;

// Every body line (see HttpFile::readLine) followed by "\r\n", the last line
// included; an empty body gives the empty text. The bytes are not converted.
// Throws InternetError when the body breaks off or outgrows its limit.
std::string readPageText(HttpFile& file);

}  // namespace gleaner
