#pragma once

// Which of several equally cheap paths a search records.
//   Heap:      the binary heap search's own choice, the tool's contract.
//   Canonical: a rule of the graph alone (search/canonical_node.h), the same
//              for every search order and thread count.
enum class TieOrder { Heap, Canonical };

// "heap" or "canonical"; false for any other name.
bool tieOrderNamed(const char* name, TieOrder& order);
