#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

#include "formats/graph_format.h"
#include "graph/graph_types.h"

// The binary graph file: the graph exactly as the search holds it, so that a
// read maps the file and searches its arrays in place (docs/binary-graph.md).
//
//   header      kBinaryHeaderBytes, the record below, starting with
//               kBinaryGraphMagic (formats/graph_format.h: content tells the format)
//   ranges      nodeCount EdgeRange records {first, last} at rangesOffset
//   edges       edgeCount Edge records {from, to, cost} at edgesOffset
//
// Every number is little-endian; each array starts at a multiple of 64 bytes,
// with zero bytes before it. Each array has a checksum: its entries are cut
// into blocks of kChecksumBlockEntries, each block hashed with XXH3-64, and
// the block hashes, as little-endian 64-bit numbers one after the other,
// hashed again with XXH3-64. (Blocks let every core hash and check its share
// of the array in one pass.) headerChecksum is the XXH3-64 of the header's
// bytes before it.
static_assert(std::endian::native == std::endian::little,
              "the binary graph file is the in-memory graph of a little-endian machine");

constexpr uint32_t kBinaryGraphVersion = 1;
constexpr uint32_t kBinaryHeaderBytes = 128;
constexpr int64_t kChecksumBlockEntries = int64_t{1} << 15;
constexpr uint64_t kArrayAlignment = 64;

struct BinaryGraphHeader {
  char magic[16];
  uint32_t version;
  uint32_t headerBytes;
  int64_t nodeCount;
  int64_t edgeCount;
  int64_t firstNode;  // 0, or 1 for the formats that number nodes from 1
  uint64_t rangesOffset;
  uint64_t edgesOffset;
  uint64_t fileBytes;
  uint64_t rangesChecksum;
  uint64_t edgesChecksum;
  uint8_t reserved[32];  // zero
  uint64_t headerChecksum;
};
static_assert(sizeof(BinaryGraphHeader) == kBinaryHeaderBytes);
static_assert(offsetof(BinaryGraphHeader, headerChecksum) == kBinaryHeaderBytes - 8);
static_assert(sizeof(EdgeRange) == 8 && sizeof(Edge) == 12);

// Where the arrays of a graph of these counts stand, and the file's size.
struct BinaryGraphLayout {
  uint64_t rangesOffset;
  uint64_t edgesOffset;
  uint64_t fileBytes;
};
BinaryGraphLayout binaryGraphLayout(int64_t nodeCount, int64_t edgeCount);

// The checksum of an array as the file defines it, of count entries of
// entryBytes each (graph/binary_graph.cpp). blockChecksum hashes one block;
// combineBlockChecksums makes the array's checksum of all its blocks'.
uint64_t blockChecksum(const void* entries, int64_t count, size_t entryBytes);
uint64_t combineBlockChecksums(const uint64_t* blockChecksums, int64_t blockCount);
uint64_t arrayChecksum(const void* entries, int64_t count, size_t entryBytes);
uint64_t headerChecksum(const BinaryGraphHeader& header);

// Whether path names a regular file that starts as a binary graph file.
// False for anything else, also when it cannot be opened (the reading that
// follows reports that). Never reads from a pipe, whose bytes it would take.
bool startsAsBinaryGraph(const char* path);
