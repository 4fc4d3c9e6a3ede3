// The main window's menus, its picture toolbar and the commands they run.

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>

#include "app/application_window.h"
#include "app/calculator_openers_qt.h"
#include "app/main_window.h"
#include "app/startup.h"
#include "controls/help_window.h"
#include "platform/placement_qt.h"
#include "platform/string_table.h"

namespace qv {

void TAcount::BuildMenus() {
  QMenu* menu = nullptr;     // the menu of the bar being filled
  QMenu* submenu = nullptr;  // the submenu of its last item
  for (const MenuItemSpec& item : MainMenuItems()) {
    const QString name = QString::fromUtf8(item.Name.data(), static_cast<int>(item.Name.size()));
    const QString caption = QString::fromStdString(item.CaptionId ? Str(item.CaptionId) : "");
    if (item.Depth == 0) {
      menu = menuBar()->addMenu(caption);
      menu->setObjectName(name);
      menus_[name] = menu;
      submenu = nullptr;
      continue;
    }
    QMenu* parent = item.Depth == 2 ? submenu : menu;
    if (parent == nullptr) continue;
    QAction* action = nullptr;
    if (item.Separator) {
      action = parent->addSeparator();
    } else {
      action = parent->addAction(caption);
      if (!item.Shortcut.empty())
        action->setShortcut(QKeySequence(
            QString::fromUtf8(item.Shortcut.data(), static_cast<int>(item.Shortcut.size()))));
    }
    action->setObjectName(name);
    action->setVisible(!item.Hidden);
    actions_[name] = action;
    if (item.Depth == 1 && !item.Separator) {
      // An item whose next entry is deeper opens a submenu.
      const auto all = MainMenuItems();
      const auto next = std::next(&item);
      if (next != all.data() + all.size() && next->Depth == 2) {
        submenu = new QMenu(caption, parent);
        submenu->setObjectName(name);
        action->setMenu(submenu);
        menus_[name] = submenu;
      } else {
        submenu = nullptr;
      }
    }
  }
  // Toolbar button 13 has no menu item; its command is an action of its own.
  auto* email = new QAction(this);
  email->setObjectName("EmailInvoice");
  actions_["EmailInvoice"] = email;
}

QAction* TAcount::MenuItem(const QString& name) const {
  const auto it = actions_.find(name);
  return it == actions_.end() ? nullptr : it->second;
}

QMenu* TAcount::Menu(const QString& name) const {
  const auto it = menus_.find(name);
  return it == menus_.end() ? nullptr : it->second;
}

void TAcount::BuildToolbar() {
  for (const ToolbarButtonSpec& item : ToolbarButtons()) {
    auto* button = new PictureImage(ButtonBar);
    button->setObjectName("CalcButton" + QString::number(item.Index));
    const QString picture =
        ":/icons/" + QString::fromUtf8(item.Picture.data(), static_cast<int>(item.Picture.size())) +
        ".png";
    button->setPixmap(QPixmap(picture));
    if (item.ToolTipId != 0) button->setToolTip(QString::fromStdString(Str(item.ToolTipId)));
    PlaceTwips(button, item.DesignLeft, kToolbarButtonTop, kToolbarButtonSize, kToolbarButtonSize);
    const int index = item.Index;
    connect(button, &PictureImage::Click, this, [this, index] { CalcButton_Click(index); });
    connect(button, &PictureImage::MouseDown, this, [this, button] {
      // The pressed look stands over the pressed picture until the button is released.
      calcButtonDown_->move(button->pos());
      calcButtonDown_->show();
      calcButtonDown_->raise();
    });
    connect(button, &PictureImage::MouseUp, this, [this] { calcButtonDown_->hide(); });
    calcButtons_[item.Index] = button;
  }
  calcButtonDown_ = new QLabel(ButtonBar);
  calcButtonDown_->setObjectName("CalcButtonDown");
  calcButtonDown_->setPixmap(QPixmap(":/icons/pressed.png"));
  calcButtonDown_->setAttribute(Qt::WA_TransparentForMouseEvents);
  const DesignRect& down = design::CalcButtonDown;
  PlaceTwips(calcButtonDown_, down.Left, down.Top, down.Width, down.Height);
  calcButtonDown_->hide();
}

PictureImage* TAcount::CalcButton(int index) const {
  const auto it = calcButtons_.find(index);
  return it == calcButtons_.end() ? nullptr : it->second;
}

void TAcount::CalcButton_Click(int index) {
  const std::string_view command = ToolbarCommand(index);
  if (QAction* action =
          MenuItem(QString::fromUtf8(command.data(), static_cast<int>(command.size()))))
    action->trigger();
}

void TAcount::AboutMenu_Click() { TheHelpDesk().ShowAbout(this, windowIcon()); }

void TAcount::AddExampleBooks() {
  QMenu* help = Menu("HelpContents");
  QAction* before = MenuItem("HelpSpacer");
  const std::vector<ExampleBook> books = ListExampleBooks(app_.ExampleFolders());
  for (std::size_t k = 0; k < books.size(); ++k) {
    MenuItem("Samples(0)")->setVisible(true);
    auto* item = new QAction(QString::fromStdString(MenuCaptionOf(books[k].FileName)), help);
    const QString name = "Samples(" + QString::number(k + 1) + ")";
    item->setObjectName(name);
    item->setData(QString::fromStdString(books[k].Path));
    help->insertAction(before, item);
    actions_[name] = item;
    samplePaths_.push_back(books[k].Path);
    const int index = static_cast<int>(k + 1);
    connect(item, &QAction::triggered, this, [this, index] { Samples_Click(index); });
  }
}

void TAcount::Samples_Click(int index) {
  if (index < 1 || index > static_cast<int>(samplePaths_.size())) return;
  // The program's own file, with the example book as its one argument; no shell, so blanks
  // in either path need no quoting.
  const QString program = QCoreApplication::applicationFilePath();
  const QStringList arguments{
      QString::fromStdString(samplePaths_[static_cast<std::size_t>(index - 1)])};
  if (StartProgram)
    StartProgram(program, arguments);
  else
    QProcess::startDetached(program, arguments);
}

void TAcount::ConnectCommands() {
  connect(MenuItem("LoadFile"), &QAction::triggered, this, [this] { LoadAccFile(0); });
  connect(MenuItem("SaveFile(0)"), &QAction::triggered, this, [this] { SaveFile_Click(0); });
  connect(MenuItem("SaveFile(1)"), &QAction::triggered, this, [this] { SaveFile_Click(1); });
  connect(MenuItem("InsertEntries"), &QAction::triggered, this, &TAcount::InsertEntries_Click);
  connect(MenuItem("Exitit"), &QAction::triggered, this, &TAcount::Exitit_Click);
  connect(MenuItem("Brought_Forward"), &QAction::triggered, this, &TAcount::Brought_Forward_Click);
  connect(MenuItem("BalBForword"), &QAction::triggered, this, &TAcount::BalBForword_Click);
  ConnectInvoiceCommands();
  ConnectCalculatorCommands(*this);
  ConnectStatementCommands();
  QAction* helpSelect = MenuItem("HelpSelect");
  TheHelpDesk().SetMainItem(helpSelect);
  connect(helpSelect, &QAction::triggered, this, [this] { TheHelpDesk().ToggleFromMain(this); });
  connect(MenuItem("AboutMenu"), &QAction::triggered, this, &TAcount::AboutMenu_Click);
  ConnectSettingsCommands();
}

}  // namespace qv
