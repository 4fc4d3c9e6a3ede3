// Writes small, valid books in the three forms, as seeds for the fuzz targets:
// make_seeds <folder> gives <folder>/acc, <folder>/txt and <folder>/csv.
#include <cstdio>
#include <filesystem>
#include <string>

#include "bookfiles/book_files.h"
#include "platform/file_io.h"

namespace {

qv::Books SeedBook(int variant) {
  qv::Books books = qv::NewBooks(46000);
  books.ResizeChart(15);
  books.AccountNames[1] = variant ? "Caisse \"Café\", Nº 1" : "Cash";
  books.AccountFolios[1] = qv::Folio::FromRaw(1101000);
  books.AccountTypes[1] = 0;
  books.AccountDetails[1] = "1 Road\r\nTown";
  books.AccountExtras[2] = "x";
  books.PostingLines[0].LineFolio = books.AccountFolios[1];
  books.PostingLines[0].Amount = qv::Amount::FromRaw(123456);
  books.PostingLines[1].LineFolio = qv::Folio::FromUnits(1);
  books.PostingLines[1].Amount = qv::Amount::FromRaw(123456);
  books.PostingLines[1].Notes = variant ? "tab\there, \"quote\"\\" : "Till";
  books.EntryNumbers[0] = books.EntryNumbers[1] = qv::EntryNumber(variant ? "ÄB-7" : "7");
  books.GroupNames[0] = "Rent";
  books.BusinessName = "Shop";
  books.FilePassword = "pw";
  return books;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_seeds <folder>\n");
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  for (const char* type : {"acc", "txt", "csv"}) {
    std::filesystem::create_directories(folder / type);
    for (int variant = 0; variant < 2; ++variant) {
      const auto path = folder / type / ("seed" + std::to_string(variant) + "." + type);
      const qv::BookFileResult result = qv::WriteBook(path.string(), type, SeedBook(variant));
      if (!result.Ok()) {
        std::fprintf(stderr, "%s\n", result.Message.c_str());
        return 1;
      }
    }
  }
  return 0;
}
