#pragma once
// Printformer: the print set-up dialog that every print command of a view shows before it
// prints. It shows a PrintSetupModel (controls/print_setup_model.h): the printer list with
// its "PDF file..." entry, the paper sizes, duplex, the colour, quality and orientation
// pictures with a mark on the current choice, the text size, the copies with their spinner,
// Print and Cancel. The model lives for the run, so each opening shows the choices of the
// one before; the window itself is made for each opening over the calling window.
//
// Print sets the copies from the copies box (0 prints nothing); Cancel, Escape and the close
// box give 0 copies. On a machine without a printer a line under the printer list says that
// none was found and the document goes to a PDF file.

#include <QDialog>
#include <QString>
#include <array>
#include <cstdint>

#include "books/session.h"
#include "controls/print_setup_model.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QToolButton;

namespace qv {

// What the dialog returned: the copies (0 = print nothing) and the text size's print scale.
struct PrintSetupResult {
  int16_t Copies = 0;
  double Scale = 1.0;
};

// Shows the print set-up modally over `owner` and leaves the copies in session.PrintCopies.
PrintSetupResult ShowPrintSetup(QWidget* owner, Session& session, PrintSetupModel& model);
// The same with the print set-up of the run (controls/shared_printer_qt.h).
PrintSetupResult ShowPrintSetup(QWidget* owner, Session& session);

class Printformer : public QDialog {
  Q_OBJECT

 public:
  // The model must be opened (PrintSetupModel::Open) and outlive the window.
  explicit Printformer(PrintSetupModel& model, QWidget* owner = nullptr);

  QComboBox* Combo1() const { return combo1_; }  // printers
  QLabel* NoPrinterNote() const { return noPrinterNote_; }
  QComboBox* Combo2() const { return combo2_; }  // paper sizes
  QCheckBox* Check1() const { return check1_; }  // duplex
  // The pictures: colour 1, 2; quality 1 to 4; orientation 1, 2. Checked = marked.
  QToolButton* DPIColorIt(int k) const { return colorImages_.at(static_cast<std::size_t>(k)); }
  QToolButton* DPIBox(int k) const { return qualityImages_.at(static_cast<std::size_t>(k)); }
  QToolButton* PorL(int k) const { return orientationImages_.at(static_cast<std::size_t>(k)); }
  QComboBox* PxSize() const { return pxSize_; }
  QLineEdit* Copying() const { return copying_; }
  QScrollBar* VScroll1() const { return vScroll1_; }
  QPushButton* Command1() const { return command1_; }  // Print
  QPushButton* Command2() const { return command2_; }  // Cancel

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void reject() override;

 private:
  void ShowModel();
  void ShowMarkers();
  void ShowPapers();
  void OnPrint();
  void TextSizeLeft();

  PrintSetupModel& model_;
  QComboBox* combo1_ = nullptr;
  QLabel* noPrinterNote_ = nullptr;
  QComboBox* combo2_ = nullptr;
  QCheckBox* check1_ = nullptr;
  std::array<QToolButton*, 3> colorImages_{};
  std::array<QToolButton*, 5> qualityImages_{};
  std::array<QToolButton*, 3> orientationImages_{};
  QComboBox* pxSize_ = nullptr;
  QLineEdit* copying_ = nullptr;
  QScrollBar* vScroll1_ = nullptr;
  QPushButton* command1_ = nullptr;
  QPushButton* command2_ = nullptr;
};

}  // namespace qv
