#include "app/MainDialog.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/gauge.h>
#include <wx/listctrl.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/tglbtn.h>

#include "app/AboutDialog.h"
#include "app/CsvExportWriter.h"
#include "app/ExportDialog.h"
#include "app/HelpOpener.h"
#include "app/HelpPage.h"
#include "app/ItemUrlPage.h"
#include "app/LinkPicture.h"
#include "app/PauseIndicator.h"
#include "app/ResourceImages.h"
#include "app/SearchPage.h"
#include "app/SellerSearchPage.h"
#include "app/TabPageHost.h"
#include "app/TemplateBuilder.h"
#include "app/XlsxExportWriter.h"
#include "engine/ProcessValues.h"
#include "engine/RunController.h"
#include "res/AppTexts.h"
#include "res/ControlIds.h"
#include "text/GbkConvert.h"
#include "text/Literals.h"

namespace gleaner {
namespace {

wxString fromGbk(std::string_view gbk) { return wxString::FromUTF8(gbk::toUtf8(gbk)); }

std::filesystem::path fileSystemPath(const wxString& path) {
#ifdef __WXMSW__
  return std::filesystem::path(path.ToStdWstring());
#else
  return std::filesystem::path(path.utf8_string());
#endif
}

}  // namespace

MainDialog::MainDialog(const Sites& sites)
    : sites_(sites), statusLog_(literals::kStatusLogInitial), refreshTimer_(this, ids::kRefreshTimer) {
  pages_[static_cast<std::size_t>(TabPage::Search)] = new SearchPage();
  pages_[static_cast<std::size_t>(TabPage::ItemUrl)] = new ItemUrlPage(sites_.itemHost);
  pages_[static_cast<std::size_t>(TabPage::SellerSearch)] = new SellerSearchPage();
  helpPage_ = new HelpPage();
  pages_[static_cast<std::size_t>(TabPage::Help)] = helpPage_;
  helpPage_->onOpenHelp = [this] { openHelpPage(); };
  helpOpener_ = std::make_unique<HelpOpener>(HelpLocation::ofThisProgram(),
                                             [this](const wxString& text) { presentMessage(text); });

  const res::DialogTemplate& t = res::mainDialogTemplate();
  Create(nullptr, t.id, wxString::FromUTF8(t.caption), wxDefaultPosition, wxDefaultSize,
         wxCAPTION | wxSYSTEM_MENU | wxMINIMIZE_BOX | wxCLOSE_BOX);
  SetIcons(ResourceImages::mainIcons());
  const wxSize size = TemplateBuilder::applyFont(*this, t);
  SetClientSize(size);
  SetMinClientSize(size);
  SetMaxClientSize(size);
  // Escape never closes the window; only its close command does.
  SetEscapeId(wxID_NONE);

  buildControls();
  addAboutItem();
  bindHandlers();

  tabs_->addPage(wxString::FromUTF8(res::kOfferTabTitle), &page(TabPage::Search), ids::kSearchPage);
  tabs_->addPage(wxString::FromUTF8(res::kItemBuyersTabTitle), &page(TabPage::ItemUrl), ids::kItemUrlPage);
  tabs_->addPage(wxString::FromUTF8(res::kSellerTabTitle), &page(TabPage::SellerSearch), ids::kSellerSearchPage);
  tabs_->addPage(wxString::FromUTF8(res::kHelpTabTitle), &page(TabPage::Help), ids::kHelpPage);
  tabs_->createPages();
  // The list shows the first tab's job before any run, not an empty header strip.
  setJobColumns(CollectionMode::OfferSearch);

  {
    std::lock_guard lock(windowLock_);
    writeBoundValues();
  }
  collectButton_->SetFocus();
  Centre();
}

MainDialog::~MainDialog() {
  refreshTimer_.Stop();
  // A page that never got a window is still ours.
  for (TemplatePage* p : pages_) {
    if (p != nullptr && !p->hasWindow()) delete p;
  }
}

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
                               return list_ = new wxListCtrl(parent, c.id, pos, size,
                                                              wxLC_REPORT | wxLC_ALIGN_LEFT | wxBORDER_SUNKEN);
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
  pauseIndicator_->setPaused(PauseRequested);
}

