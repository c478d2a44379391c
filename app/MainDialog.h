// The main window (template 102): the tab pages, the result list, the run
// buttons and the status line. Collect reads the selected job's tab page
// into a run request; the window then watches the run: every call from a
// run's thread is carried out on the user-interface thread, and the
// user-interface thread never waits for a run. The rows are the exception:
// they go straight into the ResultModel (and from there into the result
// store), which the list control shows on a short timer.
#pragma once

#include <wx/dialog.h>
#include <wx/timer.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "app/MessageBoxes.h"
#include "app/UiDispatcher.h"
#include "engine/PauseSwitch.h"
#include "engine/RunProgress.h"
#include "engine/RunRequest.h"
#include "engine/RunWatcher.h"
#include "export/ExportChoice.h"
#include "extract/Sites.h"
#include "store/ListLoader.h"
#include "store/ResultModel.h"

class wxButton;
class wxMenu;
class wxStaticText;
class wxTextCtrl;

namespace gleaner {

class AnchoredLayout;
class HelpLocation;
class HelpOpener;
class HelpPage;
class LinkPicture;
class PauseIndicator;
class ResultListView;
class RunController;
class StoreWriter;
class TaskProgress;
class TabPageHost;
class TemplatePage;

// The four tab pages, in their order on the tab control.
enum class TabPage { Search, ItemUrl, SellerSearch, Help };

class MainDialog : public wxDialog, public RunWatcher {
 public:
  explicit MainDialog(const Sites& sites);
  ~MainDialog() override;

  // The run buttons act on controller; it must outlive the window's use of it.
  void setRunController(RunController* controller) { controller_ = controller; }
  // The pause/continue button's switch, which every run is handed.
  const PauseSwitch& pauseSwitch() const { return pause_; }

  // --- the result store ---
  // The list is kept in store from its first change on (or from a restore);
  // the store must outlive the window's use of it: detach it first.
  void attachStore(StoreWriter* store);
  void detachStore();
  // "恢复上次的列表" can put a list back: the one 全部删除 emptied (until the
  // list changes again), or the one the store holds from an earlier session
  // (while the list has not changed since the window opened).
  bool restoreAvailable() const;
  // After an unclean end with rows kept: asks whether to put them back.
  void offerRestore();
  // Puts that list back into the list. False when it was not done.
  bool restoreLastList();

  // --- going on with the last run ---
  // The last run can go on from the page it was reading: it was stopped in
  // this session and its list has not changed since, or an earlier session
  // was cut off in it (crash, kill, a close in the middle of it) and the
  // store's list has not been replaced. Never while a run is going.
  bool resumeAvailable() const;
  // The page it would go on from (its first result page for an item page).
  int resumePage() const;
  // Goes on with it: the stored list comes back first when it is not in the
  // list yet; the rows of the page it was reading are read again. False when
  // it was not done.
  bool resumeLastRun();

  // --- RunWatcher, called from the runs' threads ---
  void runStarted(const RunStart& start) override;
  void progressChanged(const RunProgress& progress) override;
  void rowFound(const ResultRow& row, int count) override;
  void statusChanged(const std::string& line) override;
  void failureReported(const std::string& report) override;
  void runEnded(const RunOutcome& outcome) override;

  // The selected tab's settings; nothing on the help tab.
  std::optional<RunSettings> selectedSettings() const;

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
  // 全部删除: empties the list, which restoreLastList() can put back until
  // the list changes again.
  void deleteAll();
  // Options dialog, then save dialog (in the folder last exported to, kept
  // beside the result store), then exportTo.
  void exportList();
  std::optional<std::filesystem::path> exportFolderFile() const;
  void showAbout();
  void openHelpPage();
  void openContactPage();

  // Writes the list to path without any dialog (a large list shows its
  // progress). False when the list is empty, the user cancelled, or the file
  // could not be written; the user has been told in each case.
  bool exportTo(ExportChoice choice, ExportFormat format, const std::filesystem::path& path);

  // Brings the list control and the count display up to the rows, and
  // shows a store fault in the status line (the list timer calls it).
  void syncList();

  // Sizes the list's columns to the rows it holds; the end of a run calls it.
  void fitListColumns();

  // --- size and place ---
  // The window opens at its template's size, no larger than the work area
  // (the screen less its task bars) it starts on, and centred in it; it can
  // be resized and maximised, the list taking or giving back the room.
  void fitIntoWorkArea(const wxRect& workArea);
  wxRect workAreaOfStartingScreen() const;

