// The main window's start-up (Form_Load) and shut-down (closing, File > Exit).

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <algorithm>
#include <charconv>

#include "app/application_window.h"
#include "app/main_window.h"
#include "books/date_styles.h"

#include <QSessionManager>
#include "app/startup.h"
#include "bookfiles/book_files.h"
#include "controls/date_picker_control.h"
#include "controls/pending_edit_qt.h"
#include "controls/vertical_scroll_control.h"
#include "platform/colors_qt.h"
#include "platform/prompts.h"
#include "platform/screen_fit_qt.h"
#include "platform/string_table.h"
#include "platform/units.h"

namespace qv {
namespace {

void Tint(QWidget* w, ColorValue color) {
  QPalette palette = w->palette();
  palette.setColor(QPalette::Window, ToQColor(color));
  palette.setColor(QPalette::Button, ToQColor(color));
  w->setPalette(palette);
  w->setAutoFillBackground(true);
}

}  // namespace

void TAcount::Form_Load() {
  Books& books = app_.TheBooks();
  Session& session = app_.TheSession();
  // 1. Qt scales for the screen itself: a design twip is 1/15 of a logical pixel.
  session.ScreenScale = 1.0;
  screen_.SetScreenScale(session.ScreenScale);
  // 2. The toolbar's gradient and the colours other windows paint with.
  DrawButtonBar();
  // 3. The character set of the user-interface language.
  {
    const std::string& charset = Str(330);
    int value = 0;
    std::from_chars(charset.data(), charset.data() + charset.size(), value);
    books.FontCharset = static_cast<int16_t>(value);
  }
  // 5, 6. The rows exist; the tab order runs through the debit rows, then the credit rows,
  // then the notes, the add-line and sum images (so that a compound entry can be made
  // without the mouse), New Entry, the go-to box and the previous and next buttons.
  QWidget* previous = nullptr;
  auto chain = [&previous](QWidget* w) {
    if (previous) QWidget::setTabOrder(previous, w);
    previous = w;
  };
  for (auto* rows : {&debitRows_, &creditRows_})
    for (EntryRowWidgets& w : *rows) {
      chain(w.Folio);
      chain(w.AccName);
      chain(w.AmountText);
    }
  chain(AccNote);
  chain(CompoundEntry[1]);
  chain(CompoundEntry[2]);
  chain(CalcCompound);
  chain(Command1);
  chain(Text1);
  chain(PNPage[0]);
  chain(PNPage[1]);
  // The window opens with the focus on New Entry (its mark shows it), and has it there again
  // after the books were replaced (TakeKeyboardBack).
  Command1->setFocus(Qt::OtherFocusReason);
  // 7. The saved width.
  ApplySavedSize();
  // 9. A second copy is tinted so that the two can be told apart.
  if (app_.SecondCopy()) TintSecondCopy();
  // 10. The example books of the Help menu.
  AddExampleBooks();
  // 12. The height follows the entry frame; only the saved width survives.
  FitHeightToFrame();
  // 13. Each field label ends 40 twips before its field.
  PlaceLabels();
  // 14, 15. A new book's start values on this machine.
  books.AutoTrackingNumbers = 1;
  books.DateStyleIndex = static_cast<int16_t>(DefaultDateStyle(app_.Locale()));
  // 18. The title.
  SetTitleForBook({});
  // 19. The currency sign beside the amounts.
  GL(8)->setText(QString::fromStdString(app_.Symbols().CurrencyLabel));
  GL(9)->setText(QString::fromStdString(app_.Symbols().CurrencyLabel));
  GL(8)->adjustSize();
  GL(9)->adjustSize();
  // The account lists and the first entry.
  loaded_ = true;
  RefillAccountLists();
  ScrollAcc->SetValueMax(books.LastLineIndex());
  ScrollAcc->SetValue(0);
  Form_Resize();
  // A new book has nothing to lose until it is changed.
  MarkBooksSaved();
  // 20. The book named on the command line; the title shows it only when it opened.
  const std::string path = CommandLineBookPath(app_.Arguments());
  if (!path.empty()) {
    session.ChosenFileName = path;
    LoadAccFile(1);
  }
}

void TAcount::DrawButtonBar() {
  const ColorValue background = FromQColor(palette().color(QPalette::Window));
  app_.TheSession().FadeColors = ComputeFadeColors(background);
  const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  const int width = std::max(screen ? screen->geometry().width() : 0, Px(design::ButtonBar.Width));
  const int height = ButtonBar->height();
  QPixmap picture(width, height);
  picture.fill(ToQColor(background));
  QPainter painter(&picture);
  for (int i = 1; i <= 30 && i < height; ++i) {
    painter.setPen(ToQColor(app_.TheSession().FadeColors[static_cast<std::size_t>(i)]));
    painter.drawLine(0, i, width, i);
  }
  if (29 < height) {
    painter.setPen(ToQColor(design::kToolbarBottomLine));
    painter.drawLine(0, 29, width, 29);
  }
  painter.end();
  ButtonBar->resize(width, height);
  ButtonBar->SetPicture(picture);
}

void TAcount::ApplySavedSize() {
  SettingsQt& settings = app_.Settings();
  int widthPx = Px(design::kClientWidth);
  if (const auto saved = ParseSavedMeasure(settings.Read("Width").toStdString()))
    widthPx = Px(*saved);
  // No wider than the work area holds with the window's frame.
  widthPx = std::min(widthPx, RoomOf(this).width());
  resize(std::max(widthPx, minimumSizeHint().width()), height());
}

void TAcount::FitHeightToFrame() {
  // The menu bar takes its own height above the frame (the window's own frame is drawn by
  // the window system outside our measures).
  const int menuHeight = menuBar()->sizeHint().height();
  // Tall enough, too, for an entry of three rows and its notes box.
  const int32_t inner = std::max(FittedInnerHeight(Tw(xFrame1->y()), Tw(xFrame1->height())),
                                 InnerHeightForRowBox(screen_.ContentBottomOfRows(3)));
  const int minimum = Px(kMinWindowHeight - kFrameHeightAllowance);
  resize(width(), menuHeight + std::max(Px(inner), minimum));
}

void TAcount::PlaceLabels() {
  auto before = [](QLabel* label, QWidget* field, int32_t designWidth) {
    const int width = std::max(Px(designWidth), label->sizeHint().width());
    label->resize(width, label->height());
    label->move(field->x() - (width + Px(design::kLabelGap)), label->y());
  };
  before(GL(2), JournalID, design::NoLabel.Width);
  before(GL(3), Datetext, design::DateLabel.Width);
  before(GL(4), DebitFolio(0), design::DebitLabel.Width);
  before(GL(5), CreditFolio(0), design::CreditLabel.Width);
  before(GL(6), AccNote, design::NotesLabel.Width);
}

void TAcount::TintSecondCopy() {
  const ColorValue tint = kSecondCopyTint;
  Tint(client_, tint);
  ScrollAcc->SetBackColor(tint);
  Tint(xFrame1, tint);
  Tint(GL(7), tint);
  Tint(Rr, tint);
  Tint(eBox, tint);
}

void TAcount::SetTitleForBook(const std::string& path) {
  setWindowTitle(QString::fromStdString(TitleText(path)));
}

void TAcount::SaveSize() {
  SettingsQt& settings = app_.Settings();
  settings.Write("Width", QString::fromStdString(SavedMeasureText(PixelsToTwips(width()))));
  settings.Write("Height", QString::fromStdString(SavedMeasureText(PixelsToTwips(height()))));
  settings.Sync();
}

bool TAcount::ExitConfirmed() {
  // Enter must never be the key that drops unsaved work: No is the default.
  return AskYesNoDefaultNo(Str(279)) == PromptAnswer::Yes;
}

bool TAcount::MayEnd() { return !BooksChangedSinceSaved() || ExitConfirmed(); }

void TAcount::closeEvent(QCloseEvent* event) {
  // The measures are saved whatever the answer.
  SaveSize();
  // The program ends with this window: the edits still in the boxes of every window count.
  StorePendingEdits();
  if (!MayEnd()) {
    event->ignore();
    return;
  }
  event->accept();
  if (EndProgram) EndProgram();
}

void TAcount::AskBeforeSessionEnds(QSessionManager& manager) {
  SaveSize();
  if (!manager.allowsInteraction()) return;  // the session ends without a question
  const bool confirmed = MayEnd();
  manager.release();
  if (!confirmed) manager.cancel();
}

bool TAcount::BooksChangedSinceSaved() {
  // The prepared-groups window's working list is part of what a save would write.
  app_.Windows().StoreBeforeSave();
  return BookDigest(app_.TheBooks()) != app_.TheSession().SavedBookDigest;
}

void TAcount::MarkBooksSaved() { app_.TheSession().SavedBookDigest = BookDigest(app_.TheBooks()); }

void TAcount::Exitit_Click() {
  if (!MayEnd()) return;
  if (EndProgram) EndProgram();
}

}  // namespace qv
