// The main window (template 102): the tab pages, the result list, the run
// buttons and the status line. It is the engine's view of the window: every
// call from a run's thread is carried out on the user-interface thread, and
// the user-interface thread never waits for a run.
#pragma once

#include <wx/dialog.h>
#include <wx/timer.h>

#include <array>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "app/ExportTable.h"
#include "app/UiDispatcher.h"
#include "engine/MainWindowView.h"
#include "extract/Sites.h"

class wxButton;
class wxListCtrl;
class wxMenu;
class wxStaticText;
class wxTextCtrl;

namespace gleaner {

class HelpLocation;
class HelpOpener;
class HelpPage;
class LinkPicture;
class PauseIndicator;
class RunController;
class TabPageHost;
class TemplatePage;

class MainDialog : public wxDialog, public MainWindowView {
 public:
  explicit MainDialog(const Sites& sites);
  ~MainDialog() override;

  // The run buttons act on controller; it must outlive the window's use of it.
  void setRunController(RunController* controller) { controller_ = controller; }

  // --- MainWindowView, callable from any thread ---
  int selectedTabIndex() override;
  std::string controlText(TabPage page, int controlId) override;
  CheckState checkState(TabPage page, int controlId) override;
  void setJobColumns(CollectionMode mode) override;
  void deleteAllRows() override;
  int rowCount() override;
  void insertRow(int index, const std::string& column0) override;
  void setCellText(int row, int column, const std::string& text) override;
  void setCountDisplay(const std::string& text) override;
  void setStatusText(const std::string& text) override;
  void enableCollectButton(bool enable) override;
  void showMessage(const std::string& text) override;
  void appendRow(const ResultRow& row, const std::string& countText) override;
  void reportStatus(const std::string& line, bool counted) override;
  RunFields& runFields() override { return fields_; }

  // --- closing ---
  // Decides the close: from now on calls from the runs are answered without
  // touching the window. Closing the window (caption button, Alt+F4) does
  // this first, then ends the modal run or hides the window.
  void decideClose();
  bool closeDecided() const { return dispatcher_.isClosed(); }

  // --- what the buttons do (the handlers call these) ---
  void collect();
  void togglePause();
  void stop();
  void toggleRefresh();
  void refreshTick();
  void deleteAll();
  void exportList();  // options dialog, then save dialog, then exportTo
  void showAbout();
  void openHelpPage();
  void openContactPage();

  // Writes the list to path without any dialog. False when the list is
  // empty or the file could not be written; the user has been told either way.
  bool exportTo(ExportChoice choice, ExportFormat format, const wxString& path);

  // --- replaceable presentation (real dialogs and the browser by default) ---
  using MessagePresenter = std::function<void(const wxString& text)>;
  void setMessagePresenter(MessagePresenter presenter) { presentMessage_ = std::move(presenter); }
  // Opens an address in the browser; false when it could not. Empty: the default browser.
  using AddressOpener = std::function<bool(const wxString& address)>;
  void setAddressOpener(AddressOpener opener);
  // Where the help and contact pages are (by default found from the program's folder).
  void setHelpLocation(const HelpLocation& location);

  // --- the window's parts ---
  TabPageHost& tabs() { return *tabs_; }
  TemplatePage& page(TabPage which) { return *pages_[static_cast<std::size_t>(which)]; }
  wxListCtrl& resultList() { return *list_; }
  wxButton& collectButton() { return *collectButton_; }
  LinkPicture& linkPicture() { return *linkPicture_; }
  PauseIndicator& pauseIndicator() { return *pauseIndicator_; }
  CollectionMode listColumns() const { return columns_; }
  int reportCount();
  std::string statusLog();
  bool autoRefreshOn() const { return refreshTimer_.IsRunning(); }
  // The about item, as the context menu shows it (the caller owns the menu).
  wxMenu* makeAboutMenu() const;

 private:
  using PageArray = std::array<TemplatePage*, 4>;

  void buildControls();
  void addAboutItem();
  void bindHandlers();
  void writeBoundValues();  // under windowLock_
  void presentMessage(const wxString& text);
  void onCharHook(wxKeyEvent& event);
  void onClose(wxCloseEvent& event);

  Sites sites_;
  RunController* controller_ = nullptr;
  UiDispatcher dispatcher_;
  RunFields fields_;

  // The pages belong to the window; once created they are child windows of
  // the tab control, which destroys them.
  PageArray pages_{};
  HelpPage* helpPage_ = nullptr;

  std::mutex windowLock_;  // WindowLock: ReportCount and StatusLog
  int reportCount_ = 0;
  std::string statusLog_;  // GBK

  wxTimer refreshTimer_;
  CollectionMode columns_ = CollectionMode::None;

  TabPageHost* tabs_ = nullptr;
  wxListCtrl* list_ = nullptr;
  wxButton* collectButton_ = nullptr;
  wxStaticText* countDisplay_ = nullptr;
  wxStaticText* statusDisplay_ = nullptr;
  wxTextCtrl* reportCountEdit_ = nullptr;
  wxTextCtrl* statusLogEdit_ = nullptr;
  LinkPicture* linkPicture_ = nullptr;

  std::unique_ptr<PauseIndicator> pauseIndicator_;
  MessagePresenter presentMessage_;
  std::unique_ptr<HelpOpener> helpOpener_;
};

}  // namespace gleaner
