#pragma once
// The program's own modal file dialog, used for every file the program opens, inserts,
// saves or exports. It shows a list of places (the home folder, the file system's root and
// mounted volumes, where other systems have drives), the folders from the root down to the
// folder being browsed with its subfolders, the files of the chosen type, a name box and the
// list of offered types, over the program's gradient background.
//
// Callers use ChooseFile, which returns the absolute path of the file to read or write
// (the chosen name with the chosen type's extension) or "" when the user cancelled. The
// results also stand in the session: ChosenFileName (the absolute path as chosen, "" =
// cancelled) and ChosenFileType (the type code). The state between uses (the folder last
// browsed, the name last shown) lives in one FileDialogModel for the whole run.

#include <QDialog>
#include <QString>
#include <string>
#include <utility>
#include <vector>

#include "books/session.h"
#include "controls/file_dialog_model.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class QListWidgetItem;

namespace qv {

// Shows the file dialog modally over `owner` (which may be null) for the request, or asks
// `answer` when one is given. Returns the file to use, FileNameWithType(ChosenFileName,
// ChosenFileType), or "" when cancelled. For a request that writes, a file that stands
// there already (other than request.ownFile) is replaced only when the user answers Yes to
// the question; No returns "" as a cancel does, so the command writes nothing.
std::string ChooseFile(QWidget* owner, Session& session, const FileDialogRequest& request,
                       const FileDialogAnswer& answer = {});

// The dialog's state for the whole run of the program.
FileDialogModel& SharedFileDialogModel();

// A place of the place list: its shown text and its folder.
struct FilePlace {
  QString text;
  QString folder;
};
// The places on this machine: the home folder, the root, and volumes mounted under /media,
// /mnt and /run/media that can be read.
std::vector<FilePlace> FilePlaces();

class FileDialog : public QDialog {
  Q_OBJECT

 public:
  // A window over a model already prepared for the use (FileDialogModel::Prepare). The
  // gradient colours come from the session. The dialog takes its owner's font.
  FileDialog(FileDialogModel& model, const Session& session, QWidget* owner = nullptr,
             std::vector<FilePlace> places = FilePlaces());

  QComboBox* TypeList() const { return typeList_; }
  QLineEdit* NameBox() const { return nameBox_; }
  QListWidget* FileList() const { return fileList_; }
  QTreeWidget* FolderList() const { return folderList_; }
  QComboBox* PlaceList() const { return placeList_; }
  QPushButton* AcceptButton() const { return acceptButton_; }
  QPushButton* CancelButton() const { return cancelButton_; }
  QLabel* FolderLabel() const { return folderLabel_; }

 public slots:
  void reject() override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void OnTypeChosen(int index);
  void OnNameEdited(const QString& text);
  void OnFolderActivated(QTreeWidgetItem* item);
  void OnPlaceChosen(int index);
  void OnFileClicked(QListWidgetItem* item);
  void OnFileDoubleClicked(QListWidgetItem* item);
  void OnAccept();

  // Shows the model's state: captions, name, folders, files, place.
  void ShowState();
  void ShowName();
  void ShowFolder();
  // The name box takes the keys with the caret before the extension's point, so that what
  // is typed names the file.
  void TypeBeforePoint();

  FileDialogModel& model_;
  const Session& session_;
  std::vector<FilePlace> places_;

  QComboBox* typeList_ = nullptr;
  QLineEdit* nameBox_ = nullptr;
  QListWidget* fileList_ = nullptr;
  QTreeWidget* folderList_ = nullptr;
  QComboBox* placeList_ = nullptr;
  QPushButton* acceptButton_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
  QLabel* folderLabel_ = nullptr;
  std::vector<QLabel*> labels_;
};

}  // namespace qv
