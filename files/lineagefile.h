#pragma once

#include <optional>
#include <string>

#include "sim/lineage.h"

namespace zibs {

// The lineage in the artificial-life community's standard phylogeny CSV: one row per zib, by
// identity, with the columns id,ancestor_list,origin_time,destruction_time,founder,generation,
// body. A first zib's ancestor_list is "[none]", a newborn's "[P]"; a living zib's
// destruction_time is "none".
std::string phylogenyCsv(const Lineage& lineage);

// The same tree in Newick: every zib a node labelled with its identity, an unlabelled root joining
// the first zibs, each branch as long as the days between the parent's birth and the child's (a
// first zib's branch is 0). Children in the order of their identities.
std::string newickText(const Lineage& lineage);

}  // namespace zibs
