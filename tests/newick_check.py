#!/usr/bin/python3
"""Reads every Newick file of zibs-run pinned under tests/data/phylogeny with DendroPy and checks
that its tree has the nodes and parents of the phylogeny CSV beside it: one node per zib labelled
with its identity, the first zibs under an unlabelled root, each branch as long as the days from
the parent's birth to the child's."""
import csv
import pathlib
import sys

import dendropy

failures = 0
folder = pathlib.Path(sys.argv[1])
checked = 0
for newick in sorted(folder.glob("*.nwk")):
    rows = list(csv.DictReader(open(newick.with_suffix(".csv"), newline="")))
    parents = {}
    lengths = {}
    origin = {r["id"]: int(r["origin_time"]) for r in rows}
    for r in rows:
        parent = r["ancestor_list"].strip("[]")
        parents[r["id"]] = None if parent == "none" else parent
        lengths[r["id"]] = 0 if parent == "none" else origin[r["id"]] - origin[parent]
    tree = dendropy.Tree.get(path=str(newick), schema="newick",
                             suppress_internal_node_taxa=False, suppress_leaf_node_taxa=False)
    found_parents = {}
    found_lengths = {}
    for node in tree.preorder_node_iter():
        if node is tree.seed_node:
            if node.taxon is not None:
                print(f"{newick.name}: the root has a label {node.taxon.label}")
                failures += 1
            continue
        label = node.taxon.label
        up = node.parent_node
        found_parents[label] = None if up is tree.seed_node else up.taxon.label
        found_lengths[label] = int(node.edge.length)
    if found_parents != parents or found_lengths != lengths:
        wrong = sorted(set(parents.items()) ^ set(found_parents.items()))[:5]
        print(f"{newick.name}: the tree differs from the CSV, e.g. {wrong}")
        failures += 1
    checked += 1
    print(f"{newick.name}: {len(found_parents)} zibs as in the CSV")
if checked == 0:
    print("no Newick files found")
    failures += 1
sys.exit(1 if failures else 0)
