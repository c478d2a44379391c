#include "app/MainDialog.h"

#include <wx/app.h>
#include <algorithm>
#include <wx/button.h>
#include <wx/display.h>
#include <wx/gauge.h>
#include <wx/menu.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/tglbtn.h>
#ifdef __WXMSW__
#include <wx/msw/wrapwin.h>
#endif

#include "app/AboutDialog.h"
#include "app/AnchoredLayout.h"
#include "app/ExportDialog.h"
#include "app/ExportFileChooser.h"
#include "app/ExportFolderMemory.h"
#include "app/HelpOpener.h"
#include "app/HelpPage.h"
#include "app/ItemUrlPage.h"
#include "app/LinkPicture.h"
#include "app/MessageBoxes.h"
#include "app/PathText.h"
#include "app/PauseIndicator.h"
#include "app/ResourceImages.h"
#include "app/ResultListView.h"
#include "app/SearchPage.h"
#include "app/SellerSearchPage.h"
#include "app/TabPageHost.h"
#include "app/TaskProgress.h"
#include "app/TemplateBuilder.h"
#include "engine/FailureMessages.h"
#include "engine/RunController.h"
#include "engine/RunOutcome.h"
#include "engine/RunProgress.h"
#include "export/ExportJob.h"
#include "export/ExportReport.h"
#include "export/ModelExportSource.h"
#include "res/AppTexts.h"
#include "res/ControlIds.h"
#include "store/StoreError.h"
#include "store/StoreWriter.h"
#include "text/GbkConvert.h"
#include "text/Literals.h"

namespace gleaner {
namespace {

wxString fromGbk(std::string_view gbk) { return wxString::FromUTF8(gbk::toUtf8(gbk)); }

// Lists of this many rows show the progress of an export or a restore.
constexpr std::size_t kProgressFrom = 20000;

}  // namespace

MainDialog::MainDialog(const Sites& sites)
    : sites_(sites),
      statusLog_(literals::kStatusLogInitial),
      refreshTimer_(this, ids::kRefreshTimer),
      listTimer_(this, ids::kListTimer) {
  pages_[static_cast<std::size_t>(TabPage::Search)] = new SearchPage();
  pages_[static_cast<std::size_t>(TabPage::ItemUrl)] = new ItemUrlPage(sites_.itemHost);
  pages_[static_cast<std::size_t>(TabPage::SellerSearch)] = new SellerSearchPage();
  helpPage_ = new HelpPage();
  pages_[static_cast<std::size_t>(TabPage::Help)] = helpPage_;
  helpPage_->onOpenHelp = [this] { openHelpPage(); };
  helpOpener_ = std::make_unique<HelpOpener>(HelpLocation::ofThisProgram(),
                                             [this](const wxString& text) { presentMessage(text, MessageKind::Error); });

  const res::DialogTemplate& t = res::mainDialogTemplate();
  Create(nullptr, t.id, wxString::FromUTF8(t.caption), wxDefaultPosition, wxDefaultSize,
         wxCAPTION | wxSYSTEM_MENU | wxMINIMIZE_BOX | wxMAXIMIZE_BOX | wxRESIZE_BORDER | wxCLOSE_BOX);
  SetIcons(ResourceImages::mainIcons());
  SetClientSize(TemplateBuilder::applyFont(*this, t));
  // Escape never closes the window; only its close command does.
  SetEscapeId(wxID_NONE);

  buildControls();
  layout_ = std::make_unique<AnchoredLayout>(*this, t);
  SetMinClientSize(layout_->minimumClientSize());
  Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
    layout_->apply();
    event.Skip();
  });
  addAboutItem();
  bindHandlers();

  tabs_->addPage(wxString::FromUTF8(res::kOfferTabTitle), &page(TabPage::Search), ids::kSearchPage);
  tabs_->addPage(wxString::FromUTF8(res::kItemBuyersTabTitle), &page(TabPage::ItemUrl), ids::kItemUrlPage);
  tabs_->addPage(wxString::FromUTF8(res::kSellerTabTitle), &page(TabPage::SellerSearch), ids::kSellerSearchPage);
  tabs_->addPage(wxString::FromUTF8(res::kHelpTabTitle), &page(TabPage::Help), ids::kHelpPage);
  tabs_->createPages();
  // The list shows the first tab's job before any run, not an empty header strip.
  model_.presetJob(Job::Offers, headingsOf(Job::Offers));

  {
    std::lock_guard lock(windowLock_);
    writeBoundValues();
  }
  collectButton_->SetFocus();
  fitIntoWorkArea(workAreaOfStartingScreen());
  syncList();
  listTimer_.Start(50);
}

