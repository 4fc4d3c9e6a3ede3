#include "accounts/configuration_window.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "accounts/book_text_box_qt.h"
#include "accounts/password_gates.h"
#include "controls/help_window.h"
#include "platform/placement_qt.h"
#include "platform/screen_fit_qt.h"
#include "platform/string_table.h"

namespace qv {
namespace {

constexpr int kClientWidth = 8980;
constexpr int kClientHeight = 6260;
constexpr int kLeft = 120;
constexpr int kColumnWidth = 4300;
constexpr int kBoxHeight = 300;

QString Q(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<int>(text.size()));
}

// A frame with its caption and a box inside it.
QGroupBox* Frame(QWidget* parent, const char* name, int captionId, int left, int top, int width,
                 int height) {
  auto* frame = new QGroupBox(Q(Str(captionId)), parent);
  frame->setObjectName(name);
  PlaceTwips(frame, left, top, width, height);
  return frame;
}

// A frame with its caption around a one-line box; the box is returned.
QLineEdit* FramedLine(QWidget* parent, QGroupBox*& frame, const char* frameName, int captionId,
                      const char* boxName, int top) {
  frame = Frame(parent, frameName, captionId, kLeft, top, kColumnWidth, 660);
  auto* box = new QLineEdit(parent);
  box->setObjectName(boxName);
  PlaceTwips(box, kLeft + 120, top + 280, kColumnWidth - 240, kBoxHeight);
  return box;
}

}  // namespace

QVMainsettings::QVMainsettings(Books& books, const LocaleInfo& locale, DaySerial today,
                               std::vector<FontFacts> fonts, std::function<void()> changed,
                               QWidget* owner)
    : QMainWindow(owner, Qt::Window),
      model_(books),
      fonts_(std::move(fonts)),
      changed_(std::move(changed)) {
  setObjectName("QVMainsettings");
  setWindowTitle(kConfigurationCaption);
  setAttribute(Qt::WA_DeleteOnClose);
  QFont arial = font();
  arial.setFamily("Arial");
  setFont(arial);
  BuildControls(locale, today);
  Load();
}

