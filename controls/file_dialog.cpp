#include "controls/file_dialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStorageInfo>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "controls/wait_screen_model.h"
#include "platform/colors_qt.h"
#include "platform/keyboard_return_qt.h"
#include "platform/string_table.h"

namespace qv {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }
std::string S(const QString& text) { return text.toStdString(); }

// Height in pixels of one band of the background gradient.
constexpr int kBandHeight = 2;

// True when `folder` lies in `place` (or is it).
bool FolderInPlace(const QString& folder, const QString& place) {
  if (place == "/") return folder.startsWith('/');
  return folder == place || folder.startsWith(place + '/');
}

}  // namespace

FileDialogModel& SharedFileDialogModel() {
  static FileDialogModel model;
  return model;
}

std::vector<FilePlace> FilePlaces() {
  std::vector<FilePlace> places;
  const QString home = Q(HomeFolder());
  places.push_back({home, home});
  if (home != "/") places.push_back({"/", "/"});
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
    const QString root = volume.rootPath();
    const bool removable =
        root.startsWith("/media/") || root.startsWith("/mnt/") || root.startsWith("/run/media/");
    if (!removable || !volume.isValid() || !volume.isReady()) continue;
    const QString name = volume.name();
    places.push_back({name.isEmpty() ? root : root + " [" + name + "]", root});
  }
  return places;
}

std::string ChooseFile(QWidget* owner, Session& session, const FileDialogRequest& request,
                       const FileDialogAnswer& answer) {
  std::string path;
  if (answer) {
    path = answer(request);
  } else {
    FileDialogModel& model = SharedFileDialogModel();
    model.Prepare(session, request);
    FileDialog dialog(model, session, owner);
    if (RunModal(dialog) != QDialog::Accepted) session.ChosenFileName.clear();
    model.EndUse();
    path = FileNameWithType(session.ChosenFileName, session.ChosenFileType);
  }
  // Asked here, once, for every command that writes a file the user named.
  if (path.empty() || !request.writes || MayReplaceFile(path, request.ownFile)) return path;
  session.ChosenFileName.clear();
  return {};
}

