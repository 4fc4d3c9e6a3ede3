#pragma once
// ExcelFile writes one worksheet in the Excel 2.1 (BIFF2) record format, cell by cell: the
// books export and the statement exports build their sheets through it. The records and
// the text encoding are described in docs/spreadsheet-format.md.
//
// Nothing reaches the target until CloseFile: the records are kept in memory, then written
// to a temporary file beside the target and renamed over it. A failure at any point, or a
// writer released without CloseFile, leaves the old file as it was. CreateFile and CloseFile
// report failures as the error numbers of failed file operations (FileErrorCode); the
// other operations never fail loudly: a call the format cannot hold writes nothing and says
// so in its result where it has one.
//
// BIFF2 has no Unicode. Texts are written in one Windows code page per file, chosen when
// the file is closed: the first of a fixed list that holds every character of the sheet's
// texts (Western 1252 first), else the one that holds the most; a character the chosen code
// page lacks is written as "?". A CODEPAGE record names the choice.

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace qv {

class AtomicFileWriter;

// The value types of WriteValue.
enum ExcelValueType : int {
  kExcelInteger = 0,  // a whole number cell (0 to 65535; others are written as numbers)
  kExcelNumber = 1,   // a number cell (IEEE double)
  kExcelLabel = 2,    // a text cell
};

// The margin records of SetMargin.
enum ExcelMargin : int {
  kExcelLeftMargin = 38,
  kExcelRightMargin = 39,
  kExcelTopMargin = 40,
  kExcelBottomMargin = 41,
};

// Font attributes of SetFont, combined by addition.
enum ExcelFontAttribute : int {
  kExcelBold = 1,
  kExcelItalic = 2,
  kExcelUnderline = 4,
  kExcelStrikeOut = 8,
};

// The cell attribute bytes of WriteValue.
inline constexpr int kExcelLocked = 64;     // lock byte
inline constexpr int kExcelFontShift = 64;  // font byte = font number x 64
enum ExcelAlign : int { kExcelGeneral = 0, kExcelLeft = 1, kExcelCentre = 2, kExcelRight = 3 };

// A cell's value: a text, a whole number or a number with decimals.
using ExcelValue = std::variant<std::string, int64_t, double>;

// What WriteValue did with a cell.
enum class ExcelCellOutcome {
  kWritten,
  kTextCut,     // a label longer than kExcelMaxLabelChars characters, written cut
  kNotWritten,  // outside the sheet, an unknown value type, a value that is no number, or
                // no file open
};

inline constexpr int32_t kExcelMaxRows = 65536;
inline constexpr int32_t kExcelMaxColumns = 256;
// A label, a header or footer and a font name hold at most 255 bytes in the file.
inline constexpr std::size_t kExcelMaxTextBytes = 255;
inline constexpr std::size_t kExcelMaxLabelChars = 255;
// SetColumnWidth writes nothing for a width above this many characters.
inline constexpr int kExcelMaxColumnWidth = 127;

class ExcelFile {
 public:
  ExcelFile();
  // A file still open is discarded: its target keeps its old contents.
  ~ExcelFile();
  ExcelFile(const ExcelFile&) = delete;
  ExcelFile& operator=(const ExcelFile&) = delete;

  // Starts a new sheet for `fileName` and creates its temporary file beside it (so a
  // missing or read-only folder is known at once). An existing file of that name stays
  // until CloseFile replaces it. Returns 0 or a FileErrorCode; after a failure the other
  // operations do nothing and CloseFile returns the same code.
  int CreateFile(const std::string& fileName);
  // Whether grid lines are printed.
  void PrintGridLines(bool flag);
  // One margin in inches; `marginRecord` is one of ExcelMargin. Another record number, or
  // a negative or non-finite width, writes nothing.
  void SetMargin(int marginRecord, double inches);
  // Adds a font, numbered 0, 1, 2, 3 in the order added (cells address fonts 0 to 3).
  // `height` in points is kept within 1 to 409; `attributes` combines ExcelFontAttribute.
  void SetFont(std::string_view fontName, int height, int attributes);
  // The width in characters of columns firstColumn to lastColumn (numbered from 1). A
  // width outside 0 to kExcelMaxColumnWidth, or columns outside the sheet or in the wrong
  // order, write nothing.
  void SetColumnWidth(int firstColumn, int lastColumn, int width);
  // The page header and footer, shown as the text stands ("&" is escaped for the format).
  void SetHeader(std::string_view text);
  void SetFooter(std::string_view text);
  // Writes one cell at `row`, `col` (both counted from 1). `valueType` is one of
  // ExcelValueType; the value is converted to it (a text given as a number cell must read
  // as a plain number). `fontByte` = font number x 64, `alignByte` one of ExcelAlign (or 4,
  // fill; any other value is written as general), `lockByte` 64 = locked or 0. A label
  // longer than kExcelMaxLabelChars characters is cut to that length.
  ExcelCellOutcome WriteValue(int valueType, int fontByte, int alignByte, int lockByte, int32_t row,
                              int32_t col, const ExcelValue& value);
  // Writes the sheet to the temporary file, ends it and renames it over the target.
  // Returns 0 or a FileErrorCode; on failure the target is left as it was.
  int CloseFile();

  // After CloseFile: the code page the texts were written in, the texts that were cut to
  // fit the format's limits, and the characters written as "?".
  int CodePage() const { return codePage_; }
  int64_t TextsCut() const { return textsCut_; }
  int64_t CharactersReplaced() const { return charactersReplaced_; }
  // The first failure (a FileErrorCode), or 0.
  int Error() const { return error_; }
  // The system's error number (errno) of that failure (ENOMEM when memory ran out), or 0.
  int SystemError() const { return systemError_; }

 private:
  bool Ready() const;
  void Stage(std::string& into, uint16_t type, std::string_view fixed,
             std::optional<std::string_view> text = std::nullopt, bool alreadyCut = false);
  void CountCharacters(std::string_view text);
  void Fail(int code);
  void FailWithErrno(int err);
  void Reset();
  int XfIndex(uint8_t lock, uint8_t font, uint8_t align);

  std::unique_ptr<AtomicFileWriter> writer_;
  // Records waiting for CloseFile: those before the cells and the cells, in call order.
  std::string preamble_;
  std::string cells_;
  // Every character outside ASCII in the sheet's texts, with how often it occurs.
  std::map<char32_t, int64_t> wideCharacters_;
  // The cell formats in use (lock byte, font byte, alignment), numbered in order.
  std::vector<std::array<uint8_t, 3>> xfs_;
  int32_t firstRow_ = -1, lastRow_ = -1, firstCol_ = -1, lastCol_ = -1;
  int codePage_ = 0;
  int64_t textsCut_ = 0;
  int64_t charactersReplaced_ = 0;
  int error_ = 0;
  int systemError_ = 0;
};

}  // namespace qv
