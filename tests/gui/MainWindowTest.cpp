#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/combobox.h>
#include <wx/listctrl.h>
#include <wx/menu.h>
#include <wx/radiobut.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/tglbtn.h>
#include <wx/timer.h>
#include <wx/tooltip.h>
#include <wx/uiaction.h>
#ifdef __WXMSW__
#include <wx/msw/wrapwin.h>
#endif

#include <functional>
#include <optional>
#include <thread>
#include <tuple>

#include "app/AboutDialog.h"
#include "app/ExportDialog.h"
#include "app/HelpLocation.h"
#include "app/LinkPicture.h"
#include "app/ResultListView.h"
#include "app/SellerSearchPage.h"
#include "app/TabPageHost.h"
#include "app/TemplatePage.h"
#include "engine/RunRequest.h"
#include "MainWindowFixture.h"
#include "res/AppTexts.h"
#include "res/ControlIds.h"
#include "res/DialogTemplates.h"
#include "text/Literals.h"

namespace gleaner::testing {
namespace {

// What a multi-line text box gives back for text: wxMSW hands "\r\n" out as
// "\n".
wxString shownInTextBox(const wxString& text) {
#ifdef __WXMSW__
  wxString shown = text;
  shown.Replace("\r\n", "\n");
  return shown;
#else
  return text;
#endif
}

using MainWindow = MainWindowFixture;

// The about box is modal and blocks whoever opened it: while an object of
// this lives, a timer hands the open box to act.
class ModalAboutBox {
 public:
  explicit ModalAboutBox(std::function<void(AboutDialog&)> act) {
    timer_.Bind(wxEVT_TIMER, [act = std::move(act)](wxTimerEvent&) {
      for (wxWindow* top : wxTopLevelWindows) {
        auto* about = dynamic_cast<AboutDialog*>(top);
        if (about != nullptr && about->IsModal()) act(*about);
      }
    });
    timer_.Start(100);
  }

