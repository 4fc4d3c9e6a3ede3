#pragma once
// A high-resolution printer that writes a PDF file of that name, on A4 paper, to the tests'
// output folder (or to that path, where the name is a full path); an earlier file of the name
// is removed first.

#include <QFile>
#include <QPrinter>
#include <memory>
#include <string>

#include "tests/support/pdf_text.h"

namespace qv::testing {

inline std::unique_ptr<QPrinter> PdfPrinter(const std::string& name) {
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer->setOutputFormat(QPrinter::PdfFormat);
  const QString path = QString::fromStdString(TestOutputPath(name));
  QFile::remove(path);
  printer->setOutputFileName(path);
  printer->setPageSize(QPageSize(QPageSize::A4));
  return printer;
}

}  // namespace qv::testing
