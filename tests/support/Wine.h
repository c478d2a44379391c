// Whether a Windows test runs under Wine rather than on Windows itself, for
// the few checks that meet a limitation of Wine (each names it where it
// asks); false on every other system.
#pragma once

namespace gleaner::testing {

bool underWine();

}  // namespace gleaner::testing