void MainDialog::addAboutItem() {
#ifdef __WXMSW__
  if (wxMenu* systemMenu = MSWGetSystemMenu()) {
    systemMenu->AppendSeparator();
    systemMenu->Append(ids::kAboutCommand, wxString::FromUTF8(res::kAboutMenuText));
  }
#else
  // No system menu to extend here: the item lives in the window's context
  // menu. Text boxes keep their own menu (cut, copy, paste).
  Bind(wxEVT_CONTEXT_MENU, [this](wxContextMenuEvent& event) {
    if (dynamic_cast<wxTextEntry*>(event.GetEventObject()) != nullptr) {
      event.Skip();
      return;
    }
    std::unique_ptr<wxMenu> menu(makeAboutMenu());
    PopupMenu(menu.get());
  });
#endif
}

wxMenu* MainDialog::makeAboutMenu() const {
  auto* menu = new wxMenu();
  menu->Append(ids::kAboutCommand, wxString::FromUTF8(res::kAboutMenuText));
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
  Bind(wxEVT_MENU, [this](wxCommandEvent&) { showAbout(); }, ids::kAboutCommand);
  Bind(wxEVT_CHAR_HOOK, &MainDialog::onCharHook, this);
  Bind(wxEVT_CLOSE_WINDOW, &MainDialog::onClose, this);
}

void MainDialog::setAddressOpener(AddressOpener opener) { helpOpener_->setLauncher(std::move(opener)); }

void MainDialog::setHelpLocation(const HelpLocation& location) { helpOpener_->setLocation(location); }

// --- MainWindowView ---

int MainDialog::selectedTabIndex() {
  return dispatcher_.callFor<int>([this] { return tabs_->selectedIndex(); }, -1);
}

std::string MainDialog::controlText(TabPage which, int controlId) {
  return dispatcher_.callFor<std::string>([&] { return page(which).controlText(controlId); }, {});
}

CheckState MainDialog::checkState(TabPage which, int controlId) {
  return dispatcher_.callFor<CheckState>([&] { return page(which).checkState(controlId); }, CheckState::Unchecked);
}

void MainDialog::setJobColumns(CollectionMode mode) {
  dispatcher_.call([&] {
    list_->DeleteAllColumns();
    columns_ = mode;
    const literals::ColumnSet* set = columnSetOf(mode);
    if (set == nullptr) return;
    for (std::size_t i = 0; i < set->size(); ++i) {
      list_->InsertColumn(static_cast<long>(i), fromGbk((*set)[i].header), wxLIST_FORMAT_LEFT, (*set)[i].width);
    }
  });
}

void MainDialog::deleteAllRows() {
  dispatcher_.call([this] { list_->DeleteAllItems(); });
}

int MainDialog::rowCount() {
  return dispatcher_.callFor<int>([this] { return list_->GetItemCount(); }, 0);
}

void MainDialog::insertRow(int index, const std::string& column0) {
  const wxString text = fromGbk(column0);
  dispatcher_.call([&] {
    const int count = list_->GetItemCount();
    // A list inserts past its end as the last row.
    list_->InsertItem(index < 0 || index > count ? count : index, text);
  });
}

void MainDialog::setCellText(int row, int column, const std::string& text) {
  const wxString value = fromGbk(text);
  dispatcher_.call([&] {
    if (row < 0 || row >= list_->GetItemCount() || column < 0 || column >= list_->GetColumnCount()) return;
    list_->SetItem(row, column, value);
  });
}

void MainDialog::setCountDisplay(const std::string& text) {
  const wxString value = fromGbk(text);
  dispatcher_.call([&] { countDisplay_->SetLabel(value); });
}

void MainDialog::setStatusText(const std::string& text) {
  const wxString value = fromGbk(text);
  dispatcher_.call([&] { pauseIndicator_->setRunStatus(value); });
}

void MainDialog::enableCollectButton(bool enable) {
  dispatcher_.call([&] { collectButton_->Enable(enable); });
}

void MainDialog::showMessage(const std::string& text) {
  const wxString value = fromGbk(text);
  dispatcher_.call([&] { presentMessage(value); });
}

void MainDialog::appendRow(const ResultRow& row, const std::string& countText) {
  std::array<wxString, 4> cells;
  for (std::size_t i = 0; i < cells.size(); ++i) cells[i] = fromGbk(row[i]);
  const wxString count = fromGbk(countText);
  // Row count, insert, three cells and the count display as one unit: no
  // other append can take the same row in between.
  dispatcher_.call([&] {
    const long n = list_->GetItemCount();
    list_->InsertItem(n, cells[0]);
    const int columns = list_->GetColumnCount();
    for (int c = 1; c < 4 && c < columns; ++c) list_->SetItem(n, c, cells[static_cast<std::size_t>(c)]);
    countDisplay_->SetLabel(count);
  });
}

