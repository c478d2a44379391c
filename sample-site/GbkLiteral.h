// The sample site's Chinese texts are written in UTF-8 in its sources and
// served as GBK. Each distinct text is converted once.
#pragma once

#include <string>
#include <string_view>

namespace gleaner::sample {

// The GBK bytes of a UTF-8 text; the reference stays valid for the process.
const std::string& gbkLiteral(std::string_view utf8);

}  // namespace gleaner::sample
