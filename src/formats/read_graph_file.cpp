#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "base/messages.h"
#include "formats/edge_reading.h"
#include "formats/graph_input.h"
#include "formats/graph_readers.h"
#include "formats/load_splitting.h"
#include "formats/node_memory.h"
#include "formats/parted_read.h"
#include "io/input_file.h"

namespace {

// The size of the plain regular file behind input, else -1.
int64_t plainFileBytes(const InputFile& input) {
  struct stat status;
  if (!input.plainFile || fstat(input.raw.fd, &status) != 0) return -1;
  return status.st_size;
}

// Reads the lines after the header in order into text's edges.
bool readTextLinesInto(LineScanner& lines, const TextHeader& header, const TextBounds& bounds,
                       TextEdges& text, ReadFailure& failure) {
  GraphBuilder graph;
  if (!readTextLines(lines, header, bounds, graph, failure)) return false;
  text.edges = graph.edges;
  graph.edges = nullptr;
  text.edgeCount = graph.edgeCount;
  text.labelBound = static_cast<int32_t>(graph.labelBound);
  return true;
}

// Reads the header in order, then the lines after it: in parts when the text
// is a large enough plain file, else in order. False at the first bad line.
bool readText(InputFile& input, const ReadProgress& progress, int64_t mostNodes,
              TextHeader& header, TextEdges& text, ReadFailure& failure) {
  const GraphFormat format = header.format;
  LineScanner lines(input.source());
  if (!readTextHeader(lines, header, failure)) return false;
  const int64_t fileBytes = plainFileBytes(input);
  const int64_t textBegin = lines.nextOffset();
  TextBounds bounds{fileBytes < 0 ? -1 : fileBytes - textBegin, mostNodes};
  if (!loadSplitting().splits(fileBytes - textBegin) || header.labelBound() > mostNodes) {
    return readTextLinesInto(lines, header, bounds, text, failure);
  }
  if (readTextEdges(input.raw.fd, textBegin, fileBytes, header, progress, text)) {
    if (text.labelBound <= mostNodes) return true;
    std::free(text.edges);
    text = TextEdges{};
  }
  // Not sound, or a node past memory: read again in order, which says where.
  PartBytes whole(FilePart{input.raw.fd, 0, fileBytes, fileBytes, true});
  LineScanner again(whole.source());
  header = TextHeader{};
  header.format = format;
  bounds.textBytes = fileBytes;
  return readTextHeader(again, header, failure) &&
         readTextLinesInto(again, header, bounds, text, failure);
}

}  // namespace

bool readGraphFile(const char* path, GraphFormat format, const EdgeFileReading& how,
                   EdgeList& list, int32_t& firstNode) {
  InputFile input;
  // The look tells the format; a format named is read as the text comes.
  if (!input.open(path, format == GraphFormat::Auto)) return false;
  input.raw.onRead = how.progress.bytesRead;
  input.raw.onReadContext = how.progress.context;
  if (format == GraphFormat::Auto) format = detectGraphFormat(input.head, input.headSize);
  firstNode = firstNodeOf(format);
  if (format == GraphFormat::Binary) {
    // graph/ maps a binary file of a plain path; a stream cannot be mapped.
    input.close();
    printLinef("ERROR: Bad graph file %s: a binary graph file is read from a plain file only, "
               "not compressed nor from standard input", path);
    return false;
  }
  if (format == GraphFormat::Edges) {
    // The tool's own reader, at its own speed and with its own messages; a
    // plain file it opens itself, to read it its own way. A label past
    // memory is a bad line here, as in every other format.
    EdgeFileReading own = how;
    own.namesNodeNeed = true;
    if (input.plainFile) {
      input.close();
      return readEdgeFile(path, own, list);
    }
    ByteSource source = input.source();
    own.progress = ReadProgress{};
    const bool loaded = readEdgesFrom(source, path, own, list);
    input.close();
    return loaded;
  }

  const int64_t mostNodes = mostNodesInMemory();
  TextHeader header;
  header.format = format;
  TextEdges text;
  ReadFailure failure;
  const bool read = readText(input, how.progress, mostNodes, header, text, failure);
  input.close();
  if (!read) {
    printLinef("ERROR: Bad graph file %s line %lld: %s", path, static_cast<long long>(failure.line),
               failure.reason);
    return false;
  }
  // Nodes are those the header names and those the edges use, never more: a
  // DIMACS or Matrix Market text of no nodes has not even its first one. A
  // text without a header or edges is node 0 alone.
  const int64_t labelBound = std::max(header.labelBound(), int64_t{text.labelBound});
  std::free(list.edges);
  list.edges = text.edges;
  list.count = text.edgeCount;
  list.nodeCount = static_cast<int32_t>(labelBound);
  return true;
}
