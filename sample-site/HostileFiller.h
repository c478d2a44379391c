// Text crafted against patterns that backtrack: openings of the tags and keys
// the rule files start from, never closed, so that a pattern that scans from
// each opening to a far delimiter does quadratic work. Real pages never look
// like this; an attacker's page may.
#pragma once

#include <cstddef>
#include <string>

#include "sample-site/SamplePages.h"

namespace gleaner::sample {

// About bytes of such text for pages of the kind.
std::string hostileFiller(PageKind kind, std::size_t bytes);

// The page with hostileFiller inserted right before its first record, so the
// records after it are still there to be found.
std::string withHostileFiller(PageKind kind, std::string page, std::size_t bytes);

}  // namespace gleaner::sample