 private:
  wxTimer timer_;
};

TEST_F(MainWindow, StartsWithThePageDefaults) {
  EXPECT_EQ(window->page(TabPage::Search).controlText(ids::kSearchKeyword), gbkOf("核桃"));
  EXPECT_EQ(window->page(TabPage::Search).controlText(ids::kSearchPages), "10");
  EXPECT_EQ(window->page(TabPage::Search).checkState(ids::kSortNormal), CheckState::Checked);
  for (int id : {ids::kSortPopular, ids::kSortBooked, ids::kSortCredit, ids::kSortNewest, ids::kSortPrice,
                 ids::kFilterBuyerProtection, ids::kFilterAlipay, ids::kFilterOnline}) {
    EXPECT_EQ(window->page(TabPage::Search).checkState(id), CheckState::Unchecked) << id;
  }
  EXPECT_EQ(window->page(TabPage::ItemUrl).controlText(ids::kItemAddress),
            "http://item.taobao.com/item.htm?spm=a230r.1.14.71.QuK3y5&id=19793658234");
  EXPECT_EQ(window->page(TabPage::SellerSearch).controlText(ids::kSellerKeyword), gbkOf("核桃"));
  EXPECT_EQ(window->page(TabPage::SellerSearch).controlText(ids::kSellerPages), "10");
  EXPECT_EQ(window->page(TabPage::SellerSearch).controlText(ids::kSellerLevel), gbkOf("所有信用等级"));

  auto* levels = controlOf<wxComboBox>(window->page(TabPage::SellerSearch), ids::kSellerLevel);
  ASSERT_NE(levels, nullptr);
  const std::vector<const char*> expectedLevels{
      "1桃心", "2桃心", "3桃心", "4桃心", "5桃心", "1钻",   "2钻",   "3钻",   "4钻",   "1皇冠",
      "2皇冠", "3皇冠", "4皇冠", "5皇冠", "1黄冠", "2黄冠", "3黄冠", "4黄冠", "5黄冠", "所有信用等级"};
  ASSERT_EQ(levels->GetCount(), expectedLevels.size());
  for (unsigned i = 0; i < levels->GetCount(); ++i) EXPECT_EQ(levels->GetString(i), wx(expectedLevels[i])) << i;
  EXPECT_EQ(levels->GetSelection(), 19);
  EXPECT_EQ(levels->FindString(wx("5钻")), wxNOT_FOUND);
  // Not in the list, but the box takes it typed.
  levels->SetValue(wx("5钻"));
  EXPECT_EQ(window->page(TabPage::SellerSearch).controlText(ids::kSellerLevel), gbkOf("5钻"));

  EXPECT_EQ(window->tabs().selectedIndex(), 0);
  EXPECT_EQ(controlOf<wxStaticText>(*window, ids::kCountDisplay)->GetLabel(), "0");
  EXPECT_TRUE(controlOf<wxStaticText>(*window, ids::kStatusDisplay)->GetLabel().empty());
  // Before any run the list already carries the first tab's job's columns.
  EXPECT_EQ(window->resultList().GetColumnCount(), 4);
  EXPECT_EQ(window->listColumns(), Job::Offers);
  EXPECT_FALSE(window->autoRefreshOn());
  EXPECT_EQ(wxWindow::FindFocus(), &window->collectButton());
}

// Collect reads the selected tab's page as it stands: the request is the
// one its controls show, and the help tab has none.
TEST_F(MainWindow, EachJobTabGivesTheRequestItsPageShows) {
  const auto requestOfTab = [&](int tab) -> std::optional<RunRequest> {
    window->tabs().SetSelection(static_cast<std::size_t>(tab));
    const std::optional<RunSettings> settings = window->selectedSettings();
    if (!settings) return std::nullopt;
    return readRunSettings(*settings).request;
  };
  RunRequest offers;
  offers.job = Job::Offers;
  offers.keyword = gbkOf("核桃");
  offers.pages = 10;
  offers.sort = OfferSort::Normal;
  EXPECT_EQ(requestOfTab(0), offers);

  TemplatePage& search = window->page(TabPage::Search);
  // The checked sort radio.
  for (const auto& [radio, sort] : {std::pair{ids::kSortPopular, OfferSort::Popular},
                                    std::pair{ids::kSortBooked, OfferSort::Booked},
                                    std::pair{ids::kSortPrice, OfferSort::Price},
                                    std::pair{ids::kSortNormal, OfferSort::Normal}}) {
    search.setChecked(radio, true);
    offers.sort = sort;
    EXPECT_EQ(requestOfTab(0), offers) << radio;
  }
  // The three filters, each its own.
  search.setChecked(ids::kFilterAlipay, true);
  search.setChecked(ids::kFilterOnline, true);
  search.setControlText(ids::kSearchKeyword, "walnut");
  search.setControlText(ids::kSearchPages, "3");
  offers.alipay = true;
  offers.online = true;
  offers.keyword = "walnut";
  offers.pages = 3;
  EXPECT_EQ(requestOfTab(0), offers);
  search.setChecked(ids::kFilterAlipay, false);
  search.setChecked(ids::kFilterBuyerProtection, true);
  offers.alipay = false;
  offers.buyerProtection = true;
  EXPECT_EQ(requestOfTab(0), offers);

  RunRequest buyers;
  buyers.job = Job::Buyers;
  buyers.itemAddress = "http://item.taobao.com/item.htm?spm=a230r.1.14.71.QuK3y5&id=19793658234";
  EXPECT_EQ(requestOfTab(1), buyers);
  // As a copy from a browser brings it: the spaces and line breaks around go.
  window->page(TabPage::ItemUrl).setControlText(ids::kItemAddress, "\xA1\xA1 http://x/item.htm?id=1 \r\n");
  buyers.itemAddress = "http://x/item.htm?id=1";
  EXPECT_EQ(requestOfTab(1), buyers);

  RunRequest sellers;
  sellers.job = Job::Sellers;
  sellers.keyword = gbkOf("核桃");
  sellers.pages = 10;
  sellers.levelFilter = gbkOf("所有信用等级");
  EXPECT_EQ(requestOfTab(2), sellers);
  controlOf<wxComboBox>(window->page(TabPage::SellerSearch), ids::kSellerLevel)->SetValue(wx("5钻"));
  window->page(TabPage::SellerSearch).setControlText(ids::kSellerPages, "2");
  sellers.levelFilter = gbkOf("5钻");
  sellers.pages = 2;
  EXPECT_EQ(requestOfTab(2), sellers);

  EXPECT_EQ(requestOfTab(3), std::nullopt);
}

// What collect does without a run: a refusal empties the list under the
// job's columns before its message, as a run's start would; on the help tab
// the user is told to choose a job, and the list stays as it is.
TEST_F(MainWindow, CollectWithoutARunSaysWhyAndLeavesCollectEnabled) {
  window->runStarted({Job::Buyers});
  window->rowFound({"t", "b", "n", "u"}, 1);
  window->page(TabPage::SellerSearch).setControlText(ids::kSellerKeyword, "");
  window->tabs().SetSelection(2);
  window->collect();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages.back(), wx("请填写关键词"));
  EXPECT_EQ(window->listColumns(), Job::Sellers);
  EXPECT_EQ(window->model().rowCount(), 0u);
  EXPECT_EQ(window->resultList().GetItemCount(), 0);
  EXPECT_TRUE(window->collectButton().IsEnabled());