void MainDialog::reportStatus(const std::string&, bool counted) {
  std::lock_guard lock(windowLock_);
  if (counted) ++reportCount_;
}

// --- closing ---

void MainDialog::decideClose() {
  dispatcher_.close();
  refreshTimer_.Stop();
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

// --- buttons ---

void MainDialog::collect() {
  {
    std::lock_guard lock(windowLock_);
    statusLog_ = std::string(literals::kStatusLogAtCollect);
    reportCount_ = 0;
    writeBoundValues();
  }
  if (controller_ != nullptr) controller_->collect();
  toggleRefresh();
}

void MainDialog::togglePause() {
  if (controller_ != nullptr) controller_->togglePause();
  pauseIndicator_->setPaused(PauseRequested);
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
  reportCountEdit_->ChangeValue(wxString::Format("%u", static_cast<unsigned>(reportCount_)));
  statusLogEdit_->ChangeValue(fromGbk(statusLog_));
  if (auto* spare = dynamic_cast<wxTextCtrl*>(FindWindow(ids::kSpareEdit))) spare->ChangeValue(wxString());
}

int MainDialog::reportCount() {
  std::lock_guard lock(windowLock_);
  return reportCount_;
}

std::string MainDialog::statusLog() {
  std::lock_guard lock(windowLock_);
  return statusLog_;
}

void MainDialog::deleteAll() { list_->DeleteAllItems(); }

void MainDialog::showAbout() {
  AboutDialog about(this);
  about.ShowModal();
}

void MainDialog::openHelpPage() { helpOpener_->openHelp(); }

void MainDialog::openContactPage() { helpOpener_->openContact(); }

void MainDialog::presentMessage(const wxString& text) {
  if (presentMessage_) {
    presentMessage_(text);
    return;
  }
  const wxString caption = wxTheApp != nullptr ? wxTheApp->GetAppName() : wxString::FromUTF8(res::kMessageCaption);
  wxMessageDialog box(this, text, caption, wxOK);
  box.ShowModal();
}

// --- export ---

void MainDialog::exportList() {
  if (list_->GetItemCount() == 0) {
    presentMessage(wxString::FromUTF8(res::kExportNothing));
    return;
  }
  ExportDialog options(this);
  if (options.ShowModal() != wxID_OK) return;
  wxFileDialog save(this, wxString::FromUTF8(res::kExportSaveTitle), wxString(),
                    wxString::FromUTF8(res::kExportDefaultName), wxString::FromUTF8(res::kExportWildcard),
                    wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
  if (save.ShowModal() != wxID_OK) return;
  const ExportFormat format = save.GetFilterIndex() == 1 ? ExportFormat::Csv : ExportFormat::Xlsx;
  wxFileName name(save.GetPath());
  const wxString extension = format == ExportFormat::Csv ? "csv" : "xlsx";
  if (name.GetExt().Lower() != extension) name.SetFullName(name.GetFullName() + "." + extension);
  exportTo(options.choice(), format, name.GetFullPath());
}

bool MainDialog::exportTo(ExportChoice choice, ExportFormat format, const wxString& path) {
  const int count = list_->GetItemCount();
  if (count == 0) {
    presentMessage(wxString::FromUTF8(res::kExportNothing));
    return false;
  }
  ExportTable::ListRow headings;
  for (int c = 0; c < 4 && c < list_->GetColumnCount(); ++c) {
    wxListItem column;
    column.SetMask(wxLIST_MASK_TEXT);
    list_->GetColumn(c, column);
    headings[static_cast<std::size_t>(c)] = column.GetText().utf8_string();
  }
  std::vector<ExportTable::ListRow> rows(static_cast<std::size_t>(count));
  const int columns = std::min(4, list_->GetColumnCount());
  for (int r = 0; r < count; ++r) {
    for (int c = 0; c < columns; ++c) {
      rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] = list_->GetItemText(r, c).utf8_string();
    }
  }
  const ExportTable table = ExportTable::fromList(columns_, headings, rows, choice);
  const std::filesystem::path target = fileSystemPath(path);
  const ExportResult result =
      format == ExportFormat::Csv ? CsvExportWriter::write(table, target) : XlsxExportWriter::write(table, target);
  if (!result.ok) {
    presentMessage(wxString::FromUTF8(res::kExportFailed) + path + "\n" + wxString::FromUTF8(result.error));
    return false;
  }
  presentMessage(wxString::Format(wxString::FromUTF8(res::kExportDone), static_cast<int>(table.rows().size())) +
                 path);
  return true;
}

}  // namespace gleaner
