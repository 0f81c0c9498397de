#pragma once

#include <cstdint>

#include "formats/edge_list.h"
#include "formats/edge_reading.h"
#include "formats/graph_format.h"
#include "io/byte_source.h"
#include "io/read_progress.h"

// The entry points of the formats: a graph input in, its edges out. Each
// reports a failure through base/messages and returns false, with nothing
// kept; the graph (graph/load_graph.cpp) takes the edges of a success.

// The tool's own format from the file at path, or from any byte source (path
// names it in messages). formats/read_own_format.cpp.
bool readEdgeFile(const char* path, const EdgeFileReading& how, EdgeList& list);
bool readEdgesFrom(ByteSource& source, const char* path, const EdgeFileReading& how,
                   EdgeList& list);

// A graph file of any format (told from its content under GraphFormat::Auto),
// plain, gzip or zstd, or standard input for "-". Node numbers stay the
// file's own; firstNode is the lowest one the format has (1 for DIMACS and
// Matrix Market; node 0 is then a node without edges).
// formats/read_graph_file.cpp, with the readers named in
// formats/graph_readers.h, the formats in formats/graph_format.cpp and the
// input in io/input_file.cpp.
bool readGraphFile(const char* path, GraphFormat format, const EdgeFileReading& how,
                   EdgeList& list, int32_t& firstNode);