MainDialog::~MainDialog() {
  refreshTimer_.Stop();
  listTimer_.Stop();
  // A page that never got a window is still ours.
  for (TemplatePage* p : pages_) {
    if (p != nullptr && !p->hasWindow()) delete p;
  }
}

wxRect MainDialog::workAreaOfStartingScreen() const {
  const int index = wxDisplay::GetFromWindow(this);
  return wxDisplay(index == wxNOT_FOUND ? 0u : static_cast<unsigned>(index)).GetClientArea();
}

void MainDialog::fitIntoWorkArea(const wxRect& workArea) {
  const wxSize frame = GetSize() - GetClientSize();
  const wxSize room = workArea.GetSize() - frame;
  // On a screen smaller than planned, the smallest arrangement gives way too.
  const wxSize minimum = layout_->minimumClientSize();
  SetMinClientSize(wxSize(std::min(minimum.x, room.x), std::min(minimum.y, room.y)));
  const wxSize client = GetClientSize();
  SetClientSize(wxSize(std::min(client.x, room.x), std::min(client.y, room.y)));
  const wxSize size = GetSize();
  Move(workArea.x + std::max(0, (workArea.width - size.x) / 2), workArea.y + std::max(0, (workArea.height - size.y) / 2));
}

void MainDialog::fitListColumns() { list_->fitColumnsToContent(); }

void MainDialog::buildControls() {
  TemplateBuilder::build(*this, res::mainDialogTemplate(),
                         [this](wxWindow* parent, const res::ControlTemplate& c, const wxPoint& pos,
                                const wxSize& size) -> wxWindow* {
                           switch (c.kind) {
                             case res::ControlKind::PushButton:
                               // Pause/continue stays down while a pause is requested.
                               if (c.id == ids::kPauseContinue) {
                                 return new wxToggleButton(parent, c.id, wxString::FromUTF8(c.text), pos, size);
                               }
                               return nullptr;
                             case res::ControlKind::TabControl:
                               return tabs_ = new TabPageHost(parent, c.id, pos, size);
                             case res::ControlKind::ListView:
                               return list_ = new ResultListView(parent, c.id, pos, size, model_);
                             case res::ControlKind::Picture:
                               if (c.styles & res::kNotify) {
                                 return linkPicture_ = new LinkPicture(parent, c.id, ResourceImages::bitmap(c.imageId),
                                                                       pos, size);
                               }
                               return nullptr;
                             default:
                               return nullptr;
                           }
                         });
  collectButton_ = dynamic_cast<wxButton*>(FindWindow(ids::kCollect));
  countDisplay_ = dynamic_cast<wxStaticText*>(FindWindow(ids::kCountDisplay));
  statusDisplay_ = dynamic_cast<wxStaticText*>(FindWindow(ids::kStatusDisplay));
  reportCountEdit_ = dynamic_cast<wxTextCtrl*>(FindWindow(ids::kReportCountEdit));
  statusLogEdit_ = dynamic_cast<wxTextCtrl*>(FindWindow(ids::kStatusLogEdit));
  if (auto* progress = dynamic_cast<wxGauge*>(FindWindow(ids::kProgress))) {
    progress->SetRange(4000);
    progress->SetValue(0);
  }
  linkPicture_->onClick = [this] { openContactPage(); };
  pauseIndicator_ = std::make_unique<PauseIndicator>(*dynamic_cast<wxToggleButton*>(FindWindow(ids::kPauseContinue)),
                                                     *statusDisplay_);
  pauseIndicator_->setPaused(pause_.paused());
}