FileDialog::FileDialog(FileDialogModel& model, const Session& session, QWidget* owner,
                       std::vector<FilePlace> places)
    : QDialog(owner), model_(model), session_(session), places_(std::move(places)) {
  // Every control takes the owner's font, which is the program's font.
  setAttribute(Qt::WA_WindowPropagation);
  setModal(true);

  auto makeLabel = [this](int id, const char* name) {
    auto* label = new QLabel(Q(Str(id)), this);
    label->setObjectName(name);
    label->installEventFilter(this);
    labels_.push_back(label);
    return label;
  };
  QLabel* nameLabel = makeLabel(190, "Label1_0");
  QLabel* folderTitle = makeLabel(191, "Label1_1");
  QLabel* typeLabel = makeLabel(192, "Label1_2");
  QLabel* placeLabel = makeLabel(193, "Label1_3");

  nameBox_ = new QLineEdit(this);
  nameBox_->setObjectName("txtSearchSpec");
  nameBox_->installEventFilter(this);
  nameLabel->setBuddy(nameBox_);

  fileList_ = new QListWidget(this);
  fileList_->setObjectName("filList");

  folderLabel_ = new QLabel(this);
  folderLabel_->setObjectName("dirPath");
  folderLabel_->setTextFormat(Qt::PlainText);
  folderLabel_->setMinimumWidth(1);

  folderList_ = new QTreeWidget(this);
  folderList_->setObjectName("dirList");
  folderList_->setHeaderHidden(true);
  folderList_->setRootIsDecorated(false);
  folderList_->setItemsExpandable(false);
  folderList_->setIndentation(12);
  // The folders above stay open: no expand or collapse marks.
  folderList_->setStyleSheet("QTreeView::branch { image: none; border-image: none; }");

  typeList_ = new QComboBox(this);
  typeList_->setObjectName("Combo1");
  placeList_ = new QComboBox(this);
  placeList_->setObjectName("drvList");
  for (const FilePlace& place : places_) placeList_->addItem(place.text, place.folder);

  acceptButton_ = new QPushButton(this);
  acceptButton_->setObjectName("Command1_1");
  cancelButton_ = new QPushButton(Q(Str(194)), this);
  cancelButton_->setObjectName("Command1_2");
  // Enter in the name box only moves to the accept button; a button acts on Enter only
  // while it has the focus.
  acceptButton_->setAutoDefault(true);
  cancelButton_->setAutoDefault(true);
  acceptButton_->setDefault(false);

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(12, 12, 12, 12);
  grid->setHorizontalSpacing(12);
  grid->addWidget(nameLabel, 0, 0);
  grid->addWidget(nameBox_, 1, 0);
  grid->addWidget(fileList_, 2, 0, 2, 1);
  grid->addWidget(folderTitle, 0, 1);
  grid->addWidget(folderLabel_, 1, 1);
  grid->addWidget(folderList_, 2, 1, 2, 1);
  grid->addWidget(typeLabel, 4, 0);
  grid->addWidget(typeList_, 5, 0);
  grid->addWidget(placeLabel, 4, 1);
  grid->addWidget(placeList_, 5, 1);
  auto* buttons = new QVBoxLayout();
  buttons->addWidget(acceptButton_);
  buttons->addWidget(cancelButton_);
  buttons->addStretch();
  grid->addLayout(buttons, 1, 2, 3, 1);
  grid->setColumnStretch(0, 1);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(3, 1);
  resize(560, 360);

  connect(typeList_, qOverload<int>(&QComboBox::activated), this, &FileDialog::OnTypeChosen);
  connect(placeList_, qOverload<int>(&QComboBox::activated), this, &FileDialog::OnPlaceChosen);
  connect(nameBox_, &QLineEdit::textEdited, this, &FileDialog::OnNameEdited);
  connect(folderList_, &QTreeWidget::itemActivated, this,
          [this](QTreeWidgetItem* item, int) { OnFolderActivated(item); });
  connect(fileList_, &QListWidget::itemClicked, this, &FileDialog::OnFileClicked);
  // Selecting with the keys counts as a click; merely focusing the list does not.
  connect(fileList_, &QListWidget::itemSelectionChanged, this, [this] {
    const QList<QListWidgetItem*> selected = fileList_->selectedItems();
    if (!selected.isEmpty()) OnFileClicked(selected.front());
  });
  connect(fileList_, &QListWidget::itemDoubleClicked, this, &FileDialog::OnFileDoubleClicked);
  connect(acceptButton_, &QPushButton::clicked, this, &FileDialog::OnAccept);
  connect(cancelButton_, &QPushButton::clicked, this, &FileDialog::reject);

  for (const std::string& pattern : model_.Patterns()) typeList_->addItem(Q(pattern));
  typeList_->setCurrentIndex(static_cast<int>(model_.PatternIndex()));
  ShowState();
}

void FileDialog::reject() {
  model_.Cancel();
  QDialog::reject();
}

void FileDialog::paintEvent(QPaintEvent* event) {
  if (!FadeColorsSet(session_.FadeColors)) {
    QDialog::paintEvent(event);
    return;
  }
  QPainter painter(this);
  for (int y = 0, band = 0; y < height(); y += kBandHeight, ++band)
    painter.fillRect(0, y, width(), kBandHeight,
                     ToQColor(FadeSequenceColor(session_.FadeColors, band)));
}

void FileDialog::showEvent(QShowEvent* event) {
  model_.Refresh();
  ShowState();
  nameBox_->setFocus();
  QDialog::showEvent(event);
}

void FileDialog::closeEvent(QCloseEvent* event) {
  model_.Close();
  nameBox_->clear();
  QDialog::closeEvent(event);
}

bool FileDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == nameBox_ && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      acceptButton_->setFocus();
      return true;
    }
    // A typed forbidden character is swallowed; editing keys (control characters) pass.
    for (const char c : S(key->text()))
      if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F && IsForbiddenNameCharacter(c))
        return true;
  }
  if (event->type() == QEvent::MouseButtonPress) {
    for (QLabel* label : labels_)
      if (watched == label) {
        typeList_->setFocus();
        return true;
      }
  }
  return QDialog::eventFilter(watched, event);
}

void FileDialog::OnTypeChosen(int index) {
  if (index < 0) return;
  model_.ChooseType(static_cast<std::size_t>(index));
  ShowState();
  TypeBeforePoint();
}