  window->page(TabPage::Search).setControlText(ids::kSearchPages, "");
  window->tabs().SetSelection(0);
  window->collect();
  EXPECT_EQ(messages.back(), wx("请填写搜索的页数"));
  EXPECT_EQ(window->listColumns(), Job::Offers);

  // A keyword of characters GBK cannot hold: they are named first, and
  // without them the keyword is empty.
  controlOf<wxTextCtrl>(window->page(TabPage::Search), ids::kSearchKeyword)->SetValue(wx("\xF0\x9F\x98\x80 "));
  window->page(TabPage::Search).setControlText(ids::kSearchPages, "1");
  messages.clear();
  window->collect();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0], wx("关键词中的 \xF0\x9F\x98\x80 无法在网站上搜索，已略去，只按其余的文字搜索。"));
  EXPECT_EQ(messages[1], wx("请填写关键词"));

  window->rowFound({"a", "b", "c", "d"}, 1);
  window->tabs().SetSelection(3);
  window->collect();
  EXPECT_EQ(messages.back(), wx(res::kChooseJobTab));
  EXPECT_EQ(window->listColumns(), Job::Offers);
  EXPECT_EQ(window->model().rowCount(), 1u);
  EXPECT_TRUE(window->collectButton().IsEnabled());
}

// Every control of a template is a child of parent, in template order, with
// its id, text, visibility and geometry in parent's dialog units. A few
// controls move off their template place so that they fit what they show: a
// group box narrower than its page, a choice widened to its text (the
// layout tests check them).
void expectBuiltFromTemplate(wxWindow& parent, const res::DialogTemplate& t) {
  SCOPED_TRACE(::testing::Message() << "template " << t.id);
  const wxWindowList& children = parent.GetChildren();
  ASSERT_EQ(children.size(), t.controls.size());
  std::size_t i = 0;
  for (wxWindow* control : children) {
    const res::ControlTemplate& c = t.controls[i++];
    SCOPED_TRACE(::testing::Message() << "control " << i - 1 << " id " << c.id << " " << c.text);
    if (c.id != res::kNoId) {
      EXPECT_EQ(control->GetId(), c.id);
    }
    EXPECT_EQ(control->IsShown(), c.shown);
    const wxPoint planned = parent.ConvertDialogToPixels(wxPoint(c.x, c.y));
    EXPECT_EQ(control->GetPosition(), planned);
    const wxSize plannedSize = parent.ConvertDialogToPixels(wxSize(c.width, c.height));
    // The export dialog's choices may widen to their text (the layout test checks it).
    const bool fitsItsText = t.id == ids::kExportDialog && c.kind == res::ControlKind::RadioButton && c.shown;
    switch (fitsItsText ? res::ControlKind::StaticText : c.kind) {
      case res::ControlKind::ComboBox:  // its height is the dropped-down list's
      case res::ControlKind::StaticText:
        break;
      case res::ControlKind::GroupBox:
        EXPECT_EQ(control->GetSize().y, plannedSize.y);
        EXPECT_LE(control->GetSize().x, plannedSize.x);
        break;
      default:
        EXPECT_EQ(control->GetSize(), plannedSize);
    }
    switch (c.kind) {
      case res::ControlKind::PushButton:
      case res::ControlKind::DefaultButton:
      case res::ControlKind::StaticText:
      case res::ControlKind::GroupBox:
      case res::ControlKind::RadioButton:
      case res::ControlKind::CheckBox:
        // The count display shows the list's rows from the start (0).
        if (c.id != ids::kCountDisplay) {
          EXPECT_EQ(control->GetLabel(), wx(c.text));
        }
        break;
      default:
        break;
    }
  }
}

