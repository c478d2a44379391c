// A job page's batch: the keywords (or item addresses) queued with the
// page's 批量… button. While a batch is queued the page's keyword (or
// address) box says how many and takes no typing; an empty batch gives the
// box back with what it held.
#pragma once

#include <string>
#include <vector>

#include "engine/RunRequest.h"

namespace gleaner {

class TemplatePage;

class PageBatch {
 public:
  // box: the keyword or address box; button: its 批量… button; items: a
  // batch of item addresses rather than keywords.
  PageBatch(TemplatePage& page, int box, int button, bool items);

  // Once the page's controls exist: the button opens the batch box.
  void bind();
  // The batch box; OK queues what it holds.
  void choose();
  // Queues entries (GBK); none: back to the one keyword or address.
  void set(std::vector<std::string> entries);
  const std::vector<std::string>& entries() const { return entries_; }
  // A search's keywords into settings: the batch, or else the box's keyword
  // (the characters GBK cannot hold left out and named).
  void readSearch(RunSettings& settings) const;

 private:
  TemplatePage& page_;
  int box_;
  int button_;
  bool items_;
  std::vector<std::string> entries_;
  std::string single_;  // what the box held before the batch
};

}  // namespace gleaner