void QVMainsettings::BuildControls(const LocaleInfo& locale, DaySerial today) {
  auto* client = new QWidget(this);
  client->setFixedSize(TwipsRect(0, 0, kClientWidth, kClientHeight).size());
  // The controls keep their design places; the window scrolls them on a smaller screen.
  HoldFixedContents(this, client);
  const int inner = kColumnWidth - 240;

  Bname = FramedLine(client, CnameBusiness, "CnameBusiness", 219, "Bname", 120);
  Frame7 = Frame(client, "Frame7", 222, kLeft, 840, kColumnWidth, 1500);
  BusAddress = new QPlainTextEdit(client);
  BusAddress->setObjectName("BusAddress");
  BusAddress->setTabChangesFocus(true);
  PlaceTwips(BusAddress, kLeft + 120, 1120, inner, 1120);
  EnterPassWord = FramedLine(client, Frame4, "Frame4", 224, "EnterPassWord", 2400);
  AdminPass = FramedLine(client, Frame1, "Frame1", 225, "AdminPass", 3120);
  for (QLineEdit* box : {EnterPassWord, AdminPass}) box->setMaxLength(kPasswordMaxLength);
  Aincress = new QCheckBox(Q(Str(227)), client);
  Aincress->setObjectName("Aincress");
  PlaceTwips(Aincress, kLeft, 3860, kColumnWidth, kBoxHeight);
  Frame3 = Frame(client, "Frame3", 221, kLeft, 4220, kColumnWidth, 700);
  DateStyle = new QComboBox(client);
  DateStyle->setObjectName("DateStyle");
  for (const std::string& item : DateStyleItems(today, locale)) DateStyle->addItem(Q(item));
  PlaceTwips(DateStyle, kLeft + 120, 4500, inner, 330);
  Frame2 = Frame(client, "Frame2", 223, kLeft, 5000, kColumnWidth, 1140);
  Combo2 = new QComboBox(client);
  Combo2->setObjectName("Combo2");
  for (const std::string& name : ListedFonts(fonts_)) Combo2->addItem(Q(name));
  PlaceTwips(Combo2, kLeft + 120, 5280, inner, 330);
  Combo1 = new QComboBox(client);
  Combo1->setObjectName("Combo1");
  PlaceTwips(Combo1, kLeft + 120, 5680, inner, 330);

  const int right = kLeft + kColumnWidth + 140;
  Dec = Frame(client, "Dec", 220, right, 120, kColumnWidth, 5420);
  for (int g = 0; g < kDecimalsKinds; ++g) {
    QGroupBox* frame = Frame(client, "", 228 + g, right + 120, 420 + g * 1000, inner, 880);
    frame->setObjectName(QString("Frame5(%1)").arg(g));
    Frame5[static_cast<std::size_t>(g)] = frame;
    auto* group = new QButtonGroup(this);
    decimals_[static_cast<std::size_t>(g)] = group;
    for (int places = 0; places < 4; ++places) {
      auto* option = new QRadioButton(Q(DecimalCaption(places, locale.DecimalSymbol)), client);
      const QString suffix = g == 0 ? QString() : QString::number(g + 1);
      option->setObjectName(QString("DecimalPlacing%1(%2)").arg(suffix).arg(places));
      PlaceTwips(option, right + 240 + places * 990, 420 + g * 1000 + 400, 960, kBoxHeight);
      group->addButton(option, places);
      DecimalPlacing[static_cast<std::size_t>(g)][static_cast<std::size_t>(places)] = option;
    }
    connect(group, &QButtonGroup::idClicked, this, [this, g](int places) {
      model_.SetDecimals(static_cast<DecimalsKind>(g), places);
      Changed();
    });
  }
  OKu = new QPushButton("OK", client);
  OKu->setObjectName("OKu");
  PlaceTwips(OKu, right + kColumnWidth - 1300, 5700, 1300, 420);
  connect(OKu, &QPushButton::clicked, this, &QWidget::close);

  QMenu* help = menuBar()->addMenu("Help");
  help->setObjectName("HelpSelect");
  HelpContents = help->addAction("Contents...");
  HelpContents->setObjectName("HelpContents");
  HelpContents->setCheckable(true);
  connect(HelpContents, &QAction::triggered, this,
          [this] { TheHelpDesk().ToggleFromItem(HelpContents, this); });

  connect(Bname, &QLineEdit::textEdited, this, [this](const QString& t) {
    model_.SetBusinessName(t.toStdString());
    Changed();
  });
  connect(BusAddress, &QPlainTextEdit::textChanged, this, [this] {
    // A text cut to fit comes back here and is stored then.
    if (loading_ || HoldToBookTextLimit(BusAddress)) return;
    model_.SetBusinessAddress(BusAddress->toPlainText().toStdString());
    Changed();
  });
  connect(EnterPassWord, &QLineEdit::textEdited, this,
          [this](const QString& t) { model_.SetFilePassword(t.toStdString()); });
  connect(AdminPass, &QLineEdit::textEdited, this,
          [this](const QString& t) { model_.SetAdminPassword(t.toStdString()); });
  connect(Aincress, &QCheckBox::clicked, this, [this](bool on) {
    TheHelpDesk().ShowCard(ConfigHelp(ConfigField::Tracking));  // and it still acts
    model_.SetTracking(on);
    Changed();
  });
  connect(DateStyle, &QComboBox::activated, this, [this](int index) {
    model_.SetDateStyle(index);
    Changed();
  });
  connect(Combo2, &QComboBox::activated, this,
          [this](int index) { FontChosen(Combo2->itemText(index)); });
  connect(Combo1, &QComboBox::activated, this, [this](int index) {
    model_.ChooseCharset(Combo1->itemText(index).toStdString());
    Changed();
  });
  for (QWidget* w : std::initializer_list<QWidget*>{Bname, BusAddress, EnterPassWord, AdminPass,
                                                    DateStyle, Combo2, Combo1})
    w->installEventFilter(this);
  BusAddress->viewport()->installEventFilter(this);
}

