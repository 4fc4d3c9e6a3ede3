#include "controls/print_setup_dialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

#include "controls/shared_printer_qt.h"
#include "platform/keyboard_return_qt.h"

namespace qv {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

constexpr int kPictureSize = 32;
constexpr const char* kNoPrinterText =
    "No printer was found, so the document will be written to a PDF file.";

enum class Picture {
  BlackWhite,
  Color,
  Quality1,
  Quality2,
  Quality3,
  Quality4,
  Portrait,
  Landscape
};

// The small pictures of the colour, quality and orientation choices.
QPixmap DrawPicture(Picture picture) {
  QPixmap pixmap(kPictureSize, kPictureSize);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  switch (picture) {
    case Picture::BlackWhite:
    case Picture::Color: {
      const bool color = picture == Picture::Color;
      const std::array<QColor, 3> swatches = {color ? QColor(Qt::red) : QColor(Qt::black),
                                              color ? QColor(Qt::green) : QColor(Qt::gray),
                                              color ? QColor(Qt::blue) : QColor(Qt::lightGray)};
      for (int k = 0; k < 3; ++k) painter.fillRect(4 + 8 * k, 8, 8, 16, swatches[k]);
      painter.setPen(Qt::black);
      painter.drawRect(4, 8, 24, 16);
      break;
    }
    case Picture::Portrait:
    case Picture::Landscape: {
      const QRect sheet = picture == Picture::Portrait ? QRect(8, 3, 16, 26) : QRect(3, 8, 26, 16);
      painter.fillRect(sheet, Qt::white);
      painter.setPen(Qt::black);
      painter.drawRect(sheet);
      for (int y = sheet.top() + 4; y < sheet.bottom() - 2; y += 4)
        painter.drawLine(sheet.left() + 3, y, sheet.right() - 3, y);
      break;
    }
    default: {
      // Quality: a finer grid of dots for a better quality.
      const int level = static_cast<int>(picture) - static_cast<int>(Picture::Quality1) + 1;
      const int step = 10 - 2 * level;
      painter.fillRect(4, 4, 24, 24, Qt::white);
      painter.setPen(Qt::black);
      painter.drawRect(4, 4, 24, 24);
      for (int y = 6; y < 28; y += step)
        for (int x = 6; x < 28; x += step) painter.drawPoint(x, y);
      break;
    }
  }
  return pixmap;
}

QToolButton* MakeImage(QWidget* parent, const char* name, const char* toolTip, Picture picture) {
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setToolTip(toolTip);
  button->setIcon(QIcon(DrawPicture(picture)));
  button->setIconSize(QSize(kPictureSize, kPictureSize));
  button->setCheckable(true);  // checked: the choice's mark
  // Tab reaches it and Space presses it; a click leaves the focus where it was.
  button->setFocusPolicy(Qt::TabFocus);
  return button;
}

// A text that wraps to the width it is given and asks for the height of all its lines at
// that width. Without it the window took its height from the text laid out at another width,
// where it needed fewer lines (at 144 dpi, one for two), and the text showed with its top and
// bottom cut.
class WrappedText final : public QLabel {
 public:
  WrappedText(const QString& text, QWidget* parent) : QLabel(text, parent) { setWordWrap(true); }

 protected:
  void resizeEvent(QResizeEvent* event) override {
    QLabel::resizeEvent(event);
    const int needed = heightForWidth(width());
    if (needed > 0 && needed != minimumHeight()) setMinimumHeight(needed);
  }
};

QGroupBox* MakeFrame(QWidget* parent, const char* title, QWidget* first, QWidget* second = nullptr,
                     QWidget* third = nullptr, QWidget* fourth = nullptr) {
  auto* frame = new QGroupBox(title, parent);
  auto* row = new QHBoxLayout(frame);
  for (QWidget* widget : {first, second, third, fourth})
    if (widget) row->addWidget(widget);
  return frame;
}

}  // namespace

PrintSetupResult ShowPrintSetup(QWidget* owner, Session& session, PrintSetupModel& model) {
  model.Open();
  {
    Printformer dialog(model, owner);
    RunModal(dialog);
  }
  session.PrintCopies = model.Copies();
  return {model.Copies(), model.PrintScale()};
}

PrintSetupResult ShowPrintSetup(QWidget* owner, Session& session) {
  return ShowPrintSetup(owner, session, SharedPrintSetup());
}

