#include "TreeCompare.h"

#include "platform/config/ConfigNode.h"

#include <algorithm>

namespace TreeCompare {

bool sameTree(const ConfigNode &a, const ConfigNode &b)
{
    if (a.name != b.name || a.value != b.value || a.children.size() != b.children.size())
        return false;
    for (size_t i = 0; i < a.children.size(); ++i) {
        if (!sameTree(*a.children[i], *b.children[i]))
            return false;
    }
    return true;
}

int depthBelow(const ConfigNode &node)
{
    int depth = 0;
    for (const auto &child : node.children)
        depth = std::max(depth, 1 + depthBelow(*child));
    return depth;
}

} // namespace TreeCompare
