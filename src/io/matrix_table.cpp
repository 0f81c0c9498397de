#include "io/matrix_table.h"

#include "io/decimal_format.h"

namespace {

// Numbers are gathered in a piece of this size before they go to the writer,
// which then copies few, large runs.
constexpr std::size_t kPieceBytes = 4096;
constexpr std::size_t kLongestCell = 12;  // a separator and the eleven characters of a 32-bit number

struct TablePiece {
  TextWriter& writer;
  char bytes[kPieceBytes + kLongestCell + decimal::kStoreSlack];
  std::size_t size = 0;

  // The separator (none when 0), then the number.
  void put(char separator, int32_t value) {
    if (size >= kPieceBytes) flush();
    if (separator != 0) bytes[size++] = separator;
    size = static_cast<std::size_t>(decimal::formatInt(bytes + size, value) - bytes);
  }
  void endLine() { bytes[size++] = '\n'; }
  void flush() {
    writer.putBytes(bytes, size);
    size = 0;
  }
};

}  // namespace

void putMatrixTable(TextWriter& writer, const int32_t* sources, std::size_t sourceCount,
                    const int32_t* targets, std::size_t targetCount, const int32_t* cells) {
  writer.putBytes("source", 6);
  TablePiece piece{writer, {}, 0};
  for (std::size_t column = 0; column < targetCount; ++column) piece.put('\t', targets[column]);
  piece.endLine();
  for (std::size_t row = 0; row < sourceCount; ++row) {
    piece.put(0, sources[row]);
    const int32_t* rowCells = cells + row * targetCount;
    for (std::size_t column = 0; column < targetCount; ++column) piece.put('\t', rowCells[column]);
    piece.endLine();
  }
  piece.flush();
}