void FileDialog::TypeBeforePoint() {
  // In an empty box, "shop" typed after choosing "*.xls" gives "shop.xls".
  if (const int point = nameBox_->text().lastIndexOf('.'); point >= 0)
    nameBox_->setCursorPosition(point);
  nameBox_->setFocus();
}

void FileDialog::OnNameEdited(const QString& text) {
  const QString kept = Q(model_.SetNameText(S(text)));
  if (kept != text) {
    // Pasted text lost its forbidden characters; keep the caret near where it was.
    const int cursor = nameBox_->cursorPosition() - (text.size() - kept.size());
    nameBox_->setText(kept);
    nameBox_->setCursorPosition(std::max(0, cursor));
  }
}

void FileDialog::OnFolderActivated(QTreeWidgetItem* item) {
  if (item == nullptr) return;
  model_.OpenFolder(S(item->data(0, Qt::UserRole).toString()));
  ShowFolder();
}

void FileDialog::OnPlaceChosen(int index) {
  if (index < 0 || index >= static_cast<int>(places_.size())) return;
  model_.OpenFolder(S(places_[static_cast<std::size_t>(index)].folder));
  ShowFolder();
}

void FileDialog::OnFileClicked(QListWidgetItem* item) {
  if (item == nullptr) return;
  model_.ClickFile(S(item->text()));
  ShowName();
}

void FileDialog::OnFileDoubleClicked(QListWidgetItem* item) {
  if (item == nullptr) return;
  const bool chosen = model_.DoubleClickFile(S(item->text()));
  ShowName();
  if (chosen) accept();
}

void FileDialog::OnAccept() {
  if (model_.Accept()) {
    accept();
    return;
  }
  ShowState();  // a typed path may have moved the dialog to another folder
  // A lone extension was refused: the name is typed before its point.
  if (!model_.NameText().empty()) TypeBeforePoint();
}

void FileDialog::ShowState() {
  if (model_.CaptionId() != 0) setWindowTitle(Q(Str(model_.CaptionId())));
  acceptButton_->setText(Q(Str(model_.AcceptCaptionId())));
  if (typeList_->currentIndex() != static_cast<int>(model_.PatternIndex()))
    typeList_->setCurrentIndex(static_cast<int>(model_.PatternIndex()));
  ShowName();
  ShowFolder();
}

void FileDialog::ShowName() {
  const QString name = Q(model_.NameText());
  if (nameBox_->text() != name) nameBox_->setText(name);
}

void FileDialog::ShowFolder() {
  const QString folder = Q(model_.Folder());
  folderLabel_->setText(folder);
  folderLabel_->setToolTip(folder);

  folderList_->clear();
  QTreeWidgetItem* parent = nullptr;
  const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
  const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);
  for (const std::string& path : FolderChain(model_.Folder())) {
    const QString text = path == "/" ? QStringLiteral("/") : Q(LastPathComponent(path));
    auto* item = parent == nullptr ? new QTreeWidgetItem(folderList_) : new QTreeWidgetItem(parent);
    item->setText(0, text);
    item->setIcon(0, openIcon);
    item->setData(0, Qt::UserRole, Q(path));
    parent = item;
  }
  QTreeWidgetItem* current = parent;
  for (const std::string& name : model_.Listing().folders) {
    auto* item =
        current == nullptr ? new QTreeWidgetItem(folderList_) : new QTreeWidgetItem(current);
    item->setText(0, Q(name));
    item->setIcon(0, closedIcon);
    item->setData(0, Qt::UserRole, Q(JoinPath(model_.Folder(), name)));
  }
  folderList_->expandAll();
  if (current != nullptr) folderList_->setCurrentItem(current);

  {
    const QSignalBlocker block(fileList_);
    fileList_->clear();
    for (const std::string& name : model_.Listing().files) fileList_->addItem(Q(name));
  }

  // The place list shows the place that holds the folder (the longest that does).
  int best = -1;
  for (std::size_t i = 0; i < places_.size(); ++i)
    if (FolderInPlace(folder, places_[i].folder) &&
        (best < 0 ||
         places_[i].folder.size() > places_[static_cast<std::size_t>(best)].folder.size()))
      best = static_cast<int>(i);
  placeList_->setCurrentIndex(best);
}

}  // namespace qv
