#pragma once
// QVMainsettings, "Default Setting...": the configuration of the open book. The business
// name and address, the file and admin passwords, tracking numbers, the date style, the
// decimals of five kinds of report, and the program's font with its character set. Every
// control writes its setting the moment it changes; OK only closes. Its Help > Contents
// switches help mode, in which a click on a field shows its card. The logic is
// accounts/configuration.h; this window shows it and feeds it the user's changes.

#include <QMainWindow>
#include <array>
#include <functional>
#include <vector>

#include "accounts/configuration.h"

class QAction;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace qv {

class QVMainsettings : public QMainWindow {
  Q_OBJECT

 public:
  // `fonts` are the screen's fonts; `changed` runs after every change of a setting (the
  // windows that show the book's settings follow).
  QVMainsettings(Books& books, const LocaleInfo& locale, DaySerial today,
                 std::vector<FontFacts> fonts, std::function<void()> changed, QWidget* owner);

  ConfigurationModel& Model() { return model_; }

  // Shows the name of the book's character set in Combo1 (a number the table does not hold
  // leaves the text as it was).
  void FT();

  // ---- The controls, by their design names.
  QGroupBox* CnameBusiness = nullptr;
  QLineEdit* Bname = nullptr;
  QGroupBox* Frame7 = nullptr;
  QPlainTextEdit* BusAddress = nullptr;
  QGroupBox* Frame4 = nullptr;
  QLineEdit* EnterPassWord = nullptr;
  QGroupBox* Frame1 = nullptr;
  QLineEdit* AdminPass = nullptr;
  QCheckBox* Aincress = nullptr;
  QGroupBox* Frame3 = nullptr;
  QComboBox* DateStyle = nullptr;
  QGroupBox* Frame2 = nullptr;
  QComboBox* Combo2 = nullptr;  // fonts
  QComboBox* Combo1 = nullptr;  // character sets
  QGroupBox* Dec = nullptr;
  std::array<QGroupBox*, kDecimalsKinds> Frame5{};
  // DecimalPlacing .. DecimalPlacing5, each with options 0 to 3.
  std::array<std::array<QRadioButton*, 4>, kDecimalsKinds> DecimalPlacing{};
  QPushButton* OKu = nullptr;
  QAction* HelpContents = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls(const LocaleInfo& locale, DaySerial today);
  void Load();
  // The font chosen in Combo2 (Combo2_Change).
  void FontChosen(const QString& family);
  void FillCharsets(const std::string& family);
  const FontFacts* FactsOf(const std::string& family) const;
  void ApplyBookFont();
  void Changed();

  ConfigurationModel model_;
  std::vector<FontFacts> fonts_;
  std::function<void()> changed_;
  std::array<QButtonGroup*, kDecimalsKinds> decimals_{};
  bool loading_ = false;
};

}  // namespace qv