  // --- replaceable presentation (real dialogs and the browser by default) ---
  using MessagePresenter = std::function<void(const wxString& text)>;
  void setMessagePresenter(MessagePresenter presenter) { presentMessage_ = std::move(presenter); }
  // Opens an address in the browser; false when it could not. Empty: the default browser.
  using AddressOpener = std::function<bool(const wxString& address)>;
  void setAddressOpener(AddressOpener opener);
  using QuestionPresenter = std::function<bool(const wxString& text)>;  // true: yes
  void setQuestionPresenter(QuestionPresenter presenter) { askQuestion_ = std::move(presenter); }
  // A question with two or three answers: the index of the one chosen (-1:
  // none). A message box by default.
  using ChoicePresenter = std::function<int(const wxString& text, const std::vector<wxString>& answers)>;
  void setChoicePresenter(ChoicePresenter presenter) { choose_ = std::move(presenter); }
  // Progress of a long export or restore; false cancels. A progress dialog
  // by default.
  using ProgressPresenter = std::function<bool(std::size_t done, std::size_t total)>;
  void setProgressPresenter(ProgressPresenter presenter) { presentProgress_ = std::move(presenter); }
  // Told of every text the status display shows.
  std::function<void(const wxString&)> onStatusShown;
  // Where the help and contact pages are (by default found from the program's folder).
  void setHelpLocation(const HelpLocation& location);

  // --- the window's parts ---
  TabPageHost& tabs() { return *tabs_; }
  TemplatePage& page(TabPage which) { return *pages_[static_cast<std::size_t>(which)]; }
  ResultListView& resultList() { return *list_; }
  ResultModel& model() { return model_; }
  wxButton& collectButton() { return *collectButton_; }
  LinkPicture& linkPicture() { return *linkPicture_; }
  PauseIndicator& pauseIndicator() { return *pauseIndicator_; }
  std::optional<Job> listColumns() const { return model_.job(); }
  std::string statusLog();
  bool autoRefreshOn() const { return refreshTimer_.IsRunning(); }
  // The window's context menu: the about item, "恢复上次的列表" and
  // "继续上次的采集（从第N页）". The caller owns the menu.
  wxMenu* makeContextMenu() const;

 private:
  using PageArray = std::array<TemplatePage*, 4>;

  // Where a run that ended early stood, so that it can go on.
  struct ResumePoint {
    RunRequest request;
    RunProgress progress;
    bool inStore = false;      // an earlier session's: its list is still only in the store
    std::uint64_t epoch = 0;   // this session's: the list it left
  };

  void buildControls();
  // Runs request (from where from says) and records it in the store.
  void startRun(const RunRequest& request, const std::optional<RunProgress>& from);
  // The job's tab shows what request asks.
  void showRequest(const RunRequest& request);
  wxString resumeQuestion() const;
  int choose(const wxString& text, const std::vector<wxString>& answers);
  void addAboutItem();
  void bindHandlers();
  void writeBoundValues();  // under windowLock_
  // A message of a run (its kind told by its text), or of the window's own.
  void presentMessage(const wxString& text, MessageKind kind);
  bool ask(const wxString& text);
  ListLoader::Progress progressOf(TaskProgress& shown);
  void showStatus(const wxString& text);
  // Between collect and the run's end.
  bool runUnderWay() const;
  bool storedListAvailable() const;
  void onCharHook(wxKeyEvent& event);
#ifdef __WXMSW__
  // The same key filter on Windows, ahead of the dialog navigation that
  // would press the focused button with Enter.
  bool MSWProcessMessage(WXMSG* message) override;
#endif
  void onClose(wxCloseEvent& event);

  Sites sites_;
  RunController* controller_ = nullptr;
  UiDispatcher dispatcher_;
  PauseSwitch pause_;

  // The pages belong to the window; once created they are child windows of
  // the tab control, which destroys them.
  PageArray pages_{};
  HelpPage* helpPage_ = nullptr;

  std::mutex windowLock_;  // WindowLock: StatusLog
  std::string statusLog_;  // GBK

  std::optional<RunRequest> runningRequest_;
  std::mutex progressLock_;
  RunProgress runningProgress_;  // the run's threads set it, under progressLock_
  std::optional<ResumePoint> resumePoint_;

  wxTimer refreshTimer_;
  wxTimer listTimer_;
  ResultModel model_;
  StoreWriter* store_ = nullptr;
  std::optional<std::size_t> shownCount_;

  TabPageHost* tabs_ = nullptr;
  ResultListView* list_ = nullptr;
  wxButton* collectButton_ = nullptr;
  wxStaticText* countDisplay_ = nullptr;
  wxStaticText* statusDisplay_ = nullptr;
  wxTextCtrl* reportCountEdit_ = nullptr;
  wxTextCtrl* statusLogEdit_ = nullptr;
  LinkPicture* linkPicture_ = nullptr;

  std::unique_ptr<AnchoredLayout> layout_;
  std::unique_ptr<PauseIndicator> pauseIndicator_;
  MessagePresenter presentMessage_;
  QuestionPresenter askQuestion_;
  ChoicePresenter choose_;
  ProgressPresenter presentProgress_;
  std::unique_ptr<HelpOpener> helpOpener_;
};

}  // namespace gleaner
