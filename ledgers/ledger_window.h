#pragma once
// What the journal, T-account and running-balance windows share: the top bar with the
// account box (tReportAcc, with type-ahead), the "Include Sub Accounts" check box and the
// two date pickers DateSearch(0) and DateSearch(1); the sheet area with its own vertical
// scroll bar; the File menu with Print, Copy, Export and Send.
//
// Any change in the top bar rebuilds the view from the books (ReadLedgerInputs, then the
// kind's computation); a top bar that cannot be read shows one sentence in place of the
// rows and changes nothing else. The window keeps the change stamp of the books it was
// built from and rebuilds when it is activated after the stamp changed. A click on a row
// asks the application to show that posting line in the main window. Nothing here writes
// the books or the entry screen.
//
// Copy puts the sheet on the clipboard as text and RTF; Export writes it as .xls, .csv,
// .rtf or .htm through the file dialog; Print prints every row through the print set-up,
// page after page; Send writes the sheet as the HTML body of an unsent e-mail.

#include <QPointer>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bookfiles/book_format.h"
#include "books/books.h"
#include "books/session.h"
#include "controls/file_dialog_model.h"
#include "controls/scroll_bar_model.h"
#include "ledgers/ledger_options.h"
#include "ledgers/ledger_sheets.h"
#include "platform/drawing_surface.h"
#include "platform/locale_info.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QMenuBar;

namespace qv {

class CalanderForm;
class LedgerSheetWidget;
class SheetPrintout;
class PelVerticalScroll;
class RealhScroll;

// What the views need of the running program, handed over by the application.
struct LedgerContext {
  Books& TheBooks;
  Session& TheSession;
  const LocaleInfo& Locale;
  const Clock& TheClock;
  // Shows a posting line in the main window (restoring it when minimised); brings the main
  // window forward when `bringForward`.
  std::function<void(int32_t line, bool bringForward)> ShowPostingLine;
  // Reports a failed file operation (its error number and a sentence).
  std::function<void(int code, const std::string& detail)> ShowFileError;
};

class LedgerWindow : public QWidget {
  Q_OBJECT

 public:
  ~LedgerWindow() override;

  // Leave out the posting lines whose Reconciled mark is 1 (the reconciliation views).
  bool HideReconciled = false;

  // ---- The top bar, by its design names.
  QComboBox* tReportAcc = nullptr;
  QCheckBox* SubAccounts = nullptr;
  CalanderForm* DateSearch(int index) const {
    return dateSearch_.at(static_cast<std::size_t>(index));
  }

  // Refills the account list from the chart (the main window's list; the journal's starts
  // with "All Accounts") and sets the date pickers to the earliest and latest posting
  // dates. It may be run again.
  void Form_Load();
  // Rebuilds the view for the account and dates in the top bar.
  void tReportAcc_Click();
  // The window's background and its scroll bar's colour (the reconciliation and
  // unbalanced tints).
  void SetBackColor(ColorValue color);
  ColorValue BackColor() const { return backColor_; }

  // ---- The File menu's commands.
  void Print_Click();
  void Copy_Click();
  void Export_Click();
  void Send_Click();

  // Answers Export's file dialog in its place when set: the absolute path with the chosen
  // type's extension, or "" when cancelled. A file there is still asked about.
  std::function<std::string(const FileDialogRequest&)> ChooseExportFile;

  // What Print draws, page by page: the whole sheet, after the business heading where the
  // kind has one.
  std::function<bool(DrawingSurface& printer, int page)> PrintDrawing() const;

  const LedgerSheet& Sheet() const;
  LedgerSheetWidget* SheetArea() const { return sheet_; }
  PelVerticalScroll* ScrollBar() const { return scroll_; }
  // The bar under the sheet that scrolls it across when the window is narrower than the
  // sheet; hidden otherwise.
  RealhScroll* AcrossBar() const { return across_; }
  QAction* MenuItem(const QString& name) const;
  // The change stamp of the books the view was built from.
  int32_t BuiltStamp() const { return builtStamp_; }

 protected:
  // `settings` are those stored with the kind's scroll bar; `allAccounts` offers
  // "All Accounts" in the account box.
  LedgerWindow(LedgerContext& context, const ScrollBarSettings& settings, bool allAccounts,
               int captionId, QWidget* parent);

  // The kind's sheet for the options the top bar gave.
  virtual LedgerSheet BuildSheet(const LedgerOptions& options) = 0;
  // The base name of the e-mail file and whether the print-out carries the business
  // heading.
  virtual std::string MailBaseName() const = 0;
  virtual bool PrintsBusinessHeader() const { return false; }
  // Whether a line click brings the main window forward.
  virtual bool BringsMainForward() const { return true; }

  // Builds the view again from the top bar, from its first row or, when `keepPosition`,
  // keeping the rows in sight where they are.
  void Rebuild(bool keepPosition = false);
  LedgerContext& Context() { return context_; }

  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;
  // The account box's keys go through the type-ahead.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildWidgets(const ScrollBarSettings& settings, int captionId);
  void ShowSheet(LedgerSheet sheet);
  void ScrollTo(int64_t firstRow);
  void UpdateScrollRange();
  // On the first showing: wide enough for the whole sheet, within the screen's width.
  void FitWidthToSheet();
  void ConnectTopBar();
  // Runs `job` on the sheet, under the wait screen when the sheet is long; `progress`
  // moves its bar.
  void RunSheetJob(const std::function<void(const ProgressFn& progress)>& job);
  // The sheet's print-out, after the business heading where the kind has one.
  std::shared_ptr<SheetPrintout> Printout() const;

  LedgerContext& context_;
  bool allAccounts_;
  // The names in the account box, for its type-ahead.
  std::vector<std::string> accountNames_;
  ColorValue backColor_ = kWhite;
  int32_t builtStamp_ = 0;
  bool building_ = false;
  bool built_ = false;
  QMenuBar* menuBar_ = nullptr;
  std::array<CalanderForm*, 2> dateSearch_{};
  LedgerSheetWidget* sheet_ = nullptr;
  PelVerticalScroll* scroll_ = nullptr;
  RealhScroll* across_ = nullptr;
};

}  // namespace qv
