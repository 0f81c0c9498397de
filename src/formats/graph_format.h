#pragma once

#include <cstddef>
#include <cstdint>

// The graph file formats the library reads.
//   Edges:  "source target cost" lines, labels from 0 (the tool's own format)
//   Dimacs: the shortest-path challenge's .gr: "c" comments, "p sp N M", "a U V W", nodes 1..N
//   Snap:   "#" comments, "U V" or "U V W" lines; no weight means cost 1
//   Mtx:    Matrix Market coordinate files, rows and columns from 1
//   Binary: the graph as searched, mapped from a plain file (graph/binary_graph.h)
enum class GraphFormat { Auto, Edges, Dimacs, Snap, Mtx, Binary };

// The first bytes of a binary graph file.
constexpr char kBinaryGraphMagic[16] = {'\x89', 'v', 'o', 'r', 'l', 'i', 'n', 'd',
                                        'e',    ' ', 'g', 'r', 'a', 'p', 'h', '\n'};

// "auto", "edges", "dimacs", "snap", "mtx", "binary"; false for any other name.
bool graphFormatNamed(const char* name, GraphFormat& format);
const char* graphFormatName(GraphFormat format);

// The lowest node number of the format: 1 for Dimacs and Mtx, else 0.
int32_t firstNodeOf(GraphFormat format);

// Tells the format from the first bytes: a binary graph's magic, a Matrix
// Market banner (in any letter case), DIMACS "c" or "p" lines, SNAP "#"
// comments or two-number lines; three numbers a line is the tool's own format.
GraphFormat detectGraphFormat(const char* text, size_t size);
