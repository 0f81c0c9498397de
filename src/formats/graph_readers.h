#pragma once

#include <cstdarg>
#include <cstdint>

#include "formats/graph_builder.h"
#include "formats/graph_format.h"
#include "formats/edge_list.h"
#include "formats/line_scanner.h"
#include "io/read_progress.h"

// The first bad line of a graph text and why it is bad.
struct ReadFailure {
  int64_t line = 0;
  char reason[160] = {};

  // Always false, so that a reader can `return failure.at(...)`.
  [[gnu::format(printf, 3, 4)]] bool at(int64_t lineNumber, const char* format, ...);
  // Always -1, so that a line reader can `return failure.reject(...)`.
  [[gnu::format(printf, 3, 4)]] int32_t reject(int64_t lineNumber, const char* format, ...);
  // The scanner's own failure (a read error, a broken compressed stream), or
  // true when the text simply ended.
  bool afterText(const LineScanner& lines);

 private:
  void describe(int64_t lineNumber, const char* format, va_list args);
};

// What a text says before its edge lines: the node numbers it names, and how
// many records (arcs, entries) follow, when it says.
struct TextHeader {
  GraphFormat format = GraphFormat::Snap;
  int64_t rows = 0;     // edge lines name sources 1..rows and targets 1..columns,
  int64_t columns = 0;  // when the header names them
  int64_t records = -1;  // -1: not announced
  int64_t line = 0;      // the line that announced them
  bool pattern = false;    // Matrix Market entries without a value cost 1
  bool symmetric = false;  // and a symmetric matrix's entries go both ways

  int64_t labelBound() const { return (rows > columns ? rows : columns) + 1; }
  // Every record's edges; -1 when not announced.
  int64_t announcedEdges() const { return symmetric ? 2 * records : records; }
};

// Reads header.format's lines up to its first edge line: the DIMACS p line
// (formats/read_dimacs.cpp), the Matrix Market banner and size line
// (formats/read_matrix_market.cpp); SNAP has none. False at a bad line.
bool readTextHeader(LineScanner& lines, TextHeader& header, ReadFailure& failure);

// One line after the header: -1 at a bad line, else how many edges it holds
// (0 for a comment or blank line, 1, or 2 for a symmetric entry off the
// diagonal), written to edges. A line with edges is one record.
using TextLineReader = int32_t (*)(const char* at, const char* stop, const TextHeader& header,
                                   int64_t line, Edge* edges, ReadFailure& failure);
// The reader of header.format's lines.
TextLineReader textLineReaderOf(GraphFormat format);
// formats/read_dimacs.cpp, formats/read_snap.cpp, formats/read_matrix_market.cpp
int32_t readDimacsLine(const char* at, const char* stop, const TextHeader& header, int64_t line,
                       Edge* edges, ReadFailure& failure);
int32_t readSnapLine(const char* at, const char* stop, const TextHeader& header, int64_t line,
                     Edge* edges, ReadFailure& failure);
int32_t readMatrixMarketLine(const char* at, const char* stop, const TextHeader& header,
                             int64_t line, Edge* edges, ReadFailure& failure);
bool readDimacsHeader(LineScanner& lines, TextHeader& header, ReadFailure& failure);
bool readMatrixMarketHeader(LineScanner& lines, TextHeader& header, ReadFailure& failure);

// Whether the records counted so far fit those the header announced; false
// after describing the failure at the line of the record past them.
bool recordsFit(const TextHeader& header, int64_t records, int64_t line, ReadFailure& failure);
// Whether all the records the header announced came; false after describing
// the failure at the header.
bool recordsComplete(const TextHeader& header, int64_t records, ReadFailure& failure);

// The most edges textBytes bytes of lines can give in format: a record takes
// a few bytes at the least.
int64_t mostEdgesInText(GraphFormat format, int64_t textBytes);

// What bounds a text beside its header: its bytes after the header, when
// known, and the most nodes memory can hold (formats/node_memory.h).
struct TextBounds {
  int64_t textBytes = -1;  // -1: not known (compressed, standard input)
  int64_t mostNodes = INT64_MAX;
};

// Reads the lines after the header into graph, in one pass; false at the
// first bad line, which is also the line (or the header) that names a node
// past bounds.mostNodes. Room for the edges the header announces is made
// only as far as the text can hold them. formats/read_text_lines.cpp, like
// the four above.
bool readTextLines(LineScanner& lines, const TextHeader& header, const TextBounds& bounds,
                   GraphBuilder& graph, ReadFailure& failure);

// The edges of a text, read in parts or in order: malloc'ed, in file order.
struct TextEdges {
  Edge* edges = nullptr;
  int64_t edgeCount = 0;
  int32_t labelBound = -1;  // highest label + 1 among them
};

// The lines from textBegin on of a regular file whose header was read, in
// parts on every thread (formats/read_text_in_parts.cpp). False, with nothing
// kept, when the text is not sound (a bad line, a failed read, a record count
// other than the header's, more edges than a count holds): the caller then
// reads it in order, which says where.
bool readTextEdges(int fd, int64_t textBegin, int64_t fileBytes, const TextHeader& header,
                     const ReadProgress& progress, TextEdges& text);
