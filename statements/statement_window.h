#pragma once
// The frame the three statement windows share: a band across the top with the print,
// e-mail and copy pictures, the statement's date boxes and the read-out label P; under it
// the statement's canvas with its vertical scroll bar; the File menu, the Accounts menu with
// Include Sub Accounts, and a status line for what a date box could not take.
//
// A window computes its statement into rows (statements/*.h), lays the rows out for the
// canvas's width (statements/*_layout.h) and replays only the lines in view, at the scroll
// offset. It keeps the books' change stamp it computed from and computes again when it is
// activated after the stamp changed. Moving the pointer over an account row shows the
// row's folio and name in P; pressing and releasing a mouse button on a row without moving
// opens the ledger of that account (left: running balance, right: T-account).

#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <string>

#include "books/books.h"
#include "books/day_date.h"
#include "books/session.h"
#include "platform/locale_info.h"
#include "platform/surface_replay_qt.h"
#include "statements/statement_drawing.h"
#include "statements/statement_outputs.h"

class QAction;

namespace qv {

class CalanderForm;
class PelVerticalScroll;
class StatementCanvas;

// The two ledgers a row opens.
enum class LedgerLink { RunningBalance, TAccount };

// What the program gives a statement window.
struct StatementContext {
  Books* TheBooks = nullptr;
  Session* TheSession = nullptr;
  LocaleInfo Locale;
  const Clock* TheClock = nullptr;
  // Another copy of the program was running when this one started: light yellow windows.
  bool SecondCopy = false;
  // Opens the program's default ledger of that kind for the account, ending on the date
  // written in the book's date style, and shows it.
  std::function<void(LedgerLink link, const std::string& accountName,
                     const std::string& endDateText)>
      OpenLedger;
  // Shows the message of a failed file operation (its error number and what was kept).
  std::function<void(int code, const std::string& detail)> ShowFileError;
};

// Answers the file dialog in its place (controls/file_dialog.h).
using ExportFileChooser = FileDialogAnswer;

// The Export command of a statement window: ChooseFile over `owner` for the request (`choose`
// answering in the dialog's place when set), then `write` with the path chosen, which
// carries the chosen type's extension, and that type. A cancelled dialog, or No to replacing
// a file that stands there, writes nothing; a failure goes to the context's ShowFileError
// and a notice of what the file lacks to a message.
void ExportStatementFile(
    QWidget* owner, const StatementContext& context, const FileDialogRequest& request,
    const ExportFileChooser& choose,
    const std::function<TableFileResult(const std::string& path, const std::string& type)>& write);

// Gives a statement window its central area, white or, in a second copy of the program, light
// yellow; the area's resizes go to the window's event filter.
QWidget* BuildStatementCentral(QMainWindow& window, bool secondCopy);

// The band across the top of a statement window: the gradient of the program's toolbar over
// a black lower edge.
class StatementBand : public QWidget {
 public:
  StatementBand(const Session& session, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const Session& session_;
};

// A picture that runs a command when it is pressed and released.
class StatementButton : public QLabel {
  Q_OBJECT

 public:
  StatementButton(const QString& picture, QWidget* parent);

 signals:
  void Pressed();
  void Released();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
};

class StatementWindow : public QMainWindow {
  Q_OBJECT

 public:
  ~StatementWindow() override;

  // Computes the statement for the dates in the date boxes and the window's options, and
  // shows it from the top when `toTop`, else at the scroll position it had. A date box
  // whose text is no date keeps its previous date, and the status line says so.
  void Recompute(bool toTop = true);
  // The book was replaced (opened, balances brought forward, accounts carried over): at its
  // next activation the window takes the new book's default dates and computes afresh.
  void BooksReplaced();

  // ---- What the window shows, for its commands and for tests.
  const StatementDrawing& Drawing() const { return drawing_; }
  QWidget* Canvas() const;
  // The Print command and picture: the print set-up, then every row on paper, the column
  // headings repeated on each page, one job per copy.
  void PrintStatement();
  // The e-mail picture: the statement as an HTML message, ready to be addressed.
  void EmailStatement();
  // The Copy command and picture: the statement as rich text on the clipboard (the trial
  // balance also as tab-separated text).
  void CopyStatement();
  // The Export command: the file dialog with the statement's types, then the file.
  void ExportStatement();
  QLabel* ReadOut() const { return P; }
  QString StatusText() const;
  int ScrollValue() const;
  void SetScrollValue(int value);
  int ScrollMax() const;
  bool ScrollShown() const;
  // The stamp of the books the rows were computed from.
  int32_t ComputedStamp() const { return computedStamp_; }
  QAction* SubAccountsItem() const { return subAccounts_; }
  QAction* PrintItem() const { return printItem_; }
  QAction* EmailItem() const { return emailItem_; }
  QAction* CopyItem() const { return copyItem_; }
  QAction* ExportItem() const { return exportItem_; }
  StatementButton* Button(int index) const;
  // The command of picture 0 (print), 1 (e-mail) or 2 (copy).
  QAction* ButtonCommand(int index) const;