void MainDialog::addAboutItem() {
#ifdef __WXMSW__
  if (wxMenu* systemMenu = MSWGetSystemMenu()) {
    systemMenu->AppendSeparator();
    systemMenu->Append(ids::kAboutCommand, wxString::FromUTF8(res::kAboutMenuText));
  }
#endif
  // Text boxes keep their own menu (cut, copy, paste).
  Bind(wxEVT_CONTEXT_MENU, [this](wxContextMenuEvent& event) {
    if (dynamic_cast<wxTextEntry*>(event.GetEventObject()) != nullptr) {
      event.Skip();
      return;
    }
    std::unique_ptr<wxMenu> menu(makeContextMenu());
    PopupMenu(menu.get());
  });
}

wxMenu* MainDialog::makeContextMenu() const {
  auto* menu = new wxMenu();
  // Everywhere (on Windows the system menu has it as well).
  menu->Append(ids::kAboutCommand, wxString::FromUTF8(res::kAboutMenuText));
  menu->AppendSeparator();
  menu->Append(ids::kRestoreCommand, wxString::FromUTF8(res::kRestoreMenuText));
  menu->Enable(ids::kRestoreCommand, restoreAvailable());
  menu->Append(ids::kResumeCommand, wxString::Format(wxString::FromUTF8(res::kResumeMenuText), resumePage()));
  menu->Enable(ids::kResumeCommand, resumeAvailable());
  return menu;
}

void MainDialog::bindHandlers() {
  const auto button = [this](int id, void (MainDialog::*action)()) {
    Bind(wxEVT_BUTTON, [this, action](wxCommandEvent&) { (this->*action)(); }, id);
  };
  button(ids::kCollect, &MainDialog::collect);
  button(ids::kCollectHidden, &MainDialog::collect);
  Bind(wxEVT_TOGGLEBUTTON, [this](wxCommandEvent&) { togglePause(); }, ids::kPauseContinue);
  button(ids::kStop, &MainDialog::stop);
  button(ids::kRefreshToggle, &MainDialog::toggleRefresh);
  button(ids::kDeleteAll, &MainDialog::deleteAll);
  button(ids::kExport, &MainDialog::exportList);
  Bind(wxEVT_TIMER, [this](wxTimerEvent&) { refreshTick(); }, ids::kRefreshTimer);
  Bind(wxEVT_TIMER, [this](wxTimerEvent&) { syncList(); }, ids::kListTimer);
  Bind(wxEVT_MENU, [this](wxCommandEvent&) { showAbout(); }, ids::kAboutCommand);
  Bind(wxEVT_MENU, [this](wxCommandEvent&) { restoreLastList(); }, ids::kRestoreCommand);
  Bind(wxEVT_MENU, [this](wxCommandEvent&) { resumeLastRun(); }, ids::kResumeCommand);
  Bind(wxEVT_CHAR_HOOK, &MainDialog::onCharHook, this);
  Bind(wxEVT_CLOSE_WINDOW, &MainDialog::onClose, this);
}

void MainDialog::setAddressOpener(AddressOpener opener) {
  if (!opener) {
    helpOpener_->setLauncher({});
    return;
  }
  helpOpener_->setLauncher(
      [opener = std::move(opener)](const wxString& address, const std::function<void(bool)>& done) {
        done(opener(address));
      });
}

void MainDialog::setHelpLocation(const HelpLocation& location) { helpOpener_->setLocation(location); }

// --- watching a run ---
// The list changes go into the model only; the list control catches up on
// its timer, so none of them waits for the user-interface thread (they go
// on, into the model and the store, after the close too).