TEST_F(MainWindow, BuildsEveryControlOfTheTemplatesWithItsGeometry) {
  const wxSize client = window->GetClientSize();
  EXPECT_EQ(client, window->ConvertDialogToPixels(wxSize(548, 399))) << "it opens at the template's size";
  EXPECT_TRUE(window->HasFlag(wxRESIZE_BORDER));
  EXPECT_TRUE(window->HasFlag(wxMAXIMIZE_BOX));
  EXPECT_EQ(window->GetTitle(), wx("岚樾营销系列软件   阿里巴巴卖家/买家信息采集"));

  expectBuiltFromTemplate(*window, res::mainDialogTemplate());
  for (TabPage p : {TabPage::Search, TabPage::ItemUrl, TabPage::SellerSearch, TabPage::Help}) {
    expectBuiltFromTemplate(window->page(p), window->page(p).dialogTemplate());
  }
  AboutDialog about(window);
  EXPECT_EQ(about.GetClientSize(), about.ConvertDialogToPixels(wxSize(235, 55)));
  expectBuiltFromTemplate(about, res::aboutDialogTemplate());
  ExportDialog options(window);
  EXPECT_EQ(options.GetTitle(), wx("导出信息"));
  EXPECT_EQ(options.GetClientSize(), options.ConvertDialogToPixels(wxSize(279, 94)));
  expectBuiltFromTemplate(options, res::exportDialogTemplate());
  EXPECT_EQ(options.choice(), ExportChoice::Everything);

  // Hidden controls of the pages stay hidden however the pages are switched.
  for (int tab = 0; tab < 4; ++tab) {
    window->tabs().SetSelection(static_cast<std::size_t>(tab));
    pumpFor(20);
  }
  window->tabs().SetSelection(0);
  pumpFor(20);
  for (int id : {ids::kSortCredit, ids::kSortNewest, ids::kFilterMixedHidden, ids::kFilterNewHidden,
                 ids::kFilterSizesHidden}) {
    EXPECT_FALSE(window->page(TabPage::Search).FindWindow(id)->IsShown()) << id;
  }
  EXPECT_FALSE(window->page(TabPage::SellerSearch).FindWindow(ids::kSellerCollectHidden)->IsShown());
  EXPECT_FALSE(window->page(TabPage::SellerSearch).FindWindow(ids::kSellerOnlineHidden)->IsShown());
}

