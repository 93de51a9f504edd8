// The guide's Qt examples, run offscreen by the Qt guide tests.
#pragma once
#include <ostream>
#include <vector>

#include "docs/snippets/snippets.h"

namespace guide {

const std::vector<Snippet>& qtSnippets();

}  // namespace guide