void MainDialog::runStarted(const RunStart& start) {
  model_.setJob(start.job, headingsOf(start.job), start.columns);
  if (start.keptRows == 0) {
    model_.clear();
  } else {
    model_.truncate(start.keptRows);
  }
}

void MainDialog::progressChanged(const RunProgress& progress) {
  {
    std::lock_guard lock(progressLock_);
    runningProgress_ = progress;
  }
  if (store_ != nullptr) store_->setFacts("progress", progress.fields());
}

void MainDialog::rowFound(const ResultRow& row, int) {
  // The count display shows the list's rows, not the run's count.
  model_.append(row);
}

void MainDialog::statusChanged(const std::string& line) {
  const wxString value = fromGbk(line);
  dispatcher_.call([&] { showStatus(value); });
}

void MainDialog::failureReported(const std::string&) {
  // The window keeps no log: a failure that matters reaches the user with
  // the run's outcome.
}

void MainDialog::runEnded(const RunOutcome& outcome) {
  if (store_ != nullptr) store_->setFacts("outcome", outcome.fields());
  const wxString status = fromGbk(outcome.statusLine);
  const wxString message = fromGbk(outcome.message);
  const MessageKind kind = outcome.failed() ? MessageKind::Error : MessageKind::Information;
  const bool stopped = outcome.kind == OutcomeKind::Stopped;
  dispatcher_.call([&] {
    resumePoint_.reset();
    if (stopped && runningRequest_) {
      std::lock_guard lock(progressLock_);
      resumePoint_ = ResumePoint{*runningRequest_, runningProgress_, false, model_.state().epoch};
    }
    showStatus(status);
    fitListColumns();
    presentMessage(message, kind);
    collectButton_->Enable();
  });
}

void MainDialog::showStatus(const wxString& text) {
  pauseIndicator_->setRunStatus(text);
  // The line is narrow; a rule warning or a run's summary is read whole in
  // its tooltip.
  statusDisplay_->SetToolTip(text);
  if (onStatusShown) onStatusShown(text);
}

std::optional<RunSettings> MainDialog::selectedSettings() const {
  switch (tabs_->selectedIndex()) {
    case 0: return static_cast<const SearchPage&>(*pages_[0]).settings();
    case 1: return static_cast<const ItemUrlPage&>(*pages_[1]).settings();
    case 2: return static_cast<const SellerSearchPage&>(*pages_[2]).settings();
    default: return std::nullopt;
  }
}

// --- closing ---

void MainDialog::decideClose() {
  dispatcher_.close();
  refreshTimer_.Stop();
  listTimer_.Stop();
}

void MainDialog::onClose(wxCloseEvent&) {
  decideClose();
  if (IsModal()) {
    EndModal(wxID_CANCEL);
  } else {
    Hide();
  }
}

void MainDialog::onCharHook(wxKeyEvent& event) {
  switch (event.GetKeyCode()) {
    case WXK_ESCAPE:
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER:
      return;  // neither closes the window nor presses a button
    default:
      event.Skip();
  }
}

#ifdef __WXMSW__
bool MainDialog::MSWProcessMessage(WXMSG* message) {
  const MSG* msg = reinterpret_cast<const MSG*>(message);
  if (msg->message == WM_KEYDOWN && (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE)) return true;
  return wxDialog::MSWProcessMessage(message);
}
#endif

// --- buttons ---

void MainDialog::collect() {
  {
    std::lock_guard lock(windowLock_);
    statusLog_ = std::string(literals::kStatusLogAtCollect);
    writeBoundValues();
  }
  toggleRefresh();
  const std::optional<RunSettings> settings = selectedSettings();
  if (!settings) {
    presentMessage(wxString::FromUTF8(res::kChooseJobTab), MessageKind::Warning);
    return;
  }
  const SettingsReading reading = readRunSettings(*settings);
  if (!reading.leftOutWarning.empty()) {
    presentMessage(wxString::FromUTF8(reading.leftOutWarning), MessageKind::Warning);
  }
  if (!reading.request) {
    // As a run's start always has, the list takes the job's columns and
    // empties before the refusal is shown.
    runStarted({settings->job});
    syncList();
    presentMessage(fromGbk(reading.refusal), MessageKind::Warning);
    return;
  }
  startRun(*reading.request, std::nullopt);
}