Printformer::Printformer(PrintSetupModel& model, QWidget* owner) : QDialog(owner), model_(model) {
  setObjectName("Printformer");
  setWindowTitle("Print Page(s)...");
  setModal(true);

  combo1_ = new QComboBox(this);
  combo1_->setObjectName("Combo1");
  combo1_->setToolTip("Select Printer...");
  combo1_->installEventFilter(this);  // typing does not choose a printer
  noPrinterNote_ = new WrappedText(kNoPrinterText, this);
  noPrinterNote_->setObjectName("NoPrinterNote");
  noPrinterNote_->setVisible(model_.NoPrinterFound());
  combo2_ = new QComboBox(this);
  combo2_->setObjectName("Combo2");
  check1_ = new QCheckBox("Duplex", this);
  check1_->setObjectName("Check1");
  check1_->setToolTip("Print on both sides of a page... (Printer must support it)");

  colorImages_[1] =
      MakeImage(this, "DPIColorIt1", "Print in Blank and White...", Picture::BlackWhite);
  colorImages_[2] = MakeImage(this, "DPIColorIt2", "Print in Color...", Picture::Color);
  qualityImages_[1] = MakeImage(this, "DPIBox1", "Draft...", Picture::Quality1);
  qualityImages_[2] = MakeImage(this, "DPIBox2", "Low...", Picture::Quality2);
  qualityImages_[3] = MakeImage(this, "DPIBox3", "Medium...", Picture::Quality3);
  qualityImages_[4] = MakeImage(this, "DPIBox4", "Best Quality", Picture::Quality4);
  orientationImages_[1] = MakeImage(this, "PorL1", "Portrait...", Picture::Portrait);
  orientationImages_[2] = MakeImage(this, "PorL2", "Landscape...", Picture::Landscape);

  pxSize_ = new QComboBox(this);
  pxSize_->setObjectName("PxSize");
  pxSize_->setToolTip("Print Text Size...");
  pxSize_->setEditable(true);
  pxSize_->setInsertPolicy(QComboBox::NoInsert);
  pxSize_->addItems({"100%", "90%", "80%", "70%", "60%", "50%"});
  pxSize_->installEventFilter(this);
  pxSize_->lineEdit()->installEventFilter(this);

  copying_ = new QLineEdit(this);
  copying_->setObjectName("Copying");
  vScroll1_ = new QScrollBar(Qt::Vertical, this);
  vScroll1_->setObjectName("VScroll1");
  vScroll1_->setRange(1, kMaxCopies);
  vScroll1_->setInvertedAppearance(true);  // the upper arrow adds a copy
  vScroll1_->setFixedHeight(copying_->sizeHint().height());
  // The bar's keys are the box's: Up adds a copy and Down takes one away, as its arrows do.
  vScroll1_->setFocusProxy(copying_);
  copying_->installEventFilter(this);

  command1_ = new QPushButton("&Print", this);
  command1_->setObjectName("Command1");
  command1_->setDefault(true);
  command2_ = new QPushButton("C&ancel", this);
  command2_->setObjectName("Command2");

  auto* grid = new QGridLayout(this);
  auto* printerFrame = new QGroupBox("Printer :", this);
  auto* printerColumn = new QVBoxLayout(printerFrame);
  printerColumn->addWidget(combo1_);
  printerColumn->addWidget(noPrinterNote_);  // under the list, shown only without a printer
  grid->addWidget(printerFrame, 0, 0, 1, 3);
  grid->addWidget(MakeFrame(this, "Page Type :", combo2_, check1_), 1, 0, 1, 3);
  grid->addWidget(MakeFrame(this, "Color :", colorImages_[1], colorImages_[2]), 2, 0);
  grid->addWidget(MakeFrame(this, "Quality :", qualityImages_[1], qualityImages_[2],
                            qualityImages_[3], qualityImages_[4]),
                  2, 1, 1, 2);
  grid->addWidget(MakeFrame(this, "Landscape :", orientationImages_[1], orientationImages_[2]), 3,
                  0);
  grid->addWidget(MakeFrame(this, "Text Size :", pxSize_), 3, 1);
  grid->addWidget(MakeFrame(this, "Copies", copying_, vScroll1_), 3, 2);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(command1_);
  buttons->addWidget(command2_);
  grid->addLayout(buttons, 4, 0, 1, 3);

  ShowModel();

  connect(combo1_, &QComboBox::activated, this, [this](int index) {
    model_.ChoosePrinter(combo1_->itemText(index).toStdString());
    ShowModel();
  });
  connect(combo2_, &QComboBox::activated, this, [this](int row) {
    model_.ChoosePaper(row);
    ShowPapers();
  });
  connect(check1_, &QCheckBox::clicked, this, [this](bool on) { model_.SetDuplex(on); });
  for (int k = 1; k <= 2; ++k) {
    connect(colorImages_[static_cast<std::size_t>(k)], &QToolButton::clicked, this, [this, k] {
      model_.ChooseColor(k);
      ShowMarkers();
    });
    connect(orientationImages_[static_cast<std::size_t>(k)], &QToolButton::pressed, this,
            [this, k] {
              model_.ChooseOrientation(k);
              ShowMarkers();
            });
    // The mark follows the printer, not the button's own checking.
    connect(orientationImages_[static_cast<std::size_t>(k)], &QToolButton::clicked, this,
            [this] { ShowMarkers(); });
  }
  for (int k = 1; k <= 4; ++k) {
    connect(qualityImages_[static_cast<std::size_t>(k)], &QToolButton::clicked, this, [this, k] {
      model_.ChooseQuality(k);
      ShowMarkers();
    });
  }
  connect(pxSize_, &QComboBox::currentTextChanged, this,
          [this](const QString& text) { model_.SetTextSize(text.toStdString()); });
  connect(copying_, &QLineEdit::textEdited, this,
          [this](const QString& text) { model_.SetCopiesText(text.toStdString()); });
  connect(vScroll1_, &QScrollBar::valueChanged, this, [this](int value) {
    model_.SetCopiesText(std::to_string(value));
    copying_->setText(QString::number(value));
  });
  connect(command1_, &QPushButton::clicked, this, &Printformer::OnPrint);
  connect(command2_, &QPushButton::clicked, this, &Printformer::reject);
}