TEST_F(MainWindow, OffersTheFourJobPagesAsTabs) {
  TabPageHost& tabs = window->tabs();
  ASSERT_EQ(tabs.GetPageCount(), 4u);
  EXPECT_EQ(tabs.GetPageText(0), wx(res::kOfferTabTitle));
  EXPECT_EQ(tabs.GetPageText(1), wx(res::kItemBuyersTabTitle));
  EXPECT_EQ(tabs.GetPageText(2), wx(res::kSellerTabTitle));
  EXPECT_EQ(tabs.GetPageText(3), wx(res::kHelpTabTitle));
  EXPECT_EQ(tabs.addedPage(0)->templateId(), ids::kSearchPage);
  EXPECT_EQ(tabs.addedPage(3)->templateId(), ids::kHelpPage);

  // Sixteen pages at most: a seventeenth is refused and changes nothing.
  std::vector<std::unique_ptr<TemplatePage>> extra;
  for (int i = tabs.addedCount(); i < TabPageHost::kMaxPages; ++i) {
    extra.push_back(std::make_unique<TemplatePage>(res::helpPageTemplate()));
    EXPECT_TRUE(tabs.addPage("x", extra.back().get(), ids::kHelpPage));
  }
  TemplatePage seventeenth(res::helpPageTemplate());
  EXPECT_FALSE(tabs.addPage("x", &seventeenth, ids::kHelpPage));
  EXPECT_EQ(tabs.addedCount(), TabPageHost::kMaxPages);
}

// The page shown is the selected tab's, and typed text survives switching.
void expectShownPage(MainDialog& window, TabPage expected) {
  for (TabPage p : {TabPage::Search, TabPage::ItemUrl, TabPage::SellerSearch, TabPage::Help}) {
    EXPECT_EQ(window.page(p).IsShown(), p == expected) << static_cast<int>(p);
  }
  EXPECT_EQ(window.tabs().selectedIndex(), static_cast<int>(expected));
}

TEST_F(MainWindow, ShownPageFollowsTheSelectedTabByMouseAndKeyboard) {
  wxUIActionSimulator sim;
  TabPageHost& tabs = window->tabs();
  window->Raise();

  auto* keyword = controlOf<wxTextCtrl>(window->page(TabPage::Search), ids::kSearchKeyword);
  keyword->SetFocus();
  keyword->SelectAll();
  sim.Text("walnut");
  ASSERT_TRUE(pumpUntil([&] { return keyword->GetValue() == "walnut"; }, 3000)) << keyword->GetValue();

  const wxPoint helpTab = tabCentre(tabs, 3);
  ASSERT_NE(helpTab, wxDefaultPosition);
  sim.MouseMove(helpTab);
  sim.MouseClick();
  ASSERT_TRUE(pumpUntil([&] { return tabs.GetSelection() == 3; }, 3000));
  pumpFor(50);
  expectShownPage(*window, TabPage::Help);
  // Clicking the selected tab again changes nothing.
  sim.MouseClick();
  pumpFor(100);
  expectShownPage(*window, TabPage::Help);

  // Keyboard: with the focus on the tabs, the arrow keys move the selection
  // and the page follows.
  tabs.SetFocus();
  pumpFor(50);
  sim.Char(WXK_LEFT);
  ASSERT_TRUE(pumpUntil([&] { return tabs.GetSelection() == 2; }, 3000));
  pumpFor(50);
  expectShownPage(*window, TabPage::SellerSearch);
  sim.Char(WXK_LEFT);
  sim.Char(WXK_LEFT);
  ASSERT_TRUE(pumpUntil([&] { return tabs.GetSelection() == 0; }, 3000));
  pumpFor(50);
  expectShownPage(*window, TabPage::Search);
  EXPECT_EQ(keyword->GetValue(), "walnut");
  EXPECT_EQ(window->page(TabPage::Search).controlText(ids::kSearchKeyword), "walnut");
}