void MainDialog::startRun(const RunRequest& request, const std::optional<RunProgress>& from) {
  if (controller_ == nullptr) return;
  collectButton_->Disable();
  resumePoint_.reset();
  runningRequest_ = request;
  {
    std::lock_guard lock(progressLock_);
    runningProgress_ = from.value_or(RunProgress{});
  }
  // The list takes the run's columns and empties (a run that goes on keeps
  // the rows before its page), and the status line says so at once, not
  // when the run's first page is in.
  runStarted({request.job, listColumnsOf(request.job, request.isBatch()), from ? from->rowsBefore : 0});
  syncList();
  showStatus(wxString::FromUTF8(res::kRunStarting));
  if (store_ != nullptr) {
    store_->setFacts("run", request.fields());
    store_->setFacts("outcome", {});
  }
  if (!controller_->collect(request, from)) {
    presentMessage(fromGbk(runThreadFailureMessage()), MessageKind::Error);
    collectButton_->Enable();
  }
}

void MainDialog::showRequest(const RunRequest& request) {
  switch (request.job) {
    case Job::Offers:
      tabs_->SetSelection(static_cast<int>(TabPage::Search));
      static_cast<SearchPage&>(page(TabPage::Search)).show(request);
      break;
    case Job::Buyers:
      tabs_->SetSelection(static_cast<int>(TabPage::ItemUrl));
      static_cast<ItemUrlPage&>(page(TabPage::ItemUrl)).show(request);
      break;
    case Job::Sellers:
      tabs_->SetSelection(static_cast<int>(TabPage::SellerSearch));
      static_cast<SellerSearchPage&>(page(TabPage::SellerSearch)).show(request);
      break;
  }
}
bool MainDialog::runUnderWay() const { return !collectButton_->IsEnabled(); }

void MainDialog::togglePause() {
  pause_.toggle();
  // The line from before the pause names a page that is done by now.
  if (!pause_.paused() && runUnderWay()) pauseIndicator_->setRunStatus(wxString::FromUTF8(res::kRunContinuing));
  pauseIndicator_->setPaused(pause_.paused());
}

void MainDialog::stop() {
  if (controller_ != nullptr) controller_->stop();
}

void MainDialog::toggleRefresh() {
  if (refreshTimer_.IsRunning()) {
    refreshTimer_.Stop();
  } else {
    refreshTimer_.Start(2000);
  }
}

void MainDialog::refreshTick() {
  std::lock_guard lock(windowLock_);
  writeBoundValues();
  statusLogEdit_->Refresh();
  reportCountEdit_->Refresh();
}

void MainDialog::writeBoundValues() {
  // No report of a run is counted: the hidden count stays 0.
  reportCountEdit_->ChangeValue("0");
  statusLogEdit_->ChangeValue(fromGbk(statusLog_));
  if (auto* spare = dynamic_cast<wxTextCtrl*>(FindWindow(ids::kSpareEdit))) spare->ChangeValue(wxString());
}

std::string MainDialog::statusLog() {
  std::lock_guard lock(windowLock_);
  return statusLog_;
}

void MainDialog::deleteAll() {
  if (model_.rowCount() == 0) return;
  model_.setAside();
  syncList();
  // Rows a run finds from now on replace the set-aside list.
  showStatus(wxString::FromUTF8(runUnderWay() ? res::kListEmptied : res::kListEmptiedRestorable));
}