  // The read-out label P.
  QLabel* P = nullptr;
  // Tests: answers the Export command's file dialog in its place (the path to write, with
  // the chosen type's extension, or "" for cancel); a file there is still asked about.
  ExportFileChooser ChooseExportFile;

 protected:
  StatementWindow(const StatementContext& context, QWidget* parent);

  // ---- The statement's own part.
  // Reads the date boxes into the statement's dates; false when a box held no date (its
  // previous date was written back, and `problem` tells which).
  virtual bool ReadDates(std::string& problem) = 0;
  // Computes the rows from the books for the dates read; false when the amounts were too
  // large to add up (the statement then has no rows).
  virtual bool Compute() = 0;
  // Draws the rows on a surface from its top (the window's recording or the printer's).
  virtual StatementDrawing Draw(DrawingSurface& surface) const = 0;
  // The date boxes get the book's default dates.
  virtual void SetDefaultDates() = 0;
  // The date a ledger opened from a row ends on, as the box shows it.
  virtual std::string LedgerEndDate() const = 0;
  // The statement's outputs, for Copy, the e-mail and Export.
  virtual StatementOutput Output() const = 0;
  virtual std::string EmailBaseName() const = 0;
  virtual std::string EmailSubject() const = 0;
  // After a computation: the ratio lines of the menu bar.
  virtual void ShowRatios() {}

  // ---- For the statement windows.
  // Builds the frame; call once from the derived constructor, with the bar the statement
  // scrolls by, which the frame takes over: a stop of the Tab key that scrolls with the
  // arrow and page keys.
  void BuildFrame(PelVerticalScroll* ownBar);
  // A date box in the band at `left` twips, wired to the key filter and to `picked`.
  CalanderForm* AddDateBox(double left);
  // Reads a date box: its date, or `previous` written back into it when the box holds no
  // date (then `problem` gets the status line's message and the result says false).
  bool ReadDateBox(CalanderForm* box, DaySerial& date, std::string& problem) const;
  // Places a widget in the band, `left` and `width` in twips, at the date boxes' height.
  void PlaceInBand(QWidget* widget, double left, double width);
  // The box's right edge in twips.
  static double RightOf(const QWidget* widget);
  QWidget* Band() const { return band_; }
  QMenu* AccountsMenu() const { return accountsMenu_; }
  // Lays the rows out again and sets the scroll range.
  void Relayout();
  // The date box's text of a date, in the book's style.
  std::string DateText(DaySerial date) const;
  DaySerial Today() const { return context_.TheClock->Today(); }
  const Books& TheBooks() const { return *context_.TheBooks; }
  Session& TheSession() const { return *context_.TheSession; }
  const LocaleInfo& Locale() const { return context_.Locale; }
  const TextMetrics& ScreenMetrics() const { return screenMetrics_; }
  StatementLook LookFor(int decimals) const;

  // A day picked in a date box's drop-down: computes again.
  virtual void DatePicked();
  // Enter in a date box: computes again, keeping the scroll position.
  virtual void DateCommitted();

  void changeEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  friend class StatementCanvas;
  // A statement whose amounts were too large to add up is not handed on: the user is told
  // so (the message ending with `notDone`) and the result is true.
  static bool RefusedTooLarge(const StatementOutput& output, std::string_view notDone);
  void SetReadOutColor(const QColor& color);
  void CanvasMousePress();
  void CanvasMouseMove(double y);
  void CanvasMouseRelease(Qt::MouseButton button, double y);
  // Computes again when the books changed since the last computation; true when it did.
  bool CatchUpWithBooks();
  // The offset of the canvas's top into the drawing, in twips.
  double Offset() const;
  void ApplyScrollRange();
  // Lays the rows out for the canvas's width when it changed, and sets the scroll range.
  void Redraw();
  // Places the band, the canvas and the bar in the window's inner area, and lays the
  // statement out again for the canvas's new size.
  void PlaceParts();

  StatementContext context_;
  QtTextMetrics screenMetrics_;
  StatementDrawing drawing_;
  int32_t computedStamp_ = 0;
  int64_t computedLines_ = -1;
  bool booksReplaced_ = false;
  bool computed_ = false;
  std::string widestName_;
  int layoutWidth_ = -1;  // the canvas width in pixels the drawing was laid out for

  QWidget* band_ = nullptr;
  StatementCanvas* canvas_ = nullptr;
  PelVerticalScroll* ownBar_ = nullptr;
  QLabel* pressedFace_ = nullptr;
  StatementButton* buttons_[3] = {};
  QMenu* accountsMenu_ = nullptr;
  QAction* printItem_ = nullptr;
  QAction* emailItem_ = nullptr;
  QAction* copyItem_ = nullptr;
  QAction* exportItem_ = nullptr;
  QAction* subAccounts_ = nullptr;
};

}  // namespace qv
