// A main window kept in memory, for the headless runner and the tests.
// Thread-safe: every call takes one lock, so an append is one unit here too.
// It starts with the tab pages' defaults, like the real window.
#pragma once

#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "engine/ListMirror.h"
#include "engine/MainWindowView.h"

namespace gleaner {

class MemoryWindow : public MainWindowView {
 public:
  // itemHost names the host of the item page's default address.
  explicit MemoryWindow(const std::string& itemHost = "item.taobao.com");

  // --- MainWindowView ---
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

  // --- what a user would do on the pages ---
  void selectTab(int index);
  void setControlText(TabPage page, int controlId, std::string text);
  void setCheckState(TabPage page, int controlId, CheckState state);
  // Checks one radio button of the sort group 1010-1015 (0 clears them all).
  void checkSortRadio(int controlId);

  // The runner passes its rows on as they come and need not keep them: with
  // false, rows are counted but not kept (rows() stays empty), so that a long
  // run does not hold every row in memory.
  void setKeepRows(bool keep);

  // --- what a test or the runner reads back ---
  std::vector<ResultRow> rows() const;
  CollectionMode columns() const;
  std::string countDisplay() const;
  std::string statusText() const;
  std::vector<std::string> statusHistory() const;
  std::vector<std::string> messages() const;
  std::vector<std::string> reports() const;
  int reportCount() const;
  bool collectEnabled() const;

  // Told of every list change under the window's lock, so in list order;
  // null for none. It must outlive the window's use.
  void setListMirror(ListMirror* mirror);

  // Observers, called outside the lock on the calling thread. onRowAppended
  // sees the rows in list order: appends wait for each other's observer.
  std::function<void(const std::string&)> onStatusText;
  std::function<void(const std::string&)> onMessage;
  std::function<void(const std::string&)> onReport;
  std::function<void(const ResultRow&)> onRowAppended;

 private:
  using Key = std::pair<TabPage, int>;

  mutable std::mutex mutex_;
  std::mutex appendOrder_;  // held over an append and its observer
  RunFields fields_;
  int selectedTab_ = 0;
  std::map<Key, std::string> texts_;
  std::map<Key, CheckState> checks_;
  CollectionMode columns_ = CollectionMode::None;
  std::vector<ResultRow> rows_;
  int uncountedRows_ = 0;  // appended but not kept
  bool keepRows_ = true;
  std::string countDisplay_;
  std::string statusText_;
  std::vector<std::string> statusHistory_;
  std::vector<std::string> messages_;
  std::vector<std::string> reports_;
  int reportCount_ = 0;
  bool collectEnabled_ = true;
  ListMirror* mirror_ = nullptr;
};

}  // namespace gleaner