TEST_F(MainWindow, EnterAndEscapeNeitherCloseTheWindowNorPressAButton) {
  wxUIActionSimulator sim;
  window->Raise();
  auto* keyword = controlOf<wxTextCtrl>(window->page(TabPage::Search), ids::kSearchKeyword);
  int presses = 0;
  for (int id : {ids::kCollect, ids::kPauseContinue, ids::kStop, ids::kDeleteAll, ids::kExport}) {
    window->Bind(wxEVT_BUTTON, [&presses](wxCommandEvent& e) { ++presses; e.Skip(); }, id);
  }
  // Pause/continue is a toggle button.
  window->Bind(wxEVT_TOGGLEBUTTON, [&presses](wxCommandEvent& e) { ++presses; e.Skip(); }, ids::kPauseContinue);

  keyword->SetFocus();
  pumpFor(50);
  sim.Char(WXK_RETURN);
  sim.Char(WXK_ESCAPE);
  pumpFor(200);
  window->collectButton().SetFocus();
  pumpFor(50);
  sim.Char(WXK_RETURN);
  sim.Char(WXK_NUMPAD_ENTER);
  sim.Char(WXK_ESCAPE);
  pumpFor(200);
  window->page(TabPage::ItemUrl).Show();
  window->tabs().SetSelection(1);
  auto* address = controlOf<wxTextCtrl>(window->page(TabPage::ItemUrl), ids::kItemAddress);
  const wxString before = address->GetValue();
  address->SetFocus();
  address->SetInsertionPointEnd();
  pumpFor(50);
  sim.Char(WXK_RETURN);
  sim.Char(WXK_ESCAPE);
  pumpFor(200);

  EXPECT_TRUE(window->IsShown());
  EXPECT_FALSE(window->closeDecided());
  EXPECT_EQ(presses, 0);
  EXPECT_FALSE(window->autoRefreshOn());
  EXPECT_EQ(keyword->GetValue(), wx("核桃"));
  EXPECT_EQ(address->GetValue(), before) << "Enter adds no line to the address";
  EXPECT_EQ(window->tabs().GetSelection(), 1);
  EXPECT_TRUE(window->page(TabPage::ItemUrl).IsShown());
}

TEST_F(MainWindow, AboutItemOpensTheAboutBoxModally) {
  std::unique_ptr<wxMenu> menu(window->makeContextMenu());
  wxMenuItem* item = menu->FindItem(ids::kAboutCommand);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->GetItemLabel(), wx("关于 Gleaner(&A)..."));

  bool sawAbout = false;
  wxString aboutText;
  bool byEscape = false;
  int escapesSent = 0;
  // Close the box with its button (or with Escape, falling back to the
  // button so that nothing hangs).
  ModalAboutBox closer([&](AboutDialog& about) {
    sawAbout = true;
    EXPECT_EQ(about.GetTitle(), wx("关于 Gleaner"));
    for (wxWindow* child : about.GetChildren()) {
      if (auto* label = dynamic_cast<wxStaticText*>(child)) aboutText = label->GetLabel();
    }
    if (byEscape && escapesSent < 5) {
      ++escapesSent;
      wxKeyEvent escape(wxEVT_CHAR_HOOK);
      escape.m_keyCode = WXK_ESCAPE;
      escape.SetEventObject(&about);
      about.GetEventHandler()->ProcessEvent(escape);
      return;
    }
    wxCommandEvent press(wxEVT_BUTTON, 1);
    press.SetEventObject(about.FindWindow(1));
    about.FindWindow(1)->GetEventHandler()->ProcessEvent(press);
  });
  wxCommandEvent choose(wxEVT_MENU, ids::kAboutCommand);
  window->GetEventHandler()->ProcessEvent(choose);  // returns when the box has closed
  EXPECT_TRUE(sawAbout);
  EXPECT_EQ(aboutText, wx("Gleaner 1.0 版"));

  sawAbout = false;
  byEscape = true;
  window->GetEventHandler()->ProcessEvent(choose);
  EXPECT_TRUE(sawAbout);
  EXPECT_EQ(escapesSent, 1) << "Escape closes the about box";
}