void MainDialog::syncList() {
  const ResultModel::State state = list_->catchUp();
  if (state.rows != shownCount_) {
    shownCount_ = state.rows;
    countDisplay_->SetLabel(wxString::Format("%zu", state.rows));
    // A buyers run names no review page: its first row says it has begun.
    if (state.rows > 0 && runUnderWay() && pauseIndicator_->runStatus() == wxString::FromUTF8(res::kRunStarting)) {
      showStatus(wxString::FromUTF8(res::kRunCollecting));
    }
  }
  if (store_ == nullptr) return;
  if (const auto fault = store_->takeFault()) {
    showStatus(wxString::FromUTF8(res::kStoreFault));
    statusDisplay_->SetToolTip(wxString::FromUTF8(*fault));
  }
}

void MainDialog::showAbout() {
  AboutDialog about(this);
  about.ShowModal();
}

void MainDialog::openHelpPage() { helpOpener_->openHelp(); }

void MainDialog::openContactPage() { helpOpener_->openContact(); }

void MainDialog::presentMessage(const wxString& text, MessageKind kind) {
  if (presentMessage_) {
    presentMessage_(text);
    return;
  }
  showMessageBox(this, text, kind);
}

int MainDialog::choose(const wxString& text, const std::vector<wxString>& answers) {
  if (choose_) return choose_(text, answers);
  return showChoiceBox(this, text, answers);
}

bool MainDialog::ask(const wxString& text) {
  if (askQuestion_) return askQuestion_(text);
  return showMessageBox(this, text, MessageKind::Question);
}

ListLoader::Progress MainDialog::progressOf(TaskProgress& shown) {
  if (presentProgress_) return presentProgress_;
  return [&shown](std::size_t done, std::size_t total) { return shown.update(done, total); };
}

// --- the result store ---

void MainDialog::attachStore(StoreWriter* store) {
  store_ = store;
  model_.attachStore(store);
  // A fault in opening it is shown by the list timer's next tick.
  const StoreSummary& previous = store->previous();
  const StoredRun stored = storedRun(previous.run, previous.progress, previous.outcome);
  if (stored.state == StoredRun::State::Unfinished) resumePoint_ = ResumePoint{stored.request, stored.progress, true};
}

void MainDialog::detachStore() {
  model_.detachStore();
  store_ = nullptr;
}

bool MainDialog::restoreAvailable() const { return model_.hasSetAside() || storedListAvailable(); }

bool MainDialog::storedListAvailable() const {
  return store_ != nullptr && store_->previous().rows > 0 && model_.untouched();
}

void MainDialog::offerRestore() {
  if (store_ == nullptr || store_->previous().cleanEnd) return;
  if (resumeAvailable()) {
    std::vector<wxString> answers{wxString::Format(wxString::FromUTF8(res::kResumeMenuText), resumePage())};
    if (storedListAvailable()) answers.push_back(wxString::FromUTF8(res::kResumeRestoreOnly));
    answers.push_back(wxString::FromUTF8(res::kResumeNeither));
    const int answer = choose(resumeQuestion(), answers);
    if (answer == 0) resumeLastRun();
    if (answer == 1 && answers.size() == 3) restoreLastList();
    return;
  }
  if (!storedListAvailable()) return;
  const wxString question =
      wxString::Format(wxString::FromUTF8(res::kRestoreAfterCrash), store_->previous().rows);
  if (ask(question)) restoreLastList();
}

bool MainDialog::resumeAvailable() const {
  if (!resumePoint_ || controller_ == nullptr || runUnderWay()) return false;
  // The list the run left, every row before its page, must be there to go on from.
  if (resumePoint_->inStore) {
    return store_ != nullptr && model_.untouched() && store_->previous().rows >= resumePoint_->progress.rowsBefore;
  }
  return model_.state().epoch == resumePoint_->epoch && model_.rowCount() >= resumePoint_->progress.rowsBefore;
}

int MainDialog::resumePage() const {
  return resumePoint_ ? std::max(resumePoint_->progress.page, 1) : 1;
}

