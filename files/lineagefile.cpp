#include "files/lineagefile.h"

#include <vector>

namespace zibs {

std::string phylogenyCsv(const Lineage& lineage) {
    std::string out = "id,ancestor_list,origin_time,destruction_time,founder,generation,body\n";
    for (ZibId id = 1; id <= lineage.size(); ++id) {
        const Lineage::Entry& e = lineage[id];
        out += std::to_string(id);
        out += e.parent == 0 ? ",[none]," : ",[" + std::to_string(e.parent) + "],";
        out += std::to_string(e.origin) + ',';
        out +=
            e.destruction == Lineage::alive ? std::string("none") : std::to_string(e.destruction);
        out += ',' + std::to_string(e.founder) + ',' + std::to_string(e.generation) + ',';
        out.append(e.body.data(), e.body.size());
        out += '\n';
    }
    return out;
}

std::string newickText(const Lineage& lineage) {
    // The children of every node, by identity (0 is the root), in increasing order.
    const std::size_t n = static_cast<std::size_t>(lineage.size());
    std::vector<std::size_t> first(n + 2, 0);
    for (ZibId id = 1; id <= lineage.size(); ++id)
        ++first[static_cast<std::size_t>(lineage[id].parent) + 1];
    for (std::size_t k = 1; k < first.size(); ++k) first[k] += first[k - 1];
    std::vector<ZibId> children(n);
    std::vector<std::size_t> fill(first.begin(), first.end() - 1);
    for (ZibId id = 1; id <= lineage.size(); ++id)
        children[fill[static_cast<std::size_t>(lineage[id].parent)]++] = id;

    // Depth first without recursion: a line of descent can be thousands of generations long.
    struct Frame {
        ZibId node;
        std::size_t next;  // the next of its children to write
    };
    std::string out;
    std::vector<Frame> stack{{0, first[0]}};
    if (first[1] > first[0]) out += '(';
    while (!stack.empty()) {
        Frame& top = stack.back();
        const std::size_t node = static_cast<std::size_t>(top.node);
        if (top.next < first[node + 1]) {
            if (top.next > first[node]) out += ',';
            const ZibId child = children[top.next++];
            const std::size_t c = static_cast<std::size_t>(child);
            stack.push_back({child, first[c]});
            if (first[c + 1] > first[c]) out += '(';
            continue;
        }
        if (first[node + 1] > first[node]) out += ')';
        if (top.node != 0) {
            const Lineage::Entry& e = lineage[top.node];
            const int from = e.parent == 0 ? e.origin : lineage[e.parent].origin;
            out += std::to_string(top.node) + ':' + std::to_string(e.origin - from);
        }
        stack.pop_back();
    }
    return out + ";\n";
}

}  // namespace zibs