TEST_F(MainWindow, TextBoxesKeepTheirOwnBehaviour) {
  // Both page counts take digits only, and say what 0 does.
  for (const auto& [tab, page, id] : {std::tuple{0, TabPage::Search, ids::kSearchPages},
                                      std::tuple{2, TabPage::SellerSearch, ids::kSellerPages}}) {
    window->tabs().SetSelection(static_cast<std::size_t>(tab));
    pumpFor(50);
    auto* pages = controlOf<wxTextCtrl>(window->page(page), id);
    ASSERT_NE(pages->GetToolTip(), nullptr);
    EXPECT_NE(pages->GetToolTip()->GetTip().Find(wx("0 = 只采集第1页")), wxNOT_FOUND);
    EXPECT_EQ(pages->GetHint(), wx("0 = 只采集第1页"));
    window->Raise();
    pages->SetFocus();
    pages->SelectAll();
    pumpFor(50);
    wxUIActionSimulator sim;
    sim.Text("3x-7");
    ASSERT_TRUE(pumpUntil([&] { return pages->GetValue() == "37"; }, 3000)) << pages->GetValue();
    pumpFor(50);
    EXPECT_EQ(window->page(page).controlText(id), "37");
  }

  // A right click in a text box leaves its own menu (cut, copy, paste) to it;
  // the window's about menu is offered elsewhere.
  auto* keyword = controlOf<wxTextCtrl>(window->page(TabPage::Search), ids::kSearchKeyword);
  bool aboutMenuShown = false;
  window->Bind(wxEVT_MENU_OPEN, [&](wxMenuEvent& e) {
    aboutMenuShown = true;
    e.Skip();
  });
  wxTimer dismiss;  // only needed if a menu did open
  dismiss.Bind(wxEVT_TIMER, [&](wxTimerEvent&) { wxUIActionSimulator().Char(WXK_ESCAPE); });
  dismiss.StartOnce(1000);
  wxContextMenuEvent rightClick(wxEVT_CONTEXT_MENU, keyword->GetId(), keyword->GetScreenPosition());
  rightClick.SetEventObject(keyword);
  EXPECT_FALSE(keyword->GetEventHandler()->ProcessEvent(rightClick));
  dismiss.Stop();
  EXPECT_FALSE(aboutMenuShown);

  // Anywhere else (here the result list) it is the window's menu with the about item.
  dismiss.StartOnce(500);
  wxContextMenuEvent onList(wxEVT_CONTEXT_MENU, ids::kResultList, window->resultList().GetScreenPosition());
  onList.SetEventObject(&window->resultList());
  EXPECT_TRUE(window->resultList().GetEventHandler()->ProcessEvent(onList));
  EXPECT_TRUE(aboutMenuShown);
}

// The window carries the program's icon, large (Alt+Tab) and small (caption,
// taskbar).
TEST_F(MainWindow, CarriesTheProgramsIcon) {
  const wxIconBundle& icons = window->GetIcons();
  ASSERT_FALSE(icons.IsEmpty());
  EXPECT_TRUE(icons.GetIcon(16).IsOk());
  EXPECT_TRUE(icons.GetIcon(32).IsOk());
#ifdef __WXMSW__
  EXPECT_NE(::SendMessageW(window->GetHWND(), WM_GETICON, ICON_BIG, 0), 0);
  EXPECT_NE(::SendMessageW(window->GetHWND(), WM_GETICON, ICON_SMALL, 0), 0);
#endif
}

