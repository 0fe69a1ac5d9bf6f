#pragma once

struct ConfigNode;

namespace TreeCompare {

// Whether two keys hold the same: names as written, values of the same kind
// and content, and the same children in the same order, all the way down.
bool sameTree(const ConfigNode &a, const ConfigNode &b);

// How many levels of keys lie below the key (0 for a key without children).
int depthBelow(const ConfigNode &node);

} // namespace TreeCompare