void Printformer::ShowModel() {
  {
    const QSignalBlocker block(combo1_);
    combo1_->clear();
    for (const std::string& name : model_.Printers()) combo1_->addItem(Q(name));
    combo1_->setCurrentIndex(combo1_->findText(Q(model_.PrinterText())));
  }
  ShowPapers();
  ShowMarkers();
  check1_->setChecked(model_.Duplex());
  {
    const QSignalBlocker block(pxSize_);
    pxSize_->setEditText(Q(model_.TextSize()));
  }
  copying_->setText(Q(model_.CopiesText()));
}

void Printformer::ShowPapers() {
  const QSignalBlocker block(combo2_);
  combo2_->clear();
  for (const std::string& name : model_.PaperNames()) combo2_->addItem(Q(name));
  combo2_->setCurrentIndex(model_.PaperRow());
}

void Printformer::ShowMarkers() {
  for (int k = 1; k <= 2; ++k) {
    colorImages_[static_cast<std::size_t>(k)]->setChecked(model_.ColorMarker() == k);
    orientationImages_[static_cast<std::size_t>(k)]->setChecked(model_.OrientationMarker() == k);
  }
  for (int k = 1; k <= 4; ++k)
    qualityImages_[static_cast<std::size_t>(k)]->setChecked(model_.QualityMarker() == k);
}

void Printformer::TextSizeLeft() {
  model_.SetTextSize(pxSize_->currentText().toStdString());
  model_.TextSizeLeft();
  const QSignalBlocker block(pxSize_);
  pxSize_->setEditText(Q(model_.TextSize()));
}

void Printformer::OnPrint() {
  model_.SetTextSize(pxSize_->currentText().toStdString());
  model_.SetCopiesText(copying_->text().toStdString());
  model_.Accept();
  accept();
}

void Printformer::reject() {
  // Cancel, Escape and the close box alike print nothing.
  model_.Cancel();
  QDialog::reject();
}

void Printformer::showEvent(QShowEvent* event) {
  // The window took its size before the note had its width, and with it its lines: laid out
  // again now, the window grows to what they need before it is on the screen.
  layout()->activate();
  QDialog::showEvent(event);
}

void Printformer::closeEvent(QCloseEvent* event) {
  // The close box hides the window as Cancel does.
  event->ignore();
  reject();
}

bool Printformer::eventFilter(QObject* watched, QEvent* event) {
  if (watched == combo1_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (!key->text().isEmpty() && key->text().at(0).isPrint()) return true;
  }
  if (watched == copying_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
      vScroll1_->triggerAction(key == Qt::Key_Up ? QAbstractSlider::SliderSingleStepAdd
                                                 : QAbstractSlider::SliderSingleStepSub);
      return true;
    }
  }
  if ((watched == pxSize_ || watched == pxSize_->lineEdit()) && event->type() == QEvent::FocusOut)
    TextSizeLeft();
  return QDialog::eventFilter(watched, event);
}

}  // namespace qv