void QVMainsettings::Load() {
  loading_ = true;
  const Books& books = model_.TheBooks();
  // The book's font is shown as it is; opening the window changes neither it nor its set.
  const QString font = Q(books.FontName);
  if (Combo2->findText(font, Qt::MatchExactly) < 0) Combo2->insertItem(0, font);
  Combo2->setCurrentIndex(Combo2->findText(font, Qt::MatchExactly));
  FillCharsets(books.FontName);
  FT();
  ApplyBookFont();
  BusAddress->setPlainText(Q(model_.BusinessAddressText()));
  Aincress->setChecked(model_.Tracking());
  Bname->setText(Q(books.BusinessName));
  AdminPass->setText(Q(books.AdminPassword));
  DateStyle->setCurrentIndex(model_.DateStyle());
  EnterPassWord->setText(Q(books.FilePassword));
  for (int g = 0; g < kDecimalsKinds; ++g) {
    const int places = model_.Decimals(static_cast<DecimalsKind>(g));
    DecimalPlacing[static_cast<std::size_t>(g)][static_cast<std::size_t>(places)]->setChecked(true);
    // Tab stops at the chosen option of each group (the arrows choose among them), so that
    // Space there changes nothing.
    for (QRadioButton* option : DecimalPlacing[static_cast<std::size_t>(g)])
      option->setFocusPolicy(option->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
  }
  loading_ = false;
}

const FontFacts* QVMainsettings::FactsOf(const std::string& family) const {
  for (const FontFacts& facts : fonts_)
    if (facts.Name == family) return &facts;
  return nullptr;
}

void QVMainsettings::FillCharsets(const std::string& family) {
  Combo1->clear();
  if (const FontFacts* facts = FactsOf(family))
    for (const std::string& name : ListedCharsets(*facts)) Combo1->addItem(Q(name));
}

void QVMainsettings::FT() {
  const std::optional<std::string_view> name = model_.CharsetName();
  if (!name) return;
  int item = Combo1->findText(Q(*name), Qt::MatchExactly);
  if (item < 0) {
    // The book's set is shown even when the chosen font does not cover it.
    Combo1->addItem(Q(*name));
    item = Combo1->count() - 1;
  }
  Combo1->setCurrentIndex(item);
}

void QVMainsettings::FontChosen(const QString& family) {
  const std::string name = family.toStdString();
  FontFacts facts;
  facts.Name = name;
  if (const FontFacts* known = FactsOf(name)) facts = *known;
  model_.ChooseFont(facts);
  FillCharsets(name);
  FT();
  ApplyBookFont();
  Changed();
}

void QVMainsettings::ApplyBookFont() {
  QFont bookFont = font();
  bookFont.setFamily(Q(model_.TheBooks().FontName));
  for (QWidget* w : std::initializer_list<QWidget*>{Bname, BusAddress, EnterPassWord, AdminPass})
    w->setFont(bookFont);
}

void QVMainsettings::Changed() {
  if (!loading_ && changed_) changed_();
}

bool QVMainsettings::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress) {
    // In help mode a click on a box shows its card.
    if (watched == Bname)
      TheHelpDesk().ShowCard(ConfigHelp(ConfigField::BusinessName));
    else if (watched == BusAddress || watched == BusAddress->viewport())
      TheHelpDesk().ShowCard(ConfigHelp(ConfigField::BusinessAddress));
    else if (watched == EnterPassWord)
      TheHelpDesk().ShowCard(ConfigHelp(ConfigField::FilePassword));
    else if (watched == AdminPass)
      TheHelpDesk().ShowCard(ConfigHelp(ConfigField::AdminPassword));
  } else if (event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    // The lists are chosen from, not typed into; the set list takes no key at all.
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) return false;
    if (watched == Combo1) return true;
    if ((watched == DateStyle || watched == Combo2) && !key->text().isEmpty() &&
        key->text().front().unicode() >= 0x20)
      return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace qv
