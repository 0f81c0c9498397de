#include "formats/graph_format.h"

#include <strings.h>

#include <cstring>

namespace {

constexpr const char* kNames[] = {"auto", "edges", "dimacs", "snap", "mtx", "binary"};

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

}  // namespace

bool graphFormatNamed(const char* name, GraphFormat& format) {
  for (int index = 0; index < 6; ++index) {
    if (std::strcmp(name, kNames[index]) == 0) {
      format = static_cast<GraphFormat>(index);
      return true;
    }
  }
  return false;
}

const char* graphFormatName(GraphFormat format) { return kNames[static_cast<int>(format)]; }

int32_t firstNodeOf(GraphFormat format) {
  return format == GraphFormat::Dimacs || format == GraphFormat::Mtx ? 1 : 0;
}

GraphFormat detectGraphFormat(const char* text, size_t size) {
  const char* end = text + size;
  if (size >= sizeof kBinaryGraphMagic &&
      std::memcmp(text, kBinaryGraphMagic, sizeof kBinaryGraphMagic) == 0) {
    return GraphFormat::Binary;
  }
  // The banner, in any letter case as the Matrix Market reader takes it.
  const char* banner = text;
  while (banner < end && (*banner == ' ' || *banner == '\t')) ++banner;
  if (end - banner >= 14 && strncasecmp(banner, "%%MatrixMarket", 14) == 0) return GraphFormat::Mtx;
  // The first line that is not blank decides.
  for (const char* at = text; at < end;) {
    while (at < end && isBlank(*at)) ++at;
    if (at == end) break;
    if (*at == '\n') {
      ++at;
      continue;
    }
    if (*at == 'c' || *at == 'p' || *at == 'a') return GraphFormat::Dimacs;
    if (*at == '#') return GraphFormat::Snap;
    int fields = 0;
    while (at < end && *at != '\n') {
      while (at < end && isBlank(*at)) ++at;
      if (at == end || *at == '\n') break;
      ++fields;
      while (at < end && !isBlank(*at) && *at != '\n') ++at;
    }
    return fields == 2 ? GraphFormat::Snap : GraphFormat::Edges;
  }
  return GraphFormat::Edges;
}