#ifdef __WXMSW__
// Windows: the about item is the last item of the window's system menu, and
// choosing it there (a system command, not a menu command) opens the box.
TEST_F(MainWindow, SystemMenuOffersTheAboutBox) {
  wxMenu* systemMenu = window->MSWGetSystemMenu();
  ASSERT_NE(systemMenu, nullptr);
  ASSERT_GE(systemMenu->GetMenuItemCount(), 2u);
  const wxMenuItem* last = systemMenu->FindItemByPosition(systemMenu->GetMenuItemCount() - 1);
  EXPECT_EQ(last->GetId(), ids::kAboutCommand);
  EXPECT_EQ(last->GetItemLabel(), wx("关于 Gleaner(&A)..."));
  EXPECT_TRUE(systemMenu->FindItemByPosition(systemMenu->GetMenuItemCount() - 2)->IsSeparator());

  bool sawAbout = false;
  ModalAboutBox closer([&](AboutDialog& about) {
    sawAbout = true;
    about.EndModal(wxID_OK);
  });
  ::SendMessageW(window->GetHWND(), WM_SYSCOMMAND, ids::kAboutCommand, 0);  // returns when the box has closed
  EXPECT_TRUE(sawAbout);
}
#endif

TEST_F(MainWindow, LinkPictureAndHelpButtonOpenTheProgramsPages) {
  LinkPicture& link = window->linkPicture();
  EXPECT_EQ(link.bitmap().GetWidth(), 84);
  EXPECT_EQ(link.bitmap().GetHeight(), 83);
  EXPECT_EQ(link.GetId(), ids::kLinkPicture);
  // The hand belongs to the picture's own window, so it covers exactly its rectangle.
  EXPECT_TRUE(link.GetCursor().IsOk());
  EXPECT_FALSE(window->GetCursor().IsOk() && window->GetCursor().IsSameAs(link.GetCursor()));

  wxUIActionSimulator sim;
  window->Raise();
  const wxRect rect = link.GetScreenRect();
  sim.MouseMove(rect.GetLeft(), rect.GetTop());  // an edge counts
  pumpFor(50);
  sim.MouseClick();
  ASSERT_TRUE(pumpUntil([&] { return !openedAddresses.empty(); }, 3000));
  EXPECT_EQ(openedAddresses.front(), HelpLocation::ofThisProgram().contactAddress()->address);

  openedAddresses.clear();
  auto* help = controlOf<wxButton>(window->page(TabPage::Help), ids::kHelpButton);
  wxCommandEvent press(wxEVT_BUTTON, ids::kHelpButton);
  press.SetEventObject(help);
  help->GetEventHandler()->ProcessEvent(press);
  ASSERT_EQ(openedAddresses.size(), 1u);
  EXPECT_EQ(openedAddresses.front(), HelpLocation::ofThisProgram().helpAddress()->address);
}

TEST_F(MainWindow, RefreshTickWritesTheHiddenCountAndStatusLog) {
  auto* reportEdit = controlOf<wxTextCtrl>(*window, ids::kReportCountEdit);
  auto* logEdit = controlOf<wxTextCtrl>(*window, ids::kStatusLogEdit);
  EXPECT_EQ(reportEdit->GetValue(), "0");
  EXPECT_EQ(logEdit->GetValue(), shownInTextBox("  \r\n"));

  // Collect (without a controller here) resets the bound values and flips the timer.
  window->collect();
  EXPECT_TRUE(window->autoRefreshOn());
  EXPECT_EQ(window->statusLog(), gbkOf("系统。\r\n"));
  EXPECT_EQ(logEdit->GetValue(), shownInTextBox(wx("系统。\r\n")));
  // A run's failure reports are counted nowhere: the hidden count stays 0.
  std::thread worker([&] { window->failureReported("http://x/\r\nDownload failed!\r\nHTTP 404"); });
  worker.join();
  window->refreshTick();
  EXPECT_EQ(reportEdit->GetValue(), "0");
  EXPECT_EQ(logEdit->GetValue(), shownInTextBox(wx("系统。\r\n")));

  window->collect();
  EXPECT_FALSE(window->autoRefreshOn());
  window->collect();
  EXPECT_TRUE(window->autoRefreshOn());
  window->toggleRefresh();
  EXPECT_FALSE(window->autoRefreshOn());
}

}  // namespace
}  // namespace gleaner::testing
