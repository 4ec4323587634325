#pragma once

#include <string>
#include <string_view>

namespace zibs {

// The first problem with the shape of a world file's text, or "" when there is none. The text is
// read once, as it comes, keeping nothing: only if it passes is a tree of its values built. It
// must be one JSON object with the fields of a world file and no other, none twice; lists no
// longer than a world's (listLimits), nothing nested deeper than a zib's numbers, every number
// a whole one that the field it stands in can hold, nothing after the closing brace. What is
// left to check (missing fields, lists too short, values that do not fit together) is the
// reader's. A message quotes outside text with control characters escaped.
std::string worldTextProblem(std::string_view text);

}  // namespace zibs