wxString MainDialog::resumeQuestion() const {
  const std::size_t rows = store_->previous().rows;
  wxString text = rows > 0 ? wxString::Format(wxString::FromUTF8(res::kResumeAfterCrashWithRows), rows)
                           : wxString::FromUTF8(res::kResumeAfterCrashNoRows);
  text += "\n";
  const RunRequest& request = resumePoint_->request;
  wxString entry;
  if (request.isBatch()) {
    const std::size_t at = resumePoint_->progress.entry;
    entry = request.job == Job::Buyers
                ? wxString::Format(wxString::FromUTF8(res::kResumeItem), at + 1, request.batch.size())
                : wxString::Format(wxString::FromUTF8(res::kResumeKeyword), at + 1, request.batch.size(),
                                   fromGbk(request.batch[at]));
  }
  text += wxString::Format(wxString::FromUTF8(res::kResumeQuestion), entry, resumePage());
  return text;
}

bool MainDialog::resumeLastRun() {
  if (!resumeAvailable()) return false;
  const ResumePoint point = *resumePoint_;
  // A killed run's rows are only in the store: they come back first, and
  // the run goes on after them.
  if (point.inStore && store_->previous().rows > 0 && !restoreLastList()) return false;
  showRequest(point.request);
  startRun(point.request, point.progress);
  return true;
}

bool MainDialog::restoreLastList() {
  if (model_.putBackSetAside()) {
    syncList();
    fitListColumns();
    return true;
  }
  if (!storedListAvailable()) return false;
  std::optional<LoadedList> list;
  try {
    TaskProgress shown(this, res::kRestoreMenuText, res::kRestoreProgress, kProgressFrom);
    list = ListLoader::load(store_->path(), progressOf(shown));
  } catch (const StoreError& e) {
    presentMessage(wxString::FromUTF8(res::kRestoreFailed) + "\n" + wxString::FromUTF8(e.what()), MessageKind::Error);
    return false;
  }
  if (!list) return false;
  const bool adopted = model_.adopt(list->job, list->headings, std::move(list->rows), list->columns);
  // The list is now the one the cut-off run left: it can go on from it.
  if (adopted && resumePoint_ && resumePoint_->inStore) {
    resumePoint_->inStore = false;
    resumePoint_->epoch = model_.state().epoch;
  }
  syncList();
  fitListColumns();
  return adopted;
}

// --- export ---

void MainDialog::exportList() {
  if (model_.rowCount() == 0) {
    presentMessage(wxString::FromUTF8(res::kExportNothing), MessageKind::Information);
    return;
  }
  ExportDialog options(this);
  if (options.ShowModal() != wxID_OK) return;
  const ExportFolderMemory lastFolder(exportFolderFile());
  const auto target =
      ExportFileChooser::choose(this, [this](const wxString& text) { return ask(text); }, lastFolder.recall());
  if (!target) return;
  if (exportTo(options.choice(), target->format, target->path)) lastFolder.remember(target->path.parent_path());
}

std::optional<std::filesystem::path> MainDialog::exportFolderFile() const {
  if (store_ == nullptr) return std::nullopt;
  return ExportFolderMemory::besideStore(store_->path());
}

bool MainDialog::exportTo(ExportChoice choice, ExportFormat format, const std::filesystem::path& path) {
  ModelExportSource source(model_);
  ExportResult result;
  {
    TaskProgress shown(this, res::kExportSaveTitle, res::kExportProgress, kProgressFrom);
    result = ExportJob::run(source, {choice, format, path}, progressOf(shown));
  }
  const bool bad = result.outcome == ExportResult::Outcome::Failed || result.outcome == ExportResult::Outcome::TooManyRows;
  presentMessage(wxString::FromUTF8(exportReport(result, utf8Of(path))), bad ? MessageKind::Error : MessageKind::Information);
  return result.outcome == ExportResult::Outcome::Written;
}

}  // namespace gleaner
